// The simulated keyboard's firmware: framing, memories, faults and scenarios, seen
// through the bus as the program sees them.

#include "sim/sim_keyboard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "hid/command_request.h"
#include "platform/hid/hidraw_bus.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/scenario.h"

namespace {

using namespace platform::hid;
using hid_test::CommandRequest;

class SimKeyboardFirmwareTest : public ::testing::Test {
  protected:
    SimKeyboardFirmwareTest() {
        bus_.Plug(keyboard_);
        command_ = bus_.Open(bus_.PathOf(*keyboard_, 1, 4), {true, true, false});
    }

    // Writes a request and returns the reply, or an empty vector when none came.
    std::vector<uint8_t> Exchange(const std::vector<uint8_t>& request, uint32_t timeoutMs = 500) {
        if (!command_->Write(request, 1000, nullptr).ok()) {
            return {};
        }
        std::vector<uint8_t> reply(64);
        const HidIoResult got = command_->Read(reply, timeoutMs, nullptr);
        reply.resize(got.ok() ? got.bytes : 0);
        return reply;
    }

    SimHidBus bus_;
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    std::unique_ptr<HidHandle> command_;
};

TEST_F(SimKeyboardFirmwareTest, RepliesEchoAndCarryAValidChecksum) {
    const auto reply = Exchange(CommandRequest(0x01));
    ASSERT_EQ(reply.size(), 64u);
    EXPECT_EQ(reply[0], sim::kCommandReportId);
    EXPECT_EQ(reply[3], 0x01);
    EXPECT_EQ(reply[7], sim::kStatusOk);
    EXPECT_EQ(reply[1] | (reply[2] << 8), sim::CommandChecksum(reply));
    EXPECT_TRUE(keyboard_->SessionOpen());
    Exchange(CommandRequest(0x02));
    EXPECT_FALSE(keyboard_->SessionOpen());

    auto corrupt = CommandRequest(0x06, 1, 0, {7});
    corrupt[1] ^= 0x10;  // wrong checksum: refused, nothing written
    EXPECT_EQ(Exchange(corrupt)[7], sim::kStatusErrorFF);
    auto tooLong = CommandRequest(0x06, 57, 0);
    EXPECT_EQ(Exchange(tooLong)[7], sim::kStatusErrorFF);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[0], 0);
    EXPECT_EQ(Exchange(CommandRequest(0x42))[7], sim::kStatusErrorFF);
}

TEST_F(SimKeyboardFirmwareTest, CommandsReadAndWriteTheirMemories) {
    EXPECT_EQ(Exchange(CommandRequest(0x03, 34))[8 + 6], sim::kKeyboardMacroUnits);
    ASSERT_EQ(Exchange(CommandRequest(0x06, 3, 50, {1, 2, 3}))[7], sim::kStatusOk);
    EXPECT_EQ(Exchange(CommandRequest(0x05, 3, 50))[8 + 2], 3);

    // The 22nd key-code position holds usage 0x35 in the factory table.
    EXPECT_EQ(Exchange(CommandRequest(0x07, 3, 21 * 3))[8 + 2], 0x35);
    Exchange(CommandRequest(0x09, 3, 21 * 3, {0x20, 0x00, 0x04}));
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyCodes)[21 * 3 + 2], 0x04);
    EXPECT_EQ(Exchange(CommandRequest(0x1B, 1, 125))[8], 125);

    Exchange(CommandRequest(0x0B, 2, 512 + 4, {9, 8}));
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyColors)[517], 8);
    Exchange(CommandRequest(0x12, 3, 3, {0x10, 0x20, 0x30}));
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kLightFrame)[5], 0x30);
    Exchange(CommandRequest(0x15, 1, 112, {0x5A}));
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kMacro)[112], 0x5A);
    Exchange(CommandRequest(0x17, 1, 0, {0xA5}));
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kShoot)[0], 0xA5);
    EXPECT_EQ(Exchange(CommandRequest(0x1A, 6))[8], 100);
    Exchange(CommandRequest(0x1C));
    EXPECT_TRUE(keyboard_->LightControlTaken());
    EXPECT_EQ(Exchange(CommandRequest(0xAA))[8], 0xFF);

    // Past the end of a memory: refused, nothing changes.
    EXPECT_EQ(Exchange(CommandRequest(0x03, 2, 33))[7], sim::kStatusErrorFF);
    EXPECT_EQ(Exchange(CommandRequest(0x09, 2, 511, {1, 1}))[7], sim::kStatusErrorFF);
}

