#include "device/record_words.h"

#include <cstring>

namespace device {
namespace {

template <size_t N>
void UnpackWords(uint32_t first, uint32_t second, uint32_t third, std::array<uint8_t, N>& bytes) {
    const std::array<uint32_t, 3> words = {first, second, third};
    for (size_t i = 0; i < 12 && i < N; ++i) {
        bytes[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
    }
}

}  // namespace

std::array<uint32_t, 3> LightRecordWords(const LightRecord& light) {
    std::array<uint8_t, sizeof(LightRecord)> bytes{};
    std::memcpy(bytes.data(), &light, sizeof(light));
    std::array<uint32_t, 3> words{};
    for (size_t i = 0; i < 12; ++i) {
        words[i / 4] |= static_cast<uint32_t>(bytes[i]) << (8 * (i % 4));
    }
    return words;
}

LightRecord LightRecordOfWords(uint32_t first, uint32_t second, uint32_t third,
                               uint8_t customGroup) {
    std::array<uint8_t, sizeof(LightRecord)> bytes{};
    UnpackWords(first, second, third, bytes);
    bytes[12] = customGroup;
    LightRecord record;
    std::memcpy(&record, bytes.data(), sizeof(record));
    return record;
}

KeyAssignRecord KeyAssignRecordOfWords(uint32_t first, uint32_t second, uint32_t third) {
    std::array<uint8_t, sizeof(KeyAssignRecord)> bytes{};
    UnpackWords(first, second, third, bytes);
    KeyAssignRecord record;
    std::memcpy(&record, bytes.data(), sizeof(record));
    return record;
}

bool SetCurrentKeyFunction(std::vector<KeyAssignRecord>& assignments, int key, uint32_t first,
                           uint32_t second, uint32_t third) {
    if (key < 0 || static_cast<size_t>(key) >= assignments.size()) {
        return false;
    }
    const KeyAssignRecord record = KeyAssignRecordOfWords(first, second, third);
    KeyFunctionRecord& current = assignments[static_cast<size_t>(key)].current;
    current.type = record.current.type;
    current.p1 = record.current.p1;
    current.p2 = record.current.p2;
    return true;
}

}  // namespace device
