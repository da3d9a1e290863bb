#include "platform/peer_courier.h"

#include <array>

#include "platform/debug_trace.h"
#include "platform/pumping_wait.h"

namespace platform {

PeerCourier::PeerCourier() {
    thread_.Start([this](Event& stop) { Run(stop); });
}

PeerCourier::~PeerCourier() {
    // An errand may be sending to this thread's windows: those sends are answered while
    // the courier stops.
    StopWorkerPumpingSends(thread_, 3000, {});
}

bool PeerCourier::Post(Errand errand) {
    {
        std::lock_guard lock(mutex_);
        if (!thread_.IsRunning() || waiting_.size() >= kMaxWaiting) {
            DebugTrace(L"peers: an errand to other programs was dropped\n");
            return false;
        }
        waiting_.push_back(std::move(errand));
    }
    posted_.Set();
    return true;
}

void PeerCourier::Run(Event& stop) {
    std::array<Event*, 2> events{&stop, &posted_};
    while (Event::WaitAny(events, kInfinite) != kWaitObject0) {
        for (;;) {
            Errand errand;
            {
                std::lock_guard lock(mutex_);
                if (waiting_.empty() || stop.IsSet()) {
                    break;
                }
                errand = std::move(waiting_.front());
                waiting_.pop_front();
            }
            errand(stop);
        }
    }
}

}  // namespace platform
