#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <numeric>
#include <thread>

#include "device/channel/hid_command_channel.h"
#include "platform/debug_trace.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/loopback_command_bus.h"
#include "sim/sim_keyboard.h"

namespace {

using Bytes = std::vector<uint8_t>;
using sim::FaultKind;
using sim::KeyboardMemory;

Bytes Sequence(size_t count, uint8_t first) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

class CommandChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(keyboard_);
        path_ = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4);
        ASSERT_TRUE(channel_.OpenInterface(path_.c_str(), false));
    }

    // The requests the keyboard received, in order.
    std::vector<Bytes> Wire() const {
        std::vector<Bytes> reports;
        for (const auto& report : keyboard_->ReceivedReports())
            reports.push_back(report.bytes);
        return reports;
    }

    static void ExpectPiece(const Bytes& report, uint8_t command, uint8_t length, uint16_t offset) {
        ASSERT_EQ(report.size(), kHidReportSize);
        EXPECT_EQ(report[0], 0x04);
        EXPECT_EQ(report[3], command);
        EXPECT_EQ(report[4], length);
        EXPECT_EQ(report[5] | (report[6] << 8), offset);
        EXPECT_EQ(report[7], 0);
        EXPECT_EQ(report[1] | (report[2] << 8), ComputeReportChecksum(report));
    }

    platform::hid::SimHidBus bus_;
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    platform::hid::ScopedHidBus use_{bus_};
    std::wstring path_;
    CHidCommandChannel channel_;
};

TEST_F(CommandChannelTest, CommandsWithoutPayloadCarryOnlyTheirCode) {
    EXPECT_EQ(channel_.BeginSession(), 1);
    EXPECT_TRUE(keyboard_->SessionOpen());
    EXPECT_EQ(channel_.TakeLightControl(), 1);
    EXPECT_TRUE(keyboard_->LightControlTaken());
    EXPECT_TRUE(channel_.QueryDeviceStatus());
    EXPECT_EQ(channel_.EndSession(), 1);
    EXPECT_FALSE(keyboard_->SessionOpen());

    const auto wire = Wire();
    ASSERT_EQ(wire.size(), 4u);
    const uint8_t codes[] = {0x01, 0x1C, 0xAA, 0x02};
    for (size_t i = 0; i < wire.size(); ++i)
        ExpectPiece(wire[i], codes[i], 0, 0);
    EXPECT_EQ(wire[0][1], 0x01);
    EXPECT_EQ(wire[0][2], 0x00);
}

TEST_F(CommandChannelTest, ReadsCopyTheReplyPayload) {
    const Bytes dpi = {0x70, 0x17, 50, 0};
    ASSERT_TRUE(keyboard_->SetMemory(KeyboardMemory::kInfo, 12, dpi));
    DeviceInfoBlock info;
    ASSERT_EQ(channel_.ReadDeviceInfo(info), 1);
    EXPECT_EQ(info.LedCount(), sim::kKeyboardLedCount);
    EXPECT_EQ(info.MacroMemoryUnits(), sim::kKeyboardMacroUnits);
    EXPECT_EQ(info.MaxDpiSliderValue(), 6000);
    EXPECT_EQ(info.MinDpiValue(), 50);
    ExpectPiece(Wire().at(0), 0x03, 34, 0);

    uint8_t power[6] = {};
    ASSERT_EQ(channel_.ReadPowerStatus(power, sizeof(power), 0), 1);
    EXPECT_EQ(power[0], 100);
    ExpectPiece(Wire().at(1), 0x1A, 6, 0);
    // A length beyond one payload is clamped to it, never read past the reply.
    Bytes big(200, 0xEE);
    ASSERT_EQ(channel_.ReadPowerStatus(big, big.size(), 0), 1);
    ExpectPiece(Wire().at(2), 0x1A, 56, 0);
    EXPECT_EQ(big[0], 100);
    EXPECT_EQ(big[56], 0xEE);
}

