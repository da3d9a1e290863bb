#pragma once
// One HID interface as the device code sees it: enumeration of the interface paths,
// opening one path, its capabilities, reads and writes that end on a time-out or on the
// cancel event, and unpacking a received report into per-usage records.
//
// Runs on the process HID bus (platform::hid::CurrentHidBus()). The cancel event is
// auto-reset: a cancel signalled while no transfer waits stays set and ends the next
// Read or Write at once with 0, until Close or Reopen drops it. A transfer never writes
// into the caller's buffer after it returned, and Close wakes a reader on another thread
// and returns only once it has left.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hidp_types.h"
#include "platform/win_types.h"

// One usage or usage range of one report type.
struct HidUsageRecord {
    uint8_t isButton = 0;
    USAGE usagePage = 0;
    // Result of the last unpacking of this record.
    uint32_t status = HIDP_STATUS_SUCCESS;
    uint8_t reportId = 0;
    // Set each time a report with this record's id is unpacked; never cleared here.
    uint8_t updated = 0;
    // Button: range minimum (or the single usage). Value: the usage.
    USAGE firstUsage = 0;
    // Button: range maximum (or the single usage again).
    USAGE lastUsage = 0;
    // Button: usage-list capacity.
    uint32_t capacity = 0;
    // Value: raw and scaled value of the last unpacking.
    uint32_t rawValue = 0;
    int32_t scaledValue = 0;
    // Button: after unpacking, the pressed usages of the range, then a 0 terminator when
    // they are fewer than the capacity.
    std::vector<USAGE> usageList;
};

class CHidDeviceFile {
  public:
    // Longest path Open accepts, in characters.
    static constexpr size_t kMaxPathLength = 259;
    // Beyond these a device's capabilities are refused rather than allocated.
    static constexpr size_t kMaxUsageRecords = 16384;
    static constexpr size_t kMaxUsageListEntries = 1u << 20;

    CHidDeviceFile();
    ~CHidDeviceFile();
    CHidDeviceFile(const CHidDeviceFile&) = delete;
    CHidDeviceFile& operator=(const CHidDeviceFile&) = delete;

    // Every interface path of the bus, without gaps; true also when there is none.
    static bool EnumerateInterfaces(std::vector<std::wstring>* list, uint32_t* count);
    // Resets the cursor and enumerates into the object's own list.
    bool EnumPaths();
    // The path at the cursor, advancing it; null when the list is empty, exhausted or
    // released. Valid until the next EnumPaths or FreePaths.
    const wchar_t* NextPath();
    // Releases the list; the count stays.
    void FreePaths();
    uint32_t PathCount() const { return pathCount_; }

    BOOL Open(const wchar_t* path, BOOL readAccess, BOOL writeAccess, BOOL overlapped,
              BOOL exclusiveShare);
    // Why the last Open or Reopen failed (kNone after one that succeeded).
    platform::hid::HidOpenError LastOpenError() const { return lastOpenError_; }
    BOOL Reopen();
    BOOL LoadCaps();
    void FreeCaps();
    void Close();

    // Nonzero on success. The byte count (optional) is 0 after a time-out or cancel.
    BOOL Read(void* buffer, DWORD length, DWORD timeoutMs, DWORD* bytesRead = nullptr);
    BOOL Write(const void* buffer, DWORD length, DWORD timeoutMs, DWORD* bytesWritten = nullptr);
    // An output report on the control path (for devices that take LED reports there).
    BOOL SetOutputReport(const void* report, DWORD length);
    // Signals the cancel event when a Read or Write waits; for worker threads that stop a
    // reader without closing the interface (they repeat it until the reader has left).
    void CancelPendingTransfer();
    // Ends the Read or Write under way, or the next one when none is: for a closer that
    // must not miss a transfer about to start. A cancel no transfer took is dropped when
    // the interface is closed or opened again, so it never ends a later opening's transfer.
    void CancelTransfer();

    // Unpacks `report` into the records whose report id is its first byte. False when a
    // value record could not be read (later records stay untouched) or when there is no
    // report to unpack.
    static bool ParseReport(HIDP_REPORT_TYPE reportType, HidUsageRecord* records,
                            uint32_t recordCount, const platform::hid::HidPreparsedData* preparsed,
                            const uint8_t* report, uint32_t reportLength);
    // The records LoadCaps builds for one report type: one per button capability, then
    // one per value usage. False when the device announces more than the limits above.
    static bool BuildUsageRecords(const platform::hid::HidPreparsedData& preparsed,
                                  HIDP_REPORT_TYPE reportType,
                                  std::vector<HidUsageRecord>* records);

