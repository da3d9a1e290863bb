// The simulated headset and mouse pad: the headset's LED reports beside the command
// protocol, and both models in scenarios.

#include "sim/sim_headset.h"

#include <gtest/gtest.h>

#include "platform/hid/sim_hid_bus.h"
#include "sim/scenario.h"
#include "sim/sim_mousepad.h"

namespace {

using namespace platform::hid;

std::vector<uint8_t> LedReport(uint8_t group, uint8_t reg, uint8_t first) {
    std::vector<uint8_t> report(17, 0);
    report[0] = 0xFF;
    report[1] = group;
    report[2] = reg;
    for (size_t i = 4; i < 11; ++i) {
        report[i] = static_cast<uint8_t>(first + i - 4);
    }
    return report;
}

TEST(SimHeadset, LedReportsSetTheirGroupAndGetNoReply) {
    SimHidBus bus;
    auto headset = std::make_shared<sim::SimHeadset>();
    bus.Plug(headset);
    std::unique_ptr<HidHandle> command = bus.Open(bus.PathOf(*headset, 1, 2), {true, true, false});
    ASSERT_NE(command, nullptr);

    EXPECT_TRUE(command->SetOutputReport(LedReport(0x44, 0xAE, 100)));
    EXPECT_TRUE(command->SetOutputReport(LedReport(0x33, 0xAA, 1)));  // no such group
    EXPECT_TRUE(command->SetOutputReport(LedReport(0x22, 0xB0, 1)));  // no such register
    const sim::SimHeadset::LedColours colours = headset->GroupColours(0x44);
    EXPECT_EQ(colours[7][1], 100);
    EXPECT_EQ(colours[12][1], 105);
    EXPECT_EQ(colours[6][1], 0);
    EXPECT_EQ(headset->GroupColours(0x22), sim::SimHeadset::LedColours{});
    EXPECT_EQ(headset->LedReports().size(), 3u);

    std::vector<uint8_t> reply(64);
    EXPECT_FALSE(command->Read(reply, 50, nullptr).ok()) << "no reply is queued";
}

TEST(SimScenario, HeadsetAndMousePadCanBePlugged) {
    std::vector<sim::ScenarioEntry> entries;
    ASSERT_TRUE(sim::ParseScenario("headset, mousepad@20", &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].plugAtMs, 20u);
    EXPECT_NE(std::dynamic_pointer_cast<sim::SimMousePad>(sim::MakeSimModel("mousepad")), nullptr);
    EXPECT_EQ(sim::MakeSimModel("headset")->ProductId(), sim::kHeadsetProductId);
}

}  // namespace
