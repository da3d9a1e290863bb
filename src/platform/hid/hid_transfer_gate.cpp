#include "platform/hid/hid_transfer_gate.h"

#include <poll.h>

#include <cerrno>
#include <limits>

namespace platform::hid {

HidDeadline::HidDeadline(uint32_t timeoutMs)
    : infinite_(timeoutMs == 0xFFFFFFFFu),
      end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}

int HidDeadline::RemainingMs() const {
    if (infinite_) {
        return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          end_ - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
        return 0;
    }
    return left > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                  : static_cast<int>(left);
}

HidTransferGate::HidTransferGate() = default;

HidTransferGate::~HidTransferGate() {
    Close();
}

bool HidTransferGate::Enter() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
        return false;
    }
    ++active_;
    return true;
}

void HidTransferGate::Leave() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--active_ == 0) {
        idle_.notify_all();
    }
}

bool HidTransferGate::IsClosed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

void HidTransferGate::Close() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!closed_) {
        closed_ = true;
        closing_.Set();
    }
    idle_.wait(lock, [this] { return active_ == 0; });
}

HidTransferGate::Wake HidTransferGate::Wait(int fd, short events, HidCancelEvent* external,
                                            const HidDeadline& deadline) {
    for (;;) {
        pollfd fds[4];
        nfds_t count = 0;
        const int externalAt = external != nullptr ? static_cast<int>(count) : -1;
        if (external != nullptr) {
            fds[count++] = {external->fd(), POLLIN, 0};
        }
        const int cancelAt = static_cast<int>(count);
        fds[count++] = {cancel_.fd(), POLLIN, 0};
        const int closingAt = static_cast<int>(count);
        fds[count++] = {closing_.fd(), POLLIN, 0};
        const int ioAt = fd >= 0 ? static_cast<int>(count) : -1;
        if (fd >= 0) {
            fds[count++] = {fd, events, 0};
        }
        const int ready = poll(fds, count, deadline.RemainingMs());
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Wake::kError;
        }
        if (ready == 0) {
            return Wake::kTimeout;
        }
        if (externalAt >= 0 && (fds[externalAt].revents & POLLIN) && external->TryConsume()) {
            return Wake::kCancelled;
        }
        if ((fds[cancelAt].revents & POLLIN) && cancel_.TryConsume()) {
            return Wake::kCancelled;
        }
        if (fds[closingAt].revents & POLLIN) {
            return Wake::kClosed;
        }
        if (ioAt >= 0 && fds[ioAt].revents != 0) {
            return (fds[ioAt].revents & (POLLERR | POLLHUP | POLLNVAL)) &&
                           !(fds[ioAt].revents & events)
                       ? Wake::kError
                       : Wake::kReady;
        }
        // A cancel consumed by another waiter between poll and read: wait again.
    }
}

HidIoResult UnreadyResult(HidTransferGate::Wake wake) {
    switch (wake) {
        case HidTransferGate::Wake::kTimeout:
            return {HidIoStatus::kTimeout, 0};
        case HidTransferGate::Wake::kCancelled:
            return {HidIoStatus::kCancelled, 0};
        default:
            return {HidIoStatus::kFailed, 0};
    }
}

}  // namespace platform::hid
