// Walks the items of a report descriptor and builds one HidPreparsedData per top-level
// collection. Anything malformed (truncated item, unbalanced collection, data outside a
// collection, oversized report) rejects the whole descriptor: a device we cannot describe
// is a device we do not talk to.

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/hid/hid_report_descriptor.h"

namespace platform::hid {
namespace {

constexpr size_t kMaxCollectionDepth = 64;
constexpr size_t kMaxGlobalStack = 32;
constexpr uint32_t kMaxDataBitSize = 32;

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

struct Item {
    uint8_t type = 0;
    uint8_t tag = 0;
    uint8_t size = 0;
    uint32_t data = 0;
};

int64_t SignExtend(uint32_t raw, uint8_t size) {
    switch (size) {
        case 1:
            return static_cast<int8_t>(raw);
        case 2:
            return static_cast<int16_t>(raw);
        case 4:
            return static_cast<int32_t>(raw);
        default:
            return 0;
    }
}

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// A number item whose signedness depends on its partner: the maximum is read unsigned
// when the minimum is not negative (many descriptors write 255 as a one-byte 0xFF).
struct RawNumber {
    uint32_t raw = 0;
    uint8_t size = 0;
};

void ResolveRange(const RawNumber& minItem, const RawNumber& maxItem, int32_t* min, int32_t* max) {
    const int64_t lo = SignExtend(minItem.raw, minItem.size);
    const int64_t hi = lo < 0 ? SignExtend(maxItem.raw, maxItem.size) : int64_t{maxItem.raw};
    *min = ClampToInt32(lo);
    *max = ClampToInt32(hi);
}

struct Globals {
    USAGE usagePage = 0;
    RawNumber logicalMin, logicalMax, physicalMin, physicalMax;
    uint32_t unitsExp = 0;
    uint32_t units = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A local usage before the usage page of its main item is known.
struct LocalUsage {
    uint32_t value = 0;
    bool extended = false;
};

struct Locals {
    std::vector<std::pair<LocalUsage, LocalUsage>> spans;  // min, max (equal when single)
    std::vector<bool> isRange;
    std::optional<LocalUsage> rangeMin, rangeMax;
};

struct Node {
    USAGE page = 0;
    USAGE usage = 0;
    uint16_t index = 0;
};

}  // namespace

class HidDescriptorBuilder {
  public:
    HidpStatus Run(std::span<const uint8_t> descriptor, std::vector<HidPreparsedData>* out) {
        size_t pos = 0;
        while (pos < descriptor.size()) {
            Item item;
            if (!FetchItem(descriptor, &pos, &item)) {
                return HIDP_STATUS_INVALID_PREPARSED_DATA;
            }
            if (!Apply(item)) {
                return HIDP_STATUS_INVALID_PREPARSED_DATA;
            }
        }
        if (!nodes_.empty()) {
            return HIDP_STATUS_INVALID_PREPARSED_DATA;
        }
        *out = std::move(done_);
        return HIDP_STATUS_SUCCESS;
    }

  private:
    static bool FetchItem(std::span<const uint8_t> d, size_t* pos, Item* item) {
        const uint8_t prefix = d[*pos];
        if (prefix == 0xFE) {  // long item: skipped, it carries no data we use
            if (d.size() - *pos < 3) {
                return false;
            }
            const size_t length = 3u + d[*pos + 1];
            if (d.size() - *pos < length) {
                return false;
            }
            *pos += length;
            item->type = 3;  // reserved: ignored by Apply
            return true;
        }
        static constexpr uint8_t kSizes[4] = {0, 1, 2, 4};
        item->size = kSizes[prefix & 3];
        item->type = (prefix >> 2) & 3;
        item->tag = prefix >> 4;
        if (d.size() - *pos - 1 < item->size) {
            return false;
        }
        item->data = 0;
        for (uint8_t i = 0; i < item->size; ++i) {
            item->data |= static_cast<uint32_t>(d[*pos + 1 + i]) << (8 * i);
        }
        *pos += 1u + item->size;
        return true;
    }

