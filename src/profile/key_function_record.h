#pragma once
// What a key does: the 3-byte key code {type, p1, p2} that the devices store per key
// position, with the id of the position it belongs to. Profiles store the code packed in
// one integer; the key-code tables and the key-assignment panel work on the records.

#include <cstdint>

#pragma pack(push, 1)
struct KeyFunctionRecord {
    uint16_t id = 0;
    uint8_t type = 0;
    uint8_t p1 = 0;
    uint8_t p2 = 0;
    uint8_t reserved = 0;

    friend bool operator==(const KeyFunctionRecord&, const KeyFunctionRecord&) = default;
};

// The current function of one key position followed by its default function.
struct KeyAssignRecord {
    KeyFunctionRecord current;
    KeyFunctionRecord defaults;

    friend bool operator==(const KeyAssignRecord&, const KeyAssignRecord&) = default;
};
#pragma pack(pop)

static_assert(sizeof(KeyFunctionRecord) == 6);
static_assert(sizeof(KeyAssignRecord) == 12);

// The function types the key-assignment panel offers and the pages describe.
namespace KeyFunctionType {
inline constexpr uint8_t kDisabled = 0x00;
inline constexpr uint8_t kMouseButton = 0x10;
inline constexpr uint8_t kSwing = 0x11;
inline constexpr uint8_t kWheel = 0x12;
inline constexpr uint8_t kDpi = 0x13;
inline constexpr uint8_t kFireKey = 0x14;
inline constexpr uint8_t kMouseAction = 0x16;
inline constexpr uint8_t kKeyboardKey = 0x20;
inline constexpr uint8_t kShortcut = 0x22;
inline constexpr uint8_t kMixedAction = 0x23;
inline constexpr uint8_t kMedia = 0x30;
inline constexpr uint8_t kSystem = 0x40;
inline constexpr uint8_t kMacro = 0x70;
inline constexpr uint8_t kMacroRepeat = 0x71;
inline constexpr uint8_t kGunKey = 0x72;
inline constexpr uint8_t kSpecialKey = 0xA0;
}  // namespace KeyFunctionType

// "KeyList" packing: type << 16 | p1 << 8 | p2.
constexpr int32_t PackKeyFunction(const KeyFunctionRecord& record) {
    return static_cast<int32_t>(record.type) << 16 | static_cast<int32_t>(record.p1) << 8 |
           record.p2;
}

constexpr KeyFunctionRecord UnpackKeyFunction(uint16_t id, int64_t packed) {
    KeyFunctionRecord record;
    record.id = id;
    record.type = static_cast<uint8_t>(packed >> 16);
    record.p1 = static_cast<uint8_t>(packed >> 8);
    record.p2 = static_cast<uint8_t>(packed);
    return record;
}

constexpr bool PlaysMacro(const KeyFunctionRecord& f) {
    return f.type == KeyFunctionType::kMacro || f.type == KeyFunctionType::kMacroRepeat;
}

// Keys name a macro by its place in the macro list, so when macro `deleted` leaves the
// list the later ones move up by one: a key on the deleted macro takes `defaults`, a key
// on a later one follows its macro. True when `current` changed.
constexpr bool FollowMacroDeletion(KeyFunctionRecord& current, const KeyFunctionRecord& defaults,
                                   int deleted) {
    if (!PlaysMacro(current) || deleted < 0 || current.p1 < deleted) {
        return false;
    }
    if (current.p1 == deleted) {
        current = defaults;
        return true;
    }
    --current.p1;
    return true;
}
