#include "platform/bus/sleep_watcher.h"

#include <fcntl.h>

#include <cstring>
#include <memory>

#include "platform/debug_trace.h"
#include "platform/text_convert.h"
#include "platform/window_messages.h"

namespace platform::bus {
namespace {

constexpr const char* kLogin = "org.freedesktop.login1";
constexpr const char* kLoginPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";

struct CredsUnref {
    void operator()(sd_bus_creds* creds) const { sd_bus_creds_unref(creds); }
};

// The bus hands a connection every signal addressed to it, whatever its matches say, and
// sd-bus cannot tell which well-known names a sender owns: any program on the bus could
// otherwise put the devices to sleep. Only the name's owner speaks for logind.
bool SentByLogind(sd_bus_message* m) {
    const char* sender = sd_bus_message_get_sender(m);
    sd_bus_creds* raw = nullptr;
    if (sender == nullptr || sd_bus_get_name_creds(sd_bus_message_get_bus(m), kLogin,
                                                   SD_BUS_CREDS_UNIQUE_NAME, &raw) < 0) {
        return false;
    }
    const std::unique_ptr<sd_bus_creds, CredsUnref> creds(raw);
    const char* owner = nullptr;
    return sd_bus_creds_get_unique_name(creds.get(), &owner) >= 0 && owner != nullptr &&
           std::strcmp(owner, sender) == 0;
}

}  // namespace

SleepWatcher::SleepWatcher(HWND window, std::string who, std::string why)
    : window_(window),
      who_(std::move(who)),
      why_(std::move(why)),
      loop_(BusKind::kSystem, [this](sd_bus* bus) { return Attach(bus); }, {}) {}

SleepWatcher::~SleepWatcher() {
    loop_.Stop();
}

bool SleepWatcher::Attach(sd_bus* bus) {
    if (sd_bus_match_signal_async(bus, nullptr, kLogin, kLoginPath, kManager, "PrepareForSleep",
                                  OnPrepareForSleep, nullptr, this) < 0 ||
        sd_bus_add_match_async(bus, nullptr, NameOwnerMatch(kLogin).c_str(), OnLogindOwner, nullptr,
                               this) < 0) {
        return false;
    }
    TakeInhibitor(bus);
    return true;
}

void SleepWatcher::TakeInhibitor(sd_bus* bus) {
    sd_bus_call_method_async(bus, nullptr, kLogin, kLoginPath, kManager, "Inhibit", OnInhibitor,
                             this, "ssss", "sleep", who_.c_str(), why_.c_str(), "delay");
}

int SleepWatcher::OnPrepareForSleep(sd_bus_message* m, void* self, sd_bus_error* /*error*/) {
    auto* watcher = static_cast<SleepWatcher*>(self);
    int sleeping = 0;
    if (!SentByLogind(m)) {
        DebugTrace(L"power: a sleep announcement not from logind is ignored\n");
        return 0;
    }
    if (sd_bus_message_read(m, "b", &sleeping) < 0) {
        return 0;
    }
    // Both are sent, not posted: a window handles sends before posts, so a posted waking
    // could come after the sleep that followed it and leave the window awake in its sleep.
    watcher->asleep_ = sleeping != 0;
    if (sleeping != 0) {
        DebugTrace(L"power: going to sleep\n");
        platform::SendMessage(watcher->window_, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        watcher->inhibitor_.reset();  // the window is done: sleep may go on
    } else {
        DebugTrace(L"power: awake\n");
        watcher->TakeInhibitor(sd_bus_message_get_bus(m));
        platform::SendMessage(watcher->window_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    }
    return 0;
}

// A logind that restarts has forgotten the lock, and one that comes late never gave it.
int SleepWatcher::OnLogindOwner(sd_bus_message* m, void* self, sd_bus_error* /*error*/) {
    auto* watcher = static_cast<SleepWatcher*>(self);
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    if (SentByBusDaemon(m) && sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) >= 0 &&
        newOwner != nullptr && *newOwner != '\0' && !watcher->asleep_) {
        watcher->TakeInhibitor(sd_bus_message_get_bus(m));
    }
    return 0;
}

int SleepWatcher::OnInhibitor(sd_bus_message* reply, void* self, sd_bus_error* /*error*/) {
    auto* watcher = static_cast<SleepWatcher*>(self);
    int fd = -1;
    if (sd_bus_message_is_method_error(reply, nullptr) ||
        sd_bus_message_read(reply, "h", &fd) < 0) {
        DebugTrace(L"power: no sleep delay lock; sleep will not wait for the window\n");
        return 0;
    }
    // A lock asked for on waking that comes after the next sleep began would hold that
    // sleep back until logind gives up waiting: the next waking asks again.
    if (watcher->asleep_) {
        return 0;
    }
    // The message owns the descriptor it carries: keep a copy of our own.
    watcher->inhibitor_.reset(fcntl(fd, F_DUPFD_CLOEXEC, 3));
    return 0;
}

}  // namespace platform::bus
