// What the resident program's wake-ups cost on this machine when they do no work at all:
// workers that only wait on their stop events at the rates the animating program must wake
// (the light step on every coarse tick, the frame pushed every 50 ms, the device scan every
// 100 ms). The resident figures of bench/resident_cpu.sh cannot go below this floor.

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/worker_thread.h"

namespace {

struct Rate {
    const char* role;
    uint32_t periodMs;
};

// The coarse tick is 15 or 16 ms, so the light worker waits as the program's does.
constexpr uint32_t kEveryTick = 0;
constexpr Rate kHidden[] = {{"light", kEveryTick}, {"frames", 50}, {"scan", 100}};

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void Idle(platform::Event& stop, uint32_t periodMs) {
    for (;;) {
        const uint32_t wait = periodMs == kEveryTick ? platform::MsUntilNextTick() : periodMs;
        if (stop.Wait(wait) == platform::kWaitObject0) {
            return;
        }
    }
}

// One iteration lasts the given seconds; the counter is the share of one core it took.
void BM_WakeupFloor(benchmark::State& state) {
    const auto seconds = std::chrono::seconds(state.range(0));
    for (auto _ : state) {
        std::vector<std::unique_ptr<platform::WorkerThread>> workers;
        const double before = ProcessCpuSeconds();
        for (const Rate& rate : kHidden) {
            workers.push_back(std::make_unique<platform::WorkerThread>(rate.role));
            workers.back()->Start(
                [period = rate.periodMs](platform::Event& stop) { Idle(stop, period); });
        }
        std::this_thread::sleep_for(seconds);
        for (auto& worker : workers) {
            worker->Stop();
        }
        const double used = ProcessCpuSeconds() - before;
        state.counters["cpu_percent"] = 100.0 * used / static_cast<double>(seconds.count());
    }
}
BENCHMARK(BM_WakeupFloor)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
