#include "device/channel/hid_device_file.h"

#include <algorithm>
#include <span>

namespace {

using platform::hid::CurrentHidBus;
using platform::hid::HidHandle;
using platform::hid::HidIoResult;
using platform::hid::HidOpenFlags;
using platform::hid::HidPreparsedData;

uint32_t PathNumber(const std::wstring& path, std::wstring_view key) {
    const long value = platform::hid::ParseHidPathNumber(path, key);
    return value < 0 ? 0 : static_cast<uint32_t>(value);
}

bool ValidType(HIDP_REPORT_TYPE type) {
    return static_cast<int>(type) < kHidReportTypeCount;
}

void ParseButtonRecord(HIDP_REPORT_TYPE type, HidUsageRecord& record,
                       const HidPreparsedData& preparsed, std::span<const uint8_t> report) {
    const uint32_t capacity =
        static_cast<uint32_t>(std::min<size_t>(record.capacity, record.usageList.size()));
    uint32_t count = capacity;
    record.status =
        preparsed.GetUsages(type, record.usagePage, 0, record.usageList.data(), &count, report);
    count = std::min(count, capacity);
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const USAGE usage = record.usageList[i];
        if (usage >= record.firstUsage && usage <= record.lastUsage) {
            record.usageList[kept++] = usage;
        }
    }
    if (kept < capacity) {
        record.usageList[kept] = 0;
    }
}

bool ParseValueRecord(HIDP_REPORT_TYPE type, HidUsageRecord& record,
                      const HidPreparsedData& preparsed, std::span<const uint8_t> report) {
    uint32_t raw = 0;
    const HidpStatus status =
        preparsed.GetUsageValue(type, record.usagePage, 0, record.firstUsage, &raw, report);
    if (status != HIDP_STATUS_SUCCESS) {
        record.status = status;
        return false;
    }
    record.rawValue = raw;
    int32_t scaled = 0;
    record.status = preparsed.GetScaledUsageValue(type, record.usagePage, 0, record.firstUsage,
                                                  &scaled, report);
    if (record.status == HIDP_STATUS_SUCCESS) {
        record.scaledValue = scaled;
    }
    return true;
}

}  // namespace

CHidDeviceFile::CHidDeviceFile() = default;

CHidDeviceFile::~CHidDeviceFile() {
    Close();
    FreePaths();
}

bool CHidDeviceFile::EnumerateInterfaces(std::vector<std::wstring>* list, uint32_t* count) {
    if (list == nullptr || count == nullptr) {
        return false;
    }
    std::vector<std::wstring> found;
    if (!CurrentHidBus().Enumerate(&found)) {
        list->clear();
        *count = 0;
        return false;
    }
    // The bus lists only interfaces it could describe, so the list has no gaps: one
    // unreadable interface never ends the walk over the ones after it.
    *list = std::move(found);
    *count = static_cast<uint32_t>(list->size());
    return true;
}

bool CHidDeviceFile::EnumPaths() {
    pathCursor_ = 0;
    std::vector<std::wstring> list;
    uint32_t count = 0;
    const bool ok = EnumerateInterfaces(&list, &count);
    paths_ = std::move(list);
    pathsHeld_ = ok;
    pathCount_ = count;
    return ok;
}

const wchar_t* CHidDeviceFile::NextPath() {
    if (!pathsHeld_ || pathCursor_ >= pathCount_ || pathCursor_ >= paths_.size()) {
        return nullptr;
    }
    return paths_[pathCursor_++].c_str();
}

void CHidDeviceFile::FreePaths() {
    paths_.clear();
    paths_.shrink_to_fit();
    pathsHeld_ = false;
}

BOOL CHidDeviceFile::Open(const wchar_t* path, BOOL readAccess, BOOL writeAccess, BOOL overlapped,
                          BOOL exclusiveShare) {
    readAccess_ = readAccess != 0;
    writeAccess_ = writeAccess != 0;
    overlapped_ = overlapped != 0;
    exclusiveShare_ = exclusiveShare != 0;
    const std::wstring_view text = path != nullptr ? std::wstring_view(path) : std::wstring_view();
    if (text.size() > kMaxPathLength) {
        devicePath_.clear();
        Close();
        lastOpenError_ = platform::hid::HidOpenError::kAbsent;
        return FALSE;
    }
    devicePath_.assign(text);
    return Reopen();
}

BOOL CHidDeviceFile::Reopen() {
    FreeCaps();
    CloseHandle();
    lastOpenError_ = platform::hid::HidOpenError::kAbsent;
    if (devicePath_.empty()) {
        return FALSE;
    }
    HidOpenFlags flags;
    flags.read = readAccess_;
    flags.write = writeAccess_;
    flags.exclusive = exclusiveShare_;
    std::shared_ptr<HidHandle> handle =
        CurrentHidBus().OpenWithError(devicePath_, flags, &lastOpenError_);
    if (!handle) {
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> lock(handleMutex_);
        handle_ = handle;
    }
    if (!LoadCaps()) {
        lastOpenError_ = platform::hid::HidOpenError::kRefused;
        if (std::shared_ptr<HidHandle> failed = TakeHandle()) {
            failed->Close();
        }
        return FALSE;
    }
    return TRUE;
}

