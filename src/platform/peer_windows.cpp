#include "platform/peer_windows.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>

#include "platform/no_destructor.h"
#include "platform/paths.h"
#include "platform/peer_listener.h"
#include "platform/peer_socket.h"
#include "platform/peer_wire.h"
#include "platform/text_convert.h"
#include "platform/window_messages.h"
#include "platform/window_registry.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// A published window answers from its listener thread at once; these bound what a peer
// that does not can cost the caller: a lookup asks every peer at once and waits this
// long in all.
constexpr auto kLookupDeadline = std::chrono::milliseconds(500);
// How often a peer whose listener queue is full is tried again during a lookup.
constexpr int64_t kRetrySliceMs = 10;
constexpr auto kBroadcastDeadline = std::chrono::milliseconds(500);
// A peer's window answers WM_COPYDATA on its UI thread.
constexpr auto kSendDeadline = std::chrono::milliseconds(2000);
// Sockets looked at by one lookup or broadcast: a folder filled with junk costs a bound.
constexpr size_t kMaxPeerSockets = 64;
// Handles given out for other processes' windows; beyond it those whose socket is gone
// are forgotten.
constexpr size_t kMaxPeerHandles = 256;

// Handles of other processes' windows: ids from this process's handle space, never
// reused, each naming a socket path.
struct PeerHandles {
    std::mutex mutex;
    std::map<uintptr_t, std::string> paths;
    std::map<std::string, uintptr_t> ids;
};

PeerHandles& Handles() {
    static NoDestructor<PeerHandles> handles;
    return *handles;
}

void ForgetGoneLocked(PeerHandles& handles) {
    for (auto it = handles.paths.begin(); it != handles.paths.end();) {
        std::error_code ec;
        if (std::filesystem::exists(it->second, ec)) {
            ++it;
        } else {
            handles.ids.erase(it->second);
            it = handles.paths.erase(it);
        }
    }
}

HWND HandleFor(const std::string& path) {
    PeerHandles& handles = Handles();
    std::lock_guard lock(handles.mutex);
    auto it = handles.ids.find(path);
    if (it != handles.ids.end()) {
        return detail::ToHandle(it->second);
    }
    if (handles.paths.size() >= kMaxPeerHandles) {
        ForgetGoneLocked(handles);
    }
    const uintptr_t id = detail::NextWindowId();
    handles.paths.emplace(id, path);
    handles.ids.emplace(path, id);
    return detail::ToHandle(id);
}

std::optional<std::string> PathOf(HWND hwnd) {
    PeerHandles& handles = Handles();
    std::lock_guard lock(handles.mutex);
    auto it = handles.paths.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == handles.paths.end()) {
        return std::nullopt;
    }
    return it->second;
}

// The sockets of the peer folder, this process's own left out when `skipOwn`.
std::vector<std::string> PeerSockets(bool skipOwn) {
    const std::string own = std::to_string(::getpid()) + ".";
    std::vector<std::string> sockets;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(PeerFolder(), ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".sock" || (skipOwn && name.starts_with(own))) {
            continue;
        }
        sockets.push_back(entry.path().string());
        if (sockets.size() == kMaxPeerSockets) {
            break;
        }
    }
    return sockets;
}

struct Description {
    std::wstring className;
    std::wstring title;
};

// One peer asked to describe its window: the bytes of its answer as they come.
struct DescribeExchange {
    std::string path;
    UniqueFd fd;
    std::vector<uint8_t> answer;
};

// Connects and sends the request; false when the peer cannot be asked (yet).
bool Ask(DescribeExchange& exchange, Clock::time_point deadline) {
    // One try now: a listener whose queue is full is tried again on the next round.
    exchange.fd = peer::ConnectTo(exchange.path, Clock::now());
    return exchange.fd.valid() &&
           peer::WriteAll(exchange.fd.get(), peer::EncodeDescribe(), deadline);
}

// Takes what the peer sent. False when its answer is broken or it hung up; a whole answer
// is left in `found`.
bool TakeAnswer(DescribeExchange& exchange, std::optional<Description>* found) {
    uint8_t chunk[512];
    const ssize_t n = ::recv(exchange.fd.get(), chunk, sizeof chunk, MSG_DONTWAIT);
    if (n <= 0) {
        return n < 0 && (errno == EAGAIN || errno == EINTR);
    }
    exchange.answer.insert(exchange.answer.end(), chunk, chunk + n);
    if (exchange.answer.size() < peer::kDescriptionHeadBytes) {
        return true;
    }
    const auto lengths =
        peer::DecodeDescriptionHead(std::span<const uint8_t, peer::kDescriptionHeadBytes>(
            exchange.answer.data(), peer::kDescriptionHeadBytes));
    if (!lengths) {
        return false;
    }
    const size_t wanted = peer::kDescriptionHeadBytes + lengths->first + lengths->second;
    if (exchange.answer.size() > wanted) {
        return false;
    }
    if (exchange.answer.size() == wanted) {
        const std::string_view texts(
            reinterpret_cast<const char*>(exchange.answer.data()) + peer::kDescriptionHeadBytes,
            wanted - peer::kDescriptionHeadBytes);
        *found = Description{Utf8Decode(texts.substr(0, lengths->first)),
                             Utf8Decode(texts.substr(lengths->first))};
    }
    return true;
}

