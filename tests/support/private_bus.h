#pragma once
// Message buses of a test's own: a dbus-daemon standing in for the session or the system
// bus, and programs on it (a tray watcher, logind) played by the test.

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/bus/bus_loop.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace testing_support {

// Starts a dbus-daemon and points DBUS_SESSION_BUS_ADDRESS (or DBUS_SYSTEM_BUS_ADDRESS)
// at it for its lifetime; the daemon is stopped when it goes.
class PrivateBus {
  public:
    explicit PrivateBus(platform::bus::BusKind kind);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool IsRunning() const { return !address_.empty(); }
    // The daemon ends, as a crashed or restarted bus does; a new one comes up at the
    // same address. False when the new one did not start.
    bool Restart();

  private:
    void Start();
    void End();

    TempDir dir_;
    pid_t pid_ = -1;
    std::string address_;
    const char* variable_;
    std::unique_ptr<ScopedEnv> pointed_;
};

// A program on the bus: owns `name` and puts its objects there with `attach` (on its bus
// thread). The constructor returns once both are done.
class BusPeer {
  public:
    using Task = std::function<void(sd_bus*)>;
    BusPeer(platform::bus::BusKind kind, std::string name, Task attach);
    ~BusPeer();
    BusPeer(const BusPeer&) = delete;
    BusPeer& operator=(const BusPeer&) = delete;

    bool IsReady() const { return ready_; }
    // Runs `task` on the peer's bus thread and returns when it has run.
    void Run(const Task& task);

  private:
    bool ready_ = false;
    platform::bus::BusLoop loop_;
};

}  // namespace testing_support