TEST_F(CommandChannelTest, MemoryWritesAndReadsSplitIntoPieces) {
    const Bytes small = Sequence(26, 1);
    ASSERT_EQ(channel_.WriteMemory(small, 50), 1);
    auto wire = Wire();
    ASSERT_EQ(wire.size(), 1u);
    ExpectPiece(wire[0], 0x06, 26, 50);
    EXPECT_TRUE(std::equal(small.begin(), small.end(), wire[0].begin() + 8));

    const Bytes data = Sequence(130, 7);
    ASSERT_EQ(channel_.WriteMemory(data, 300), 1);
    Bytes back(130);
    ASSERT_EQ(channel_.ReadMemory(back, 300), 1);
    EXPECT_EQ(back, data);
    wire = Wire();
    ASSERT_EQ(wire.size(), 7u);
    ExpectPiece(wire[1], 0x06, 56, 300);
    ExpectPiece(wire[2], 0x06, 56, 356);
    ExpectPiece(wire[3], 0x06, 18, 412);
    // The report is cleared once per command: behind the short piece lie the bytes of the
    // piece before it, and the checksum covers them.
    EXPECT_EQ(wire[3][8 + 18], data[56 + 18]);
    ExpectPiece(wire[4], 0x05, 56, 300);
    ExpectPiece(wire[6], 0x05, 18, 412);
    EXPECT_EQ(wire[6][8], 0);
    EXPECT_EQ(channel_.WriteMemory({}, 0), 1);
    EXPECT_EQ(Wire().size(), 7u);
}

TEST_F(CommandChannelTest, ImagesStartAtOffsetZero) {
    ASSERT_EQ(channel_.WriteMacroImage(Sequence(130, 3)), 1);
    ASSERT_EQ(channel_.WriteShootImage(Sequence(20, 9)), 1);
    const auto wire = Wire();
    ASSERT_EQ(wire.size(), 4u);
    ExpectPiece(wire[2], 0x15, 18, 112);
    ExpectPiece(wire[3], 0x17, 20, 0);
    EXPECT_EQ(keyboard_->Memory(KeyboardMemory::kMacro)[129], 3 + 129);
}

TEST_F(CommandChannelTest, KeyTablesFollowTheTableLength) {
    EXPECT_FALSE(channel_.SetTableLength(513));
    EXPECT_EQ(channel_.GetTableLength(), 512);
    ASSERT_TRUE(channel_.SetTableLength(378));

    Bytes codes(378);
    ASSERT_EQ(channel_.ReadKeyCodeTable(codes), 1);
    Bytes leds(126);
    ASSERT_EQ(channel_.ReadKeyLightTable(leds), 1);
    EXPECT_EQ(leds[125], 125);
    auto wire = Wire();
    ASSERT_EQ(wire.size(), 7u + 3u);
    ExpectPiece(wire[6], 0x07, 378 - 6 * 56, 336);
    ExpectPiece(wire[9], 0x1B, 126 - 2 * 56, 112);

    codes[0] ^= 0xFF;
    ASSERT_EQ(channel_.WriteKeyCodeTable(codes, 0), 1);
    EXPECT_EQ(keyboard_->Memory(KeyboardMemory::kKeyCodes)[0], codes[0]);
    keyboard_->ClearReceivedReports();
    EXPECT_EQ(channel_.WriteKeyCodeTable(codes, 1), kHidBadTableBank);
    // A buffer shorter than the table is refused rather than read past.
    Bytes shortTable(100);
    EXPECT_EQ(channel_.ReadKeyCodeTable(shortTable), 0);
    EXPECT_TRUE(Wire().empty());

    ASSERT_EQ(channel_.WriteKeyColorTable(Sequence(60, 0), 2, 512), 1);
    wire = Wire();
    ASSERT_EQ(wire.size(), 2u);
    ExpectPiece(wire[0], 0x0B, 56, 1024);
    ExpectPiece(wire[1], 0x0B, 4, 1080);
}

