#include "app/config_answer.h"

#include "device/discovery/device_tables.h"

namespace {

constexpr std::array<uint8_t, 4> kConfigurationBytes = {2, 3, 0, 2};
constexpr size_t kRowsOffset = 20;
constexpr size_t kRowSize = 12;

void PutInt32(std::array<uint8_t, kConfigAnswerSize>& block, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) {
        block[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

}  // namespace

std::array<uint8_t, kConfigAnswerSize> BuildConfigAnswer() {
    std::array<uint8_t, kConfigAnswerSize> block{};
    for (size_t i = 0; i < kConfigurationBytes.size(); ++i) {
        PutInt32(block, 4 * i, kConfigurationBytes[i]);
    }
    PutInt32(block, 16, DeviceOptionTableCount);
    for (int row = 0; row < DeviceOptionTableCount; ++row) {
        const size_t offset = kRowsOffset + kRowSize * static_cast<size_t>(row);
        if (offset + kRowSize > block.size()) {
            break;
        }
        const DeviceOptionRecord& option = DeviceOptionTable[row];
        PutInt32(block, offset, option.vendorId);
        PutInt32(block, offset + 4, option.productId);
        PutInt32(block, offset + 8, option.deviceKind);
    }
    return block;
}
