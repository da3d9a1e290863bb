#include "device/channel/hid_command_channel.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/hid/hid_transfer_gate.h"

namespace {

// A reply queue holds few reports; more than this means the device keeps talking.
constexpr int kMaxDrainedReplies = 32;

class BusyScope {
  public:
    explicit BusyScope(std::atomic<int>& busy) : busy_(busy) { busy_.fetch_add(1); }
    ~BusyScope() { busy_.fetch_sub(1); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    std::atomic<int>& busy_;
};

void TraceReport(const wchar_t* title, std::span<const uint8_t> bytes) {
    std::array<uint8_t, kHidReportSize> padded{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), padded.size()), padded.begin());
    DebugTrace(title);
    DebugTrace(FormatReportTraceLine(std::span<const uint8_t>(padded.data(), 32)));
    DebugTrace(FormatReportTraceLine(std::span<const uint8_t>(padded.data() + 32, 32)));
}

int StatusResult(uint8_t status) {
    if (status == kHidStatusErrorFF)
        return kHidDeviceErrorFF;
    if (status == kHidStatusErrorFE)
        return kHidDeviceErrorFE;
    return 1;
}

std::array<uint8_t, kHidReportSize> ToReport(const uint8_t* request, size_t length) {
    std::array<uint8_t, kHidReportSize> report{};
    if (request != nullptr)
        std::memcpy(report.data(), request, std::min(length, report.size()));
    return report;
}

}  // namespace

CHidCommandChannel::CHidCommandChannel() = default;

CHidCommandChannel::~CHidCommandChannel() {
    CloseInterface();  // ends the frame under way at once
    frames_.Stop();
}

bool CHidCommandChannel::OpenInterface(const wchar_t* path, bool slow) {
    platform::CriticalSectionLock io(ioLock_);
    open_.store(false);
    if (!file_.Open(path, true, true, true, false))
        return false;
    slow_.store(slow);
    drainPending_ = false;
    open_.store(true);
    return true;
}

void CHidCommandChannel::CloseInterface() {
    // The flag first: an exchange that still saw the channel open starts its next transfer
    // after this point, and the cancel is waiting for it there.
    open_.store(false);
    frames_.Drop();
    file_.CancelTransfer();
    platform::CriticalSectionLock io(ioLock_);
    file_.Close();  // drops the cancel when no transfer took it
}

void CHidCommandChannel::SetStepHookForTesting(std::function<void(ExchangeStep)> hook) {
    platform::CriticalSectionLock io(ioLock_);
    stepHook_ = std::move(hook);
}

bool CHidCommandChannel::SetTableLength(uint16_t length) {
    if (length > kMaxTableLength)
        return false;
    tableLength_.store(length);
    return true;
}

int CHidCommandChannel::Transact(const uint8_t* request, size_t requestLength, uint8_t* reply,
                                 size_t replyLength, uint32_t* byteCount) {
    BusyScope busy(busy_);
    if (byteCount != nullptr)
        *byteCount = 0;
    if (!open_.load())
        return 0;
    const auto report = ToReport(request, requestLength);
    TraceReport(L"命令", report);
    std::array<uint8_t, kHidReportSize> received{};
    const int result =
        ExchangeLocked(report.data(), received.data(), received.size(), Timeout(), byteCount);
    if (reply != nullptr)
        std::memcpy(reply, received.data(), std::min(replyLength, received.size()));
    // A request that never left has no reply to show.
    if (result != kHidWriteFailed)
        TraceReport(L"返回", received);
    return result;
}

int CHidCommandChannel::TransactQuiet(const uint8_t* request, size_t requestLength, uint8_t* reply,
                                      size_t replyLength, uint32_t* byteCount) {
    if (byteCount != nullptr)
        *byteCount = 0;
    if (!open_.load())
        return 0;
    const auto report = ToReport(request, requestLength);
    std::array<uint8_t, kHidReportSize> received{};
    const int result =
        ExchangeLocked(report.data(), received.data(), received.size(), kTimeoutMs, byteCount);
    if (reply != nullptr)
        std::memcpy(reply, received.data(), std::min(replyLength, received.size()));
    return result;
}

int CHidCommandChannel::ExchangeLocked(const uint8_t* report, uint8_t* reply, size_t replyLength,
                                       uint32_t timeoutMs, uint32_t* byteCount) {
    platform::CriticalSectionLock io(ioLock_);
    if (drainPending_)
        DrainStaleReplies();
    if (!StillOpenFor(ExchangeStep::kWrite))
        return 0;
    if (!file_.Write(report, kHidReportSize, timeoutMs, nullptr)) {
        drainPending_ = true;
        return kHidWriteFailed;
    }
    const int result = ReadOwnReply(report, reply, replyLength, timeoutMs, byteCount);
    // Without its reply the request may still be answered later; that reply is dropped
    // before the next request goes out.
    drainPending_ = result != 1;
    return result;
}

