#include "platform/thread_descriptor_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <thread>

namespace platform {
namespace detail {

ThreadQueue::~ThreadQueue() {
    if (const int fd = wakeFd.load(); fd >= 0) {
        ::close(fd);
    }
}

void ThreadQueue::Wake() {
    wake.notify_all();
    // The owner changing its own queue is not waiting: it looks at the queue again before
    // it waits (a frame's timer re-armed by its own handler costs no syscall).
    if (std::this_thread::get_id() == owner) {
        return;
    }
    if (const int fd = wakeFd.load(); fd >= 0) {
        const uint64_t one = 1;
        // A full counter already wakes the wait.
        [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
    }
}

namespace {

// The time left until `next`, for ppoll; null (no limit) when there is no timer.
const timespec* TimeoutUntil(SteadyTime next, timespec& storage) {
    if (next == SteadyTime::max()) {
        return nullptr;
    }
    using namespace std::chrono;
    const auto left =
        std::max(nanoseconds(0), duration_cast<nanoseconds>(next - steady_clock::now()));
    storage.tv_sec = static_cast<time_t>(duration_cast<seconds>(left).count());
    storage.tv_nsec = static_cast<long>((left % seconds(1)).count());
    return &storage;
}

}  // namespace

void WaitWatching(ThreadQueue& queue, SteadyTime next) {
    const int wakeFd = queue.wakeFd.load();
    std::array<pollfd, 2> fds{pollfd{wakeFd, POLLIN, 0}, pollfd{queue.watch.fd, POLLIN, 0}};
    timespec storage{};
    if (::ppoll(fds.data(), fds.size(), TimeoutUntil(next, storage), nullptr) <= 0) {
        return;  // a timer is due, or a signal came: the loop looks again
    }
    if (fds[0].revents != 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeFd, &count, sizeof count);
    }
    const short input = fds[1].revents;
    if (input == 0) {
        return;
    }
    queue.watch.armed = false;
    // The handler may end or replace the watch: it runs on a copy.
    const std::function<void()> onReadable = queue.watch.onReadable;
    if ((input & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        queue.watch = ThreadQueue::DescriptorWatch{};
    }
    if (onReadable) {
        onReadable();
    }
}

}  // namespace detail

bool WatchThreadDescriptor(int fd, std::function<void()> onReadable) {
    auto queue = detail::CurrentThreadQueue();
    queue->watch = detail::ThreadQueue::DescriptorWatch{};
    if (fd < 0) {
        return true;
    }
    if (queue->wakeFd.load() < 0) {
        const int made = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (made < 0) {
            return false;
        }
        queue->wakeFd.store(made);
    }
    queue->watch.fd = fd;
    queue->watch.onReadable = std::move(onReadable);
    return true;
}

void ArmThreadDescriptorWatch(bool armed) {
    auto queue = detail::CurrentThreadQueue();
    queue->watch.armed = armed && queue->watch.fd >= 0;
}

}  // namespace platform
