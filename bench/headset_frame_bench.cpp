// Cost of one headset light frame: the twelve output reports built from the LED colours,
// and the whole push to a simulated headset, which the frame timer does every 50 ms.

#include <benchmark/benchmark.h>

#include <memory>

#include "device/lighting/base_light_effects.h"
#include "device/onboard/headset_led_reports.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/sim_headset.h"

namespace {

void BM_BuildHeadsetFrame(benchmark::State& state) {
    device::LedColourVector leds;
    leds.Resize(device::kHeadsetLedCount);
    for (size_t i = 0; i < leds.Size(); ++i) {
        leds.Set(i, device::MakeLedColour({static_cast<uint8_t>(i * 19), 128, 255}, 200));
    }
    for (auto _ : state) {
        const device::HeadsetLightFrame frame =
            device::BuildHeadsetLightFrame(device::ScaleHeadsetChannels(leds));
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_BuildHeadsetFrame);

void BM_PushHeadsetFrame(benchmark::State& state) {
    platform::hid::SimHidBus bus;
    platform::hid::ScopedHidBus use(bus);
    auto headset = std::make_shared<sim::SimHeadset>();
    bus.Plug(headset);
    CVornalixTamselDevice device;
    device.SetLedCount(device::kHeadsetLedCount);
    const std::wstring path = bus.PathOf(*headset, sim::kLightAccessoryInterface, 2);
    if (!device.CommandChannel().OpenInterface(path.c_str(), false)) {
        state.SkipWithError("the simulated headset did not open");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(device.PushLightFrame());
        headset->ClearLedReports();
        headset->ClearReceivedReports();
    }
}
BENCHMARK(BM_PushHeadsetFrame);

}  // namespace