TEST_F(CommandChannelTest, DeviceErrorsStopTheTransfer) {
    keyboard_->InjectFault({FaultKind::kStatusFE, 0x15, 1});
    EXPECT_EQ(channel_.WriteMacroImage(Sequence(130, 0)), kHidDeviceErrorFE);
    EXPECT_EQ(keyboard_->CommandCount(0x15), 2u);

    keyboard_->InjectFault({FaultKind::kStatusFF, 0x03});
    DeviceInfoBlock info;
    info.bytes[5] = 7;
    EXPECT_EQ(channel_.ReadDeviceInfo(info), kHidDeviceErrorFF);
    EXPECT_EQ(info.LedCount(), 7);

    keyboard_->InjectFault({FaultKind::kStatusFE, 0xAA});
    EXPECT_FALSE(channel_.QueryDeviceStatus());

    keyboard_->SetFailWrites(true);
    {
        platform::TraceCapture trace;
        EXPECT_EQ(channel_.BeginSession(), kHidWriteFailed);
        // A request that never left has no reply to trace.
        ASSERT_EQ(trace.Lines().size(), 3u);
        EXPECT_EQ(trace.Lines()[0], L"命令");
    }
    keyboard_->SetFailWrites(false);
    EXPECT_EQ(channel_.BeginSession(), 1);
}

TEST_F(CommandChannelTest, AMissingReplyTimesOut) {
    keyboard_->InjectFault({FaultKind::kNoReply, 0x1C});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(channel_.TakeLightControl(), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_EQ(channel_.TakeLightControl(), 1);
}

TEST_F(CommandChannelTest, ALateReplyNeverAnswersAnotherPiece) {
    const Bytes pieces[] = {Sequence(8, 0x10), Sequence(8, 0x80), Sequence(8, 0xC0)};
    for (uint16_t i = 0; i < 3; ++i)
        ASSERT_TRUE(keyboard_->SetMemory(KeyboardMemory::kSettings, i * 100u, pieces[i]));
    // Offset 0's reply comes only once the request for offset 100 waits for its own.
    keyboard_->InjectFault({FaultKind::kHeldReply, 0x05});
    Bytes out(8, 0);
    EXPECT_EQ(channel_.ReadMemory(out, 0), 0);
    ASSERT_EQ(channel_.ReadMemory(out, 100), 1);
    EXPECT_EQ(out, pieces[1]);
    // Nothing stays shifted.
    ASSERT_EQ(channel_.ReadMemory(out, 200), 1);
    EXPECT_EQ(out, pieces[2]);

    // A request that gets only another one's reply fails as a time-out.
    keyboard_->InjectFault({FaultKind::kHeldReply, 0x05});
    keyboard_->InjectFault({FaultKind::kNoReply, 0x05});
    EXPECT_EQ(channel_.ReadMemory(out, 0), 0);
    std::fill(out.begin(), out.end(), 0);
    EXPECT_EQ(channel_.ReadMemory(out, 100), 0);
    EXPECT_EQ(out, Bytes(8, 0));
    ASSERT_EQ(channel_.ReadMemory(out, 200), 1);
    EXPECT_EQ(out, pieces[2]);
}

// A reply as a keyboard sends it for `request`: command echoed, status 0, `payload` from
// byte 8; bytes 4 to 6 as given.
Bytes ReplyTo(uint8_t command, Bytes pieceBytes, const Bytes& payload) {
    Bytes reply(kHidReportSize, 0);
    reply[0] = 0x04;
    reply[3] = command;
    std::copy(pieceBytes.begin(), pieceBytes.end(), reply.begin() + 4);
    std::copy(payload.begin(), payload.end(), reply.begin() + kHidPayloadOffset);
    return reply;
}

TEST(CommandChannelReplies, AReplyWithoutThePieceEchoIsTakenOneWithAnotherPiecesIsNot) {
    sim::LoopbackCommandBus bus;
    platform::hid::ScopedHidBus use(bus);
    CHidCommandChannel channel;
    ASSERT_TRUE(channel.OpenInterface(bus.Path().c_str(), false));
    // Keyboards that leave bytes 4 to 6 zero: a two-piece read at offset 50 succeeds.
    bus.SetScript(
        {ReplyTo(0x05, {0, 0, 0}, Sequence(56, 1)), ReplyTo(0x05, {0, 0, 0}, Sequence(4, 100))});
    Bytes out(60, 0);
    ASSERT_EQ(channel.ReadMemory(out, 50), 1);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 56), Sequence(56, 1));
    EXPECT_EQ(Bytes(out.begin() + 56, out.end()), Sequence(4, 100));
    // One that echoes the request is taken too.
    bus.SetScript({ReplyTo(0x05, {4, 50, 0}, Sequence(4, 7))});
    Bytes four(4, 0);
    ASSERT_EQ(channel.ReadMemory(four, 50), 1);
    EXPECT_EQ(four, Sequence(4, 7));
    // An echo of another piece (a late reply to the read at offset 0) is not this one's.
    bus.SetScript({ReplyTo(0x05, {4, 0, 0}, Sequence(4, 9))});
    std::fill(four.begin(), four.end(), 0);
    EXPECT_EQ(channel.ReadMemory(four, 50), 0);
    EXPECT_EQ(four, Bytes(4, 0));
    // Nor is a reply whose length alone differs, or a zero echo of another command.
    bus.SetScript({ReplyTo(0x05, {8, 50, 0}, Sequence(8, 9)), ReplyTo(0x07, {0, 0, 0}, {})});
    EXPECT_EQ(channel.ReadMemory(four, 50), 0);
    EXPECT_EQ(channel.ReadMemory(four, 50), 0);
}

