// Capabilities of one top-level collection and the readers of received reports. Every
// bit read is checked against the length of the report actually received.

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/hid/hid_report_descriptor.h"

namespace platform::hid {
namespace {

bool ValidType(HIDP_REPORT_TYPE type) {
    return static_cast<int>(type) < kHidReportTypeCount;
}

uint16_t Saturate16(size_t value) {
    return static_cast<uint16_t>(std::min<size_t>(value, std::numeric_limits<uint16_t>::max()));
}

bool LinkMatches(const HidReportField& field, uint16_t linkCollection) {
    return linkCollection == 0 || field.linkCollection == linkCollection;
}

const std::vector<HIDP_BUTTON_CAPS> kNoButtonCaps;
const std::vector<HIDP_VALUE_CAPS> kNoValueCaps;

// The fields button and value capabilities share, from one capability entry of a field.
template <typename Caps, typename Entry>
void FillCommonCaps(const Entry& entry, const HidReportField& field, Caps& caps) {
    caps.UsagePage = entry.span.page;
    caps.ReportID = field.reportId;
    caps.BitField = field.bitField;
    caps.LinkCollection = field.linkCollection;
    caps.LinkUsage = field.linkUsage;
    caps.LinkUsagePage = field.linkUsagePage;
    caps.IsRange = entry.span.isRange;
    caps.IsAbsolute = (field.bitField & 0x04) == 0;
    caps.UsageMin = entry.span.min;
    caps.UsageMax = entry.span.max;
    caps.DataIndexMin = Saturate16(entry.dataIndex);
    caps.DataIndexMax = Saturate16(entry.dataIndex + entry.span.Count() - 1);
}

}  // namespace

const std::vector<HIDP_BUTTON_CAPS>& HidPreparsedData::ButtonCaps(HIDP_REPORT_TYPE type) const {
    return ValidType(type) ? buttonCaps_[type] : kNoButtonCaps;
}

const std::vector<HIDP_VALUE_CAPS>& HidPreparsedData::ValueCaps(HIDP_REPORT_TYPE type) const {
    return ValidType(type) ? valueCaps_[type] : kNoValueCaps;
}

bool HidPreparsedData::UsesReportId(uint8_t id) const {
    return usedIds_[id];
}

uint32_t HidPreparsedData::ReportByteLength(HIDP_REPORT_TYPE type, uint8_t id) const {
    if (!ValidType(type)) {
        return 0;
    }
    const uint32_t bits = reportBits_[type][id];
    return bits == 0 ? 0 : (bits + 7) / 8 + 1;
}

std::span<const uint8_t> HidPreparsedData::OutputReport(std::span<const uint8_t> report) const {
    if (report.empty()) {
        return {};
    }
    const uint32_t length = ReportByteLength(HidP_Output, report[0]);
    if (length == 0 || report.size() < length) {
        return {};
    }
    return report.first(length);
}

void HidPreparsedData::Finish() {
    for (int id = 0; id < 256; ++id) {
        if (usedIds_[id]) {
            reportIds_.push_back(static_cast<uint8_t>(id));
        }
    }
    uint16_t* lengths[kHidReportTypeCount] = {&caps_.InputReportByteLength,
                                              &caps_.OutputReportByteLength,
                                              &caps_.FeatureReportByteLength};
    for (int t = 0; t < kHidReportTypeCount; ++t) {
        uint32_t longest = 0;
        for (uint8_t id : reportIds_) {
            longest = std::max(longest, ReportByteLength(static_cast<HIDP_REPORT_TYPE>(t), id));
        }
        *lengths[t] = Saturate16(longest);
    }

    uint32_t dataIndex[kHidReportTypeCount] = {};
    for (uint32_t f = 0; f < fields_.size(); ++f) {
        const HidReportField& field = fields_[f];
        auto& entries = field.isButton ? buttonEntries_[field.type] : valueEntries_[field.type];
        uint32_t& next = dataIndex[field.type];
        if (field.isArray) {
            for (const HidUsageSpan& span : field.usages) {
                entries.push_back({f, 0, field.reportCount, next, span});
                next += span.Count();
            }
            continue;
        }
        // Variable items: each usage takes the next elements; the last one takes the rest.
        uint32_t element = 0;
        for (size_t s = 0; s < field.usages.size() && element < field.reportCount; ++s) {
            HidUsageSpan span = field.usages[s];
            const uint32_t left = field.reportCount - element;
            const bool last = s + 1 == field.usages.size();
            const uint32_t covered = last ? left : std::min(span.Count(), left);
            if (covered < span.Count()) {
                span.max = static_cast<USAGE>(span.min + covered - 1);
            }
            entries.push_back({f, element, covered, next, span});
            next += span.Count();
            element += covered;
        }
    }

    uint16_t* buttonCounts[kHidReportTypeCount] = {&caps_.NumberInputButtonCaps,
                                                   &caps_.NumberOutputButtonCaps,
                                                   &caps_.NumberFeatureButtonCaps};
    uint16_t* valueCounts[kHidReportTypeCount] = {
        &caps_.NumberInputValueCaps, &caps_.NumberOutputValueCaps, &caps_.NumberFeatureValueCaps};
    uint16_t* indexCounts[kHidReportTypeCount] = {&caps_.NumberInputDataIndices,
                                                  &caps_.NumberOutputDataIndices,
                                                  &caps_.NumberFeatureDataIndices};
    for (int t = 0; t < kHidReportTypeCount; ++t) {
        for (const CapEntry& entry : buttonEntries_[t]) {
            HIDP_BUTTON_CAPS caps;
            FillCommonCaps(entry, fields_[entry.field], caps);
            buttonCaps_[t].push_back(caps);
        }
        for (const CapEntry& entry : valueEntries_[t]) {
            const HidReportField& field = fields_[entry.field];
            HIDP_VALUE_CAPS caps;
            FillCommonCaps(entry, field, caps);
            caps.HasNull = (field.bitField & 0x40) != 0;
            caps.BitSize = field.bitSize;
            caps.ReportCount = Saturate16(entry.elementCount);
            caps.UnitsExp = field.unitsExp;
            caps.Units = field.units;
            caps.LogicalMin = field.logicalMin;
            caps.LogicalMax = field.logicalMax;
            caps.PhysicalMin = field.physicalMin;
            caps.PhysicalMax = field.physicalMax;
            valueCaps_[t].push_back(caps);
        }
        *buttonCounts[t] = Saturate16(buttonCaps_[t].size());
        *valueCounts[t] = Saturate16(valueCaps_[t].size());
        *indexCounts[t] = Saturate16(dataIndex[t]);
    }
}

bool HidPreparsedData::FieldHasPage(const HidReportField& field, USAGE usagePage) {
    if (usagePage == 0) {
        return true;
    }
    return std::any_of(field.usages.begin(), field.usages.end(),
                       [usagePage](const HidUsageSpan& span) { return span.page == usagePage; });
}

uint32_t HidPreparsedData::MaxUsageListLength(HIDP_REPORT_TYPE type, USAGE usagePage) const {
    if (!ValidType(type)) {
        return 0;
    }
    uint32_t total = 0;
    for (const CapEntry& entry : buttonEntries_[type]) {
        if (!fields_[entry.field].isArray && (usagePage == 0 || entry.span.page == usagePage)) {
            total += entry.elementCount;
        }
    }
    for (const HidReportField& field : fields_) {
        if (field.type == type && field.isArray && FieldHasPage(field, usagePage)) {
            total += field.reportCount;
        }
    }
    return total;
}

namespace {

// The span holding usage number `index` of a field, counting the spans one after another;
// the field's span count when there is none.
size_t SpanOf(const HidReportField& field, uint32_t index) {
    const auto after = std::upper_bound(field.spanStarts.begin(), field.spanStarts.end(), index);
    return after == field.spanStarts.begin()
               ? field.usages.size()
               : static_cast<size_t>(after - field.spanStarts.begin()) - 1;
}

}  // namespace

// Elements past the last usage repeat it.
USAGE HidPreparsedData::VariableUsage(const HidReportField& field, uint32_t element, USAGE* page) {
    const size_t s = SpanOf(field, element);
    if (s >= field.usages.size()) {
        return 0;
    }
    const HidUsageSpan& span = field.usages[s];
    *page = span.page;
    const uint32_t offset = std::min(element - field.spanStarts[s], span.Count() - 1);
    return static_cast<USAGE>(span.min + offset);
}

USAGE HidPreparsedData::ArrayUsage(const HidReportField& field, uint32_t index, USAGE* page) {
    const size_t s = SpanOf(field, index);
    if (s >= field.usages.size() || index - field.spanStarts[s] >= field.usages[s].Count()) {
        return 0;
    }
    *page = field.usages[s].page;
    return static_cast<USAGE>(field.usages[s].min + (index - field.spanStarts[s]));
}

namespace {

// The bits of one element of a received report. Items may be up to 256 bits wide; a
// value is read only when it fits the 64 bits the readers work in.
class ElementBits {
  public:
    // Nothing when the element lies past the end of the report.
    static std::optional<ElementBits> Find(const HidReportField& field, uint32_t element,
                                           std::span<const uint8_t> report) {
        const uint64_t start = 8 + field.bitOffset + uint64_t{element} * field.bitSize;
        if (element >= field.reportCount || start + field.bitSize > uint64_t{report.size()} * 8) {
            return std::nullopt;
        }
        return ElementBits(report, start, field.bitSize);
    }

