// What a mouse reports is untrusted: key positions found in a key-code table of any bytes
// and count must lie inside that table, assignments written through them must stay in
// the buffer, and a settings area of any bytes must give a speed the effects can index.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "device/mouse/key_codes.h"
#include "device/mouse/settings_block.h"

namespace {

void FindKeys(const uint8_t* data, size_t size) {
    if (size < 1) {
        return;
    }
    const size_t ledCount = data[0];
    std::vector<uint8_t> table(data + 1, data + size);
    const std::map<int, int> positions = device::BuildMouseKeyPositions(table, ledCount);
    for (const auto& [key, position] : positions) {
        if (position != device::kNoMouseKeyPosition && 3 * size_t(position) + 2 >= table.size()) {
            std::abort();
        }
    }
    std::vector<KeyAssignRecord> keys(device::kMouseKeyCount);
    for (KeyAssignRecord& key : keys) {
        key.current = {0, 0x20, 0x01, 0x02, 0};
    }
    const size_t length = table.size();
    table.resize(length + 3, 0xEE);  // a guard the writes must not reach
    device::PutMouseKeyAssignments(positions, keys, std::span<uint8_t>(table.data(), length));
    if (!std::all_of(table.end() - 3, table.end(), [](uint8_t b) { return b == 0xEE; })) {
        std::abort();
    }
}

void TakeArea(const uint8_t* data, size_t size) {
    device::MouseSettingsBlock block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    device::MouseSettingsState state{};
    device::TakeMouseSettings(block, state);
    if (state[device::kStateSpeed] > device::kMouseSpeedBase) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FindKeys(data, size);
    TakeArea(data, size);
    return 0;
}
