#pragma once
// Wakes the UI thread when the display connection has input, so that the thread's one
// message loop sleeps in GetMessage until a message, a timer or a desktop event arrives.
// The UI thread's own wait watches the connection (no thread of its own): it is armed once
// the thread has read every pending event and fires once per arming, so it never spins
// while the UI thread is busy. Made, armed and dropped on the UI thread.

#include <functional>

namespace DuiLib::sdl {

class DisplayWatcher {
  public:
    // `wake` runs on the UI thread, inside its message wait (it only posts a message).
    DisplayWatcher(int displayFd, std::function<void()> wake);
    ~DisplayWatcher();
    DisplayWatcher(const DisplayWatcher&) = delete;
    DisplayWatcher& operator=(const DisplayWatcher&) = delete;

    bool IsRunning() const { return m_watching; }
    void Arm();
    // The UI thread is about to talk to the display itself, and reads its replies: until
    // the next Arm, input on the connection wakes nobody.
    void Pause();

  private:
    bool m_watching = false;
};

}  // namespace DuiLib::sdl