TEST_F(CommandChannelTest, AWirelessInterfaceWaitsLongerForItsReply) {
    ASSERT_TRUE(channel_.OpenInterface(path_.c_str(), true));
    EXPECT_TRUE(channel_.IsSlow());
    keyboard_->InjectFault({FaultKind::kLateReply, 0x1C, 0, 1, 1200});
    EXPECT_EQ(channel_.TakeLightControl(), 1);
}

TEST_F(CommandChannelTest, AReplyThatNeverEchoesIsAFailure) {
    keyboard_->InjectFault({FaultKind::kWrongEcho, 0x05});
    keyboard_->SetMemory(KeyboardMemory::kSettings, 0, Sequence(4, 1));
    Bytes out(4, 0);
    // The echo is read for twice; the second read finds nothing.
    EXPECT_EQ(channel_.ReadMemory(out, 0), 0);
    EXPECT_EQ(out, Bytes(4, 0));
    EXPECT_EQ(channel_.ReadMemory(out, 0), 1);
    EXPECT_EQ(out, Sequence(4, 1));
}

TEST_F(CommandChannelTest, AReplyCutShortOfItsPieceIsNoReply) {
    keyboard_->SetMemory(KeyboardMemory::kSettings, 0, Sequence(4, 1));
    keyboard_->SetMemory(KeyboardMemory::kPower, 0, Sequence(6, 1));
    Bytes out(4, 0xEE);
    keyboard_->InjectFault({FaultKind::kShortReply, 0x05});
    EXPECT_EQ(channel_.ReadMemory(out, 0), 0) << "no payload came: nothing was read";
    EXPECT_EQ(out, Bytes(4, 0xEE));
    keyboard_->InjectFault({FaultKind::kShortReply, 0x1A});
    EXPECT_EQ(channel_.ReadPowerStatus(out, out.size(), 0), 0);
    EXPECT_EQ(out, Bytes(4, 0xEE));
    EXPECT_EQ(channel_.ReadMemory(out, 0), 1);
    EXPECT_EQ(out, Sequence(4, 1));
}

