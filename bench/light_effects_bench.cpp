// Cost of one base effect step and of one frame encoding for a 126-LED keyboard: the light
// thread may run a step every pass and the frame timer fires every 50 ms per device.

#include <benchmark/benchmark.h>

#include <memory>

#include "device/lighting/base_light_effects.h"
#include "device/lighting/led_frame.h"
#include "device/vornalix_usb_device.h"
#include "platform/hid/hid_bus.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/sim_keyboard.h"

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

// The whole frame push of the 50 ms timer: tints, encoding and seven 64-byte exchanges
// with the simulated keyboard.
void BM_PushLightFrameOverSimBus(benchmark::State& state) {
    platform::hid::SimHidBus bus;
    platform::hid::ScopedHidBus useBus(bus);
    auto keyboard = std::make_shared<sim::SimKeyboard>();
    bus.Plug(keyboard);
    CVornalixUSBDevice device;
    const std::wstring path = bus.PathOf(*keyboard, sim::kKeyboardCommandInterface, 4);
    if (!device.CommandChannel().OpenInterface(path.c_str(), false)) {
        state.SkipWithError("the simulated keyboard did not open");
        return;
    }
    device.SetLedCount(kKeyboardLeds);
    device.SetLightParams(0x00000E00, 0x32649601, 0, 0);
    device.EffectStatic();
    for (auto _ : state) {
        benchmark::DoNotOptimize(device.PushLightFrame());
    }
    device.CommandChannel().CloseInterface();
}
BENCHMARK(BM_PushLightFrameOverSimBus)->Unit(benchmark::kMicrosecond);

}  // namespace
