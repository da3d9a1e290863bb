#pragma once
// The records that travel between processes through the sockets in the per-user runtime
// folder. A connection carries one record from the connecting side; all integers are
// little-endian.
//
//   header    u32 magic "VLKR" (0x524B4C56), u32 kind
//   message   kind 0: name[64] (a registered message name in UTF-8, NUL-terminated),
//             i64 wParam, i64 lParam. Answered with the i64 1 while the window takes
//             messages, 0 once it is closing (a listener may also close without a word).
//   copy data kind 1: i64 wParam, u64 dwData, u32 cbData, u32 zero, then cbData bytes
//             (at most kMaxCopyDataBytes). Answered with the window's i64 result.
//   describe  kind 2: nothing more. Answered with u32 class length, u32 title length,
//             then the window's class name and title in UTF-8 (each at most
//             kMaxDescribedTextBytes).
//
// Every record comes from another program and is checked here before anything reads it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::peer {

inline constexpr uint32_t kMagic = 0x524B4C56;
inline constexpr size_t kHeaderBytes = 8;
inline constexpr size_t kNameBytes = 64;
inline constexpr size_t kMaxCopyDataBytes = 64 * 1024;
inline constexpr size_t kMaxDescribedTextBytes = 1024;
inline constexpr size_t kResultBytes = 8;
inline constexpr size_t kDescriptionHeadBytes = 8;

enum class RecordKind : uint32_t { kMessage = 0, kCopyData = 1, kDescribe = 2 };

struct PeerRecord {
    RecordKind kind = RecordKind::kMessage;
    std::wstring name;  // message
    int64_t wParam = 0;
    int64_t lParam = 0;
    uint64_t copyKind = 0;  // copy data: dwData
    std::vector<uint8_t> bytes;
};

// Empty when the name is empty or does not fit its field.
std::vector<uint8_t> EncodeMessage(std::wstring_view name, int64_t wParam, int64_t lParam);
// Empty when the bytes exceed kMaxCopyDataBytes.
std::vector<uint8_t> EncodeCopyData(int64_t wParam, uint64_t copyKind,
                                    std::span<const uint8_t> bytes);
std::vector<uint8_t> EncodeDescribe();

// Collects one record from the bytes as they arrive, checking each part as soon as it is
// whole, so that a bad record is refused before its body is waited for.
class PeerRecordReader {
  public:
    enum class Status { kNeedMore, kComplete, kMalformed };

    // Takes no more than the record still needs; `used` receives how many bytes it took.
    Status Feed(std::span<const uint8_t> bytes, size_t* used = nullptr);
    Status status() const { return status_; }
    // Bytes the record still needs (0 once complete or malformed).
    size_t Missing() const;
    // Meaningful once complete.
    const PeerRecord& record() const { return record_; }

  private:
    Status PartComplete();

    std::vector<uint8_t> buffer_;
    size_t wanted_ = kHeaderBytes;
    Status status_ = Status::kNeedMore;
    PeerRecord record_;
};

// The answers.
std::vector<uint8_t> EncodeResult(int64_t result);
int64_t DecodeResult(std::span<const uint8_t, kResultBytes> bytes);
// Texts longer than kMaxDescribedTextBytes are cut at a character boundary.
std::vector<uint8_t> EncodeDescription(std::wstring_view className, std::wstring_view title);
// The two text lengths of a description's head; nullopt when either is out of bounds.
std::optional<std::pair<size_t, size_t>> DecodeDescriptionHead(
    std::span<const uint8_t, kDescriptionHeadBytes> bytes);

}  // namespace platform::peer
