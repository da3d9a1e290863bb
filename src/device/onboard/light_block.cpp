#include "device/onboard/light_block.h"

#include "device/lighting/light_block_bytes.h"

#include <algorithm>

namespace device {

OnboardLightBlock DecodeOnboardLightBlock(std::span<const uint8_t> bytes) {
    OnboardLightBlock block{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
    block[kBlockSpeed] = InvertSpeedIndex(block[kBlockSpeed]);
    return block;
}

OnboardLightBlock EncodeOnboardLightBlock(const OnboardLightBlock& held) {
    OnboardLightBlock bytes = held;
    bytes[kBlockSpeed] = InvertSpeedIndex(held[kBlockSpeed]);
    bytes[kBlockBrightness] = WireBrightness(held[kBlockBrightness]);
    bytes[kBlockDirection] = WireFlag(held[kBlockDirection]);
    if (bytes[kBlockMode] >= kFirstSoftwareMode) {
        bytes[kBlockMode] = 0;
    }
    return bytes;
}

}  // namespace device
