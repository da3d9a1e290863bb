#include "platform/peer_wire.h"

#include <algorithm>
#include <cstring>

#include "platform/text_convert.h"

namespace platform::peer {
namespace {

constexpr size_t kMessageBodyBytes = kNameBytes + 16;
constexpr size_t kCopyDataHeadBytes = 24;

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutU64(std::vector<uint8_t>& out, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint64_t GetLe(const uint8_t* bytes, size_t count) {
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    }
    return value;
}

std::vector<uint8_t> Header(RecordKind kind) {
    std::vector<uint8_t> out;
    PutU32(out, kMagic);
    PutU32(out, static_cast<uint32_t>(kind));
    return out;
}

// UTF-8 of `text`, cut to `limit` bytes without splitting a character.
std::string BoundedUtf8(std::wstring_view text, size_t limit) {
    std::string utf8 = Utf8Encode(text);
    if (utf8.size() > limit) {
        size_t end = limit;
        while (end > 0 && (static_cast<uint8_t>(utf8[end]) & 0xC0) == 0x80) {
            --end;
        }
        utf8.resize(end);
    }
    return utf8;
}

}  // namespace

std::vector<uint8_t> EncodeMessage(std::wstring_view name, int64_t wParam, int64_t lParam) {
    const std::string utf8 = Utf8Encode(name);
    if (utf8.empty() || utf8.size() >= kNameBytes || utf8.find('\0') != std::string::npos) {
        return {};
    }
    std::vector<uint8_t> out = Header(RecordKind::kMessage);
    out.insert(out.end(), utf8.begin(), utf8.end());
    out.resize(kHeaderBytes + kNameBytes, 0);
    PutU64(out, static_cast<uint64_t>(wParam));
    PutU64(out, static_cast<uint64_t>(lParam));
    return out;
}

std::vector<uint8_t> EncodeCopyData(int64_t wParam, uint64_t copyKind,
                                    std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxCopyDataBytes) {
        return {};
    }
    std::vector<uint8_t> out = Header(RecordKind::kCopyData);
    PutU64(out, static_cast<uint64_t>(wParam));
    PutU64(out, copyKind);
    PutU32(out, static_cast<uint32_t>(bytes.size()));
    PutU32(out, 0);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

std::vector<uint8_t> EncodeDescribe() {
    return Header(RecordKind::kDescribe);
}

PeerRecordReader::Status PeerRecordReader::Feed(std::span<const uint8_t> bytes, size_t* used) {
    size_t taken = 0;
    while (status_ == Status::kNeedMore && taken < bytes.size()) {
        const size_t count = std::min(wanted_ - buffer_.size(), bytes.size() - taken);
        buffer_.insert(buffer_.end(), bytes.begin() + static_cast<ptrdiff_t>(taken),
                       bytes.begin() + static_cast<ptrdiff_t>(taken + count));
        taken += count;
        if (buffer_.size() == wanted_) {
            status_ = PartComplete();
        }
    }
    if (used != nullptr) {
        *used = taken;
    }
    return status_;
}

size_t PeerRecordReader::Missing() const {
    return status_ == Status::kNeedMore ? wanted_ - buffer_.size() : 0;
}

// Called each time the buffer holds what was wanted: either the record is whole, or the
// part just read says how much more to want.
PeerRecordReader::Status PeerRecordReader::PartComplete() {
    const uint8_t* data = buffer_.data();
    if (buffer_.size() == kHeaderBytes) {
        if (GetLe(data, 4) != kMagic) {
            return Status::kMalformed;
        }
        switch (GetLe(data + 4, 4)) {
            case static_cast<uint32_t>(RecordKind::kMessage):
                record_.kind = RecordKind::kMessage;
                wanted_ += kMessageBodyBytes;
                return Status::kNeedMore;
            case static_cast<uint32_t>(RecordKind::kCopyData):
                record_.kind = RecordKind::kCopyData;
                wanted_ += kCopyDataHeadBytes;
                return Status::kNeedMore;
            case static_cast<uint32_t>(RecordKind::kDescribe):
                record_.kind = RecordKind::kDescribe;
                return Status::kComplete;
            default:
                return Status::kMalformed;
        }
    }
    const uint8_t* body = data + kHeaderBytes;
    if (record_.kind == RecordKind::kMessage) {
        const void* end = std::memchr(body, '\0', kNameBytes);
        if (end == nullptr || end == body) {
            return Status::kMalformed;
        }
        record_.name = Utf8Decode(
            std::string_view(reinterpret_cast<const char*>(body),
                             static_cast<size_t>(static_cast<const uint8_t*>(end) - body)));
        record_.wParam = static_cast<int64_t>(GetLe(body + kNameBytes, 8));
        record_.lParam = static_cast<int64_t>(GetLe(body + kNameBytes + 8, 8));
        return Status::kComplete;
    }
    // Copy data: first its fixed head, then as many bytes as the head says.
    if (buffer_.size() == kHeaderBytes + kCopyDataHeadBytes) {
        const uint64_t count = GetLe(body + 16, 4);
        if (count > kMaxCopyDataBytes || GetLe(body + 20, 4) != 0) {
            return Status::kMalformed;
        }
        record_.wParam = static_cast<int64_t>(GetLe(body, 8));
        record_.copyKind = GetLe(body + 8, 8);
        if (count > 0) {
            wanted_ += count;
            return Status::kNeedMore;
        }
    }
    record_.bytes.assign(buffer_.begin() + kHeaderBytes + kCopyDataHeadBytes, buffer_.end());
    return Status::kComplete;
}

std::vector<uint8_t> EncodeResult(int64_t result) {
    std::vector<uint8_t> out;
    PutU64(out, static_cast<uint64_t>(result));
    return out;
}

int64_t DecodeResult(std::span<const uint8_t, kResultBytes> bytes) {
    return static_cast<int64_t>(GetLe(bytes.data(), kResultBytes));
}

std::vector<uint8_t> EncodeDescription(std::wstring_view className, std::wstring_view title) {
    const std::string classText = BoundedUtf8(className, kMaxDescribedTextBytes);
    const std::string titleText = BoundedUtf8(title, kMaxDescribedTextBytes);
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(classText.size()));
    PutU32(out, static_cast<uint32_t>(titleText.size()));
    out.insert(out.end(), classText.begin(), classText.end());
    out.insert(out.end(), titleText.begin(), titleText.end());
    return out;
}

std::optional<std::pair<size_t, size_t>> DecodeDescriptionHead(
    std::span<const uint8_t, kDescriptionHeadBytes> bytes) {
    const uint64_t classBytes = GetLe(bytes.data(), 4);
    const uint64_t titleBytes = GetLe(bytes.data() + 4, 4);
    if (classBytes > kMaxDescribedTextBytes || titleBytes > kMaxDescribedTextBytes) {
        return std::nullopt;
    }
    return std::pair<size_t, size_t>(classBytes, titleBytes);
}

}  // namespace platform::peer
