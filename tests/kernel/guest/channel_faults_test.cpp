// The command channel over the real node of a keyboard that misbehaves on the gadget side:
// replies without the piece echo, no reply, an OUT endpoint that stops taking reports (the
// kernel's write then blocks for its USB time-out), and an unplug in the middle of a write.

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>

#include "device/channel/hid_command_channel.h"
#include "guest_pump.h"
#include "guest_setup.h"
#include "platform/hid/hid_bus.h"

namespace kernel_test {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes Sequence(size_t count, uint8_t first) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// The command collection's path once the node is there and the user may open it.
std::wstring OpenCommandInterface(CHidCommandChannel& channel) {
    std::wstring found;
    PumpUntil([&] {
        std::vector<std::wstring> paths;
        uint32_t count = 0;
        CHidDeviceFile::EnumerateInterfaces(&paths, &count);
        for (const std::wstring& path : paths) {
            if (path.find(L"&mi_01&col04") != std::wstring::npos &&
                channel.OpenInterface(path.c_str(), false)) {
                found = path;
                return true;
            }
        }
        return false;
    });
    return found;
}

class ChannelFaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gadget_.Plug(KeyboardGadget::RuledPort(), keyboard_));
        path_ = OpenCommandInterface(channel_);
        ASSERT_FALSE(path_.empty()) << "the keyboard's command interface never opened";
    }
    void TearDown() override {
        gadget_.SetStalled(false);
        gadget_.SetZeroPieceEcho(false);
        channel_.CloseInterface();
        gadget_.Unplug();
    }

    // Leaves the OUT endpoint taking nothing more: reports are written through a handle of
    // their own until the kernel holds one. Returns how many the gadget's queue took.
    int FillTheStalledEndpoint() {
        gadget_.SetStalled(true);
        filler_ = platform::hid::CurrentHidBus().Open(path_, {false, true, false});
        EXPECT_NE(filler_, nullptr);
        HidCommandReport query = HidCommandReport::Request(HidCommandCode::QueryDeviceStatus);
        query.Seal();
        int taken = 0;
        while (filler_ && taken < 64 && filler_->Write(query.bytes, 300, nullptr).ok()) {
            ++taken;
        }
        return taken;
    }

    KeyboardGadget& gadget_ = TheGadget();
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    CHidCommandChannel channel_;
    std::wstring path_;
    std::unique_ptr<platform::hid::HidHandle> filler_;
};

TEST_F(ChannelFaultsTest, RepliesWithoutThePieceEchoAreTakenAndAMissingOneTimesOut) {
    ASSERT_TRUE(keyboard_->SetMemory(sim::KeyboardMemory::kSettings, 0, Sequence(100, 1)));
    gadget_.SetZeroPieceEcho(true);
    Bytes out(100, 0);
    EXPECT_EQ(channel_.ReadMemory(out, 0), 1);
    EXPECT_EQ(out, Sequence(100, 1));

    keyboard_->InjectFault({sim::FaultKind::kNoReply, 0x1C});
    const auto start = Clock::now();
    EXPECT_EQ(channel_.TakeLightControl(), 0);
    const long waited = MsSince(start);
    Report("no reply: the exchange ended after %ld ms", waited);
    EXPECT_GE(waited, 900);
    EXPECT_LT(waited, 3500);
    EXPECT_EQ(channel_.TakeLightControl(), 1);
    std::fill(out.begin(), out.end(), 0);
    EXPECT_EQ(channel_.ReadMemory(out, 0), 1);
    EXPECT_EQ(out, Sequence(100, 1));
}

TEST_F(ChannelFaultsTest, AStalledEndpointHoldsNoCallerPastItsTimeOut) {
    Report("the gadget's OUT queue took %d reports before the endpoint stalled",
           FillTheStalledEndpoint());
    // The kernel now holds every write up to its USB time-out; the channel's end at its own.
    for (int i = 0; i < 2; ++i) {
        const auto start = Clock::now();
        EXPECT_EQ(channel_.TakeLightControl(), kHidWriteFailed);
        const long waited = MsSince(start);
        Report("stalled endpoint: exchange %d ended after %ld ms", i + 1, waited);
        EXPECT_LT(waited, 3500) << "the kernel holds the write for 5 s";
    }
    // The window's frame timer hands frames over and never waits.
    const auto posted = Clock::now();
    EXPECT_EQ(channel_.PostLightFrame(Bytes(378, 5)), 1);
    EXPECT_EQ(channel_.PostLightFrame(Bytes(378, 6)), 1);
    EXPECT_LT(MsSince(posted), 900) << "less than the reply time-out: nothing waited";

    // The endpoint takes reports again: what the kernel held goes through, late replies are
    // dropped, and the channel answers as before.
    gadget_.SetStalled(false);
    const auto resumed = Clock::now();
    EXPECT_TRUE(channel_.WaitLightFramesSent(20000));
    EXPECT_TRUE(PumpUntil([&] { return channel_.TakeLightControl() == 1; }));
    Report("stall lifted: exchanges succeed again after %ld ms", MsSince(resumed));
    ASSERT_TRUE(keyboard_->SetMemory(sim::KeyboardMemory::kSettings, 0, Sequence(60, 9)));
    Bytes out(60, 0);
    EXPECT_EQ(channel_.ReadMemory(out, 0), 1);
    EXPECT_EQ(out, Sequence(60, 9));
}

TEST_F(ChannelFaultsTest, AnUnplugDuringAWriteEndsTheWriteAndTheClose) {
    FillTheStalledEndpoint();
    std::atomic<int> result{1};
    std::atomic<bool> done{false};
    const auto start = Clock::now();
    std::thread exchange([&] {
        result = channel_.TakeLightControl();
        done = true;
    });
    // Unplugged while the write is in the kernel.
    PumpUntil([&] { return channel_.File().IsWriting(); }, 5000);
    gadget_.Unplug();
    exchange.join();
    Report("unplug during a write: the exchange ended after %ld ms", MsSince(start));
    EXPECT_LE(result.load(), 0);
    EXPECT_LT(MsSince(start), 2500);
    const auto closing = Clock::now();
    channel_.CloseInterface();
    filler_.reset();
    Report("unplug during a write: the close took %ld ms", MsSince(closing));
    EXPECT_LT(MsSince(closing), 1000);
}

}  // namespace
}  // namespace kernel_test
