#pragma once
// What the guest's tests share: the emulated keyboard and the user they run as.

#include <sys/types.h>

#include "keyboard_gadget.h"

namespace kernel_test {

// The logged-in user of the guest; the device manager's rule gives it the nodes of the
// ruled port (guest_init.sh).
inline constexpr uid_t kTestUser = 1000;

// The one emulated keyboard of the guest.
KeyboardGadget& TheGadget();

}  // namespace kernel_test