    std::optional<uint64_t> Unsigned() const {
        for (uint32_t bit = 64; bit < size_; ++bit) {
            if (Bit(bit)) {
                return std::nullopt;
            }
        }
        return Low();
    }

    // Two's complement of the element's width.
    std::optional<int64_t> Signed() const {
        const bool negative = Bit(size_ - 1);
        if (size_ >= 64) {
            for (uint32_t bit = 63; bit < size_; ++bit) {
                if (Bit(bit) != negative) {
                    return std::nullopt;
                }
            }
            return static_cast<int64_t>(Low());
        }
        const uint64_t low = Low();
        return static_cast<int64_t>(negative ? low | (~uint64_t{0} << size_) : low);
    }

  private:
    ElementBits(std::span<const uint8_t> report, uint64_t start, uint32_t size)
        : report_(report), start_(start), size_(size) {}

    bool Bit(uint32_t bit) const {
        const uint64_t at = start_ + bit;
        return ((report_[at / 8] >> (at % 8)) & 1u) != 0;
    }

    uint64_t Low() const {
        uint64_t value = 0;
        for (uint32_t bit = 0; bit < std::min<uint32_t>(size_, 64); ++bit) {
            if (Bit(bit)) {
                value |= uint64_t{1} << bit;
            }
        }
        return value;
    }

