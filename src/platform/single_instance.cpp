#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <thread>

#include "platform/paths.h"
#include "platform/text_convert.h"
#include "platform/unique_fd.h"
#include "platform/window_messages.h"
#include "platform/worker_thread.h"

namespace platform {
namespace {

constexpr uint32_t kMagic = 0x524B4C56;  // "VLKR"
constexpr size_t kNameBytes = 64;
constexpr int kReadTimeoutMs = 200;

// What one connection carries: a registered message name and its two values.
struct WireMessage {
    uint32_t magic = kMagic;
    uint32_t reserved = 0;
    char name[kNameBytes] = {};
    int64_t wParam = 0;
    int64_t lParam = 0;
};

bool FillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Reads exactly `size` bytes, giving up after kReadTimeoutMs without progress.
bool ReadFully(int fd, void* buffer, size_t size) {
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < size) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kReadTimeoutMs) <= 0) {
            return false;
        }
        ssize_t n = ::read(fd, out + done, size - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The name field must be a terminated, non-empty UTF-8 text.
bool ReadName(const WireMessage& wire, std::wstring& name) {
    const void* end = std::memchr(wire.name, '\0', kNameBytes);
    if (end == nullptr || end == wire.name) {
        return false;
    }
    name = Utf8Decode(std::string(wire.name, static_cast<const char*>(end)));
    return !name.empty();
}

bool TrySend(const std::string& path, const WireMessage& wire) {
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        return false;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) {
        return false;
    }
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        return false;
    }
    return ::send(fd.get(), &wire, sizeof(wire), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(sizeof(wire));
}

}  // namespace

class SingleInstance::Listener {
  public:
    Listener(HWND target, std::vector<std::wstring> accepted)
        : target_(target), accepted_(std::move(accepted)), wake_(::eventfd(0, EFD_CLOEXEC)) {}
    ~Listener() {
        thread_.Stop(1000, [this] { Wake(); });
        if (socketFd_ >= 0) {
            ::close(socketFd_);
            ::unlink(path_.c_str());
        }
    }

    bool Start(const std::string& path) {
        sockaddr_un address{};
        if (wake_.get() < 0 || !FillAddress(path, address)) {
            return false;
        }
        ::unlink(path.c_str());  // left behind by an instance that did not end cleanly
        socketFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socketFd_ < 0) {
            return false;
        }
        path_ = path;
        if (::bind(socketFd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::chmod(path.c_str(), 0600) != 0 || ::listen(socketFd_, 4) != 0) {
            return false;
        }
        return thread_.Start([this](Event& stop) { Run(stop); });
    }

  private:
    void Wake() {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_.get(), &one, sizeof(one));
    }

    void Run(Event& stop) {
        while (!stop.IsSet()) {
            pollfd fds[2] = {{socketFd_, POLLIN, 0}, {wake_.get(), POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) {
                continue;  // woken for the stop, or interrupted: the loop test decides
            }
            if ((fds[0].revents & POLLIN) != 0) {
                UniqueFd client(::accept4(socketFd_, nullptr, nullptr, SOCK_CLOEXEC));
                if (client.get() >= 0) {
                    Handle(client.get());
                }
            }
        }
    }

    void Handle(int client) {
        WireMessage wire;
        std::wstring name;
        if (!ReadFully(client, &wire, sizeof(wire)) || wire.magic != kMagic ||
            !ReadName(wire, name)) {
            return;
        }
        auto same = [&name](const std::wstring& accepted) {
            return accepted.size() == name.size() &&
                   std::equal(accepted.begin(), accepted.end(), name.begin(),
                              [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); });
        };
        if (std::none_of(accepted_.begin(), accepted_.end(), same)) {
            return;
        }
        PostMessage(target_, RegisterWindowMessage(name), static_cast<WPARAM>(wire.wParam),
                    static_cast<LPARAM>(wire.lParam));
    }

    HWND target_;
    std::vector<std::wstring> accepted_;
    UniqueFd wake_;
    int socketFd_ = -1;
    std::string path_;
    WorkerThread thread_;
};

SingleInstance::SingleInstance(std::wstring_view name) : name_(name) {
    const std::string path = LockPath(name);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    lockFd_ = fd;
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
    auto listener = std::make_unique<Listener>(target, std::move(accepted));
    if (!listener->Start(SocketPath(name_))) {
        return false;
    }
    listener_ = std::move(listener);
    return true;
}

namespace {

bool MakeWire(std::wstring_view message, WPARAM wParam, LPARAM lParam, WireMessage& wire) {
    const std::string encoded = Utf8Encode(std::wstring(message));
    if (encoded.empty() || encoded.size() >= kNameBytes) {
        return false;
    }
    std::memcpy(wire.name, encoded.data(), encoded.size());
    wire.wParam = static_cast<int64_t>(wParam);
    wire.lParam = static_cast<int64_t>(lParam);
    return true;
}

}  // namespace

int SingleInstance::BroadcastToPeers(std::wstring_view ownName, std::wstring_view message,
                                     WPARAM wParam, LPARAM lParam) {
    WireMessage wire;
    if (!MakeWire(message, wParam, lParam, wire)) {
        return 0;
    }
    std::error_code ec;
    int delivered = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PeerFolder(ownName), ec)) {
        if (entry.path().extension() == ".sock" && TrySend(entry.path().string(), wire)) {
            ++delivered;
        }
    }
    return delivered;
}

bool SingleInstance::SendToRunning(std::wstring_view name, std::wstring_view message, WPARAM wParam,
                                   LPARAM lParam, uint32_t timeoutMs) {
    WireMessage wire;
    if (!MakeWire(message, wParam, lParam, wire)) {
        return false;
    }
    const std::string path = SocketPath(name);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        if (TrySend(path, wire)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string SingleInstance::SocketPath(std::wstring_view name) {
    return RuntimePath() + Utf8Encode(std::wstring(name)) + ".sock";
}

std::string SingleInstance::PeerFolder(std::wstring_view name) {
    return RuntimePath() + Utf8Encode(std::wstring(name)) + ".peers/";
}

std::string SingleInstance::LockPath(std::wstring_view name) {
    return RuntimePath() + Utf8Encode(std::wstring(name)) + ".lock";
}

}  // namespace platform
