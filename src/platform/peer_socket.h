#pragma once
// Unix-domain stream sockets in the per-user runtime folder, for talking to other
// programs of the user: binding a listening socket, and the connecting side's exchange
// of one record under a deadline.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "platform/unique_fd.h"

namespace platform::peer {

using Deadline = std::chrono::steady_clock::time_point;

// A listening socket at `path` (mode 0600), or an invalid fd with errno set. A socket
// file left there by a process that ended without removing it is replaced; one that a
// live process listens on is left alone (EADDRINUSE).
UniqueFd BindListening(const std::string& path, int backlog);

// A connection to the socket at `path`; invalid when nobody listens there or its
// listener takes no connection before the deadline.
UniqueFd ConnectTo(const std::string& path, Deadline deadline);

// Write all of `bytes` / read exactly `bytes.size()` before `deadline`. While waiting the
// calling thread keeps handling what other threads send to its windows.
bool WriteAll(int fd, std::span<const uint8_t> bytes, Deadline deadline);
bool ReadExactly(int fd, std::span<uint8_t> bytes, Deadline deadline);

}  // namespace platform::peer
