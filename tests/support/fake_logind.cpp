#include "support/fake_logind.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace testing_support {

FakeLogind::FakeLogind()
    : peer_(platform::bus::BusKind::kSystem, "org.freedesktop.login1",
            [this](sd_bus* bus) { Attach(bus); }) {}

size_t FakeLogind::LocksTaken() {
    std::lock_guard lock(mutex_);
    return locks_.size();
}

bool FakeLogind::LockReleased(size_t index) {
    std::lock_guard lock(mutex_);
    pollfd fd{locks_.at(index).get(), POLLIN, 0};
    return poll(&fd, 1, 0) == 1 && (fd.revents & POLLHUP) != 0;
}

std::string FakeLogind::LockHolder() {
    std::lock_guard lock(mutex_);
    return holder_;
}

void FakeLogind::AnnounceSleep(bool sleeping) {
    peer_.Run([sleeping](sd_bus* bus) {
        sd_bus_emit_signal(bus, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                           "PrepareForSleep", "b", sleeping ? 1 : 0);
    });
}

void FakeLogind::Attach(sd_bus* bus) {
    static const sd_bus_vtable kVtable[] = {
        SD_BUS_VTABLE_START(0), SD_BUS_METHOD("Inhibit", "ssss", "h", OnInhibit, 0),
        SD_BUS_SIGNAL("PrepareForSleep", "b", 0), SD_BUS_VTABLE_END};
    sd_bus_add_object_vtable(bus, nullptr, "/org/freedesktop/login1",
                             "org.freedesktop.login1.Manager", kVtable, this);
}

int FakeLogind::OnInhibit(sd_bus_message* m, void* self, sd_bus_error*) {
    const char* what = nullptr;
    const char* who = nullptr;
    const char* why = nullptr;
    const char* mode = nullptr;
    sd_bus_message_read(m, "ssss", &what, &who, &why, &mode);
    if (std::string(what) != "sleep" || std::string(mode) != "delay") {
        return sd_bus_reply_method_errorf(m, SD_BUS_ERROR_INVALID_ARGS, "unexpected lock");
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return -errno;
    }
    const platform::UniqueFd given(ends[1]);  // the reply carries a copy
    auto* logind = static_cast<FakeLogind*>(self);
    {
        std::lock_guard lock(logind->mutex_);
        logind->locks_.emplace_back(ends[0]);
        logind->holder_ = sd_bus_message_get_sender(m);
    }
    return sd_bus_reply_method_return(m, "h", given.get());
}

}  // namespace testing_support
