// The process HID bus. The backend default lives for the whole process; tests install
// their own bus for their duration.

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hidraw_bus.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/no_destructor.h"

namespace platform::hid {
namespace {

std::atomic<HidBus*> g_installed{nullptr};

HidBus& DefaultBus() {
    static const NoDestructor<std::unique_ptr<HidBus>> bus([]() -> std::unique_ptr<HidBus> {
        const char* choice = std::getenv("VELKARO_HID");
        if (choice != nullptr && std::strcmp(choice, "sim") == 0) {
            return std::make_unique<SimHidBus>();
        }
        return std::make_unique<HidrawBus>();
    }());
    return **bus;
}

}  // namespace

HidBus& CurrentHidBus() {
    HidBus* installed = g_installed.load();
    return installed != nullptr ? *installed : DefaultBus();
}

bool IsKnownHidBackendChoice(const char* value) {
    return value == nullptr || *value == '\0' || std::strcmp(value, "hidraw") == 0 ||
           std::strcmp(value, "sim") == 0;
}

HidBus* InstallHidBus(HidBus* bus) {
    return g_installed.exchange(bus);
}

}  // namespace platform::hid
