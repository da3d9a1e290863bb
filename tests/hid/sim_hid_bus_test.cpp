// The simulated bus as the device code meets it: paths, per-collection report queues,
// time-outs, cancels, plugging and share modes.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "hid/command_request.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/hid/sim_hid_handle.h"
#include "sim/sim_keyboard.h"

namespace {

using namespace platform::hid;
using Clock = std::chrono::steady_clock;

constexpr HidOpenFlags kReadWrite{true, true, false};

class SimHidBusTest : public ::testing::Test {
  protected:
    void SetUp() override { bus_.Plug(keyboard_); }

    std::unique_ptr<HidHandle> OpenCollection(uint32_t collection,
                                              HidOpenFlags flags = kReadWrite) {
        return bus_.Open(bus_.PathOf(*keyboard_, 1, collection), flags);
    }

    SimHidBus bus_;
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
};

TEST_F(SimHidBusTest, EnumerationListsOnePathPerCollection) {
    std::vector<std::wstring> paths;
    ASSERT_TRUE(bus_.Enumerate(&paths));
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths[0], L"\\\\?\\hid#vid_320f&pid_505b&mi_00#sim1&0000");
    EXPECT_EQ(paths[4], L"\\\\?\\hid#vid_320f&pid_505b&mi_01&col04#sim1&0003");
    EXPECT_EQ(ParseHidPathNumber(paths[3], L"&COL"), 3);
    // Paths are matched without regard to case, as the system does.
    std::wstring upper = paths[4];
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    EXPECT_NE(bus_.Open(upper, kReadWrite), nullptr);
}

TEST_F(SimHidBusTest, CommandIsAnsweredOnItsOwnCollectionOnly) {
    auto command = OpenCollection(4);
    auto notify = OpenCollection(3);
    ASSERT_NE(command, nullptr);
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(command->Attributes().VendorID, 0x320F);
    EXPECT_EQ(command->Attributes().VersionNumber, sim::kKeyboardVersion);
    EXPECT_EQ(notify->PreparsedData().Caps().UsagePage, 0x000C);

    const auto request = hid_test::CommandRequest(0x03, 34);
    ASSERT_TRUE(command->Write(request, 1000, nullptr).ok());
    uint8_t reply[64] = {};
    const HidIoResult got = command->Read(reply, 1000, nullptr);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.bytes, 64u);
    EXPECT_EQ(reply[3], 0x03);
    EXPECT_EQ(reply[8 + 5], sim::kKeyboardLedCount);
    // The reply went to the command collection only.
    uint8_t other[8];
    EXPECT_EQ(notify->Read(other, 0, nullptr).status, HidIoStatus::kTimeout);

    ASSERT_TRUE(keyboard_->PressKey(0x21));
    ASSERT_TRUE(notify->Read(other, 1000, nullptr).ok());
    EXPECT_EQ(other[0], 3);
    EXPECT_EQ(other[1], 0x21);
    EXPECT_EQ(other[2], 0x05);
    EXPECT_EQ(command->Read(reply, 0, nullptr).status, HidIoStatus::kTimeout);
}

TEST_F(SimHidBusTest, WritesOfForeignOrShortReportsAreRefused) {
    auto command = OpenCollection(4);
    auto request = hid_test::CommandRequest(0x01);
    EXPECT_FALSE(command->Write(std::span(request).first(63), 1000, nullptr).ok());
    request[0] = 3;  // an input report id of another collection
    EXPECT_FALSE(command->Write(request, 1000, nullptr).ok());
    auto readOnly = OpenCollection(4, {true, false, false});
    EXPECT_FALSE(readOnly->Write(hid_test::CommandRequest(0x01), 1000, nullptr).ok());
    EXPECT_EQ(keyboard_->ReceivedCount(), 0u);
}