// Every peer is asked at once and the answers are taken as they come, so peers that have
// stopped cost one deadline in all, not one each. The path of the first window that
// `matches` accepts.
std::optional<std::string> FirstDescribed(const std::vector<std::string>& paths,
                                          const std::function<bool(const Description&)>& matches) {
    const auto deadline = Clock::now() + kLookupDeadline;
    std::vector<DescribeExchange> exchanges(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        exchanges[i].path = paths[i];
    }
    while (!exchanges.empty() && Clock::now() < deadline) {
        bool unasked = false;
        std::vector<pollfd> fds;
        for (DescribeExchange& exchange : exchanges) {
            if (!exchange.fd.valid() && !Ask(exchange, deadline)) {
                exchange.fd.reset();
                unasked = true;
            }
            fds.push_back(pollfd{exchange.fd.valid() ? exchange.fd.get() : -1, POLLIN, 0});
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int waitMs = static_cast<int>(
            std::clamp<int64_t>(left.count(), 0, unasked ? kRetrySliceMs : left.count()));
        if (::poll(fds.data(), fds.size(), waitMs) < 0 && errno != EINTR) {
            return std::nullopt;
        }
        for (size_t i = fds.size(); i-- > 0;) {
            if (fds[i].revents == 0) {
                continue;
            }
            std::optional<Description> found;
            const bool goesOn = TakeAnswer(exchanges[i], &found);
            if (found && matches(*found)) {
                return exchanges[i].path;
            }
            if (!goesOn || found) {
                exchanges.erase(exchanges.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }
    return std::nullopt;
}

LRESULT SendCopyData(const std::string& path, WPARAM wParam, LPARAM lParam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::span<const uint8_t> bytes;
    if (data != nullptr && data->lpData != nullptr) {
        bytes = std::span<const uint8_t>(static_cast<const uint8_t*>(data->lpData), data->cbData);
    }
    const std::vector<uint8_t> record = peer::EncodeCopyData(
        static_cast<int64_t>(wParam), data != nullptr ? data->dwData : 0, bytes);
    if (record.empty()) {
        return 0;
    }
    const auto deadline = Clock::now() + kSendDeadline;
    UniqueFd fd = peer::ConnectTo(path, deadline);
    std::array<uint8_t, peer::kResultBytes> answer{};
    if (!fd.valid() || !peer::WriteAll(fd.get(), record, deadline) ||
        !peer::ReadExactly(fd.get(), answer, deadline)) {
        return 0;
    }
    return static_cast<LRESULT>(peer::DecodeResult(answer));
}

}  // namespace

std::string PeerFolder() {
    return RuntimePath() + "Velkaro.peers/";
}

PublishedWindow::PublishedWindow(HWND hwnd, std::vector<std::wstring> acceptedMessages) {
    const std::string folder = PeerFolder();
    if (!EnsureDirectory(folder) || ::chmod(folder.c_str(), 0700) != 0) {
        return;
    }
    PeerListener::Options options;
    options.target = hwnd;
    options.acceptedMessages = std::move(acceptedMessages);
    options.acceptsCopyData = true;
    options.describesTarget = true;
    auto listener = std::make_unique<PeerListener>(std::move(options));
    char name[64];
    std::snprintf(name, sizeof(name), "%d.%lx.sock", static_cast<int>(::getpid()),
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)));
    if (listener->Start(folder + name)) {
        listener_ = std::move(listener);
    }
}

PublishedWindow::~PublishedWindow() = default;

int BroadcastToPeers(std::wstring_view message, WPARAM wParam, LPARAM lParam) {
    const std::vector<uint8_t> record =
        peer::EncodeMessage(message, static_cast<int64_t>(wParam), static_cast<int64_t>(lParam));
    if (record.empty()) {
        return 0;
    }
    // One deadline for all: peers whose queues are full cost it once, not once each.
    const auto deadline = Clock::now() + kBroadcastDeadline;
    int delivered = 0;
    for (const std::string& path : PeerSockets(false)) {
        UniqueFd fd = peer::ConnectTo(path, deadline);
        if (fd.valid() && peer::WriteAll(fd.get(), record, deadline)) {
            ++delivered;
        }
    }
    return delivered;
}

namespace detail {

HWND FindPeerWindow(std::wstring_view className, std::wstring_view title) {
    const std::optional<std::string> path =
        FirstDescribed(PeerSockets(true), [&](const Description& found) {
            return (className.empty() || found.className == className) &&
                   (title.empty() || found.title == title);
        });
    return path ? HandleFor(*path) : nullptr;
}

bool SendToPeerWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const std::optional<std::string> path = PathOf(hwnd);
    if (!path) {
        return false;
    }
    *result = message == WM_COPYDATA ? SendCopyData(*path, wParam, lParam) : 0;
    return true;
}

}  // namespace detail
}  // namespace platform
