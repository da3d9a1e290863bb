#include "platform/worker_thread.h"

#include <pthread.h>

#include "platform/debug_trace.h"

namespace platform {

WorkerThread::WorkerThread(std::string_view role) {
    size_t length = 0;
    for (std::string_view part : {kWorkerThreadPrefix, role}) {
        for (char c : part) {
            if (length < kThreadNameLength) {
                name_[length++] = c;
            }
        }
    }
}

WorkerThread::~WorkerThread() {
    Stop();
}

bool WorkerThread::Start(Body body) {
    if (thread_.joinable()) {
        if (running_.load())
            return false;
        thread_.join();
    }
    stop_.Reset();
    finished_.Reset();
    running_.store(true);
    thread_ = std::thread([this, body = std::move(body)] {
        pthread_setname_np(pthread_self(), name_.data());
        body(stop_);
        running_.store(false);
        finished_.Set();
    });
    return true;
}

bool WorkerThread::Stop(uint32_t timeoutMs, const std::function<void()>& cancel) {
    if (!thread_.joinable())
        return true;
    stop_.Set();
    bool inTime = false;
    // Re-cancel in short slices: a cancel issued just before the worker entered its
    // transfer would otherwise be missed.
    for (uint32_t waited = 0; waited <= timeoutMs; waited += 10) {
        if (cancel)
            cancel();
        if (finished_.Wait(10) == kWaitObject0) {
            inTime = true;
            break;
        }
    }
    if (!inTime) {
        DebugTrace(L"worker thread did not stop in time; waiting for it to finish\n");
        while (finished_.Wait(100) != kWaitObject0) {
            if (cancel)
                cancel();
        }
    }
    thread_.join();
    return inTime;
}

}  // namespace platform
