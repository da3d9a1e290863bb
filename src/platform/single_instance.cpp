#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/paths.h"
#include "platform/peer_listener.h"
#include "platform/peer_socket.h"
#include "platform/peer_wire.h"
#include "platform/text_convert.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// Between tries of a start that finds the first instance not yet listening.
constexpr auto kRetryPause = std::chrono::milliseconds(50);

}  // namespace

SingleInstance::SingleInstance(std::wstring_view name) : name_(name) {
    const std::string folder = RuntimePath();
    if (const std::string problem = RuntimeFolderProblem(folder); !problem.empty()) {
        error_ = "the runtime folder " + folder + " " + problem;
        return;
    }
    TryLock();
}

void SingleInstance::TryLock() {
    const std::string path = LockPath(name_);
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail("cannot open the lock file " + path, errno);
        return;
    }
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            state_ = State::kRunning;
        } else {
            Fail("cannot lock " + path, error);
        }
        return;
    }
    lockFd_ = fd;
    state_ = State::kFirst;
}

bool SingleInstance::WaitToBeFirst(uint32_t timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (state_ == State::kRunning && Clock::now() < deadline) {
        std::this_thread::sleep_for(kRetryPause);
        TryLock();
    }
    return IsFirst();
}

void SingleInstance::Fail(const std::string& what, int error) {
    state_ = State::kFailed;
    error_ = what + ": " + std::strerror(error);
}

SingleInstance::~SingleInstance() {
    listener_.reset();
    if (lockFd_ >= 0) {
        ::flock(lockFd_, LOCK_UN);
        ::close(lockFd_);
    }
}

bool SingleInstance::Listen(HWND target, std::vector<std::wstring> accepted) {
    if (!IsFirst() || listener_) {
        return false;
    }
    PeerListener::Options options;
    options.target = target;
    options.acceptedMessages = std::move(accepted);
    auto listener = std::make_unique<PeerListener>(std::move(options));
    if (!listener->Start(SocketPath(name_))) {
        error_ = "cannot listen on " + SocketPath(name_) + ": " + std::strerror(errno);
        return false;
    }
    listener_ = std::move(listener);
    return true;
}

bool SingleInstance::SendToRunning(std::wstring_view name, std::wstring_view message, WPARAM wParam,
                                   LPARAM lParam, uint32_t timeoutMs) {
    const std::vector<uint8_t> record =
        peer::EncodeMessage(message, static_cast<int64_t>(wParam), static_cast<int64_t>(lParam));
    if (record.empty()) {
        return false;
    }
    const std::string path = SocketPath(name);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        UniqueFd fd = peer::ConnectTo(path, deadline);
        if (fd.valid() && peer::WriteAll(fd.get(), record, deadline)) {
            // A closing instance says no, and one that says nothing in time is hung; one
            // that closes without a word took it.
            std::array<uint8_t, peer::kResultBytes> answer{};
            if (peer::ReadExactly(fd.get(), answer, deadline)) {
                return peer::DecodeResult(answer) != 0;
            }
            uint8_t byte = 0;
            return ::recv(fd.get(), &byte, 1, MSG_DONTWAIT | MSG_PEEK) == 0;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

std::string SingleInstance::SocketPath(std::wstring_view name) {
    return RuntimePath() + Utf8Encode(std::wstring(name)) + ".sock";
}

std::string SingleInstance::LockPath(std::wstring_view name) {
    return RuntimePath() + Utf8Encode(std::wstring(name)) + ".lock";
}

}  // namespace platform
