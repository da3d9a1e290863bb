#pragma once
// SIGTERM, SIGINT and SIGHUP ask a window to close exactly as the desktop's close request
// does, so that the end of a session (which may send SIGTERM and SIGHUP together) stops the
// worker threads, hands the devices back and saves cleanly.

#include <memory>

#include "platform/win_types.h"

// Construct before any other thread starts: the signals are blocked in the constructing
// thread and in every thread started after it.
class ShutdownSignals {
  public:
    ShutdownSignals();
    ~ShutdownSignals();
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // The window to close; a signal that came before it is delivered now.
    void SetTarget(HWND target);
    // True once any of the signals came.
    bool Received() const;

  private:
    class Watcher;
    std::unique_ptr<Watcher> watcher_;
};