    // Whether a path names a present interface, asking for no access (what a presence
    // check by opening with no rights tells).
    static bool InterfacePresent(const wchar_t* path);

    // For a reader on another thread than the one that opens and closes the interface:
    // the input report length, and the unpacking of a received report into this object's
    // records, each whole against a Close or Reopen running meanwhile. `parsed`
    // (optional) receives a copy of the records as they are after the unpacking. False
    // while closed.
    uint32_t InputReportByteLength() const;
    bool ParseReceivedReport(HIDP_REPORT_TYPE reportType, const uint8_t* report,
                             uint32_t reportLength, std::vector<HidUsageRecord>* parsed);

    bool IsOpen() const;
    const std::wstring& DevicePath() const { return devicePath_; }
    const HIDP_CAPS& Caps() const { return caps_; }
    const HIDD_ATTRIBUTES& Attributes() const { return attributes_; }
    // Null while closed.
    const platform::hid::HidPreparsedData* PreparsedData() const { return preparsed_.get(); }
    uint32_t InterfaceNumber() const { return interfaceNumber_; }
    uint32_t CollectionNumber() const { return collectionNumber_; }
    // Per report type: the zeroed report buffer of its byte length, the usage records and
    // the capabilities; empty while closed. These references and Caps() are for the
    // thread that opens and closes the interface.
    std::vector<uint8_t>& ReportBuffer(HIDP_REPORT_TYPE type);
    std::vector<HidUsageRecord>& Records(HIDP_REPORT_TYPE type);
    uint32_t RecordCount(HIDP_REPORT_TYPE type) const;
    const std::vector<HIDP_BUTTON_CAPS>& ButtonCaps(HIDP_REPORT_TYPE type) const;
    const std::vector<HIDP_VALUE_CAPS>& ValueCaps(HIDP_REPORT_TYPE type) const;
    bool IsReading() const { return reading_.load() != 0; }
    bool IsWriting() const { return writing_.load() != 0; }

  private:
    struct ReportTypeState {
        std::vector<uint8_t> buffer;
        std::vector<HidUsageRecord> records;
        std::vector<HIDP_BUTTON_CAPS> buttonCaps;
        std::vector<HIDP_VALUE_CAPS> valueCaps;
    };

    std::shared_ptr<platform::hid::HidHandle> CurrentHandle() const;
    std::shared_ptr<platform::hid::HidHandle> TakeHandle();
    // Closes the handle (which wakes its transfers and waits until each has left), then
    // drops a cancel meant for it.
    void CloseHandle();
    static ReportTypeState& StateOf(ReportTypeState (&states)[kHidReportTypeCount],
                                    HIDP_REPORT_TYPE type);

    std::vector<std::wstring> paths_;
    bool pathsHeld_ = false;
    uint32_t pathCount_ = 0;
    uint32_t pathCursor_ = 0;

    bool readAccess_ = false;
    bool writeAccess_ = false;
    bool overlapped_ = false;
    bool exclusiveShare_ = false;
    platform::hid::HidOpenError lastOpenError_ = platform::hid::HidOpenError::kNone;

    // Guards only the handle pointer, so that Close on another thread and a waiting
    // Read never see it half replaced.
    mutable std::mutex handleMutex_;
    std::shared_ptr<platform::hid::HidHandle> handle_;

    std::wstring devicePath_;
    // Guards the capabilities and records below against a reader on another thread
    // while Close or Reopen replaces them.
    mutable std::mutex capsMutex_;
    std::unique_ptr<platform::hid::HidPreparsedData> preparsed_;
    HIDP_CAPS caps_;
    HIDD_ATTRIBUTES attributes_;
    ReportTypeState types_[kHidReportTypeCount];
    uint32_t interfaceNumber_ = 0;
    uint32_t collectionNumber_ = 0;
    platform::hid::HidCancelEvent cancelEvent_;
    std::atomic<uint32_t> reading_{0};
    std::atomic<uint32_t> writing_{0};
};
