#pragma once
// An auto-reset event that poll() can wait on: an eventfd whose count is the signal.
// Setting it twice before anyone waits still releases one wait, as with a Windows
// auto-reset event.

namespace platform::hid {

class HidCancelEvent {
  public:
    HidCancelEvent();
    ~HidCancelEvent();
    HidCancelEvent(const HidCancelEvent&) = delete;
    HidCancelEvent& operator=(const HidCancelEvent&) = delete;

    void Set();
    void Reset() { TryConsume(); }
    // True when the event was signalled; it is not signalled afterwards.
    bool TryConsume();
    bool IsValid() const { return fd_ >= 0; }
    // Readable while signalled.
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
};

}  // namespace platform::hid
