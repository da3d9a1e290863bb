// What a keyboard reports and what macro files hold is untrusted: key maps built from any
// tables and count, light blocks of any bytes and macro documents of any text must stay
// inside their buffers and give an image whose length field tells its size.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/keyboard/key_map.h"
#include "device/keyboard/light_block.h"
#include "device/macro_image.h"
#include "platform/json_text.h"
#include "profile/json_file.h"

namespace {

void BuildMaps(const uint8_t* data, size_t size) {
    if (size < 1) {
        return;
    }
    const size_t count = data[0];
    const std::vector<uint8_t> rest(data + 1, data + size);
    const size_t half = rest.size() / 2;
    const std::vector<uint8_t> codes(rest.begin(), rest.begin() + static_cast<long>(half));
    const std::vector<uint8_t> leds(rest.begin() + static_cast<long>(half), rest.end());
    device::KeyboardKeyMaps maps;
    maps.keyPosition.fill(device::kNoKeyPosition);
    maps.led.fill(device::kNoKeyPosition);
    device::BuildKeyMaps(codes, leds, count, maps);
    for (uint8_t position : maps.keyPosition) {
        if (position != device::kNoKeyPosition && 3 * size_t{position} + 2 >= codes.size()) {
            std::abort();
        }
    }
}

void DecodeBlock(const uint8_t* data, size_t size) {
    device::KeyboardLightBlock block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    const device::DecodedLightBlock decoded = device::DecodeKeyboardLightBlock(block);
    if (decoded.light.speed > device::kMaxSpeedIndex) {
        std::abort();
    }
    const device::KeyboardLightBlock again =
        device::EncodeKeyboardLightBlock(block[0], decoded.light, {});
    if (again[3] > device::kMaxSpeedIndex) {
        std::abort();
    }
}

void BuildImage(const uint8_t* data, size_t size) {
    Json::Value document;
    if (!platform::ParseJsonText(std::string(data, data + size), &document)) {
        return;
    }
    const std::vector<device::MacroEvents> macros = {device::MacroEventsOf(document), {}};
    const std::vector<uint8_t> image = device::BuildMacroImage(macros);
    if (!image.empty() && (image[2] | image[3] << 8) != static_cast<int>(image.size())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    switch (data[0] % 3) {
        case 0:
            BuildMaps(data + 1, size - 1);
            break;
        case 1:
            DecodeBlock(data + 1, size - 1);
            break;
        default:
            BuildImage(data + 1, size - 1);
            break;
    }
    return 0;
}
