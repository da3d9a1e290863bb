#include "device/onboard/headset_led_reports.h"

#include <algorithm>

#include "device/lighting/base_light_effects.h"

namespace device {
namespace {

constexpr size_t kFirstHalf = 7;
constexpr size_t kDataOffset = 4;
constexpr uint8_t kGroups[] = {0x22, 0x44};
constexpr uint8_t kFirstRegister = 0xAA;
constexpr uint8_t kSecondHalfRegisterOffset = 3;

uint8_t ScaledChannel(uint8_t value, uint8_t level) {
    const unsigned scaled = (static_cast<unsigned>(value) * level) >> 8;
    return static_cast<uint8_t>(std::min<unsigned>(scaled, kHeadsetChannelCap));
}

}  // namespace

HeadsetChannels ScaleHeadsetChannels(const LedColourVector& leds) {
    HeadsetChannels channels;
    const size_t count = std::min(leds.Size(), kHeadsetLedCount);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t colour = leds.Get(i);
        const uint8_t level = LedBrightness(colour);
        channels.red[i] = ScaledChannel(LedRed(colour), level);
        channels.green[i] = ScaledChannel(LedGreen(colour), level);
        channels.blue[i] = ScaledChannel(LedBlue(colour), level);
    }
    return channels;
}

HeadsetLightFrame BuildHeadsetLightFrame(const HeadsetChannels& channels) {
    const std::array<const std::array<uint8_t, kHeadsetLedCount>*, 3> planes = {
        &channels.red, &channels.green, &channels.blue};
    HeadsetLightFrame frame{};
    HeadsetLightReport buffer{};
    buffer[0] = kHeadsetReportId;
    size_t next = 0;
    for (size_t channel = 0; channel < planes.size(); ++channel) {
        const auto& values = *planes[channel];
        const uint8_t firstRegister = static_cast<uint8_t>(kFirstRegister + channel);
        for (uint8_t group : kGroups) {
            buffer[1] = group;
            buffer[2] = firstRegister;
            std::copy_n(values.begin(), kFirstHalf, buffer.begin() + kDataOffset);
            frame[next++] = buffer;
            buffer[2] = static_cast<uint8_t>(firstRegister + kSecondHalfRegisterOffset);
            std::copy(values.begin() + kFirstHalf, values.end(), buffer.begin() + kDataOffset);
            frame[next++] = buffer;
        }
    }
    return frame;
}

}  // namespace device