bool CHidDeviceFile::BuildUsageRecords(const HidPreparsedData& preparsed,
                                       HIDP_REPORT_TYPE reportType,
                                       std::vector<HidUsageRecord>* records) {
    records->clear();
    const auto& buttons = preparsed.ButtonCaps(reportType);
    const auto& values = preparsed.ValueCaps(reportType);
    size_t valueUsages = 0;
    for (const HIDP_VALUE_CAPS& caps : values) {
        valueUsages += caps.IsRange ? static_cast<size_t>(caps.UsageMax) - caps.UsageMin + 1 : 1;
    }
    if (buttons.size() + valueUsages > kMaxUsageRecords) {
        return false;
    }
    size_t listEntries = 0;
    for (const HIDP_BUTTON_CAPS& caps : buttons) {
        listEntries += preparsed.MaxUsageListLength(reportType, caps.UsagePage);
        if (listEntries > kMaxUsageListEntries) {
            return false;
        }
    }
    records->reserve(buttons.size() + valueUsages);
    for (const HIDP_BUTTON_CAPS& caps : buttons) {
        HidUsageRecord record;
        record.isButton = 1;
        record.usagePage = caps.UsagePage;
        record.reportId = caps.ReportID;
        record.firstUsage = caps.UsageMin;
        record.lastUsage = caps.IsRange ? caps.UsageMax : caps.UsageMin;
        record.capacity = preparsed.MaxUsageListLength(reportType, caps.UsagePage);
        record.usageList.assign(record.capacity, 0);
        records->push_back(std::move(record));
    }
    for (const HIDP_VALUE_CAPS& caps : values) {
        const USAGE last = caps.IsRange ? caps.UsageMax : caps.UsageMin;
        for (uint32_t usage = caps.UsageMin; usage <= last; ++usage) {
            HidUsageRecord record;
            record.usagePage = caps.UsagePage;
            record.reportId = caps.ReportID;
            record.firstUsage = static_cast<USAGE>(usage);
            records->push_back(std::move(record));
        }
    }
    return true;
}

BOOL CHidDeviceFile::LoadCaps() {
    const std::shared_ptr<HidHandle> handle = CurrentHandle();
    if (!handle) {
        return FALSE;
    }
    auto preparsed = std::make_unique<HidPreparsedData>(handle->PreparsedData());
    const HIDP_CAPS caps = preparsed->Caps();
    const uint16_t lengths[kHidReportTypeCount] = {
        caps.InputReportByteLength, caps.OutputReportByteLength, caps.FeatureReportByteLength};
    ReportTypeState states[kHidReportTypeCount];
    bool built = true;
    for (int t = 0; t < kHidReportTypeCount && built; ++t) {
        const auto type = static_cast<HIDP_REPORT_TYPE>(t);
        ReportTypeState& state = states[t];
        state.buffer.assign(lengths[t], 0);
        state.buttonCaps = preparsed->ButtonCaps(type);
        state.valueCaps = preparsed->ValueCaps(type);
        built = BuildUsageRecords(*preparsed, type, &state.records);
    }
    std::lock_guard<std::mutex> lock(capsMutex_);
    attributes_ = handle->Attributes();
    caps_ = caps;
    preparsed_ = std::move(preparsed);
    for (int t = 0; t < kHidReportTypeCount; ++t) {
        types_[t] = std::move(states[t]);
    }
    if (!built) {
        return FALSE;
    }
    interfaceNumber_ = PathNumber(devicePath_, L"&mi_");
    collectionNumber_ = PathNumber(devicePath_, L"&col");
    return TRUE;
}

void CHidDeviceFile::FreeCaps() {
    std::lock_guard<std::mutex> lock(capsMutex_);
    for (ReportTypeState& state : types_) {
        state = ReportTypeState{};
    }
    preparsed_.reset();
}

uint32_t CHidDeviceFile::InputReportByteLength() const {
    std::lock_guard<std::mutex> lock(capsMutex_);
    return preparsed_ ? caps_.InputReportByteLength : 0;
}

bool CHidDeviceFile::ParseReceivedReport(HIDP_REPORT_TYPE reportType, const uint8_t* report,
                                         uint32_t reportLength,
                                         std::vector<HidUsageRecord>* parsed) {
    std::lock_guard<std::mutex> lock(capsMutex_);
    if (!preparsed_ || !ValidType(reportType)) {
        return false;
    }
    std::vector<HidUsageRecord>& records = types_[reportType].records;
    const bool ok = ParseReport(reportType, records.data(), static_cast<uint32_t>(records.size()),
                                preparsed_.get(), report, reportLength);
    if (parsed != nullptr) {
        *parsed = records;
    }
    return ok;
}

void CHidDeviceFile::Close() {
    FreeCaps();
    CloseHandle();
}

