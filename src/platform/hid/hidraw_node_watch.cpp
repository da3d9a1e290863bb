#include "platform/hid/hidraw_node_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace platform::hid {
namespace {

// Nodes come and go, and change owner or rights; reads and writes of a node are not
// asked for, so a busy device queues nothing.
constexpr uint32_t kNodeEvents = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO |
                                 IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// The folder itself is gone or no longer watched: nothing more will be told.
constexpr uint32_t kWatchEnded = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;
constexpr int kReadsPerCall = 16;

bool NamesHidrawNode(const char* name, size_t length) {
    constexpr std::string_view kPrefix = "hidraw";
    const std::string_view text(name, strnlen(name, length));
    return text.substr(0, kPrefix.size()) == kPrefix;
}

}  // namespace

HidrawNodeEvents ReadHidrawNodeEvents(std::span<const std::byte> bytes) {
    HidrawNodeEvents result;
    size_t at = 0;
    while (at < bytes.size()) {
        inotify_event event;
        if (bytes.size() - at < sizeof event) {
            result.changed = true;
            break;
        }
        std::memcpy(&event, bytes.data() + at, sizeof event);
        at += sizeof event;
        if (event.len > bytes.size() - at) {
            result.changed = true;
            break;
        }
        const char* name = reinterpret_cast<const char*>(bytes.data() + at);
        at += event.len;
        if ((event.mask & kWatchEnded) != 0) {
            result.broken = true;
            result.changed = true;
        } else if ((event.mask & IN_Q_OVERFLOW) != 0 || NamesHidrawNode(name, event.len)) {
            result.changed = true;
        }
    }
    return result;
}

HidrawNodeWatch::HidrawNodeWatch(const std::string& devRoot)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_.valid() && inotify_add_watch(fd_.get(), devRoot.c_str(), kNodeEvents) < 0) {
        fd_.reset();
    }
}

bool HidrawNodeWatch::Changed() {
    bool changed = false;
    // A folder that never falls quiet is taken as changed rather than read for ever; what
    // is left is read on the next call.
    for (int reads = 0; fd_.valid(); ++reads) {
        if (reads == kReadsPerCall) {
            return true;
        }
        alignas(inotify_event) std::byte buffer[4096];
        const ssize_t got = read(fd_.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return changed;
        }
        const HidrawNodeEvents events =
            got > 0 ? ReadHidrawNodeEvents({buffer, static_cast<size_t>(got)})
                    : HidrawNodeEvents{true, true};
        changed = changed || events.changed;
        if (events.broken) {
            fd_.reset();
        }
    }
    return true;
}

}  // namespace platform::hid
