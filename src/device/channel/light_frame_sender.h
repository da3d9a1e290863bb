#pragma once
// The light frames of one channel, sent by a thread of their own ("vk-frame"). Frames are
// computed on the UI thread's 50 ms timer, but sending one waits for the device's replies:
// up to a second a piece when the device stops answering, which the UI thread must never
// wait. The frame under way finishes; a newer frame waits behind it and replaces any frame
// still waiting there, since a device shows only the newest. After a frame the device
// failed, the next one waits kFailedFramePauseMs, so that a device that stops answering is
// not flooded.

#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/event.h"
#include "platform/worker_thread.h"

class LightFrameSender {
  public:
    // Sends one frame; 1 on success.
    using Send = std::function<int()>;
    static constexpr uint32_t kFailedFramePauseMs = 200;

    LightFrameSender() = default;
    ~LightFrameSender();
    LightFrameSender(const LightFrameSender&) = delete;
    LightFrameSender& operator=(const LightFrameSender&) = delete;

    // Queues `send` behind the frame under way; false when the thread cannot start.
    bool Post(Send send);
    // Forgets the frame waiting, if any.
    void Drop();
    // True once no frame waits or is under way; false after `timeoutMs`.
    bool WaitSent(uint32_t timeoutMs);
    // Ends the thread after the frame under way. Safe to call more than once.
    void Stop();

  private:
    void Run(platform::Event& stop);

    std::mutex mutex_;
    Send waiting_;          // guarded by mutex_
    bool sending_ = false;  // guarded by mutex_
    platform::Event posted_{false, false};
    platform::Event idle_{true, true};
    platform::WorkerThread thread_{"frame"};
};
