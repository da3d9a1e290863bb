#include "support/fake_tray_watcher.h"

namespace testing_support {

FakeWatcher::FakeWatcher()
    : peer_(platform::bus::BusKind::kSession, "org.kde.StatusNotifierWatcher", [this](sd_bus* bus) {
          static const sd_bus_vtable kVtable[] = {
              SD_BUS_VTABLE_START(0),
              SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", OnRegister, 0),
              SD_BUS_VTABLE_END};
          sd_bus_add_object_vtable(bus, nullptr, "/StatusNotifierWatcher",
                                   "org.kde.StatusNotifierWatcher", kVtable, this);
      }) {}

std::vector<std::string> FakeWatcher::Registered() {
    std::lock_guard lock(mutex_);
    return registered_;
}

int FakeWatcher::CallItem(const std::string& service, const char* method, int x, int y) {
    int result = -1;
    peer_.Run([&](sd_bus* bus) {
        result =
            sd_bus_call_method(bus, service.c_str(), "/StatusNotifierItem",
                               "org.kde.StatusNotifierItem", method, nullptr, nullptr, "ii", x, y);
    });
    return result;
}

int FakeWatcher::OnRegister(sd_bus_message* m, void* self, sd_bus_error* /*error*/) {
    const char* service = nullptr;
    sd_bus_message_read(m, "s", &service);
    auto* watcher = static_cast<FakeWatcher*>(self);
    {
        std::lock_guard lock(watcher->mutex_);
        watcher->registered_.emplace_back(service != nullptr ? service : "");
    }
    return sd_bus_reply_method_return(m, "");
}

}  // namespace testing_support
