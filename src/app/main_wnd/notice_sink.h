#pragma once
// The main window's end of the user notices. A notice may be told on any thread: the sink
// queues it and posts its window a message, and the window, on its own thread, takes
// every pending notice at once to show them together.

#include <mutex>
#include <vector>

#include "platform/user_notice.h"
#include "platform/win_types.h"

// Posted to the window when a first notice is pending.
inline constexpr UINT WM_USER_NOTICE = 0xC20;

class WindowNoticeSink final : public platform::UserNoticeSink {
  public:
    // Installs itself as the process's sink; notices told before reach it at once.
    explicit WindowNoticeSink(HWND window);
    // Gives the process its previous sink back: nothing is posted to a window that goes.
    ~WindowNoticeSink() override;
    WindowNoticeSink(const WindowNoticeSink&) = delete;
    WindowNoticeSink& operator=(const WindowNoticeSink&) = delete;

    void Tell(const platform::UserNotice& notice) override;
    // The notices told since the last call, oldest first; the next one posts again.
    std::vector<platform::UserNotice> TakePending();

  private:
    HWND window_;
    std::mutex mutex_;
    std::vector<platform::UserNotice> pending_;
    bool posted_ = false;
    platform::UserNoticeSink* previous_ = nullptr;
};
