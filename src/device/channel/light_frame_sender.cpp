#include "device/channel/light_frame_sender.h"

LightFrameSender::~LightFrameSender() {
    Stop();
}

bool LightFrameSender::Post(Send send) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.IsRunning() && !thread_.Start([this](platform::Event& stop) { Run(stop); })) {
            return false;
        }
        waiting_ = std::move(send);
        idle_.Reset();
    }
    // Told once the lock is let go: the sender takes it first thing when it wakes.
    posted_.Set();
    return true;
}

void LightFrameSender::Drop() {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_ = nullptr;
    if (!sending_) {
        idle_.Set();
    }
}

bool LightFrameSender::WaitSent(uint32_t timeoutMs) {
    return idle_.Wait(timeoutMs) == platform::kWaitObject0;
}

void LightFrameSender::Stop() {
    Drop();
    thread_.Stop();
}

void LightFrameSender::Run(platform::Event& stop) {
    platform::Event* const events[] = {&stop, &posted_};
    while (platform::Event::WaitAny(events, platform::kInfinite) == platform::kWaitObject0 + 1) {
        Send send;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            send = std::move(waiting_);
            waiting_ = nullptr;
            sending_ = send != nullptr;
        }
        const int result = send ? send() : 1;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            sending_ = false;
            if (!waiting_) {
                idle_.Set();
            }
        }
        if (result != 1 && stop.Wait(kFailedFramePauseMs) == platform::kWaitObject0) {
            break;
        }
    }
}
