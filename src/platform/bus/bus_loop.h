#pragma once
// The desktop's message buses (D-Bus through sd-bus): the user's session bus, where the
// tray icon lives, and the system bus, where logind announces sleep.
//
// One BusLoop is one connection served by a thread of its own. sd-bus objects belong to
// one thread, so the connection is opened, used and closed on that thread only, by the
// handlers given at the start. The thread sleeps in poll() on the connection and a wake
// descriptor: a quiet bus costs no CPU time, and Stop wakes it at once.

#include <systemd/sd-bus.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/hid_cancel_event.h"
#include "platform/worker_thread.h"

namespace platform::bus {

// True when the bus daemon itself sent `m`. A signal addressed to a connection reaches it
// whatever its matches say, so a match on the daemon's name alone does not tell.
bool SentByBusDaemon(sd_bus_message* m);
// The match for the bus daemon's word that the owner of `name` changed.
std::string NameOwnerMatch(const std::string& name);

enum class BusKind {
    kSession,  // $DBUS_SESSION_BUS_ADDRESS, else $XDG_RUNTIME_DIR/bus
    kSystem,   // $DBUS_SYSTEM_BUS_ADDRESS, else the system's socket
};

class BusLoop {
  public:
    // On the bus thread, once the connection is open: registers objects, matches and
    // calls. Their slots may float (they go with the connection). False closes it.
    using Attach = std::function<bool(sd_bus*)>;
    // On the bus thread when there is no bus, it could not be used, or it went away; not
    // when the loop is stopped. The loop goes on trying to connect (soon after a loss,
    // then every kMaxRetryMs at most) and runs Attach again when it does; Lost is called
    // once per outage.
    using Lost = std::function<void()>;
    using Task = std::function<void(sd_bus*)>;

    BusLoop(BusKind kind, Attach attach, Lost lost);
    ~BusLoop();
    BusLoop(const BusLoop&) = delete;
    BusLoop& operator=(const BusLoop&) = delete;

    // Runs `task` on the bus thread while it is connected (dropped otherwise).
    void Post(Task task);
    // Ends the thread; no handler runs after this returns. A handler blocked in a send to
    // the calling thread's windows is answered meanwhile.
    void Stop();

    static constexpr uint32_t kFirstRetryMs = 500;
    static constexpr uint32_t kMaxRetryMs = 30000;

  private:
    enum class Outcome { kStopped, kNoBus, kLost };
    void Run(Event& stop);
    Outcome ConnectAndServe(Event& stop);
    bool Serve(sd_bus* bus, Event& stop);
    bool WaitForBus(sd_bus* bus);
    void RunPosted(sd_bus* bus);

    BusKind kind_;
    Attach attach_;
    Lost lost_;
    hid::HidCancelEvent wake_;
    std::mutex mutex_;
    std::vector<Task> posted_;
    WorkerThread thread_{"bus"};
};

}  // namespace platform::bus
