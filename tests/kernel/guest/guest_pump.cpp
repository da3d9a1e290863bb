#include "guest_pump.h"

#include "support/message_pump.h"

namespace kernel_test {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    return testing_support::PumpMessagesUntil(done, ms);
}

long MsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

}  // namespace kernel_test
