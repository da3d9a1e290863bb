#pragma once
// Folder device/discovery: which interfaces are ours and when they come and go. The
// static device and interface tables, the path parsers, the live list of claimed
// interfaces and the capture thread that polls the bus. Uses only device/channel.
//
// Discovery: a worker thread that polls the HID bus every 100 ms, claims the live records
// of supported interfaces as they appear and releases them when they go, and tells the
// main window with WM_DEVICE_ARRIVED / WM_DEVICE_REMOVED (wParam = live index), sent so
// that the window has handled each change before the thread goes on. After its first
// pass it posts the product message once, which brings the window up, whether or not the
// bus could be listed. A supported interface this user may not open is told to the user
// once (access_notice.h).
//
// A pass lists and probes only when it has to: on the first pass, when the bus's change
// stamp moved (or the bus cannot tell), or when the last listing left work undone (a
// listing that failed, a supported interface that could not be opened or claimed, a
// record released since). The presence of claimed interfaces is checked whenever the
// stamp moved, so that an unplug is still heard within a pass.

#include <cstdint>
#include <optional>

#include "device/channel/hid_device_file.h"
#include "device/discovery/access_notice.h"
#include "device/discovery/hid_live_list.h"
#include "platform/event.h"
#include "platform/win_types.h"
#include "platform/worker_thread.h"

inline constexpr UINT WM_DEVICE_ARRIVED = 0xC12;
inline constexpr UINT WM_DEVICE_REMOVED = 0xC13;

class DeviceCaptureThread {
  public:
    static constexpr uint32_t kPassIntervalMs = 100;

    // `list` and the window outlive the thread; `productMessage` is WM_APP_PRODUCT.
    DeviceCaptureThread(HidLiveList& list, HWND mainWindow, UINT productMessage);
    ~DeviceCaptureThread();
    DeviceCaptureThread(const DeviceCaptureThread&) = delete;
    DeviceCaptureThread& operator=(const DeviceCaptureThread&) = delete;

    bool Start();
    // Sets the stop event and joins; true when the thread ended within `timeoutMs`.
    bool Stop(uint32_t timeoutMs = 1000);
    bool IsRunning() const { return thread_.IsRunning(); }

  private:
    void Run(platform::Event& stop);
    // Whether the process bus may have changed since the last pass asked.
    bool BusMayHaveChanged();
    // Each of these three is true when it leaves work for the next pass.
    bool ScanInterfaces();
    bool ProbePath(const wchar_t* path);
    bool CheckPresence();

    HidLiveList& list_;
    HWND window_;
    UINT productMessage_;
    // Used by the thread alone, for listing and probing.
    CHidDeviceFile file_;
    AccessNotices accessNotices_;
    // The bus and its stamp as the last pass saw them; nothing before the first pass.
    const platform::hid::HidBus* seenBus_ = nullptr;
    std::optional<uint64_t> seenStamp_;
    bool workLeft_ = false;
    platform::WorkerThread thread_{"capture"};
};
