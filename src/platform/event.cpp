#include "platform/event.h"

#include <algorithm>
#include <chrono>

namespace platform {

// A waiter blocked in WaitAny: each event it waits on knows it and wakes it on Set.
struct Event::Waiter {
    std::mutex mutex;
    std::condition_variable wake;
    bool poked = false;

    // Told after the lock is let go: a waiter woken while it is held would only wake to
    // block on it, and be woken a second time by the release. The waiter outlives the call:
    // it leaves the event's list only under the event's lock, which the caller holds.
    void Poke() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            poked = true;
        }
        wake.notify_all();
    }
};

Event::Event(bool manualReset, bool initialState)
    : manualReset_(manualReset), signalled_(initialState) {}

Event::~Event() = default;

void Event::Set() {
    std::vector<Waiter*> waiters;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
        waiters = waiters_;
        // Poke while holding our lock so that no waiter can unregister and die meanwhile.
        for (Waiter* waiter : waiters)
            waiter->Poke();
    }
}

void Event::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
}

bool Event::IsSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return signalled_;
}

bool Event::TryConsumeLocked() {
    if (!signalled_)
        return false;
    if (!manualReset_)
        signalled_ = false;
    return true;
}

void Event::AddWaiter(Waiter* waiter) {
    std::lock_guard<std::mutex> lock(mutex_);
    waiters_.push_back(waiter);
}

void Event::RemoveWaiter(Waiter* waiter) {
    std::lock_guard<std::mutex> lock(mutex_);
    waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

uint32_t Event::Wait(uint32_t ms) {
    Event* self = this;
    return WaitAny(std::span<Event* const>(&self, 1), ms);
}

uint32_t Event::WaitAny(std::span<Event* const> events, uint32_t ms) {
    if (events.empty())
        return kWaitFailed;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    Waiter waiter;
    for (Event* event : events)
        event->AddWaiter(&waiter);
    uint32_t result = kWaitTimeout;
    for (;;) {
        for (size_t i = 0; i < events.size(); ++i) {
            std::lock_guard<std::mutex> lock(events[i]->mutex_);
            if (events[i]->TryConsumeLocked()) {
                result = kWaitObject0 + static_cast<uint32_t>(i);
                break;
            }
        }
        if (result != kWaitTimeout)
            break;
        std::unique_lock<std::mutex> lock(waiter.mutex);
        if (!waiter.poked) {
            if (ms == kInfinite) {
                waiter.wake.wait(lock, [&] { return waiter.poked; });
            } else if (!waiter.wake.wait_until(lock, deadline, [&] { return waiter.poked; })) {
                break;
            }
        }
        waiter.poked = false;
    }
    for (Event* event : events)
        event->RemoveWaiter(&waiter);
    return result;
}

}  // namespace platform
