// Walks the items of a report descriptor and builds one HidPreparsedData per top-level
// collection. Anything malformed (truncated item, unbalanced collection or delimiter, data
// outside a collection, oversized item or report) rejects the whole descriptor: a device we
// cannot describe is a device we do not talk to. Where items interact (usage pages, the
// signedness of a maximum, alternative usage sets) the rules are the Linux HID core's.

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/hid/hid_report_descriptor.h"

namespace platform::hid {
namespace {

constexpr size_t kMaxCollectionDepth = 64;
constexpr size_t kMaxGlobalStack = 32;
// The Linux HID core refuses wider items and longer counts; a device it refuses has no
// hidraw node, so nothing beyond these limits is ever a device we could open.
constexpr uint32_t kMaxReportSize = 256;
constexpr uint32_t kMaxReportCount = 12288;

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

// A maximum is read unsigned unless the minimum in force when it is declared is negative
// (many descriptors write 255 as a one-byte 0xFF).
int32_t MaximumAfter(int32_t minimum, const Item& item) {
    return ClampToInt32(minimum < 0 ? SignExtend(item.data, item.size) : int64_t{item.data});
}

struct Globals {
    USAGE usagePage = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t unitsExp = 0;
    uint32_t units = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A Usage or Usage Minimum/Maximum item as declared: a four-byte one carries its own page.
struct LocalUsage {
    uint32_t value = 0;
    bool extended = false;
};

// A usage or usage range of the coming main item, with the page it takes.
struct PendingSpan {
    HidUsageSpan span;
    bool ownPage = false;  // the page came with the usage, not from the global state
};

struct Locals {
    std::vector<PendingSpan> spans;
    std::optional<LocalUsage> rangeMin, rangeMax;
    int delimiterDepth = 0;
    int delimiterBranch = 0;
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
        if (!nodes_.empty() || locals_.delimiterDepth != 0) {
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
                return ApplyLocal(item);
            default:
                return true;
        }
    }

    bool ApplyGlobal(const Item& item) {
        switch (item.tag) {
            case 0x0:
                globals_.usagePage = static_cast<USAGE>(item.data);
                break;
            case 0x1:
                globals_.logicalMin = ClampToInt32(SignExtend(item.data, item.size));
                break;
            case 0x2:
                globals_.logicalMax = MaximumAfter(globals_.logicalMin, item);
                break;
            case 0x3:
                globals_.physicalMin = ClampToInt32(SignExtend(item.data, item.size));
                break;
            case 0x4:
                globals_.physicalMax = MaximumAfter(globals_.physicalMin, item);
                break;
            case 0x5:
                globals_.unitsExp = item.data;
                break;
            case 0x6:
                globals_.units = item.data;
                break;
            case 0x7:
                if (item.data > kMaxReportSize) {
                    return false;
                }
                globals_.reportSize = item.data;
                break;
            case 0x8:
                if (item.data == 0 || item.data > 0xFF) {
                    return false;
                }
                globals_.reportId = static_cast<uint8_t>(item.data);
                break;
            case 0x9:
                if (item.data > kMaxReportCount) {
                    return false;
                }
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

    bool ApplyLocal(const Item& item) {
        if (item.tag == 0xA) {
            return ApplyDelimiter(item.data != 0);
        }
        // Only the first of several alternative usage sets describes the control.
        if (locals_.delimiterBranch > 1) {
            return true;
        }
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
            default:  // designators and strings do not change the layout
                break;
        }
        if (locals_.rangeMin && locals_.rangeMax) {
            AddSpan(*locals_.rangeMin, *locals_.rangeMax, true);
            locals_.rangeMin.reset();
            locals_.rangeMax.reset();
        }
        return true;
    }

    bool ApplyDelimiter(bool open) {
        if (open) {
            if (locals_.delimiterDepth != 0) {  // sets do not nest
                return false;
            }
            ++locals_.delimiterDepth;
            ++locals_.delimiterBranch;
            return true;
        }
        if (locals_.delimiterDepth < 1) {
            return false;
        }
        --locals_.delimiterDepth;
        return true;
    }

    // A usage takes the page in force when it is declared, unless it names its own.
    void AddSpan(LocalUsage min, LocalUsage max, bool isRange) {
        PendingSpan pending;
        pending.ownPage = min.extended || max.extended;
        const LocalUsage& paged = min.extended ? min : max;
        pending.span.page =
            pending.ownPage ? static_cast<USAGE>(paged.value >> 16) : globals_.usagePage;
        pending.span.min = static_cast<USAGE>(min.value);
        pending.span.max = static_cast<USAGE>(max.value);
        pending.span.isRange = isRange;
        locals_.spans.push_back(pending);
    }

    // A usage page declared after the last usages of a main item pages them too: walking
    // back from the last usage, every one without a page of its own takes the current
    // page until one is met that already has it.
    void PageTrailingUsages() {
        for (auto it = locals_.spans.rbegin(); it != locals_.spans.rend(); ++it) {
            if (it->ownPage) {
                continue;
            }
            if (it->span.page == globals_.usagePage) {
                break;
            }
            it->span.page = globals_.usagePage;
        }
    }

    std::vector<HidUsageSpan> ResolveSpans() const {
        std::vector<HidUsageSpan> spans;
        for (const PendingSpan& pending : locals_.spans) {
            if (pending.span.max < pending.span.min) {  // a reversed range names no usage
                continue;
            }
            spans.push_back(pending.span);
        }
        return spans;
    }

    bool ApplyMain(const Item& item) {
        PageTrailingUsages();
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
        field.logicalMin = globals_.logicalMin;
        field.logicalMax = globals_.logicalMax;
        field.physicalMin = globals_.physicalMin;
        field.physicalMax = globals_.physicalMax;
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
