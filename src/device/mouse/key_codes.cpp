#include "device/mouse/key_codes.h"

#include <algorithm>

namespace device {

const std::array<const wchar_t*, kMouseKeyCount> kMouseKeyNameKeys = {
    L"mouse_key_left",  L"mouse_key_right",   L"mouse_key_middle",  L"mouse_key_forward",
    L"mouse_key_back",  L"mouse_key_DPI_add", L"mouse_key_DPI_sub", L"mouse_key_DPI_loop",
    L"keyboard_key_GM", L"mouse_key_M8_key",
};

std::map<int, int> BuildMouseKeyPositions(std::span<const uint8_t> table, size_t ledCount) {
    std::map<int, int> positions;
    const size_t count = std::min(ledCount, table.size() / 3);
    for (size_t p = 0; p < ledCount; ++p) {
        positions[static_cast<int>(p)] = kNoMouseKeyPosition;
    }
    for (int key = 0; key < kMouseKeyCount; ++key) {
        positions[key] = kNoMouseKeyPosition;
        const MouseKeyCode& code = kMouseFactoryKeyCodes[static_cast<size_t>(key)];
        for (size_t p = 0; p < count; ++p) {
            if (std::equal(code.begin(), code.end(), table.begin() + static_cast<long>(3 * p))) {
                positions[key] = static_cast<int>(p);
                break;
            }
        }
    }
    return positions;
}

void PutMouseKeyAssignments(const std::map<int, int>& positions,
                            const std::vector<KeyAssignRecord>& assignments,
                            std::span<uint8_t> table) {
    const size_t keys = std::min<size_t>(assignments.size(), kMouseKeyCount);
    for (size_t key = 0; key < keys; ++key) {
        const auto found = positions.find(static_cast<int>(key));
        if (found == positions.end() || found->second < 0 || found->second == kNoMouseKeyPosition) {
            continue;
        }
        const size_t at = static_cast<size_t>(found->second) * 3;
        if (at + 3 > table.size()) {
            continue;
        }
        const KeyFunctionRecord& current = assignments[key].current;
        table[at] = current.type;
        table[at + 1] = current.p1;
        table[at + 2] = current.p2;
    }
}

}  // namespace device