TEST_F(CommandChannelTest, UnplugDuringAnExchangeFails) {
    keyboard_->InjectFault({FaultKind::kUnplugDuringExchange, 0x01});
    EXPECT_LE(channel_.BeginSession(), 0);
    EXPECT_LE(channel_.BeginSession(), 0);
}

TEST_F(CommandChannelTest, ExchangesAreTracedInHex) {
    platform::TraceCapture trace;
    ASSERT_EQ(channel_.WriteMemory(Bytes{0xAB}, 0x0102), 1);
    const auto lines = trace.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], L"命令");
    EXPECT_EQ(lines[1],
              L"04 b5 00 06   01 02 01 00   ab 00 00 00   00 00 00 00  00 00 00 00  00 00 00 00  "
              L"00 00 00 00  00 00 00 00");
    EXPECT_EQ(lines[2],
              L"00 00 00 00   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  00 00 00 00  "
              L"00 00 00 00  00 00 00 00");
    EXPECT_EQ(lines[3], L"返回");
    EXPECT_EQ(lines[4].substr(0, 3), L"04 ");
    EXPECT_EQ(lines[4].substr(9, 2), L"06");
}

// Closes the channel while an exchange of a wireless interface (5 s time-outs) waits for a
// reply that never comes, at a chosen point of the exchange; the exchange must end at once,
// and the next opening must not inherit the close's cancel.
class ClosingChannelTest : public CommandChannelTest {
  protected:
    using Step = CHidCommandChannel::ExchangeStep;

    // Holds the exchange at `step` until the close has begun.
    void ParkAt(Step step) {
        channel_.SetStepHookForTesting([this, step](Step now) {
            if (now != step)
                return;
            parked_.store(true);
            while (channel_.IsOpen() != 0)
                std::this_thread::yield();
        });
    }

    void CloseDuringAnExchange() {
        ASSERT_TRUE(channel_.OpenInterface(path_.c_str(), true));
        keyboard_->InjectFault({FaultKind::kNoReply, 0x1C});
        std::atomic<int> result{-999};
        std::thread exchange([&] { result = channel_.TakeLightControl(); });
        while (!parked_.load())
            std::this_thread::yield();
        const auto start = std::chrono::steady_clock::now();
        channel_.CloseInterface();
        exchange.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
        EXPECT_EQ(result.load(), 0);
        EXPECT_EQ(channel_.IsOpen(), 0);
        channel_.SetStepHookForTesting({});
        keyboard_->ClearFaults();
        ASSERT_TRUE(channel_.OpenInterface(path_.c_str(), false));
        EXPECT_EQ(channel_.TakeLightControl(), 1);
    }

    std::atomic<bool> parked_{false};
};

TEST_F(ClosingChannelTest, ClosingBeforeTheWriteSendsNothing) {
    ParkAt(Step::kWrite);
    CloseDuringAnExchange();
    EXPECT_EQ(keyboard_->CommandCount(0x1C), 1u);  // only the one after reopening
}

TEST_F(ClosingChannelTest, ClosingBetweenWriteAndReadEndsTheExchange) {
    ParkAt(Step::kRead);
    CloseDuringAnExchange();
    EXPECT_EQ(keyboard_->CommandCount(0x1C), 2u);
}

TEST_F(ClosingChannelTest, ClosingWakesAnExchangeWaitingForItsReply) {
    // Parked once it is inside the read of a reply that never comes.
    std::thread watch([this] {
        while (!channel_.File().IsReading())
            std::this_thread::yield();
        parked_.store(true);
    });
    CloseDuringAnExchange();
    watch.join();
}

