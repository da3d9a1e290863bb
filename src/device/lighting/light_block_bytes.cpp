#include "device/lighting/light_block_bytes.h"

#include <algorithm>

namespace device {

uint8_t WireBrightness(uint8_t value) {
    return std::min(value, kMaxWireBrightness);
}

uint8_t WireFlag(unsigned value) {
    return value != 0 ? 1 : 0;
}

uint8_t InvertSpeedIndex(uint8_t value) {
    return value > kMaxWireSpeed ? 0 : static_cast<uint8_t>(kMaxWireSpeed - value);
}

void PutLightBytes(std::span<uint8_t> block, uint8_t mode, const LightRecord& light) {
    if (block.size() < 9) {
        return;
    }
    block[1] = mode;
    block[2] = WireBrightness(light.brightness);
    block[3] = InvertSpeedIndex(light.speed);
    block[4] = WireFlag(light.direction);
    block[5] = light.multiColour;
    block[6] = light.red;
    block[7] = light.green;
    block[8] = light.blue;
}

void PutHeldLightBytes(std::span<uint8_t> block, const LightRecord& light) {
    if (block.size() < 9) {
        return;
    }
    block[1] = light.mode;
    block[2] = light.brightness;
    block[3] = light.speed;
    block[5] = light.multiColour;
    block[6] = light.red;
    block[7] = light.green;
    block[8] = light.blue;
}

void TakeHeldLightBytes(std::span<const uint8_t> block, LightRecord& light) {
    if (block.size() < 9) {
        return;
    }
    light.mode = block[1];
    light.brightness = block[2];
    light.speed = block[3];
    light.multiColour = block[5];
    light.red = block[6];
    light.green = block[7];
    light.blue = block[8];
}

}  // namespace device
