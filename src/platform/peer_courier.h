#pragma once
// Errands to the user's other programs, run for the UI thread on a thread of their own:
// a lookup or a send that waits on another process (one that is stopped, busy or gone)
// then never holds the window up. Errands run one at a time in the order posted; at most
// kMaxWaiting wait, and an errand posted beyond that is dropped, so a flood of requests
// costs a bounded amount of memory and time. The thread sleeps until an errand comes.

#include <deque>
#include <functional>
#include <mutex>

#include "platform/event.h"
#include "platform/worker_thread.h"

namespace platform {

class PeerCourier {
  public:
    // Given the courier's stop event: a long errand checks it between its steps.
    using Errand = std::function<void(Event& stop)>;
    static constexpr size_t kMaxWaiting = 16;

    PeerCourier();
    // Stops after the running errand's current step; waiting errands are dropped.
    ~PeerCourier();
    PeerCourier(const PeerCourier&) = delete;
    PeerCourier& operator=(const PeerCourier&) = delete;

    // False when the errand was dropped (too many wait, or the courier has stopped).
    bool Post(Errand errand);

  private:
    void Run(Event& stop);

    std::mutex mutex_;
    std::deque<Errand> waiting_;
    Event posted_{false, false};
    WorkerThread thread_{"peers"};
};

}  // namespace platform