int CHidCommandChannel::ReadOwnReply(const uint8_t* report, uint8_t* reply, size_t replyLength,
                                     uint32_t timeoutMs, uint32_t* byteCount) {
    const platform::hid::HidDeadline deadline(timeoutMs);
    for (;;) {
        std::memset(reply, 0, replyLength);
        if (!StillOpenFor(ExchangeStep::kRead))
            return 0;
        uint32_t count = 0;
        const auto left = static_cast<uint32_t>(deadline.RemainingMs());
        if (!file_.Read(reply, static_cast<uint32_t>(replyLength), left, &count))
            return 0;
        const std::span<const uint8_t> received(reply, std::min<size_t>(count, replyLength));
        if (IsReplyTo(std::span<const uint8_t>(report, kHidReportSize), received)) {
            if (byteCount != nullptr)
                *byteCount = count;
            return 1;
        }
        // An earlier request's late reply, or a report nobody asked for: not this one's.
        if (deadline.RemainingMs() == 0) {
            std::memset(reply, 0, replyLength);
            return 0;
        }
    }
}

bool CHidCommandChannel::StillOpenFor(ExchangeStep step) {
    if (stepHook_)
        stepHook_(step);
    return open_.load();
}

void CHidCommandChannel::DrainStaleReplies() {
    std::array<uint8_t, kHidReportSize> stale{};
    for (int i = 0; i < kMaxDrainedReplies; ++i) {
        uint32_t count = 0;
        if (!file_.Read(stale.data(), static_cast<uint32_t>(stale.size()), 0, &count))
            break;
    }
    drainPending_ = false;
}

int CHidCommandChannel::Exchange(HidCommandReport& request, HidCommandReport& reply,
                                 platform::CriticalSection& lock, bool traced) {
    request.Seal();
    int result = 0;
    {
        platform::CriticalSectionLock guard(lock);
        result = traced ? Transact(request.bytes.data(), request.bytes.size(), reply.bytes.data(),
                                   reply.bytes.size(), nullptr)
                        : TransactQuiet(request.bytes.data(), request.bytes.size(),
                                        reply.bytes.data(), reply.bytes.size(), nullptr);
    }
    if (result != 1)
        return result;
    return StatusResult(reply.Status());
}

int CHidCommandChannel::SimpleCommand(HidCommandCode code) {
    HidCommandReport request = HidCommandReport::Request(code);
    HidCommandReport reply;
    return Exchange(request, reply, commandLock_);
}

int CHidCommandChannel::WritePieces(HidCommandCode code, std::span<const uint8_t> data,
                                    uint32_t base, platform::CriticalSection& lock) {
    // Cleared once per command: a short last piece is sent with the previous piece's
    // bytes behind it, as the devices have always received it.
    HidCommandReport request = HidCommandReport::Request(code);
    for (size_t position = 0; position < data.size();) {
        const size_t length = std::min<size_t>(payloadSize_, data.size() - position);
        request.SetPiece(static_cast<uint8_t>(length), static_cast<uint16_t>(base + position));
        request.SetPayload(data.subspan(position, length));
        HidCommandReport reply;
        const int result = Exchange(request, reply, lock);
        if (result != 1)
            return result;
        position += length;
    }
    return 1;
}

int CHidCommandChannel::ReadPieces(HidCommandCode code, std::span<uint8_t> out, uint32_t base) {
    HidCommandReport request = HidCommandReport::Request(code);
    for (size_t position = 0; position < out.size();) {
        const size_t length = std::min<size_t>(payloadSize_, out.size() - position);
        request.SetPiece(static_cast<uint8_t>(length), static_cast<uint16_t>(base + position));
        HidCommandReport reply;
        const int result = Exchange(request, reply, commandLock_);
        if (result != 1)
            return result;
        std::copy_n(reply.Payload().begin(), length,
                    out.begin() + static_cast<ptrdiff_t>(position));
        position += length;
    }
    return 1;
}

int CHidCommandChannel::BeginSession() {
    return SimpleCommand(HidCommandCode::BeginSession);
}

int CHidCommandChannel::EndSession() {
    // The device is given a moment to finish storing the session's writes.
    platform::Sleep(10);
    return SimpleCommand(HidCommandCode::EndSession);
}

int CHidCommandChannel::ReadDeviceInfo(DeviceInfoBlock& out) {
    DeviceInfoBlock block;
    const int result = ReadPieces(HidCommandCode::ReadDeviceInfo, block.bytes, 0);
    if (result == 1)
        out = block;
    return result;
}

int CHidCommandChannel::ReadMemory(std::span<uint8_t> out, uint16_t baseOffset) {
    return ReadPieces(HidCommandCode::ReadMemory, out, baseOffset);
}

