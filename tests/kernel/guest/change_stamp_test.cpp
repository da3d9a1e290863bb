// The hidraw backend's change stamp over the kernel's own device folder (devtmpfs): looking
// at the bus only when the stamp moved still finds the keyboard's nodes, first root's and
// then the user's once the device manager applied its rule, and sees them go.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "guest_pump.h"
#include "guest_setup.h"
#include "platform/hid/hidraw_bus.h"
#include "sim/sim_keyboard.h"

namespace kernel_test {
namespace {

// As discovery looks: listed and opened again only when the stamp moved. True once every
// collection of the keyboard opens.
bool KeyboardOpensOnAMove(platform::hid::HidrawBus& bus, std::optional<uint64_t>* seen,
                          size_t collections) {
    const std::optional<uint64_t> now = bus.ChangeStamp();
    if (now == *seen) {
        return false;
    }
    *seen = now;
    std::vector<std::wstring> paths;
    size_t opened = 0;
    if (!bus.Enumerate(&paths)) {
        return false;
    }
    for (const std::wstring& path : paths) {
        opened += platform::hid::ParseHidPathNumber(path, L"vid_") == sim::kKeyboardVendorId &&
                  bus.Open(path, {true, false, false}) != nullptr;
    }
    return opened == collections;
}

TEST(ChangeStampTest, DevtmpfsTellsTheNodesComingBecomingTheUsersAndGoing) {
    platform::hid::HidrawBus bus;
    std::optional<uint64_t> seen = bus.ChangeStamp();
    ASSERT_TRUE(seen.has_value()) << "the device folder cannot be watched";
    KeyboardGadget& gadget = TheGadget();
    for (int round = 0; round < 2; ++round) {
        const auto plugged = std::chrono::steady_clock::now();
        ASSERT_TRUE(gadget.Plug(KeyboardGadget::RuledPort()));
        size_t collections = 0;
        for (size_t i = 0; i < gadget.Keyboard().Interfaces().size(); ++i) {
            collections += gadget.Keyboard().Collections(i).size();
        }
        ASSERT_TRUE(PumpUntil([&] { return KeyboardOpensOnAMove(bus, &seen, collections); }));
        Report("plug %d to every collection opened on a stamp move: %ld ms", round + 1,
               MsSince(plugged));
        gadget.Unplug();
        EXPECT_TRUE(PumpUntil([&] { return bus.ChangeStamp() != seen; }));
        seen = bus.ChangeStamp();
        ASSERT_TRUE(seen.has_value());
    }
}

}  // namespace
}  // namespace kernel_test
