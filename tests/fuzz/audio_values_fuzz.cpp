// Texts from the audio driver are untrusted: whatever a property answers, the headset's
// read-back and the feature lists must stay inside their buffers and never convert an
// impossible number. The input is also read as a light block from the device.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/onboard/audio_binding.h"
#include "device/onboard/light_block.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "platform/audio/sim_audio_sdk.h"

namespace {

const wchar_t* const kAnswered[] = {L"GetSupportFeature",   L"MuteControl",
                                    L"VolumeScalarControl", L"GetAAMaxVol",
                                    L"AAMuteControl",       L"AAVolumeScalarControl",
                                    L"Enable_MAGICVOICE",   L"MagicVoice_Selection"};

std::wstring WideText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        text.push_back(static_cast<wchar_t>(data[i]));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::audio::SimAudioSdk sdk;
    static platform::audio::ScopedAudioSdk use(&sdk);
    static CVornalixTamselDevice headset;

    const std::wstring text = WideText(data, size);
    for (const wchar_t* name : kAnswered) {
        sdk.SetText(platform::audio::SimAudioSdk::kCaptureId, name, text);
    }
    sdk.ClearCalls();
    headset.InitAudio();

    std::array<uint32_t, 3> words{};
    device::ParseFeatureWords(text, &words);
    const std::wstring raw = device::WideTextOf(data, size);
    const device::OnboardLightBlock block =
        device::DecodeOnboardLightBlock(std::span<const uint8_t>(data, size));
    const device::OnboardLightBlock bytes = device::EncodeOnboardLightBlock(block);
    return static_cast<int>(raw.size() + bytes[0]) * 0;
}
