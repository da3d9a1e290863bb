#include "app/main_wnd/notice_sink.h"

#include <utility>

#include "platform/window_messages.h"

WindowNoticeSink::WindowNoticeSink(HWND window) : window_(window) {
    // Installed once the members exist: the held notices are told at once.
    previous_ = platform::SetUserNoticeSink(this);
}

WindowNoticeSink::~WindowNoticeSink() {
    platform::SetUserNoticeSink(previous_);
}

void WindowNoticeSink::Tell(const platform::UserNotice& notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.push_back(notice);
    // One message for a burst: the window takes them all when it gets to it.
    if (!posted_)
        posted_ = platform::PostMessage(window_, WM_USER_NOTICE, 0, 0) != FALSE;
}

std::vector<platform::UserNotice> WindowNoticeSink::TakePending() {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_ = false;
    return std::exchange(pending_, {});
}
