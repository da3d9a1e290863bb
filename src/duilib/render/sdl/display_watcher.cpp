#include "duilib/render/sdl/display_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace DuiLib::sdl {

DisplayWatcher::DisplayWatcher(int displayFd, std::function<void()> wake)
    : m_displayFd(displayFd), m_wake(std::move(wake)) {
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_displayFd >= 0 && m_stopFd >= 0) {
        m_thread.Start([this](platform::Event& stop) { Run(stop); });
    }
}

DisplayWatcher::~DisplayWatcher() {
    m_thread.Stop(1000, [this] {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        const uint64_t one = 1;
        if (write(m_stopFd, &one, sizeof one) < 0) {
            // The counter is already non-zero: the watcher wakes anyway.
        }
    });
    if (m_stopFd >= 0) {
        close(m_stopFd);
    }
}

void DisplayWatcher::Arm() {
    {
        std::lock_guard lock(m_mutex);
        m_armed = true;
    }
    m_changed.notify_all();
}

void DisplayWatcher::Pause() {
    std::lock_guard lock(m_mutex);
    m_armed = false;
}

bool DisplayWatcher::WaitArmed(platform::Event& stop) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_armed || m_stopping || stop.IsSet(); });
    return m_armed && !m_stopping && !stop.IsSet();
}

void DisplayWatcher::Run(platform::Event& stop) {
    while (WaitArmed(stop)) {
        std::array<pollfd, 2> fds{pollfd{m_displayFd, POLLIN, 0}, pollfd{m_stopFd, POLLIN, 0}};
        const int ready = poll(fds.data(), fds.size(), -1);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            // The display went away: the UI thread looks at the connection before it calls
            // the display again. Nothing more will arrive.
            m_wake();
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            {
                std::lock_guard lock(m_mutex);
                if (!m_armed) {
                    continue;  // paused: the UI thread reads what came
                }
                m_armed = false;
            }
            m_wake();
        }
    }
}

}  // namespace DuiLib::sdl
