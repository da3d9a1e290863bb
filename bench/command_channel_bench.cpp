// Costs of the device protocol: exchanges per second with a simulated keyboard that
// answers at once, one 126-LED light frame, the channel's own cost per exchange (over a
// loopback interface that answers in the caller's thread), and how long stopping the
// discovery thread takes.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "device/channel/hid_command_channel.h"
#include "device/discovery/device_capture_thread.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/loopback_command_bus.h"
#include "sim/sim_keyboard.h"

namespace {

using namespace platform::hid;

struct SimKeyboardChannel {
    SimHidBus bus;
    std::shared_ptr<sim::SimKeyboard> keyboard = std::make_shared<sim::SimKeyboard>();
    std::optional<ScopedHidBus> use;
    CHidCommandChannel channel;

    SimKeyboardChannel() {
        bus.Plug(keyboard);
        use.emplace(bus);
        const std::wstring path = bus.PathOf(*keyboard, sim::kKeyboardCommandInterface, 4);
        channel.OpenInterface(path.c_str(), false);
    }
};

void BM_ExchangeOverSimBus(benchmark::State& state) {
    SimKeyboardChannel sim;
    for (auto _ : state) {
        if (sim.channel.TakeLightControl() != 1)
            state.SkipWithError("exchange failed");
        sim.keyboard->ClearReceivedReports();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExchangeOverSimBus)->UseRealTime();

void BM_LightFrame126Leds(benchmark::State& state) {
    SimKeyboardChannel sim;
    const std::vector<uint8_t> frame(126 * 3, 0x40);
    for (auto _ : state) {
        if (sim.channel.SendLightFrame(frame) != 1)
            state.SkipWithError("frame failed");
        sim.keyboard->ClearReceivedReports();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LightFrame126Leds)->UseRealTime();

void BM_ChannelOwnCostPerExchange(benchmark::State& state) {
    sim::LoopbackCommandBus loopback;
    ScopedHidBus use(loopback);
    CHidCommandChannel channel;
    channel.OpenInterface(loopback.Path().c_str(), false);
    for (auto _ : state) {
        if (channel.TakeLightControl() != 1)
            state.SkipWithError("exchange failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChannelOwnCostPerExchange);

void BM_ChannelOwnCostLightPiece(benchmark::State& state) {
    sim::LoopbackCommandBus loopback;
    ScopedHidBus use(loopback);
    CHidCommandChannel channel;
    channel.OpenInterface(loopback.Path().c_str(), false);
    const std::vector<uint8_t> piece(56, 0x40);
    for (auto _ : state) {
        if (channel.SendLightFrame(piece) != 1)
            state.SkipWithError("piece failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChannelOwnCostLightPiece);

void BM_CaptureThreadStop(benchmark::State& state) {
    SimHidBus bus;
    auto keyboard = std::make_shared<sim::SimKeyboard>();
    bus.Plug(keyboard);
    ScopedHidBus use(bus);
    for (auto _ : state) {
        HidLiveList list = HidLiveList::FromHidIdTable();
        DeviceCaptureThread capture(list, nullptr, 0);
        capture.Start();
        // Let it settle into its between-pass wait, where it spends nearly all its time.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        const auto start = std::chrono::steady_clock::now();
        capture.Stop();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
}
BENCHMARK(BM_CaptureThreadStop)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);

void BM_RemovalNoticed(benchmark::State& state) {
    SimHidBus bus;
    auto keyboard = std::make_shared<sim::SimKeyboard>();
    ScopedHidBus use(bus);
    HidLiveList list = HidLiveList::FromHidIdTable();
    DeviceCaptureThread capture(list, nullptr, 0);
    capture.Start();
    for (auto _ : state) {
        bus.Plug(keyboard);
        while (!list.AllHidRecordsClaimed())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto start = std::chrono::steady_clock::now();
        bus.Unplug(keyboard);
        while (!list.ConnectedIndexes().empty()) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
    capture.Stop();
}
BENCHMARK(BM_RemovalNoticed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
