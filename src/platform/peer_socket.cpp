#include "platform/peer_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/window_messages.h"

namespace platform::peer {
namespace {

using Clock = std::chrono::steady_clock;

// How often a waiting thread looks for sends to its windows.
constexpr int kPumpSliceMs = 10;

bool FillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int ConnectRaw(int fd, const sockaddr_un& address) {
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    return result;
}

// True when `fd` is ready for `events` before the deadline.
bool WaitReady(int fd, short events, Deadline deadline) {
    for (;;) {
        PumpPendingSends();
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, kPumpSliceMs)));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

}  // namespace

UniqueFd BindListening(const std::string& path, int backlog) {
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        return UniqueFd();
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) {
        return UniqueFd();
    }
    const auto* raw = reinterpret_cast<const sockaddr*>(&address);
    if (::bind(fd.get(), raw, sizeof(address)) != 0) {
        if (errno != EADDRINUSE) {
            return UniqueFd();
        }
        // Someone's socket file: take its place only when nobody answers on it.
        UniqueFd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (probe.valid() && ConnectRaw(probe.get(), address) == 0) {
            errno = EADDRINUSE;
            return UniqueFd();
        }
        ::unlink(path.c_str());
        if (::bind(fd.get(), raw, sizeof(address)) != 0) {
            return UniqueFd();
        }
    }
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd.get(), backlog) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
        return UniqueFd();
    }
    return fd;
}

UniqueFd ConnectTo(const std::string& path, Deadline deadline) {
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        return UniqueFd();
    }
    // Non-blocking, so that a listener that has stopped accepting cannot hold the caller:
    // a full queue is tried again until the deadline.
    for (;;) {
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!fd.valid()) {
            return UniqueFd();
        }
        if (ConnectRaw(fd.get(), address) == 0) {
            return fd;
        }
        if (errno != EAGAIN || Clock::now() >= deadline) {
            return UniqueFd();
        }
        PumpPendingSends();
        std::this_thread::sleep_for(std::chrono::milliseconds(kPumpSliceMs));
    }
}

bool WriteAll(int fd, std::span<const uint8_t> bytes, Deadline deadline) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) ||
                   !WaitReady(fd, POLLOUT, deadline)) {
            return false;
        }
    }
    return true;
}

bool ReadExactly(int fd, std::span<uint8_t> bytes, Deadline deadline) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::recv(fd, bytes.data() + done, bytes.size() - done, MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) ||
                   !WaitReady(fd, POLLIN, deadline)) {
            return false;
        }
    }
    return true;
}

}  // namespace platform::peer
