#pragma once
// Folder device/channel: where bytes reach the wire. The HID device file (one opened
// interface), the command channel and its 64-byte reports, the capability block, and the
// values read from a device's input reports. Nothing here knows a device kind.
//
// The device protocol on one HID interface: a request-reply exchange of 64-byte reports,
// one wrapper per command. The channel sends exactly one command per wrapper call; the
// device classes compose sequences and bracket writes with BeginSession/EndSession.
//
// Locks: a wrapper holds its command lock (or the light lock for the per-key colour table
// and light frames) around each exchange; the exchange holds the I/O lock around its
// write and its reads. A reply is taken only when it echoes the request's command and,
// where the keyboard echoes them, the piece's length and offset, so a reply that comes
// after its request timed out never answers a request for another piece.
//
// Closing: the closer clears the open flag, then cancels; an exchange looks at the flag
// before each transfer. Wherever the close lands (before the write, between write and
// read, during the read) the exchange ends at once rather than waiting out its time-out.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "device/channel/device_info_block.h"
#include "device/channel/hid_command_report.h"
#include "device/channel/hid_device_file.h"
#include "device/channel/light_frame_sender.h"
#include "platform/critical_section.h"

// Results beyond 1 (success) and 0 (not open, or the reply did not come).
inline constexpr int kHidWriteFailed = -1;
inline constexpr int kHidDeviceErrorFF = -102;  // status byte 0xFF
inline constexpr int kHidDeviceErrorFE = -103;  // status byte 0xFE
inline constexpr int kHidBadTableBank = -201;

class CHidCommandChannel {
  public:
    static constexpr uint16_t kMaxTableLength = 512;
    static constexpr uint32_t kTimeoutMs = 1000;
    static constexpr uint32_t kSlowTimeoutMs = 5000;

    CHidCommandChannel();
    ~CHidCommandChannel();
    CHidCommandChannel(const CHidCommandChannel&) = delete;
    CHidCommandChannel& operator=(const CHidCommandChannel&) = delete;

    // Opens the interface for reading and writing under the I/O lock and marks the channel
    // open; `slow` is the wireless-receiver flag, decided at each opening.
    bool OpenInterface(const wchar_t* path, bool slow);
    // Marks the channel closed, wakes an exchange under way and closes the interface under
    // the I/O lock.
    void CloseInterface();
    int IsOpen() const { return open_.load() ? 1 : 0; }

    // Bytes of the key-code table (key positions x 3); refuses more than 512.
    bool SetTableLength(uint16_t length);
    uint16_t GetTableLength() const { return tableLength_.load(); }
    // A wireless receiver: 5000 ms time-outs, no light frames.
    void SetSlow(bool slow) { slow_.store(slow); }
    bool IsSlow() const { return slow_.load(); }
    // Set while the device follows the cross-device light synchronisation.
    void SetLightSync(bool on) { lightSync_.store(on); }
    bool GetLightSync() const { return lightSync_.load(); }
    // True while a traced exchange runs on any thread.
    bool IsBusy() const { return busy_.load() > 0; }

    CHidDeviceFile& File() { return file_; }

    // One traced exchange: the request is padded or cut to 64 bytes. Replies that are not
    // the request's own are dropped; without its own within the time-out it fails (0).
    int Transact(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                 uint32_t* byteCount);
    // The same without trace and busy flag, with fixed 1000 ms time-outs.
    int TransactQuiet(const uint8_t* request, size_t requestLength, uint8_t* reply,
                      size_t replyLength, uint32_t* byteCount);

    // Test seam: called with the I/O lock held at each step of an exchange, just before
    // the step looks whether the channel is still open.
    enum class ExchangeStep { kWrite, kRead };
    void SetStepHookForTesting(std::function<void(ExchangeStep)> hook);

    int BeginSession();
    int EndSession();
    int ReadDeviceInfo(DeviceInfoBlock& out);
    int ReadMemory(std::span<uint8_t> out, uint16_t baseOffset);
    int WriteMemory(std::span<const uint8_t> data, uint16_t baseOffset);
    // The table is table-length bytes; a shorter buffer is refused with 0.
    int ReadKeyCodeTable(std::span<uint8_t> out);
    int WriteKeyCodeTable(std::span<const uint8_t> data, int bank);
    int WriteKeyColorTable(std::span<const uint8_t> data, int slot, int stride);
    // Streams R, G, B per LED. Pieces are dropped, not queued, while another exchange runs.
    int SendLightFrame(std::span<const uint8_t> data);
    // For the UI thread's frame timer, which must never wait on the device: hands a copy of
    // the frame to the frame thread (light_frame_sender.h), which sends it with
    // SendLightFrame, and returns at once. 0 while closed; 1 otherwise, also over a wireless
    // receiver, which gets no frames.
    int PostLightFrame(std::span<const uint8_t> data);
    // The same for a device that takes its LEDs as output reports on the control path.
    int PostOutputReports(std::vector<std::vector<uint8_t>> reports);
    // True once every frame posted has been sent or dropped; false after `timeoutMs`.
    bool WaitLightFramesSent(uint32_t timeoutMs);
    int WriteMacroImage(std::span<const uint8_t> data);
    int WriteShootImage(std::span<const uint8_t> data);
    // Copies min(length, 56, out.size()) reply bytes.
    int ReadPowerStatus(std::span<uint8_t> out, size_t length, uint16_t offset);
    // One byte per key position: table-length / 3 bytes.
    int ReadKeyLightTable(std::span<uint8_t> out);
    int TakeLightControl();
    // True only for a clean exchange whose reply carries 0xFF in byte 8.
    bool QueryDeviceStatus();

  private:
    // Seals the request, exchanges it under `lock` (traced, or quietly as light frames go)
    // and turns a device error status into its result.
    int Exchange(HidCommandReport& request, HidCommandReport& reply,
                 platform::CriticalSection& lock, bool traced = true);
    int SimpleCommand(HidCommandCode code);
    int WritePieces(HidCommandCode code, std::span<const uint8_t> data, uint32_t base,
                    platform::CriticalSection& lock);
    int ReadPieces(HidCommandCode code, std::span<uint8_t> out, uint32_t base);
    // Write and read under the I/O lock.
    int ExchangeLocked(const uint8_t* report, uint8_t* reply, size_t replyLength,
                       uint32_t timeoutMs, uint32_t* byteCount);
    // Reads until the request's own reply comes or the time-out passes.
    int ReadOwnReply(const uint8_t* report, uint8_t* reply, size_t replyLength, uint32_t timeoutMs,
                     uint32_t* byteCount);
    // Whether the next step may go on: the channel is still open. I/O lock held.
    bool StillOpenFor(ExchangeStep step);
    void DrainStaleReplies();
    uint32_t Timeout() const { return slow_.load() ? kSlowTimeoutMs : kTimeoutMs; }

    std::atomic<uint16_t> tableLength_{kMaxTableLength};
    std::atomic<int> busy_{0};
    std::atomic<bool> open_{false};
    std::atomic<bool> lightSync_{false};
    CHidDeviceFile file_;
    platform::CriticalSection ioLock_;
    platform::CriticalSection commandLock_;
    platform::CriticalSection lightLock_;
    std::atomic<bool> slow_{false};
    // Set when an exchange ended without its reply: a late reply may still arrive.
    bool drainPending_ = false;                   // guarded by ioLock_
    std::function<void(ExchangeStep)> stepHook_;  // guarded by ioLock_
    const uint8_t payloadSize_ = kHidPayloadSize;
    // Last: its thread uses everything above, so it goes first.
    LightFrameSender frames_;
};
