#include "platform/hid/hid_cancel_event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace platform::hid {

HidCancelEvent::HidCancelEvent() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

HidCancelEvent::~HidCancelEvent() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void HidCancelEvent::Set() {
    const uint64_t one = 1;
    ssize_t written;
    do {
        written = write(fd_, &one, sizeof(one));
    } while (written < 0 && errno == EINTR);
}

bool HidCancelEvent::TryConsume() {
    uint64_t count = 0;
    ssize_t got;
    do {
        got = read(fd_, &count, sizeof(count));
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof(count)) && count > 0;
}

}  // namespace platform::hid
