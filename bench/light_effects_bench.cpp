// Cost of one base effect step and of one frame encoding for a 126-LED keyboard: the light
// thread may run a step every pass and the frame timer fires every 50 ms per device.

#include <benchmark/benchmark.h>

#include "device/base_light_effects.h"
#include "device/led_frame.h"

namespace {

using device::LedColourVector;
using device::LightAnimationState;
using device::LightParams;

constexpr size_t kKeyboardLeds = 126;

LightParams BenchParams(bool multi) {
    LightParams params;
    params.brightnessIndex = 14;
    params.speedIndex = 5;
    params.direction = 1;
    params.multiColour = multi ? 1 : 0;
    params.red = 200;
    params.green = 100;
    params.blue = 50;
    return params;
}

template <typename Step>
void RunStep(benchmark::State& state, bool multi, Step step) {
    LedColourVector leds;
    leds.Resize(kKeyboardLeds);
    LightAnimationState animation;
    const LightParams params = BenchParams(multi);
    uint32_t now = 0;
    for (auto _ : state) {
        step(params, animation, leds, now += 16);
        benchmark::DoNotOptimize(leds.Get(70));
    }
}

void BM_Breathing(benchmark::State& state) {
    RunStep(state, state.range(0) != 0,
            [](auto& p, auto& a, auto& l, uint32_t) { device::StepBreathing(p, a, l); });
}
BENCHMARK(BM_Breathing)->Arg(0)->Arg(1);

void BM_BreathingColours(benchmark::State& state) {
    RunStep(state, false,
            [](auto& p, auto& a, auto& l, uint32_t) { device::StepBreathingColours(p, a, l); });
}
BENCHMARK(BM_BreathingColours);

void BM_Static(benchmark::State& state) {
    RunStep(state, state.range(0) != 0,
            [](auto& p, auto&, auto& l, uint32_t) { device::ApplyStatic(p, l); });
}
BENCHMARK(BM_Static)->Arg(0)->Arg(1);

void BM_Spectrum(benchmark::State& state) {
    RunStep(state, false,
            [](auto& p, auto& a, auto& l, uint32_t) { device::StepSpectrum(p, a, l); });
}
BENCHMARK(BM_Spectrum);

void BM_Flash(benchmark::State& state) {
    RunStep(state, state.range(0) != 0,
            [](auto& p, auto& a, auto& l, uint32_t now) { device::StepFlash(p, a, l, now); });
}
BENCHMARK(BM_Flash)->Arg(0)->Arg(1);

void BM_FlashColours(benchmark::State& state) {
    RunStep(state, false, [](auto& p, auto& a, auto& l, uint32_t now) {
        device::StepFlashColours(p, a, l, now);
    });
}
BENCHMARK(BM_FlashColours);

void BM_Off(benchmark::State& state) {
    RunStep(state, false, [](auto&, auto&, auto& l, uint32_t) { device::ClearLeds(l); });
}
BENCHMARK(BM_Off);

void BM_EncodeLightFrame(benchmark::State& state) {
    LedColourVector leds;
    leds.Resize(kKeyboardLeds);
    device::ApplyStatic(BenchParams(true), leds);
    device::LightFrame frame;
    for (auto _ : state) {
        device::EncodeLightFrame(leds, frame);
        benchmark::DoNotOptimize(frame.bytes.data());
    }
}
BENCHMARK(BM_EncodeLightFrame);

}  // namespace
