#include "platform/event.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

#include "platform/short_copy.h"

namespace platform {

namespace {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) &&
                  std::atomic<uint32_t>::is_always_lock_free,
              "a waiter's word is handed to the kernel as a plain 32-bit word");

uint32_t* KernelWord(std::atomic<uint32_t>* word) {
    return reinterpret_cast<uint32_t*>(word);
}

timespec DeadlineAfter(uint32_t ms) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(ms / 1000);
    deadline.tv_nsec += static_cast<long>(ms % 1000) * 1'000'000L;
    if (deadline.tv_nsec >= 1'000'000'000L) {
        ++deadline.tv_sec;
        deadline.tv_nsec -= 1'000'000'000L;
    }
    return deadline;
}

// Sleeps while `word` holds `expected`, until woken or the monotonic `deadline` (none:
// no end); false once the deadline has passed.
bool SleepWhile(std::atomic<uint32_t>& word, uint32_t expected, const timespec* deadline) {
    const long result = syscall(SYS_futex, KernelWord(&word), FUTEX_WAIT_BITSET_PRIVATE, expected,
                                deadline, nullptr, FUTEX_BITSET_MATCH_ANY);
    return result == 0 || errno != ETIMEDOUT;
}

// The kernel only looks the address up among its sleepers and never reads it, so a word
// whose waiter has already returned is safe to name: at worst a later sleeper on the
// same address wakes early, and every sleeper here looks again before it sleeps on.
void WakeAll(std::atomic<uint32_t>* word) {
    syscall(SYS_futex, KernelWord(word), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

}  // namespace

Event::Event(bool manualReset, bool initialState)
    : manualReset_(manualReset), signalled_(initialState) {}

Event::~Event() = default;

void Event::Set() {
    // The sleepers are woken once the lock is let go: woken under it, each would only
    // run to block on it and be woken a second time by the release.
    ShortCopy<Waiter*, 8> woken;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
        for (Waiter* waiter : waiters_)
            waiter->store(1, std::memory_order_release);
        woken.Assign(waiters_);
    }
    for (Waiter* waiter : woken.Items())
        WakeAll(waiter);
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
    std::optional<timespec> deadline;
    if (ms != kInfinite)
        deadline = DeadlineAfter(ms);
    Waiter waiter{0};
    for (Event* event : events)
        event->AddWaiter(&waiter);
    uint32_t result = kWaitTimeout;
    for (;;) {
        // Cleared before the events are looked at: a Set after the look pokes the word
        // again, and the sleep below then returns at once.
        waiter.store(0, std::memory_order_relaxed);
        for (size_t i = 0; i < events.size() && result == kWaitTimeout; ++i) {
            std::lock_guard<std::mutex> lock(events[i]->mutex_);
            if (events[i]->TryConsumeLocked())
                result = kWaitObject0 + static_cast<uint32_t>(i);
        }
        if (result != kWaitTimeout || ms == 0)
            break;
        if (!SleepWhile(waiter, 0, deadline ? &*deadline : nullptr))
            break;
    }
    for (Event* event : events)
        event->RemoveWaiter(&waiter);
    return result;
}

}  // namespace platform