int CHidCommandChannel::WriteMemory(std::span<const uint8_t> data, uint16_t baseOffset) {
    return WritePieces(HidCommandCode::WriteMemory, data, baseOffset, commandLock_);
}

int CHidCommandChannel::ReadKeyCodeTable(std::span<uint8_t> out) {
    const size_t length = GetTableLength();
    if (out.size() < length)
        return 0;
    return ReadPieces(HidCommandCode::ReadKeyCodeTable, out.first(length), 0);
}

int CHidCommandChannel::WriteKeyCodeTable(std::span<const uint8_t> data, int bank) {
    if (bank != 0)
        return kHidBadTableBank;
    const size_t length = GetTableLength();
    if (data.size() < length)
        return 0;
    return WritePieces(HidCommandCode::WriteKeyCodeTable, data.first(length), 0, commandLock_);
}

int CHidCommandChannel::WriteKeyColorTable(std::span<const uint8_t> data, int slot, int stride) {
    const uint32_t base = static_cast<uint32_t>(slot) * static_cast<uint32_t>(stride);
    return WritePieces(HidCommandCode::WriteKeyColorTable, data, base, lightLock_);
}

int CHidCommandChannel::SendLightFrame(std::span<const uint8_t> data) {
    // A wireless receiver is too slow for streamed frames; they count as sent.
    if (slow_.load())
        return 1;
    HidCommandReport request = HidCommandReport::Request(HidCommandCode::SendLightFrame);
    for (size_t position = 0; position < data.size(); position += payloadSize_) {
        const size_t length = std::min<size_t>(payloadSize_, data.size() - position);
        if (IsBusy()) {
            // The next frame replaces what is lost; waiting would stall the UI timer.
            DebugTrace(L"放弃灯光数据");
            continue;
        }
        request.SetPiece(static_cast<uint8_t>(length), static_cast<uint16_t>(position));
        request.SetPayload(data.subspan(position, length));
        HidCommandReport reply;
        const int result = Exchange(request, reply, lightLock_, false);
        if (result != 1)
            return result;
    }
    return 1;
}

int CHidCommandChannel::PostLightFrame(std::span<const uint8_t> data) {
    // A wireless receiver is too slow for streamed frames; they count as sent.
    if (slow_.load())
        return 1;
    if (!open_.load())
        return 0;
    return frames_.Post([this, frame = std::vector<uint8_t>(data.begin(), data.end())] {
        return SendLightFrame(frame);
    })
               ? 1
               : 0;
}

int CHidCommandChannel::PostOutputReports(std::vector<std::vector<uint8_t>> reports) {
    if (!open_.load())
        return 0;
    return frames_.Post([this, reports = std::move(reports)] {
        // Every report goes out whatever became of the one before; the next frame repeats
        // them all anyway.
        BOOL result = FALSE;
        for (const std::vector<uint8_t>& report : reports) {
            result = file_.SetOutputReport(report.data(), static_cast<DWORD>(report.size()));
        }
        return result ? 1 : 0;
    })
               ? 1
               : 0;
}

bool CHidCommandChannel::WaitLightFramesSent(uint32_t timeoutMs) {
    return frames_.WaitSent(timeoutMs);
}

int CHidCommandChannel::WriteMacroImage(std::span<const uint8_t> data) {
    return WritePieces(HidCommandCode::WriteMacroImage, data, 0, commandLock_);
}

int CHidCommandChannel::WriteShootImage(std::span<const uint8_t> data) {
    return WritePieces(HidCommandCode::WriteShootImage, data, 0, commandLock_);
}

int CHidCommandChannel::ReadPowerStatus(std::span<uint8_t> out, size_t length, uint16_t offset) {
    const size_t count = std::min({length, kHidPayloadSize, out.size()});
    HidCommandReport request = HidCommandReport::Request(HidCommandCode::ReadPowerStatus);
    request.SetPiece(static_cast<uint8_t>(count), offset);
    HidCommandReport reply;
    const int result = Exchange(request, reply, commandLock_);
    if (result != 1)
        return result;
    std::copy_n(reply.Payload().begin(), count, out.begin());
    return 1;
}

int CHidCommandChannel::ReadKeyLightTable(std::span<uint8_t> out) {
    const size_t length = GetTableLength() / 3;
    if (out.size() < length)
        return 0;
    return ReadPieces(HidCommandCode::ReadKeyLightTable, out.first(length), 0);
}

int CHidCommandChannel::TakeLightControl() {
    return SimpleCommand(HidCommandCode::TakeLightControl);
}

bool CHidCommandChannel::QueryDeviceStatus() {
    HidCommandReport request = HidCommandReport::Request(HidCommandCode::QueryDeviceStatus);
    HidCommandReport reply;
    // A clean exchange whose status is no error, and the device's "ready" byte.
    return Exchange(request, reply, commandLock_) == 1 && reply.bytes[kHidPayloadOffset] == 0xFF;
}
