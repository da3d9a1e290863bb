#pragma once
// A worker thread that is stopped, never killed: Stop sets the stop event, runs the
// owner's cancel hook (which wakes a pending HID transfer) and joins.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>

#include "platform/event.h"

namespace platform {

// Every worker is named this prefix and its role ("vk-light", "vk-capture": what ps, top
// and a debugger show), so that each thread's cost can be told apart and the program's
// own threads from those of the libraries and tools it runs with.
inline constexpr std::string_view kWorkerThreadPrefix = "vk-";
// Linux keeps 15 characters of a thread's name.
inline constexpr size_t kThreadNameLength = 15;

class WorkerThread {
  public:
    using Body = std::function<void(Event& stop)>;

    // `role` names the thread after the prefix; longer names are cut to what Linux keeps.
    explicit WorkerThread(std::string_view role);
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // False when a thread is already running. The stop event is reset here, before the
    // thread starts, so a Stop issued right after Start is never lost.
    bool Start(Body body);
    // Sets the stop event, calls `cancel` (if any) and waits up to `timeoutMs` for the
    // body to return, re-running `cancel` while waiting. The thread is then joined even
    // if late; true when it ended within the time-out.
    bool Stop(uint32_t timeoutMs = 1000, const std::function<void()>& cancel = {});
    bool IsRunning() const { return running_.load(); }
    Event& StopEvent() { return stop_; }

  private:
    std::array<char, kThreadNameLength + 1> name_{};
    Event stop_{true, false};
    Event finished_{true, false};
    std::thread thread_;
    std::atomic<bool> running_{false};
};

}  // namespace platform