    bool Apply(const Item& item) {
        switch (item.type) {
            case kMain:
                return ApplyMain(item);
            case kGlobal:
                return ApplyGlobal(item);
            case kLocal:
                ApplyLocal(item);
                return true;
            default:
                return true;
        }
    }

    bool ApplyGlobal(const Item& item) {
        const RawNumber number{item.data, item.size};
        switch (item.tag) {
            case 0x0:
                globals_.usagePage = static_cast<USAGE>(item.data);
                break;
            case 0x1:
                globals_.logicalMin = number;
                break;
            case 0x2:
                globals_.logicalMax = number;
                break;
            case 0x3:
                globals_.physicalMin = number;
                break;
            case 0x4:
                globals_.physicalMax = number;
                break;
            case 0x5:
                globals_.unitsExp = item.data;
                break;
            case 0x6:
                globals_.units = item.data;
                break;
            case 0x7:
                globals_.reportSize = item.data;
                break;
            case 0x8:
                if (item.data == 0 || item.data > 0xFF) {
                    return false;
                }
                globals_.reportId = static_cast<uint8_t>(item.data);
                break;
            case 0x9:
                globals_.reportCount = item.data;
                break;
            case 0xA:
                if (globalStack_.size() >= kMaxGlobalStack) {
                    return false;
                }
                globalStack_.push_back(globals_);
                break;
            case 0xB:
                if (globalStack_.empty()) {
                    return false;
                }
                globals_ = globalStack_.back();
                globalStack_.pop_back();
                break;
            default:
                break;
        }
        return true;
    }

    void ApplyLocal(const Item& item) {
        const LocalUsage usage{item.data, item.size == 4};
        switch (item.tag) {
            case 0x0:
                AddSpan(usage, usage, false);
                break;
            case 0x1:
                locals_.rangeMin = usage;
                break;
            case 0x2:
                locals_.rangeMax = usage;
                break;
            default:  // designators, strings and delimiters do not change the layout
                break;
        }
        if (locals_.rangeMin && locals_.rangeMax) {
            AddSpan(*locals_.rangeMin, *locals_.rangeMax, true);
            locals_.rangeMin.reset();
            locals_.rangeMax.reset();
        }
    }

    void AddSpan(LocalUsage min, LocalUsage max, bool isRange) {
        locals_.spans.emplace_back(min, max);
        locals_.isRange.push_back(isRange);
    }

    USAGE PageOf(const LocalUsage& usage) const {
        return usage.extended ? static_cast<USAGE>(usage.value >> 16) : globals_.usagePage;
    }

    std::vector<HidUsageSpan> ResolveSpans() const {
        std::vector<HidUsageSpan> spans;
        for (size_t i = 0; i < locals_.spans.size(); ++i) {
            const auto& [min, max] = locals_.spans[i];
            HidUsageSpan span;
            span.page = PageOf(min);
            span.min = static_cast<USAGE>(min.value);
            span.max = static_cast<USAGE>(max.value);
            span.isRange = locals_.isRange[i];
            if (span.max < span.min) {  // a reversed range names no usage
                continue;
            }
            spans.push_back(span);
        }
        return spans;
    }

    bool ApplyMain(const Item& item) {
        bool ok = true;
        switch (item.tag) {
            case 0x8:
                ok = AddField(HidP_Input, item.data);
                break;
            case 0x9:
                ok = AddField(HidP_Output, item.data);
                break;
            case 0xB:
                ok = AddField(HidP_Feature, item.data);
                break;
            case 0xA:
                ok = OpenCollection();
                break;
            case 0xC:
                ok = CloseCollection();
                break;
            default:
                break;
        }
        locals_ = Locals{};
        return ok;
    }

