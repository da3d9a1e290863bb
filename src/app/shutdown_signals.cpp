#include "app/shutdown_signals.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <atomic>

#include "platform/window_messages.h"
#include "platform/worker_thread.h"

// The signals are blocked in every thread and read from a signalfd by one watcher thread,
// which posts WM_CLOSE: nothing runs inside a signal handler.
class ShutdownSignals::Watcher {
  public:
    Watcher() {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGTERM);
        sigaddset(&set, SIGINT);
        sigaddset(&set, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
        signalFd_ = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
        wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
        if (signalFd_ >= 0 && wakeFd_ >= 0) {
            thread_.Start([this](platform::Event& stop) { Run(stop); });
        }
    }
    ~Watcher() {
        thread_.Stop(1000, [this] {
            uint64_t one = 1;
            [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof(one));
        });
        if (signalFd_ >= 0) {
            ::close(signalFd_);
        }
        if (wakeFd_ >= 0) {
            ::close(wakeFd_);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    void SetTarget(HWND target) {
        target_ = target;
        Deliver();
    }

    bool Received() const { return received_.load(); }

  private:
    void Deliver() {
        HWND target = target_.load();
        if (target != nullptr && pending_.exchange(false)) {
            PostMessage(target, WM_CLOSE, 0, 0);
        }
    }

    void Run(platform::Event& stop) {
        while (!stop.IsSet()) {
            pollfd fds[2] = {{signalFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
            if (::poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN) != 0) {
                continue;
            }
            signalfd_siginfo info;
            while (::read(signalFd_, &info, sizeof(info)) == static_cast<ssize_t>(sizeof(info))) {
                received_ = true;
                pending_ = true;
            }
            Deliver();
        }
    }

    std::atomic<HWND> target_{nullptr};
    std::atomic<bool> pending_{false};
    std::atomic<bool> received_{false};
    sigset_t previous_;
    int signalFd_ = -1;
    int wakeFd_ = -1;
    platform::WorkerThread thread_{"signals"};
};

ShutdownSignals::ShutdownSignals() : watcher_(std::make_unique<Watcher>()) {}

void ShutdownSignals::SetTarget(HWND target) {
    watcher_->SetTarget(target);
}

bool ShutdownSignals::Received() const {
    return watcher_->Received();
}

ShutdownSignals::~ShutdownSignals() = default;
