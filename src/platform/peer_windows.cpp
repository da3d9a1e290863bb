#include "platform/peer_windows.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
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
// that does not can cost the caller.
constexpr auto kLookupDeadline = std::chrono::milliseconds(500);
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

std::optional<Description> Describe(const std::string& path) {
    const auto deadline = Clock::now() + kLookupDeadline;
    UniqueFd fd = peer::ConnectTo(path, deadline);
    const std::vector<uint8_t> request = peer::EncodeDescribe();
    std::array<uint8_t, peer::kDescriptionHeadBytes> head{};
    if (!fd.valid() || !peer::WriteAll(fd.get(), request, deadline) ||
        !peer::ReadExactly(fd.get(), head, deadline)) {
        return std::nullopt;
    }
    const auto lengths = peer::DecodeDescriptionHead(head);
    if (!lengths) {
        return std::nullopt;
    }
    std::vector<uint8_t> texts(lengths->first + lengths->second);
    if (!peer::ReadExactly(fd.get(), texts, deadline)) {
        return std::nullopt;
    }
    const std::string_view all(reinterpret_cast<const char*>(texts.data()), texts.size());
    return Description{Utf8Decode(all.substr(0, lengths->first)),
                       Utf8Decode(all.substr(lengths->first))};
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
    int delivered = 0;
    for (const std::string& path : PeerSockets(false)) {
        const auto deadline = Clock::now() + kBroadcastDeadline;
        UniqueFd fd = peer::ConnectTo(path, deadline);
        if (fd.valid() && peer::WriteAll(fd.get(), record, deadline)) {
            ++delivered;
        }
    }
    return delivered;
}

namespace detail {

HWND FindPeerWindow(std::wstring_view className, std::wstring_view title) {
    for (const std::string& path : PeerSockets(true)) {
        const std::optional<Description> found = Describe(path);
        if (found && (className.empty() || found->className == className) &&
            (title.empty() || found->title == title)) {
            return HandleFor(path);
        }
    }
    return nullptr;
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
