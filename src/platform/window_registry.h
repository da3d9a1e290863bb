#pragma once
// Internal to the window layer: the process window table and the per-thread message
// queues that window_handles.cpp and window_messages.cpp share.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/event.h"
#include "platform/window_handles.h"

namespace platform::detail {

using SteadyTime = std::chrono::steady_clock::time_point;

struct PostedMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct SendRequest {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool isCopyData = false;
    ULONG_PTR copyKind = 0;
    std::vector<uint8_t> copyBytes;
    LRESULT result = 0;
    Event done{true, false};
    // Called on the window's thread with the answer, for a sender that does not wait.
    std::function<void(LRESULT)> completion;
};

struct TimerEntry {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    std::chrono::milliseconds interval{0};
    SteadyTime due{};
};

// One per thread that owns windows or runs a message loop.
struct ThreadQueue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<PostedMessage> posted;
    std::deque<std::shared_ptr<SendRequest>> sends;
    std::vector<TimerEntry> timers;
    bool quit = false;
    int quitCode = 0;
    Event sendArrived{false, false};
    std::thread::id owner;
    // A descriptor the owner's message wait watches too (see WatchThreadDescriptor): read
    // and changed by the owner thread alone.
    struct DescriptorWatch {
        int fd = -1;
        bool armed = false;
        std::function<void()> onReadable;
    };
    DescriptorWatch watch;
    // An eventfd that interrupts a wait on the watched descriptor: made with the first
    // watch and kept until the queue goes, so that a thread waking the queue never writes
    // to a descriptor closed and reused meanwhile.
    std::atomic<int> wakeFd{-1};

    ThreadQueue() = default;
    ~ThreadQueue();
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;
    // Tells the owner's wait that the queue changed; called after the change, unlocked.
    void Wake();
};

struct WindowEntry {
    uintptr_t id = 0;
    std::shared_ptr<ThreadQueue> queue;
    WindowProc proc;
    std::atomic<bool> closing{false};
    std::mutex stateMutex;  // guards the fields below
    std::wstring className;
    std::wstring title;
    HWND owner = nullptr;
    RECT rect{};
    bool visible = false;
    bool iconic = false;
    bool zoomed = false;
    bool enabled = true;
    bool invalidated = false;
};

std::shared_ptr<ThreadQueue> CurrentThreadQueue();
std::shared_ptr<WindowEntry> FindEntry(HWND hwnd);
void AddEntry(const std::shared_ptr<WindowEntry>& entry);
void RemoveEntry(HWND hwnd);
std::vector<std::shared_ptr<WindowEntry>> AllEntries();
uintptr_t NextWindowId();

inline HWND ToHandle(uintptr_t id) {
    return reinterpret_cast<HWND>(id);
}

// Gives the sender its answer: the waiting one wakes, a callback is called.
void CompleteSend(SendRequest& request, LRESULT result);

// Drops what the queue holds for a window and answers its blocked senders with 0.
void ReleaseWindowMessages(const std::shared_ptr<WindowEntry>& entry);

}  // namespace platform::detail
