#pragma once
// Wakes the UI thread when the display connection has input, so that the thread's one
// message loop sleeps in GetMessage until a message, a timer or a desktop event arrives.
// The watcher is armed by the UI thread once it has read every pending event and fires
// once per arming: it never spins while the UI thread is busy.

#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/worker_thread.h"

namespace DuiLib::sdl {

class DisplayWatcher {
  public:
    // `wake` runs on the watcher thread (it only posts a message).
    DisplayWatcher(int displayFd, std::function<void()> wake);
    ~DisplayWatcher();
    DisplayWatcher(const DisplayWatcher&) = delete;
    DisplayWatcher& operator=(const DisplayWatcher&) = delete;

    bool IsRunning() const { return m_thread.IsRunning(); }
    void Arm();
    // The UI thread is about to talk to the display itself, and reads its replies: until
    // the next Arm, input on the connection wakes nobody.
    void Pause();

  private:
    void Run(platform::Event& stop);
    // True when armed; false when told to stop.
    bool WaitArmed(platform::Event& stop);

    int m_displayFd;
    int m_stopFd = -1;
    std::function<void()> m_wake;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_armed = false;
    bool m_stopping = false;
    platform::WorkerThread m_thread{"x11watch"};
};

}  // namespace DuiLib::sdl