void CHidDeviceFile::CloseHandle() {
    if (std::shared_ptr<HidHandle> handle = TakeHandle()) {
        handle->Close();
    }
    cancelEvent_.Reset();
}

void CHidDeviceFile::CancelPendingTransfer() {
    if (reading_.load() != 0 || writing_.load() != 0) {
        cancelEvent_.Set();
    }
}

void CHidDeviceFile::CancelTransfer() {
    cancelEvent_.Set();
}

std::shared_ptr<HidHandle> CHidDeviceFile::CurrentHandle() const {
    std::lock_guard<std::mutex> lock(handleMutex_);
    return handle_;
}

std::shared_ptr<HidHandle> CHidDeviceFile::TakeHandle() {
    std::lock_guard<std::mutex> lock(handleMutex_);
    return std::move(handle_);
}

bool CHidDeviceFile::IsOpen() const {
    return CurrentHandle() != nullptr;
}

BOOL CHidDeviceFile::Read(void* buffer, DWORD length, DWORD timeoutMs, DWORD* bytesRead) {
    reading_.store(1);
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    HidIoResult result;
    const std::shared_ptr<HidHandle> handle = CurrentHandle();
    if (handle && (buffer != nullptr || length == 0)) {
        result = handle->Read(std::span<uint8_t>(static_cast<uint8_t*>(buffer), length), timeoutMs,
                              &cancelEvent_);
    }
    if (bytesRead != nullptr) {
        *bytesRead = result.ok() ? static_cast<DWORD>(result.bytes) : 0;
    }
    reading_.store(0);
    return result.ok() ? TRUE : FALSE;
}

BOOL CHidDeviceFile::Write(const void* buffer, DWORD length, DWORD timeoutMs, DWORD* bytesWritten) {
    writing_.store(1);
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    HidIoResult result;
    const std::shared_ptr<HidHandle> handle = CurrentHandle();
    if (handle && buffer != nullptr) {
        result =
            handle->Write(std::span<const uint8_t>(static_cast<const uint8_t*>(buffer), length),
                          timeoutMs, &cancelEvent_);
    }
    if (bytesWritten != nullptr) {
        *bytesWritten = result.ok() ? static_cast<DWORD>(result.bytes) : 0;
    }
    writing_.store(0);
    return result.ok() ? TRUE : FALSE;
}

BOOL CHidDeviceFile::SetOutputReport(const void* report, DWORD length) {
    const std::shared_ptr<HidHandle> handle = CurrentHandle();
    if (!handle || report == nullptr) {
        return FALSE;
    }
    return handle->SetOutputReport(
               std::span<const uint8_t>(static_cast<const uint8_t*>(report), length))
               ? TRUE
               : FALSE;
}

bool CHidDeviceFile::InterfacePresent(const wchar_t* path) {
    if (path == nullptr) {
        return false;
    }
    return CurrentHidBus().IsPresent(path);
}

bool CHidDeviceFile::ParseReport(HIDP_REPORT_TYPE reportType, HidUsageRecord* records,
                                 uint32_t recordCount, const HidPreparsedData* preparsed,
                                 const uint8_t* report, uint32_t reportLength) {
    if (preparsed == nullptr || report == nullptr || reportLength == 0 ||
        (records == nullptr && recordCount != 0) || !ValidType(reportType)) {
        return false;
    }
    const std::span<const uint8_t> bytes(report, reportLength);
    for (uint32_t i = 0; i < recordCount; ++i) {
        HidUsageRecord& record = records[i];
        if (record.reportId != report[0]) {
            continue;
        }
        if (record.isButton != 0) {
            ParseButtonRecord(reportType, record, *preparsed, bytes);
        } else if (!ParseValueRecord(reportType, record, *preparsed, bytes)) {
            return false;
        }
        record.updated = 1;
    }
    return true;
}

CHidDeviceFile::ReportTypeState& CHidDeviceFile::StateOf(
    ReportTypeState (&states)[kHidReportTypeCount], HIDP_REPORT_TYPE type) {
    return states[ValidType(type) ? type : HidP_Input];
}

std::vector<uint8_t>& CHidDeviceFile::ReportBuffer(HIDP_REPORT_TYPE type) {
    return StateOf(types_, type).buffer;
}

std::vector<HidUsageRecord>& CHidDeviceFile::Records(HIDP_REPORT_TYPE type) {
    return StateOf(types_, type).records;
}

uint32_t CHidDeviceFile::RecordCount(HIDP_REPORT_TYPE type) const {
    return ValidType(type) ? static_cast<uint32_t>(types_[type].records.size()) : 0;
}

const std::vector<HIDP_BUTTON_CAPS>& CHidDeviceFile::ButtonCaps(HIDP_REPORT_TYPE type) const {
    return types_[ValidType(type) ? type : HidP_Input].buttonCaps;
}

const std::vector<HIDP_VALUE_CAPS>& CHidDeviceFile::ValueCaps(HIDP_REPORT_TYPE type) const {
    return types_[ValidType(type) ? type : HidP_Input].valueCaps;
}
