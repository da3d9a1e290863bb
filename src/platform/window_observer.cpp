#include "platform/window_observer.h"

#include <memory>
#include <mutex>

#include "platform/no_destructor.h"

namespace platform {
namespace {

struct ObserverSlot {
    std::mutex mutex;
    std::shared_ptr<const WindowStateObserver> observer;
};

ObserverSlot& Slot() {
    static NoDestructor<ObserverSlot> slot;
    return *slot;
}

}  // namespace

void SetWindowStateObserver(WindowStateObserver observer) {
    ObserverSlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    slot.observer =
        observer ? std::make_shared<const WindowStateObserver>(std::move(observer)) : nullptr;
}

void NotifyWindowStateChanged(HWND hwnd) {
    std::shared_ptr<const WindowStateObserver> observer;
    {
        ObserverSlot& slot = Slot();
        std::lock_guard lock(slot.mutex);
        observer = slot.observer;
    }
    // Called outside the lock: the listener may change windows itself.
    if (observer) {
        (*observer)(hwnd);
    }
}

}  // namespace platform
