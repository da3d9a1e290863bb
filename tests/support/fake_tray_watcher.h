#pragma once
// The desktop's notification area as a tray icon meets it on the session bus: a
// StatusNotifierWatcher that takes registrations and keeps their service names.

#include <mutex>
#include <string>
#include <vector>

#include "support/private_bus.h"

namespace testing_support {

class FakeWatcher {
  public:
    FakeWatcher();
    bool IsReady() const { return peer_.IsReady(); }
    std::vector<std::string> Registered();
    // Calls `method` (x, y) on the item `service`; the sd-bus result.
    int CallItem(const std::string& service, const char* method, int x, int y);
    BusPeer& Peer() { return peer_; }

  private:
    static int OnRegister(sd_bus_message* m, void* self, sd_bus_error* error);

    std::mutex mutex_;
    std::vector<std::string> registered_;
    BusPeer peer_;  // last: its thread uses the members above
};

}  // namespace testing_support
