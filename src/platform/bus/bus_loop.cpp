#include "platform/bus/bus_loop.h"

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include "platform/debug_trace.h"
#include "platform/pumping_wait.h"

namespace platform::bus {
namespace {

struct BusCloser {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
using BusPtr = std::unique_ptr<sd_bus, BusCloser>;

// sd-bus gives its next time-out as an absolute CLOCK_MONOTONIC time in microseconds.
int PollTimeoutMs(sd_bus* bus) {
    uint64_t until = 0;
    if (sd_bus_get_timeout(bus, &until) < 0 || until == UINT64_MAX) {
        return -1;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t nowUs =
        static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
    if (until <= nowUs) {
        return 0;
    }
    return static_cast<int>(std::min<uint64_t>((until - nowUs + 999) / 1000, INT_MAX));
}

}  // namespace

bool SentByBusDaemon(sd_bus_message* m) {
    const char* sender = sd_bus_message_get_sender(m);
    return sender != nullptr && std::strcmp(sender, "org.freedesktop.DBus") == 0;
}

std::string NameOwnerMatch(const std::string& name) {
    return "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
           "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='" +
           name + "'";
}

BusLoop::BusLoop(BusKind kind, Attach attach, Lost lost)
    : kind_(kind), attach_(std::move(attach)), lost_(std::move(lost)) {
    if (!wake_.IsValid()) {
        DebugTrace(L"bus: no wake descriptor; the bus is not used\n");
        return;
    }
    thread_.Start([this](Event& stop) { Run(stop); });
}

BusLoop::~BusLoop() {
    Stop();
}

void BusLoop::Post(Task task) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
    }
    wake_.Set();
}

void BusLoop::Stop() {
    StopWorkerPumpingSends(thread_, 1000, [this] { wake_.Set(); });
}

void BusLoop::Run(Event& stop) {
    uint32_t retryMs = kFirstRetryMs;
    bool toldLost = false;
    while (!stop.IsSet()) {
        const Outcome outcome = ConnectAndServe(stop);
        if (outcome == Outcome::kStopped) {
            return;
        }
        // A bus that served and went away (its daemon restarted, the session's bus
        // replaced) is tried again at once and then less and less often; the owner hears
        // of each outage once, and its attach runs again on the new connection.
        if (outcome == Outcome::kLost) {
            retryMs = kFirstRetryMs;
            toldLost = false;
        }
        if (!toldLost && lost_) {
            lost_();
        }
        toldLost = true;
        {
            std::lock_guard lock(mutex_);
            posted_.clear();  // tasks are for a connection that is there
        }
        if (stop.Wait(retryMs) == kWaitObject0) {
            return;
        }
        retryMs = std::min(retryMs * 2, kMaxRetryMs);
    }
}

BusLoop::Outcome BusLoop::ConnectAndServe(Event& stop) {
    sd_bus* raw = nullptr;
    const int opened =
        kind_ == BusKind::kSession ? sd_bus_open_user(&raw) : sd_bus_open_system(&raw);
    const BusPtr bus(raw);
    if (opened < 0 || !attach_(bus.get())) {
        DebugTrace(kind_ == BusKind::kSession ? L"bus: no session bus\n" : L"bus: no system bus\n");
        return Outcome::kNoBus;
    }
    if (Serve(bus.get(), stop)) {
        return Outcome::kStopped;
    }
    DebugTrace(L"bus: connection lost\n");
    return Outcome::kLost;
}

// False when the connection failed; true when told to stop.
bool BusLoop::Serve(sd_bus* bus, Event& stop) {
    while (!stop.IsSet()) {
        RunPosted(bus);
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            return false;
        }
        if (processed == 0 && !WaitForBus(bus)) {
            return false;
        }
    }
    return true;
}

bool BusLoop::WaitForBus(sd_bus* bus) {
    const int fd = sd_bus_get_fd(bus);
    const int events = sd_bus_get_events(bus);
    if (fd < 0 || events < 0) {
        return false;
    }
    std::array<pollfd, 2> fds{pollfd{fd, static_cast<short>(events), 0},
                              pollfd{wake_.fd(), POLLIN, 0}};
    if (poll(fds.data(), fds.size(), PollTimeoutMs(bus)) < 0 && errno != EINTR) {
        return false;
    }
    if ((fds[1].revents & POLLIN) != 0) {
        wake_.TryConsume();
    }
    return true;
}

void BusLoop::RunPosted(sd_bus* bus) {
    std::vector<Task> tasks;
    {
        std::lock_guard lock(mutex_);
        tasks.swap(posted_);
    }
    for (Task& task : tasks) {
        task(bus);
    }
}

}  // namespace platform::bus
