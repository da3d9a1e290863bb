// The test program inside the guest. Started by the guest's init as root, it creates the
// emulated keyboard's gadget (which takes root), gives itself up to the test's user, as
// the program under test runs as a logged-in user, and runs the tests.

#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "guest_setup.h"
#include "sim/keyboard_descriptors.h"
#include "sim/sim_keyboard.h"
#include "usb_gadget.h"

namespace kernel_test {

KeyboardGadget& TheGadget() {
    static KeyboardGadget gadget;
    return gadget;
}

}  // namespace kernel_test

namespace {

bool CreateKeyboardGadget() {
    using kernel_test::GadgetInterface;
    GadgetInterface boot;
    boot.protocol = 1;
    boot.subclass = 1;
    boot.reportLength = 8;
    boot.descriptor = sim::KeyboardBootDescriptor();
    GadgetInterface vendor;
    vendor.reportLength = 64;
    vendor.descriptor = sim::KeyboardVendorDescriptor();
    return kernel_test::UsbGadget::Create(sim::kKeyboardVendorId, sim::kKeyboardProductId,
                                          sim::kKeyboardVersion, {boot, vendor},
                                          kernel_test::kTestUser, kernel_test::kTestUser);
}

bool BecomeTestUser() {
    const gid_t group = kernel_test::kTestUser;
    return setgroups(1, &group) == 0 && setgid(kernel_test::kTestUser) == 0 &&
           setuid(kernel_test::kTestUser) == 0 && getuid() == kernel_test::kTestUser;
}

}  // namespace

int main(int argc, char** argv) {
    if (getuid() != 0 || !CreateKeyboardGadget() || !BecomeTestUser()) {
        std::fprintf(stderr, "kernel test: the gadget could not be set up as root\n");
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
