// The simulated mouse as the program finds it on the bus: its collections, its
// scenario name and the areas its firmware keeps.

#include "sim/sim_mouse.h"

#include <gtest/gtest.h>

#include "platform/hid/sim_hid_bus.h"
#include "sim/mouse_descriptors.h"
#include "sim/scenario.h"

namespace {

using namespace platform::hid;

TEST(SimMouseTest, ScenarioPlugsAMouseWithNotifyAndCommandCollections) {
    std::vector<sim::ScenarioEntry> entries;
    ASSERT_TRUE(sim::ParseScenario("keyboard, mouse@10", &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].model, "mouse");
    EXPECT_EQ(entries[1].plugAtMs, 10u);

    SimHidBus bus;
    auto mouse = std::make_shared<sim::SimMouse>();
    bus.Plug(mouse);
    std::vector<std::wstring> paths;
    ASSERT_TRUE(bus.Enumerate(&paths));
    const std::wstring command = bus.PathOf(*mouse, 1, sim::kMouseCommandCollection);
    const std::wstring notify = bus.PathOf(*mouse, 1, sim::kMouseNotifyCollection);
    EXPECT_NE(std::find(paths.begin(), paths.end(), command), paths.end());
    EXPECT_NE(std::find(paths.begin(), paths.end(), notify), paths.end());
    EXPECT_NE(command.find(L"vid_320f&pid_5064&mi_01&col02"), std::wstring::npos);
}

TEST(SimMouseTest, FactoryMemoryHoldsTheKeysOnceAndRefusesWritesPastTheEnd) {
    sim::SimMouse mouse;
    const std::vector<uint8_t> codes = mouse.Memory(sim::MouseMemory::kKeyCodes);
    // The left button (16, 1, 0) sits at its position and nowhere else.
    int found = 0;
    for (size_t p = 0; p < sim::kMouseLedCount; ++p) {
        found += codes[3 * p] == 16 && codes[3 * p + 1] == 1 && codes[3 * p + 2] == 0;
    }
    EXPECT_EQ(found, 1);
    EXPECT_EQ(codes[3 * sim::kMouseKeyPositions[0] + 1], 1);
    const std::vector<uint8_t> info = mouse.Memory(sim::MouseMemory::kInfo);
    EXPECT_EQ(info[5], sim::kMouseLedCount);
    EXPECT_EQ(info[12] | info[13] << 8, sim::kMouseMaxDpiSlider);
    const uint8_t bytes[2] = {1, 2};
    EXPECT_FALSE(mouse.SetMemory(sim::MouseMemory::kSettings, 511, bytes));
}

}  // namespace
