#pragma once
// Waiting for conditions in the guest, where everything runs slower than on the host.

#include <chrono>
#include <cstdio>
#include <functional>

namespace kernel_test {

// Handles this thread's window messages until `done` holds; false after `ms`.
bool PumpUntil(const std::function<bool()>& done, int ms = 20000);

// Milliseconds since `start`.
long MsSince(std::chrono::steady_clock::time_point start);

// One measured moment, written to the console for the host's log.
template <typename... Args>
void Report(const char* format, Args... args) {
    std::printf("kernel-test: ");
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace kernel_test
