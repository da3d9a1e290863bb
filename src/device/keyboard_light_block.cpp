#include "device/keyboard_light_block.h"

namespace device {
namespace {

// The speed byte is 9 - index on the wire. A stored index above 9 would wrap to a huge
// byte, so it is held at 9 first; a byte above 9 from the keyboard reads as index 0.
uint8_t InvertSpeed(uint8_t value) {
    return value > kMaxSpeedIndex ? 0 : static_cast<uint8_t>(kMaxSpeedIndex - value);
}

}  // namespace

KeyboardLightBlock EncodeKeyboardLightBlock(uint8_t firstByte, const LightRecord& light,
                                            const KeyboardSystemStages& stages) {
    KeyboardLightBlock block{};
    block[0] = firstByte;
    block[1] = light.mode >= kFirstSoftwareOnlyMode ? 0 : light.mode;
    block[2] = light.brightness;
    block[3] = InvertSpeed(light.speed);
    block[4] = light.direction;
    block[5] = light.multiColour;
    block[6] = light.red;
    block[7] = light.green;
    block[8] = light.blue;
    block[18] = light.qrvmMode;
    block[19] = static_cast<uint8_t>(stages.wFlag);
    block[20] = stages.key6Flag == 0 ? 1 : 0;
    block[21] = static_cast<uint8_t>(stages.winFlag);
    block[22] = static_cast<uint8_t>(stages.pollingRate);
    block[25] = light.customGroup;
    return block;
}

DecodedLightBlock DecodeKeyboardLightBlock(const KeyboardLightBlock& block) {
    DecodedLightBlock decoded;
    decoded.activeSlot = block[0];
    decoded.light.mode = block[1];
    decoded.light.brightness = block[2];
    decoded.light.speed = InvertSpeed(block[3]);
    decoded.light.direction = block[4];
    decoded.light.multiColour = block[5];
    decoded.light.red = block[6];
    decoded.light.green = block[7];
    decoded.light.blue = block[8];
    decoded.light.qrvmMode = block[18];
    decoded.light.customGroup = block[25];
    decoded.key6Flag = block[20] == 0 ? 1 : 0;
    decoded.wFlag = block[19];
    decoded.winFlag = block[21];
    return decoded;
}

}  // namespace device