    bool OpenCollection() {
        if (nodes_.size() >= kMaxCollectionDepth) {
            return false;
        }
        const std::vector<HidUsageSpan> spans = ResolveSpans();
        Node node;
        node.page = spans.empty() ? globals_.usagePage : spans.front().page;
        node.usage = spans.empty() ? 0 : spans.front().min;
        if (nodes_.empty()) {
            current_ = HidPreparsedData{};
            current_.caps_.UsagePage = node.page;
            current_.caps_.Usage = node.usage;
            nodeCount_ = 0;
        }
        if (nodeCount_ == std::numeric_limits<uint16_t>::max()) {
            return false;
        }
        node.index = nodeCount_++;
        nodes_.push_back(node);
        return true;
    }

    bool CloseCollection() {
        if (nodes_.empty()) {
            return false;
        }
        nodes_.pop_back();
        if (nodes_.empty()) {
            current_.caps_.NumberLinkCollectionNodes = nodeCount_;
            current_.Finish();
            done_.push_back(std::move(current_));
        }
        return true;
    }

    bool AddField(HIDP_REPORT_TYPE type, uint32_t flags) {
        if (nodes_.empty()) {
            return false;
        }
        const bool constant = (flags & 0x01) != 0;
        if (globals_.reportCount > 0xFFFF || globals_.reportSize > 0xFFFF) {
            return false;
        }
        if (!constant && globals_.reportSize > kMaxDataBitSize) {
            return false;
        }
        const uint64_t bits = uint64_t{globals_.reportSize} * globals_.reportCount;
        uint32_t& used = current_.reportBits_[type][globals_.reportId];
        const uint64_t total = used + bits;
        if ((total + 7) / 8 + 1 > kMaxReportByteLength) {
            return false;
        }
        current_.usedIds_[globals_.reportId] = true;
        if (!constant && bits > 0) {
            current_.fields_.push_back(MakeField(type, flags, used));
        }
        used = static_cast<uint32_t>(total);
        return true;
    }

    HidReportField MakeField(HIDP_REPORT_TYPE type, uint32_t flags, uint32_t bitOffset) const {
        HidReportField field;
        field.type = type;
        field.reportId = globals_.reportId;
        field.bitOffset = bitOffset;
        field.bitSize = static_cast<uint16_t>(globals_.reportSize);
        field.reportCount = static_cast<uint16_t>(globals_.reportCount);
        field.bitField = static_cast<uint16_t>(flags);
        field.isArray = (flags & 0x02) == 0;
        field.isButton = field.isArray || field.bitSize == 1;
        ResolveRange(globals_.logicalMin, globals_.logicalMax, &field.logicalMin,
                     &field.logicalMax);
        ResolveRange(globals_.physicalMin, globals_.physicalMax, &field.physicalMin,
                     &field.physicalMax);
        field.units = globals_.units;
        field.unitsExp = globals_.unitsExp;
        const Node& node = nodes_.back();
        field.linkCollection = node.index;
        field.linkUsage = node.usage;
        field.linkUsagePage = node.page;
        field.usages = ResolveSpans();
        uint32_t start = 0;
        for (const HidUsageSpan& span : field.usages) {
            field.spanStarts.push_back(start);
            start += span.Count();
        }
        return field;
    }

    Globals globals_;
    std::vector<Globals> globalStack_;
    Locals locals_;
    std::vector<Node> nodes_;
    uint16_t nodeCount_ = 0;
    HidPreparsedData current_;
    std::vector<HidPreparsedData> done_;
};

HidpStatus HidReportDescriptor::Parse(std::span<const uint8_t> descriptor,
                                      std::vector<HidPreparsedData>* collections) {
    if (collections == nullptr) {
        return HIDP_STATUS_INTERNAL_ERROR;
    }
    collections->clear();
    HidDescriptorBuilder builder;
    return builder.Run(descriptor, collections);
}

}  // namespace platform::hid
