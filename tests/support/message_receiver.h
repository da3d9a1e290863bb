#pragma once
// A window on a thread of its own that runs a message loop and records every message it
// is posted or sent, so that a test can wait for messages from other threads and
// processes without polling.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win_types.h"

namespace testing_support {

struct ReceivedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class MessageReceiver {
  public:
    explicit MessageReceiver(const std::wstring& title = L"receiver");
    ~MessageReceiver();
    MessageReceiver(const MessageReceiver&) = delete;
    MessageReceiver& operator=(const MessageReceiver&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The messages received so far with that id, once there are at least `count` of them
    // or `timeoutMs` has passed.
    std::vector<ReceivedMessage> WaitFor(UINT message, size_t count, int timeoutMs);

  private:
    void Run(const std::wstring& title);
    std::vector<ReceivedMessage> MatchingLocked(UINT message) const;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ReceivedMessage> received_;
    HWND hwnd_ = nullptr;
    bool ready_ = false;
    std::thread thread_;
};

}  // namespace testing_support
