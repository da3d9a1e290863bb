#pragma once
// Our parser of HID report descriptors. A descriptor is split into its top-level
// collections, as the HID class driver does; each becomes one HidPreparsedData, which
// knows its capabilities and reads usages and values out of received reports.
//
// Classification: an array main item and a 1-bit variable item are buttons, every other
// data item is a value; constant items only take room. Capabilities follow descriptor
// order, one per usage or usage range of a main item. Each usage keeps the usage page it
// was declared under.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/hid/hidp_types.h"

namespace platform::hid {

// Reports larger than this are refused when the descriptor is parsed.
inline constexpr uint32_t kMaxReportByteLength = 16384;

struct HidUsageSpan {
    USAGE page = 0;
    USAGE min = 0;
    USAGE max = 0;
    bool isRange = false;
    uint32_t Count() const { return static_cast<uint32_t>(max) - min + 1; }
};

// One data main item of a top-level collection.
struct HidReportField {
    HIDP_REPORT_TYPE type = HidP_Input;
    uint8_t reportId = 0;
    uint32_t bitOffset = 0;  // counted from the first bit after the report id byte
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    uint16_t bitField = 0;
    bool isArray = false;
    bool isButton = false;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t units = 0;
    uint32_t unitsExp = 0;
    uint16_t linkCollection = 0;
    USAGE linkUsage = 0;
    USAGE linkUsagePage = 0;
    std::vector<HidUsageSpan> usages;
    // Index of the first usage of each span when the spans are counted one after another.
    std::vector<uint32_t> spanStarts;
};

// The capabilities of one top-level collection and the report readers built on them.
class HidPreparsedData {
  public:
    const HIDP_CAPS& Caps() const { return caps_; }
    const std::vector<HIDP_BUTTON_CAPS>& ButtonCaps(HIDP_REPORT_TYPE type) const;
    const std::vector<HIDP_VALUE_CAPS>& ValueCaps(HIDP_REPORT_TYPE type) const;
    const std::vector<HidReportField>& Fields() const { return fields_; }
    // Report ids this collection uses (0 when it numbers no reports).
    const std::vector<uint8_t>& ReportIds() const { return reportIds_; }
    bool UsesReportId(uint8_t id) const;
    // Bytes of the report `id` of `type`, the id byte included; 0 when it does not exist.
    uint32_t ReportByteLength(HIDP_REPORT_TYPE type, uint8_t id) const;
    // The output report `report` starts with (id byte first), cut to that report's length;
    // empty when the id names no output report or `report` is shorter than it.
    std::span<const uint8_t> OutputReport(std::span<const uint8_t> report) const;

    // usagePage 0 counts the buttons of every page.
    uint32_t MaxUsageListLength(HIDP_REPORT_TYPE type, USAGE usagePage) const;
    // The pressed buttons of `usagePage` in `report`; linkCollection 0 means any.
    // On entry *usageLength is the capacity of `usageList`; on return the count written.
    HidpStatus GetUsages(HIDP_REPORT_TYPE type, USAGE usagePage, uint16_t linkCollection,
                         USAGE* usageList, uint32_t* usageLength,
                         std::span<const uint8_t> report) const;
    // The raw value; HIDP_STATUS_BUFFER_TOO_SMALL when it does not fit 32 bits (an item
    // may be up to 256 bits wide).
    HidpStatus GetUsageValue(HIDP_REPORT_TYPE type, USAGE usagePage, uint16_t linkCollection,
                             USAGE usage, uint32_t* value, std::span<const uint8_t> report) const;
    HidpStatus GetScaledUsageValue(HIDP_REPORT_TYPE type, USAGE usagePage, uint16_t linkCollection,
                                   USAGE usage, int32_t* value,
                                   std::span<const uint8_t> report) const;

  private:
    friend class HidDescriptorBuilder;

    // One capability: a usage or usage range of a field and the elements it covers.
    struct CapEntry {
        uint32_t field = 0;
        uint32_t firstElement = 0;
        uint32_t elementCount = 0;
        uint32_t dataIndex = 0;  // first data index, counted in descriptor order
        HidUsageSpan span;
    };

    void Finish();
    HidpStatus CheckReport(HIDP_REPORT_TYPE type, std::span<const uint8_t> report) const;
    const CapEntry* FindValue(HIDP_REPORT_TYPE type, USAGE usagePage, uint16_t linkCollection,
                              USAGE usage, uint8_t reportId, HidpStatus* status) const;
    // The field and element a value read addresses, checked against the report and the
    // caller's output (which must not be null).
    struct ValueLocation {
        const HidReportField* field = nullptr;
        uint32_t element = 0;
    };
    HidpStatus LocateValue(HIDP_REPORT_TYPE type, USAGE usagePage, uint16_t linkCollection,
                           USAGE usage, std::span<const uint8_t> report, const void* output,
                           ValueLocation* at) const;
    static USAGE VariableUsage(const HidReportField& field, uint32_t element, USAGE* page);
    static USAGE ArrayUsage(const HidReportField& field, uint32_t index, USAGE* page);
    static bool FieldHasPage(const HidReportField& field, USAGE usagePage);

    HIDP_CAPS caps_;
    std::vector<HidReportField> fields_;
    std::vector<uint8_t> reportIds_;
    // Per report type and report id: data bits after the id byte.
    std::array<std::array<uint32_t, 256>, kHidReportTypeCount> reportBits_{};
    std::array<bool, 256> usedIds_{};
    std::vector<CapEntry> buttonEntries_[kHidReportTypeCount];
    std::vector<CapEntry> valueEntries_[kHidReportTypeCount];
    std::vector<HIDP_BUTTON_CAPS> buttonCaps_[kHidReportTypeCount];
    std::vector<HIDP_VALUE_CAPS> valueCaps_[kHidReportTypeCount];
};

class HidReportDescriptor {
  public:
    // HIDP_STATUS_SUCCESS with one entry per top-level collection, in descriptor order;
    // HIDP_STATUS_INVALID_PREPARSED_DATA for a malformed descriptor (nothing is kept).
    static HidpStatus Parse(std::span<const uint8_t> descriptor,
                            std::vector<HidPreparsedData>* collections);
};

}  // namespace platform::hid