TEST_F(CommandChannelTest, ClosedChannelSendsAndTracesNothing) {
    channel_.CloseInterface();
    platform::TraceCapture trace;
    EXPECT_EQ(channel_.IsOpen(), 0);
    EXPECT_EQ(channel_.BeginSession(), 0);
    Bytes out(10);
    EXPECT_EQ(channel_.ReadMemory(out, 0), 0);
    EXPECT_EQ(channel_.SendLightFrame(Bytes(30, 1)), 0);
    EXPECT_FALSE(channel_.QueryDeviceStatus());
    EXPECT_TRUE(Wire().empty());
    EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(CommandChannelTest, LightFramesStreamQuietly) {
    platform::TraceCapture trace;
    const Bytes frame = Sequence(126 * 3, 0);
    ASSERT_EQ(channel_.SendLightFrame(frame), 1);
    const auto wire = Wire();
    ASSERT_EQ(wire.size(), 7u);
    for (size_t i = 0; i < 6; ++i)
        ExpectPiece(wire[i], 0x12, 56, static_cast<uint16_t>(i * 56));
    ExpectPiece(wire[6], 0x12, 42, 336);
    EXPECT_TRUE(trace.Lines().empty());
    const Bytes stored = keyboard_->Memory(KeyboardMemory::kLightFrame);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), stored.begin()));

    // A wireless receiver gets no frames; they count as sent.
    channel_.SetSlow(true);
    EXPECT_EQ(channel_.SendLightFrame(frame), 1);
    EXPECT_EQ(Wire().size(), 7u);
}

TEST_F(CommandChannelTest, PostedFramesNeverWaitForTheDeviceAndTheNewestGoesOut) {
    // The first piece gets no reply: sending that frame takes the whole time-out.
    keyboard_->InjectFault({FaultKind::kNoReply, 0x12});
    const Bytes frames[] = {Bytes(378, 1), Bytes(378, 2), Bytes(378, 3)};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(channel_.PostLightFrame(frames[0]), 1);
    ASSERT_TRUE(keyboard_->WaitForReceivedCount(1, 5000));  // the first is under way
    EXPECT_EQ(channel_.PostLightFrame(frames[1]), 1);
    EXPECT_EQ(channel_.PostLightFrame(frames[2]), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    ASSERT_TRUE(channel_.WaitLightFramesSent(5000));
    // The first frame stopped at its unanswered piece; the second was replaced by the third
    // while it waited.
    EXPECT_EQ(keyboard_->CommandCount(0x12), 1u + 7u);
    const Bytes stored = keyboard_->Memory(KeyboardMemory::kLightFrame);
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 378), frames[2]);

    // Closed, nothing is taken; over a wireless receiver nothing is sent.
    channel_.CloseInterface();
    EXPECT_EQ(channel_.PostLightFrame(frames[0]), 0);
    ASSERT_TRUE(channel_.OpenInterface(path_.c_str(), true));
    EXPECT_EQ(channel_.PostLightFrame(frames[0]), 1);
    ASSERT_TRUE(channel_.WaitLightFramesSent(5000));
    EXPECT_EQ(keyboard_->CommandCount(0x12), 8u);
}

TEST_F(CommandChannelTest, LightFramePiecesAreDroppedWhileBusy) {
    // Another thread's exchange waits for a reply that never comes while a frame is sent.
    platform::TraceCapture trace;  // outlives the other thread's traces
    keyboard_->InjectFault({FaultKind::kNoReply, 0x1C});
    std::thread other([this] { EXPECT_EQ(channel_.TakeLightControl(), 0); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!channel_.IsBusy() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(channel_.IsBusy());
    EXPECT_EQ(channel_.SendLightFrame(Bytes(126 * 3, 9)), 1);
    other.join();
    size_t dropped = 0;
    for (const auto& line : trace.Lines())
        dropped += line == L"放弃灯光数据";
    EXPECT_EQ(dropped, 7u);
    EXPECT_EQ(keyboard_->CommandCount(0x12), 0u);
}

}  // namespace