    std::span<const uint8_t> report_;
    uint64_t start_;
    uint32_t size_;
};

}  // namespace

HidpStatus HidPreparsedData::CheckReport(HIDP_REPORT_TYPE type,
                                         std::span<const uint8_t> report) const {
    if (!ValidType(type)) {
        return HIDP_STATUS_INVALID_REPORT_TYPE;
    }
    if (report.empty()) {
        return HIDP_STATUS_INVALID_REPORT_LENGTH;
    }
    const uint32_t needed = ReportByteLength(type, report[0]);
    if (needed != 0 && report.size() < needed) {
        return HIDP_STATUS_INVALID_REPORT_LENGTH;
    }
    return HIDP_STATUS_SUCCESS;
}

HidpStatus HidPreparsedData::GetUsages(HIDP_REPORT_TYPE type, USAGE usagePage,
                                       uint16_t linkCollection, USAGE* usageList,
                                       uint32_t* usageLength,
                                       std::span<const uint8_t> report) const {
    if (usageLength == nullptr || (usageList == nullptr && *usageLength != 0)) {
        return HIDP_STATUS_INTERNAL_ERROR;
    }
    const uint32_t capacity = *usageLength;
    *usageLength = 0;
    const HidpStatus check = CheckReport(type, report);
    if (check != HIDP_STATUS_SUCCESS) {
        return check;
    }
    bool pageFound = false;
    bool idFound = false;
    uint32_t count = 0;
    HidpStatus status = HIDP_STATUS_SUCCESS;
    auto add = [&](USAGE usage, USAGE page) {
        if (usage == 0 || (usagePage != 0 && page != usagePage)) {
            return;
        }
        if (count < capacity) {
            usageList[count++] = usage;
        } else {
            status = HIDP_STATUS_BUFFER_TOO_SMALL;
        }
    };
    for (const HidReportField& field : fields_) {
        if (field.type != type || !field.isButton || !LinkMatches(field, linkCollection) ||
            !FieldHasPage(field, usagePage)) {
            continue;
        }
        pageFound = true;
        if (field.reportId != report[0]) {
            continue;
        }
        idFound = true;
        for (uint32_t e = 0; e < field.reportCount; ++e) {
            const std::optional<ElementBits> bits = ElementBits::Find(field, e, report);
            if (!bits) {
                return HIDP_STATUS_INVALID_REPORT_LENGTH;
            }
            // An index too wide to read lies outside the logical range like any other.
            const uint64_t raw = bits->Unsigned().value_or(std::numeric_limits<uint64_t>::max());
            USAGE page = 0;
            if (!field.isArray) {
                if (raw != 0) {
                    const USAGE usage = VariableUsage(field, e, &page);
                    add(usage, page);
                }
                continue;
            }
            if (raw > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ||
                static_cast<int64_t>(raw) < field.logicalMin ||
                static_cast<int64_t>(raw) > field.logicalMax) {
                continue;
            }
            const USAGE usage = ArrayUsage(
                field, static_cast<uint32_t>(static_cast<int64_t>(raw) - field.logicalMin), &page);
            add(usage, page);
        }
    }
    *usageLength = count;
    if (!pageFound) {
        return HIDP_STATUS_USAGE_NOT_FOUND;
    }
    return idFound ? status : HIDP_STATUS_INCOMPATIBLE_REPORT_ID;
}

const HidPreparsedData::CapEntry* HidPreparsedData::FindValue(HIDP_REPORT_TYPE type,
                                                              USAGE usagePage,
                                                              uint16_t linkCollection, USAGE usage,
                                                              uint8_t reportId,
                                                              HidpStatus* status) const {
    *status = HIDP_STATUS_USAGE_NOT_FOUND;
    for (const CapEntry& entry : valueEntries_[type]) {
        const HidReportField& field = fields_[entry.field];
        if (entry.span.page != usagePage || usage < entry.span.min || usage > entry.span.max ||
            !LinkMatches(field, linkCollection)) {
            continue;
        }
        if (field.reportId == reportId) {
            *status = HIDP_STATUS_SUCCESS;
            return &entry;
        }
        *status = HIDP_STATUS_INCOMPATIBLE_REPORT_ID;
    }
    return nullptr;
}

// A usage that covers several elements (a value array) reads as its first element.
HidpStatus HidPreparsedData::LocateValue(HIDP_REPORT_TYPE type, USAGE usagePage,
                                         uint16_t linkCollection, USAGE usage,
                                         std::span<const uint8_t> report, const void* output,
                                         ValueLocation* at) const {
    if (output == nullptr) {
        return HIDP_STATUS_INTERNAL_ERROR;
    }
    const HidpStatus check = CheckReport(type, report);
    if (check != HIDP_STATUS_SUCCESS) {
        return check;
    }
    HidpStatus status = HIDP_STATUS_SUCCESS;
    const CapEntry* entry = FindValue(type, usagePage, linkCollection, usage, report[0], &status);
    if (entry == nullptr) {
        return status;
    }
    at->field = &fields_[entry->field];
    at->element = entry->firstElement + (usage - entry->span.min);
    if (!ElementBits::Find(*at->field, at->element, report)) {
        return HIDP_STATUS_INVALID_REPORT_LENGTH;
    }
    return HIDP_STATUS_SUCCESS;
}

HidpStatus HidPreparsedData::GetUsageValue(HIDP_REPORT_TYPE type, USAGE usagePage,
                                           uint16_t linkCollection, USAGE usage, uint32_t* value,
                                           std::span<const uint8_t> report) const {
    ValueLocation at;
    const HidpStatus status =
        LocateValue(type, usagePage, linkCollection, usage, report, value, &at);
    if (status != HIDP_STATUS_SUCCESS) {
        return status;
    }
    // Only a value wider than the caller's 32 bits is refused; the rest of the report
    // reads as usual.
    const std::optional<uint64_t> raw =
        ElementBits::Find(*at.field, at.element, report)->Unsigned();
    if (!raw || *raw > std::numeric_limits<uint32_t>::max()) {
        return HIDP_STATUS_BUFFER_TOO_SMALL;
    }
    *value = static_cast<uint32_t>(*raw);
    return HIDP_STATUS_SUCCESS;
}

HidpStatus HidPreparsedData::GetScaledUsageValue(HIDP_REPORT_TYPE type, USAGE usagePage,
                                                 uint16_t linkCollection, USAGE usage,
                                                 int32_t* value,
                                                 std::span<const uint8_t> report) const {
    ValueLocation at;
    const HidpStatus status =
        LocateValue(type, usagePage, linkCollection, usage, report, value, &at);
    if (status != HIDP_STATUS_SUCCESS) {
        return status;
    }
    const HidReportField& field = *at.field;
    const int64_t lmin = field.logicalMin;
    const int64_t lmax = field.logicalMax;
    int64_t pmin = field.physicalMin;
    int64_t pmax = field.physicalMax;
    if (pmin == 0 && pmax == 0) {
        pmin = lmin;
        pmax = lmax;
    }
    if (lmin >= lmax || pmin >= pmax) {
        return HIDP_STATUS_BAD_LOG_PHY_VALUES;
    }
    const ElementBits bits = *ElementBits::Find(field, at.element, report);
    std::optional<int64_t> logical;
    if (lmin < 0) {
        logical = bits.Signed();
    } else if (const std::optional<uint64_t> raw = bits.Unsigned();
               raw && *raw <= static_cast<uint64_t>(lmax)) {
        logical = static_cast<int64_t>(*raw);
    }
    if (!logical || *logical < lmin || *logical > lmax) {
        const bool hasNull = (field.bitField & 0x40) != 0;
        return hasNull ? HIDP_STATUS_NULL : HIDP_STATUS_VALUE_OUT_OF_RANGE;
    }
    const __int128 scaled =
        static_cast<__int128>(*logical - lmin) * (pmax - pmin) / (lmax - lmin) + pmin;
    *value = static_cast<int32_t>(std::clamp<__int128>(scaled, std::numeric_limits<int32_t>::min(),
                                                       std::numeric_limits<int32_t>::max()));
    return HIDP_STATUS_SUCCESS;
}

}  // namespace platform::hid
