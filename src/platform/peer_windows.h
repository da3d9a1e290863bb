#pragma once
// Windows shared with the user's other programs, through the sockets of the runtime
// folder's peer folder ("<runtime>/Velkaro.peers/"). A process publishes a window by
// listening there; other processes find it by class and title (FindWindow), send it
// WM_COPYDATA, whose bytes travel by value and whose answer comes back, and broadcast
// registered messages to it. In another process such a window's handle is an id of that
// process's own handle space that names the socket; it is never a pointer.

#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform {

class PeerListener;

// With a trailing '/'.
std::string PeerFolder();

class PublishedWindow {
  public:
    // Listens for `hwnd` on "<peer folder><pid>.<handle>.sock": registered messages whose
    // names are in `acceptedMessages` are posted to it, WM_COPYDATA is sent to it and its
    // answer returned, and its class and title are told to those who look it up.
    PublishedWindow(HWND hwnd, std::vector<std::wstring> acceptedMessages);
    ~PublishedWindow();
    PublishedWindow(const PublishedWindow&) = delete;
    PublishedWindow& operator=(const PublishedWindow&) = delete;

    bool IsPublished() const { return listener_ != nullptr; }

  private:
    std::unique_ptr<PeerListener> listener_;
};

// Hands a registered message to every published window of the peer folder (each takes
// it if it accepts the name). The number of windows it reached.
int BroadcastToPeers(std::wstring_view message, WPARAM wParam, LPARAM lParam);

namespace detail {

// The first published window of another process whose class and title match (an empty
// part matches any); null when there is none.
HWND FindPeerWindow(std::wstring_view className, std::wstring_view title);
// False when `hwnd` names no window of another process. Otherwise true, with the
// window's answer to WM_COPYDATA in `result` (0 when it could not be delivered in time,
// and for any other message).
bool SendToPeerWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace detail
}  // namespace platform
