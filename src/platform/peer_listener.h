#pragma once
// The listening side of a socket in the per-user runtime folder. One thread serves every
// connected peer at once (poll): each connection has its own buffer and a deadline for its
// record, so a peer that trickles, stalls or floods holds up nobody else. At most
// kMaxConnections are served at a time; further ones wait in the kernel's queue. Memory
// is bounded by that count and the record limits of peer_wire.h.

#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform {

class PeerListener {
  public:
    struct Options {
        HWND target = nullptr;
        // Registered messages posted to the target (names compared without case).
        std::vector<std::wstring> acceptedMessages;
        // WM_COPYDATA is sent to the target and its answer returned to the peer.
        bool acceptsCopyData = false;
        // Answers a describe record with the target's class and title.
        bool describesTarget = false;
    };

    static constexpr size_t kMaxConnections = 128;
    // Accepted messages of one name waiting in the target's queue; more are dropped. Far
    // above any burst of real programs, far below what memory would notice.
    static constexpr size_t kMaxWaitingPerMessage = 1024;
    // From the connection to its whole record.
    static constexpr int kRecordDeadlineMs = 1000;
    // From a whole copy-data record to the target window's answer.
    static constexpr int kAnswerDeadlineMs = 5000;

    explicit PeerListener(Options options);
    ~PeerListener();  // stops the thread and removes the socket file
    PeerListener(const PeerListener&) = delete;
    PeerListener& operator=(const PeerListener&) = delete;

    // Listens on `socketPath` (mode 0600). False with errno set when it cannot.
    bool Start(const std::string& socketPath);

  private:
    class Server;
    std::unique_ptr<Server> server_;
};

}  // namespace platform
