#include "support/message_receiver.h"

#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace testing_support {
namespace {

constexpr UINT kStopMessage = WM_APP + 0x3F0;

}  // namespace

MessageReceiver::MessageReceiver(const std::wstring& title) {
    thread_ = std::thread([this, title] { Run(title); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_; });
}

MessageReceiver::~MessageReceiver() {
    platform::PostMessage(hwnd_, kStopMessage, 0, 0);
    thread_.join();
}

void MessageReceiver::Run(const std::wstring& title) {
    platform::WindowCreateParams params;
    params.className = L"MessageReceiver";
    params.title = title;
    const HWND hwnd = platform::CreateWindowHandle(
        params, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == kStopMessage) {
                platform::PostQuitMessage(0);
                return 0;
            }
            {
                std::lock_guard lock(mutex_);
                received_.push_back({message, wParam, lParam});
            }
            changed_.notify_all();
            return 0;
        });
    {
        std::lock_guard lock(mutex_);
        hwnd_ = hwnd;
        ready_ = true;
    }
    changed_.notify_all();
    MSG msg;
    while (platform::GetMessage(&msg)) {
        platform::DispatchMessage(&msg);
    }
    platform::DestroyWindow(hwnd);
}

std::vector<ReceivedMessage> MessageReceiver::MatchingLocked(UINT message) const {
    std::vector<ReceivedMessage> matching;
    for (const ReceivedMessage& received : received_) {
        if (received.message == message) {
            matching.push_back(received);
        }
    }
    return matching;
}

std::vector<ReceivedMessage> MessageReceiver::WaitFor(UINT message, size_t count, int timeoutMs) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return MatchingLocked(message).size() >= count; });
    return MatchingLocked(message);
}

}  // namespace testing_support
