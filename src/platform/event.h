#pragma once
// Windows-style events: manual- or auto-reset, waitable alone or several at once.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace platform {

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr uint32_t kWaitObject0 = 0;
inline constexpr uint32_t kWaitTimeout = 258;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFFu;

class Event {
  public:
    explicit Event(bool manualReset = false, bool initialState = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // kWaitObject0 when signalled (an auto-reset event is consumed), kWaitTimeout otherwise.
    uint32_t Wait(uint32_t ms);
    // kWaitObject0 + index of the first signalled event, kWaitTimeout, or kWaitFailed
    // for an empty list.
    static uint32_t WaitAny(std::span<Event* const> events, uint32_t ms);

  private:
    // A waiter is the word it sleeps on: Set marks it and wakes its sleeper.
    using Waiter = std::atomic<uint32_t>;
    bool TryConsumeLocked();
    void AddWaiter(Waiter* waiter);
    void RemoveWaiter(Waiter* waiter);

    mutable std::mutex mutex_;
    bool manualReset_;
    bool signalled_;
    std::vector<Waiter*> waiters_;
};

}  // namespace platform