TEST_F(SimHidBusTest, TimeOutAndCancelEndAWait) {
    auto command = OpenCollection(4);
    uint8_t reply[64];
    const auto start = Clock::now();
    EXPECT_EQ(command->Read(reply, 30, nullptr).status, HidIoStatus::kTimeout);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(25));

    // A cancel signalled before the read ends it at once and is consumed by it.
    HidCancelEvent cancel;
    cancel.Set();
    EXPECT_EQ(command->Read(reply, kHidInfinite, &cancel).status, HidIoStatus::kCancelled);
    EXPECT_FALSE(cancel.TryConsume());

    HidIoResult result;
    std::thread reader([&] { result = command->Read(reply, kHidInfinite, &cancel); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto signalled = Clock::now();
    cancel.Set();
    reader.join();
    EXPECT_EQ(result.status, HidIoStatus::kCancelled);
    EXPECT_LT(Clock::now() - signalled, std::chrono::milliseconds(500));
}

TEST_F(SimHidBusTest, CloseWaitsForTheReaderAndUnplugFailsIt) {
    auto command = OpenCollection(4);
    uint8_t reply[64];
    HidIoResult result{HidIoStatus::kOk, 1};
    std::thread reader([&] { result = command->Read(reply, kHidInfinite, nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    command->Close();  // ends the wait; returns once the reader has left
    reader.join();
    EXPECT_EQ(result.status, HidIoStatus::kFailed);

    auto notify = OpenCollection(3);
    std::thread second([&] { result = notify->Read(reply, kHidInfinite, nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::wstring path = bus_.PathOf(*keyboard_, 1, 3);
    bus_.Unplug(keyboard_);
    second.join();
    EXPECT_EQ(result.status, HidIoStatus::kFailed);
    EXPECT_EQ(bus_.Open(path, kReadWrite), nullptr);
    EXPECT_FALSE(notify->Write(hid_test::CommandRequest(0x01), 100, nullptr).ok());
    // Plugged in again, it comes back under the same paths.
    bus_.Plug(keyboard_);
    EXPECT_NE(bus_.Open(path, kReadWrite), nullptr);
}

TEST_F(SimHidBusTest, PlugTimesAndRefusedOpens) {
    SimHidBus later;
    auto keyboard = std::make_shared<sim::SimKeyboard>();
    later.Plug(keyboard, 50);
    std::vector<std::wstring> paths;
    ASSERT_TRUE(later.Enumerate(&paths));
    EXPECT_TRUE(paths.empty());
    for (int i = 0; i < 200 && paths.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        later.Enumerate(&paths);
    }
    EXPECT_EQ(paths.size(), 5u);

    keyboard_->SetRefuseOpen(true);
    EXPECT_EQ(OpenCollection(4), nullptr);
    keyboard_->SetRefuseOpen(false);
    EXPECT_NE(OpenCollection(4), nullptr);
}

TEST_F(SimHidBusTest, ShareModesAndPresenceProbes) {
    const std::wstring path = bus_.PathOf(*keyboard_, 1, 4);
    auto exclusive = OpenCollection(4, {true, false, true});
    ASSERT_NE(exclusive, nullptr);
    EXPECT_EQ(OpenCollection(4, kReadWrite), nullptr);
    EXPECT_NE(OpenCollection(4, {true, false, false}), nullptr);
    EXPECT_NE(OpenCollection(4, {}), nullptr);  // no access: only asks for presence
    EXPECT_TRUE(bus_.IsPresent(path));          // the same answer, with no handle made
    keyboard_->SetRefuseOpen(true);
    EXPECT_TRUE(bus_.IsPresent(path));
    keyboard_->SetRefuseOpen(false);
    exclusive.reset();
    EXPECT_NE(OpenCollection(4, kReadWrite), nullptr);
    const size_t handles = bus_.OpenHandleCount();
    EXPECT_TRUE(bus_.IsPresent(path));
    EXPECT_EQ(bus_.OpenHandleCount(), handles);
    bus_.Unplug(keyboard_);
    EXPECT_FALSE(bus_.IsPresent(path));
    EXPECT_FALSE(bus_.IsPresent(L"\\\\?\\hid#vid_320f&pid_505b&mi_01&col04#sim9&0003"));
}

TEST_F(SimHidBusTest, ChangeStampMovesOnEveryChangeAnOpenOrAListingCanSee) {
    std::optional<uint64_t> seen = bus_.ChangeStamp();
    ASSERT_TRUE(seen.has_value());
    const auto moved = [&] {
        const std::optional<uint64_t> now = bus_.ChangeStamp();
        return std::exchange(seen, now) != now;
    };
    // What the capture thread and a lighting stream do leaves it alone.
    auto probe = OpenCollection(4, {true, false, false});
    EXPECT_TRUE(bus_.IsPresent(bus_.PathOf(*keyboard_, 1, 4)));
    probe.reset();
    auto stream = OpenCollection(4);
    EXPECT_TRUE(moved()) << "a writer makes an exclusive open fail";
    EXPECT_TRUE(stream->Write(hid_test::CommandRequest(0x01), 100, nullptr).ok());
    keyboard_->SendNotification(1);
    EXPECT_FALSE(moved());
    stream.reset();
    EXPECT_TRUE(moved());
    keyboard_->SetRefuseOpen(true);
    EXPECT_TRUE(moved());
    bus_.Unplug(keyboard_);
    EXPECT_TRUE(moved());
    bus_.Plug(keyboard_);
    EXPECT_TRUE(moved());
    EXPECT_FALSE(moved());
}

TEST_F(SimHidBusTest, QueueKeepsTheNewestReports) {
    auto notify = OpenCollection(3);
    for (int i = 0; i < 40; ++i) {
        keyboard_->SendNotification(static_cast<uint16_t>(i));
    }
    uint8_t report[3];
    ASSERT_TRUE(notify->Read(report, 0, nullptr).ok());
    EXPECT_EQ(report[1], 40 - SimHidHandle::kQueueLimit);
}

}  // namespace
