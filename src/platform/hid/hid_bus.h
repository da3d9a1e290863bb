#pragma once
// The HID bus: what the device code needs of the system's HID stack. Enumeration lists
// one Windows-shaped path per top-level collection, for example
//   \\?\hid#vid_320f&pid_505b&mi_01&col04#hidraw3&0003
// ("&mi_" is present for an interface of a USB device, "&col" when the interface has more
// than one top-level collection; the text after the last '#' names the node on its bus).
// Opening a path gives a handle that moves the reports of that one collection.
//
// Backends: hidraw (the default) and sim (an in-process bus of simulated devices),
// chosen with VELKARO_HID=hidraw|sim. Tests install their own bus with ScopedHidBus.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/hid_cancel_event.h"
#include "platform/hid/hid_report_descriptor.h"
#include "platform/hid/hidp_types.h"

namespace platform::hid {

// Neither read nor write asks only whether the interface is present (a handle that
// moves no reports), as opening with no access rights does.
struct HidOpenFlags {
    bool read = false;
    bool write = false;
    bool exclusive = false;  // share reading only
};

enum class HidIoStatus {
    kOk,
    kTimeout,
    kCancelled,  // the caller's cancel event or Cancel() ended the transfer
    kFailed,     // the device is gone, the handle closed, or the report was refused
};

struct HidIoResult {
    HidIoStatus status = HidIoStatus::kFailed;
    size_t bytes = 0;
    bool ok() const { return status == HidIoStatus::kOk; }
};

inline constexpr uint32_t kHidInfinite = 0xFFFFFFFFu;

// Why an open gave no handle.
enum class HidOpenError {
    kNone,
    kAbsent,        // no such collection is present
    kAccessDenied,  // present, but this user may not open it (no udev rule lets it)
    kRefused,       // present, but the open failed for another reason (held elsewhere)
};

class HidHandle {
  public:
    virtual ~HidHandle() = default;

    virtual const HIDD_ATTRIBUTES& Attributes() const = 0;
    // The capabilities of the opened collection.
    virtual const HidPreparsedData& PreparsedData() const = 0;

    // One input report of this collection (report id first; a collection without report
    // ids reads with a leading 0). A report longer than `buffer` is cut to it. Nothing
    // is ever written into `buffer` after the call returned.
    // `cancel` (optional) is consumed when it ends the wait, like an auto-reset event.
    virtual HidIoResult Read(std::span<uint8_t> buffer, uint32_t timeoutMs,
                             HidCancelEvent* cancel) = 0;
    // One output report (report id first) on the interrupt path. Refused when the id is
    // not an output report of this collection or the report is shorter than its length.
    virtual HidIoResult Write(std::span<const uint8_t> report, uint32_t timeoutMs,
                              HidCancelEvent* cancel) = 0;
    // One output report on the control path.
    virtual bool SetOutputReport(std::span<const uint8_t> report) = 0;
    // Ends one transfer waiting on this handle (or the next one) with kCancelled.
    virtual void Cancel() = 0;
    // Ends every waiting transfer, waits until each has left, releases the device.
    // Later transfers fail. Safe to call more than once and from another thread.
    virtual void Close() = 0;
};

class HidBus {
  public:
    virtual ~HidBus() = default;
    // False only when the bus cannot be listed at all; no device is an empty success.
    virtual bool Enumerate(std::vector<std::wstring>* paths) = 0;
    // Null when the path names no present collection or the device refuses the open.
    virtual std::unique_ptr<HidHandle> Open(std::wstring_view path, HidOpenFlags flags) = 0;
    // The same, telling why nothing was opened (`error` may be null). A bus that cannot
    // tell answers kRefused.
    virtual std::unique_ptr<HidHandle> OpenWithError(std::wstring_view path, HidOpenFlags flags,
                                                     HidOpenError* error) {
        std::unique_ptr<HidHandle> handle = Open(path, flags);
        if (error != nullptr) {
            *error = handle ? HidOpenError::kNone : HidOpenError::kRefused;
        }
        return handle;
    }
    // Whether an open with no access would succeed, without making the handle: discovery
    // asks it of every claimed interface whenever the bus may have changed, on every pass
    // of a bus that cannot tell.
    virtual bool IsPresent(std::wstring_view path) { return Open(path, HidOpenFlags{}) != nullptr; }
    // A stamp that moves whenever what the bus lists, or what an open or a presence probe
    // of a listed path gives, may have changed. Taken before looking, so that a change
    // while one looks moves it once more. Nothing when the bus cannot tell: then every
    // look is to be taken as a changed bus.
    virtual std::optional<uint64_t> ChangeStamp() { return std::nullopt; }
};

// The process bus: a bus a test installed, else the backend VELKARO_HID names.
HidBus& CurrentHidBus();
// Whether VELKARO_HID names a backend: "hidraw" (also when unset or empty) or "sim".
bool IsKnownHidBackendChoice(const char* value);
// Installs `bus` (nullptr restores the backend default); returns the previous one.
HidBus* InstallHidBus(HidBus* bus);

class ScopedHidBus {
  public:
    explicit ScopedHidBus(HidBus& bus) : previous_(InstallHidBus(&bus)) {}
    ~ScopedHidBus() { InstallHidBus(previous_); }
    ScopedHidBus(const ScopedHidBus&) = delete;
    ScopedHidBus& operator=(const ScopedHidBus&) = delete;

  private:
    HidBus* previous_;
};

// Builds the path of one collection; collection is 1-based, 0 leaves "&col" out, and
// interfaceNumber < 0 leaves "&mi_" out.
std::wstring MakeHidPath(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                         uint32_t collection, std::wstring_view node);
// The hexadecimal number after `key` ("&mi_", "&col", "vid_", "pid_"), found without
// regard to case and read as "%x" reads it (its low 32 bits); -1 when the key or the
// number is absent.
long ParseHidPathNumber(std::wstring_view path, std::wstring_view key);
// The text after the last '#' up to the next '&' (the node name); empty when absent.
std::wstring HidPathNode(std::wstring_view path);
bool SameHidPath(std::wstring_view a, std::wstring_view b);

}  // namespace platform::hid
