// Cost of the software light steps for a 126-LED keyboard: the light thread may run a
// mode step, the custom light player and the overlay layers on every 1 ms pass.

#include <benchmark/benchmark.h>

#include <vector>

#include "device/keyboard/custom_light.h"
#include "device/keyboard/light_effects.h"
#include "device/lighting/area_effects.h"
#include "device/lighting/custom_effect_player.h"
#include "device/lighting/software_light_generators.h"
#include "platform/critical_section.h"

namespace {

using device::LedColourVector;

constexpr size_t kKeyboardLeds = 126;

LightRecord BenchLight(uint8_t mode, bool multi) {
    LightRecord light;
    light.mode = mode;
    light.brightness = 14;
    light.speed = 9;
    light.direction = 1;
    light.multiColour = multi ? 1 : 0;
    light.red = 200;
    light.green = 100;
    light.blue = 50;
    light.valid = 1;
    return light;
}

void BM_FrameWave(benchmark::State& state) {
    LedColourVector leds;
    leds.Resize(kKeyboardLeds);
    const LightRecord light = BenchLight(4, state.range(0) != 0);
    uint8_t step = 0;
    for (auto _ : state) {
        device::FrameWave(light, step++, leds);
        benchmark::DoNotOptimize(leds.Get(70));
    }
}
BENCHMARK(BM_FrameWave)->Arg(0)->Arg(1);

void BM_CustomPlayer(benchmark::State& state) {
    platform::CriticalSection lock;
    device::CustomEffectList list(lock);
    std::vector<LedEffectRecord> records;
    for (uint8_t mode : {0, 1, 2, 4, 5}) {
        records.push_back({BenchLight(mode, true), 0, 0});
    }
    list.Replace(records);
    device::CustomPlayerState player;
    LedColourVector leds;
    leds.Resize(kKeyboardLeds);
    uint32_t now = 0;
    for (auto _ : state) {
        device::PlayCustomEffect(list, player, 5, now += 1, leds);
        benchmark::DoNotOptimize(leds.Get(70));
    }
}
BENCHMARK(BM_CustomPlayer);

void BM_OverlayLayers(benchmark::State& state) {
    std::vector<LightRecord> layers;
    for (size_t i = 0; i < kKeyboardLeds; ++i) {
        layers.push_back(BenchLight(static_cast<uint8_t>(i % 5), i % 2 == 0));
    }
    device::AreaEffectState area;
    LedColourVector leds;
    leds.Resize(kKeyboardLeds);
    device::ResetOverlayLayers(layers, area);
    uint32_t now = 0;
    for (auto _ : state) {
        device::ApplyOverlayLayers(layers, now += 1, area, leds);
        benchmark::DoNotOptimize(leds.Get(70));
    }
}
BENCHMARK(BM_OverlayLayers);

void BM_KeyboardMode(benchmark::State& state) {
    device::LightParams params;
    params.mode = static_cast<uint8_t>(state.range(0));
    params.brightnessIndex = 14;
    params.direction = 1;
    params.multiColour = 1;
    device::LightAnimationState animation;
    device::KeyboardEffectState effects;
    LedColourVector leds;
    leds.Resize(kKeyboardLeds);
    const device::KeyboardEffectContext context{params, animation, effects, leds};
    device::StartKeyboardMode(context);
    uint32_t now = 0;
    for (auto _ : state) {
        device::RunKeyboardModeStep(context, 0, now += 1);
        benchmark::DoNotOptimize(leds.Get(70));
    }
}
// Column wave, rain, converge, pulse, spread and sweep: the table walks and the grid scans.
BENCHMARK(BM_KeyboardMode)->Arg(1)->Arg(10)->Arg(14)->Arg(15)->Arg(29)->Arg(25);

}  // namespace