TEST_F(SimKeyboardFirmwareTest, StatusFaultsRefuseAndSkipCountsMatchingCommands) {
    keyboard_->InjectFault({sim::FaultKind::kStatusFE, 0x06, 1});
    EXPECT_EQ(Exchange(CommandRequest(0x05, 1))[7], sim::kStatusOk);  // not a 0x06
    EXPECT_EQ(Exchange(CommandRequest(0x06, 1, 0, {4}))[7], sim::kStatusOk);
    EXPECT_EQ(Exchange(CommandRequest(0x06, 1, 1, {5}))[7], sim::kStatusErrorFE);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[1], 1);  // untouched
    EXPECT_EQ(keyboard_->PendingFaults(), 0u);
    keyboard_->InjectFault({sim::FaultKind::kStatusFF, -1, 0, 2});
    EXPECT_EQ(Exchange(CommandRequest(0x01))[7], sim::kStatusErrorFF);
    EXPECT_EQ(Exchange(CommandRequest(0x02))[7], sim::kStatusErrorFF);
    EXPECT_EQ(Exchange(CommandRequest(0x01))[7], sim::kStatusOk);
}

TEST_F(SimKeyboardFirmwareTest, ReplyFaults) {
    keyboard_->InjectFault({sim::FaultKind::kNoReply});
    EXPECT_TRUE(Exchange(CommandRequest(0x06, 1, 9, {3}), 30).empty());
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[9], 3);  // still carried out

    keyboard_->InjectFault({sim::FaultKind::kLateReply, -1, 0, 1, 80});
    EXPECT_TRUE(Exchange(CommandRequest(0x01), 10).empty());
    std::vector<uint8_t> late(64);
    ASSERT_TRUE(command_->Read(late, 2000, nullptr).ok());
    EXPECT_EQ(late[3], 0x01);

    keyboard_->InjectFault({sim::FaultKind::kBadChecksum});
    const auto bad = Exchange(CommandRequest(0x01));
    EXPECT_NE(bad[1] | (bad[2] << 8), sim::CommandChecksum(bad));
    keyboard_->InjectFault({sim::FaultKind::kWrongEcho});
    EXPECT_EQ(Exchange(CommandRequest(0x01))[3], 0x02);

    keyboard_->InjectFault({sim::FaultKind::kUnplugDuringExchange});
    EXPECT_TRUE(Exchange(CommandRequest(0x01), 1000).empty());
    EXPECT_FALSE(keyboard_->IsPlugged());
    EXPECT_EQ(bus_.Open(bus_.PathOf(*keyboard_, 1, 4), {}), nullptr);
}

TEST_F(SimKeyboardFirmwareTest, NotificationsReachTheNotifyCollection) {
    auto notify = bus_.Open(bus_.PathOf(*keyboard_, 1, 3), {true, true, false});
    ASSERT_TRUE(keyboard_->RequestResync());
    ASSERT_TRUE(keyboard_->ReleaseKey(7));
    uint8_t report[3];
    ASSERT_TRUE(notify->Read(report, 500, nullptr).ok());
    EXPECT_EQ(report[1] | (report[2] << 8), 0x0401);
    ASSERT_TRUE(notify->Read(report, 500, nullptr).ok());
    EXPECT_EQ(report[1] | (report[2] << 8), 0x0607);
    bus_.Unplug(keyboard_);
    EXPECT_FALSE(keyboard_->PressKey(1));
}

TEST(SimScenarioTest, ParsesModelsAndPlugTimes) {
    std::vector<sim::ScenarioEntry> entries;
    ASSERT_TRUE(sim::ParseScenario("", &entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].model, "keyboard");
    ASSERT_TRUE(sim::ParseScenario("none", &entries));
    EXPECT_TRUE(entries.empty());
    ASSERT_TRUE(sim::ParseScenario("keyboard@500", &entries));
    EXPECT_EQ(entries[0].plugAtMs, 500u);
    EXPECT_FALSE(sim::ParseScenario("keyboard@soon", &entries));
    EXPECT_FALSE(sim::ParseScenario("toaster", &entries));
    EXPECT_FALSE(sim::ParseScenario("keyboard,", &entries));
}

TEST(SimScenarioTest, EnvironmentScenarioPlugsIntoTheSimulatedBusOnly) {
    SimHidBus bus;
    ScopedHidBus use(bus);
    ASSERT_EQ(setenv("VELKARO_SIM", "keyboard@30", 1), 0);
    auto scenario = sim::StartScenarioFromEnvironment();
    unsetenv("VELKARO_SIM");
    ASSERT_NE(scenario, nullptr);
    ASSERT_EQ(scenario->Devices().size(), 1u);
    const auto& keyboard = scenario->Devices()[0];
    for (int i = 0; i < 200 && !keyboard->IsPlugged(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(keyboard->IsPlugged());
    keyboard->UnplugSelf(20);
    for (int i = 0; i < 200 && keyboard->IsPlugged(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(keyboard->IsPlugged());

    HidrawBus hidraw;
    ScopedHidBus real(hidraw);
    EXPECT_EQ(sim::StartScenarioFromEnvironment(), nullptr);
}

}  // namespace
