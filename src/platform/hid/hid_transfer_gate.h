#pragma once
// What every bus handle needs around its transfers: waiting on the device, the caller's
// cancel event, the handle's own cancel and its closing at once; counting the transfers
// under way so that Close returns only when the last one has left.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hid_cancel_event.h"

namespace platform::hid {

class HidDeadline {
  public:
    explicit HidDeadline(uint32_t timeoutMs);
    // Milliseconds left for poll(): -1 for no limit, 0 once passed.
    int RemainingMs() const;

  private:
    bool infinite_;
    std::chrono::steady_clock::time_point end_;
};

class HidTransferGate {
  public:
    enum class Wake { kReady, kTimeout, kCancelled, kClosed, kError };

    HidTransferGate();
    ~HidTransferGate();
    HidTransferGate(const HidTransferGate&) = delete;
    HidTransferGate& operator=(const HidTransferGate&) = delete;

    // A transfer holds a ticket while it runs; an invalid ticket means the gate is closed.
    class Ticket {
      public:
        explicit Ticket(HidTransferGate& gate) : gate_(gate), entered_(gate.Enter()) {}
        ~Ticket() {
            if (entered_) {
                gate_.Leave();
            }
        }
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;
        explicit operator bool() const { return entered_; }

      private:
        HidTransferGate& gate_;
        bool entered_;
    };

    // Waits until `fd` (may be -1: nothing to wait for but the cancels) is ready for
    // `events`, a cancel arrives, the gate closes or the deadline passes. The caller's
    // event is looked at first and consumed when it ends the wait.
    Wake Wait(int fd, short events, HidCancelEvent* external, const HidDeadline& deadline);

    void Cancel() { cancel_.Set(); }
    // Wakes every waiter and returns once no transfer is under way.
    void Close();
    bool IsClosed() const;

  private:
    bool Enter();
    void Leave();

    HidCancelEvent cancel_;
    HidCancelEvent closing_;  // set once, never consumed
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    int active_ = 0;
    bool closed_ = false;
};

// The result of a transfer whose wait ended without the device being ready: a time-out,
// a cancel, or a failure (closed handle, device error).
HidIoResult UnreadyResult(HidTransferGate::Wake wake);

}  // namespace platform::hid
