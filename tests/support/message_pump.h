#pragma once
// The test thread's message loop, run by hand: one message at a time, as the program's
// own loop handles them, until a condition holds.

#include <functional>

namespace testing_support {

// Handles one waiting message of this thread (a quit message is dropped: the test goes
// on), or answers pending sends; false when nothing was waiting.
bool PumpOneMessage();
// Handles this thread's messages until `done` holds (true) or `ms` passed (false).
bool PumpMessagesUntil(const std::function<bool()>& done, int ms);

}  // namespace testing_support
