#pragma once
// One running instance per user: a lock file held with flock() and a unix-domain socket
// beside it in the runtime folder (mode 0600). A later start finds the lock taken, hands
// its registered message to the running instance through the socket and exits. Messages
// travel by name and value, never as pointers, and only names the running instance
// accepts are posted to its window.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace platform {

class PeerListener;

class SingleInstance {
  public:
    enum class State {
        kFirst,    // this process holds the lock
        kRunning,  // another process holds it
        kFailed,   // the lock could not be tried (Error() says why)
    };

    // Takes the lock "<runtime folder>/<name>.lock" when no other instance holds it.
    explicit SingleInstance(std::wstring_view name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    State state() const { return state_; }
    bool IsFirst() const { return state_ == State::kFirst; }
    // Why the lock could not be tried, or why Listen failed: the file and the reason.
    const std::string& Error() const { return error_; }

    // When another instance holds the lock: waits up to `timeoutMs` for it to let the lock
    // go (it is ending) and takes it. True when this process holds the lock.
    bool WaitToBeFirst(uint32_t timeoutMs);

    // First instance only: listens on "<runtime folder>/<name>.sock" and posts every
    // message whose registered name is in `accepted` to `target`. False when this process
    // is not the first or the socket cannot be set up (Error() says why).
    bool Listen(HWND target, std::vector<std::wstring> accepted);

    // Hands the registered message `message` with its values to the running instance of
    // `name`. Retries for up to `timeoutMs` while the first instance is still starting;
    // false at once when it is closing, and when it does not answer in that time.
    static bool SendToRunning(std::wstring_view name, std::wstring_view message, WPARAM wParam,
                              LPARAM lParam, uint32_t timeoutMs = 1000);

    // The socket and lock file paths of `name` (tests).
    static std::string SocketPath(std::wstring_view name);
    static std::string LockPath(std::wstring_view name);

  private:
    void TryLock();
    void Fail(const std::string& what, int error);

    std::wstring name_;
    State state_ = State::kFailed;
    std::string error_;
    int lockFd_ = -1;
    std::unique_ptr<PeerListener> listener_;
};

}  // namespace platform
