#include "duilib/render/sdl/display_watcher.h"

#include "platform/thread_descriptor_watch.h"

namespace DuiLib::sdl {

DisplayWatcher::DisplayWatcher(int displayFd, std::function<void()> wake)
    : m_watching(displayFd >= 0 && platform::WatchThreadDescriptor(displayFd, std::move(wake))) {}

DisplayWatcher::~DisplayWatcher() {
    if (m_watching) {
        platform::WatchThreadDescriptor(-1, {});
    }
}

void DisplayWatcher::Arm() {
    if (m_watching) {
        platform::ArmThreadDescriptorWatch(true);
    }
}

void DisplayWatcher::Pause() {
    if (m_watching) {
        platform::ArmThreadDescriptorWatch(false);
    }
}

}  // namespace DuiLib::sdl
