#include "device/keyboard/light_block.h"

#include "device/lighting/light_block_bytes.h"

namespace device {

KeyboardLightBlock EncodeKeyboardLightBlock(uint8_t firstByte, const LightRecord& light,
                                            const KeyboardSystemStages& stages) {
    KeyboardLightBlock block{};
    block[0] = firstByte;
    PutLightBytes(block, light.mode >= kFirstSoftwareOnlyMode ? 0 : light.mode, light);
    block[18] = light.qrvmMode;
    // The stored values as the page shows them: a flag set or not, a polling option it has.
    block[19] = WireFlag(stages.wFlag);
    block[20] = stages.key6Flag == 0 ? 1 : 0;
    block[21] = WireFlag(stages.winFlag);
    block[22] = stages.pollingRate < kKeyboardPollingOptionCount
                    ? static_cast<uint8_t>(stages.pollingRate)
                    : 0;
    block[25] = light.customGroup;
    return block;
}

DecodedLightBlock DecodeKeyboardLightBlock(const KeyboardLightBlock& block) {
    DecodedLightBlock decoded;
    decoded.activeSlot = block[0];
    decoded.light.mode = block[1];
    decoded.light.brightness = block[2];
    decoded.light.speed = InvertSpeedIndex(block[3]);
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
