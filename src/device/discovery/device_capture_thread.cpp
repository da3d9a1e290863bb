#include "device/discovery/device_capture_thread.h"

#include "device/discovery/hid_path_parsers.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/window_messages.h"

DeviceCaptureThread::DeviceCaptureThread(HidLiveList& list, HWND mainWindow, UINT productMessage)
    : list_(list), window_(mainWindow), productMessage_(productMessage) {}

DeviceCaptureThread::~DeviceCaptureThread() {
    Stop();
}

bool DeviceCaptureThread::Start() {
    return thread_.Start([this](platform::Event& stop) { Run(stop); });
}

bool DeviceCaptureThread::Stop(uint32_t timeoutMs) {
    // Called on the window's thread, the wait keeps handling the sends of this thread, so
    // that a stop issued while it waits in a send cannot deadlock the two.
    return thread_.Stop(timeoutMs, [] { platform::PumpPendingSends(); });
}

void DeviceCaptureThread::Run(platform::Event& stop) {
    // A thread started again looks at the bus afresh.
    seenBus_ = nullptr;
    seenStamp_.reset();
    workLeft_ = false;
    bool firstPass = true;
    for (;;) {
        // Looked at, not waited on: the pause between passes below already waits on it,
        // and a second sleep would wake the thread twice per pass.
        if (stop.IsSet())
            break;
        // The first pass always finds the bus changed: nothing was seen before it.
        const bool busChanged = BusMayHaveChanged();
        if (busChanged || workLeft_)
            workLeft_ = !list_.AllHidRecordsClaimed() && ScanInterfaces();
        if (firstPass) {
            // The window first shows on this message: it follows the first pass whatever
            // the listing gave, so that a bus that cannot be listed never keeps it hidden.
            firstPass = false;
            PostMessageW(window_, productMessage_, 0, 0);
        }
        // A released record may be claimed by an interface the listing passed over.
        if (busChanged && CheckPresence())
            workLeft_ = true;
        // Waiting on the stop event rather than sleeping lets a stop end the pass at once.
        if (stop.Wait(kPassIntervalMs) != platform::kWaitTimeout)
            break;
    }
    DebugTrace(L"抓取设备线程设定退出");
}

bool DeviceCaptureThread::BusMayHaveChanged() {
    platform::hid::HidBus& bus = platform::hid::CurrentHidBus();
    const std::optional<uint64_t> stamp = bus.ChangeStamp();
    const bool changed = &bus != seenBus_ || !stamp || stamp != seenStamp_;
    seenBus_ = &bus;
    seenStamp_ = stamp;
    return changed;
}

bool DeviceCaptureThread::ScanInterfaces() {
    // A failed listing is tried again on the next pass: discovery must not end for good
    // because the bus could not be listed once.
    if (!file_.EnumPaths())
        return true;
    bool workLeft = false;
    while (const wchar_t* path = file_.NextPath()) {
        if (ProbePath(path))
            workLeft = true;
    }
    file_.FreePaths();
    return workLeft;
}

bool DeviceCaptureThread::ProbePath(const wchar_t* path) {
    HidIdRecord probe;
    probe.vendorId = ParseVidFromPath(path);
    probe.productId = ParsePidFromPath(path);
    probe.collectionNumber = ParseColFromPath(path);
    probe.interfaceNumber = ParseMiFromPath(path);
    probe.devicePath = path;
    if (!list_.MatchHidCandidate(probe))
        return false;
    // An interface that cannot be opened yet is tried on every pass until it opens: udev
    // may still be applying its rule, and refusals told only once they last.
    if (!file_.Open(path, true, false, true, false)) {
        if (file_.LastOpenError() == platform::hid::HidOpenError::kAccessDenied)
            accessNotices_.Refused(probe, list_.CandidateKind(probe), platform::TickCount());
        return true;
    }
    accessNotices_.Opened(probe);
    probe.vendorId = file_.Attributes().VendorID;
    probe.productId = file_.Attributes().ProductID;
    probe.usagePage = file_.Caps().UsagePage;
    probe.usage = file_.Caps().Usage;
    file_.Close();
    size_t index = 0;
    if (!list_.ClaimHidRecord(probe, index))
        return true;
    SendMessageW(window_, WM_DEVICE_ARRIVED, static_cast<WPARAM>(index), 0);
    return false;
}

bool DeviceCaptureThread::CheckPresence() {
    bool released = false;
    for (size_t index : list_.ConnectedIndexes()) {
        const std::optional<HidIdRecord> record = list_.Get(index);
        if (!record)
            continue;
        if (CHidDeviceFile::InterfacePresent(record->devicePath.GetData()))
            continue;
        list_.Release(index);
        released = true;
        SendMessageW(window_, WM_DEVICE_REMOVED, static_cast<WPARAM>(index), 0);
    }
    return released;
}
