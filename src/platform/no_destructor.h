#pragma once
// A process-wide object that is built on first use and deliberately never destroyed.
//
// Worker threads use the process tables (windows and their queues, registered messages,
// the clock, the trace sink, notices, the HID bus) until they are stopped, and exit() may
// run the destructors of static objects while they still run: a library may call it on any
// thread. Such a table is kept to the very end instead. What it holds stays reachable from
// static storage, so leak checkers do not report it.

#include <new>
#include <utility>

namespace platform {

template <class T>
class NoDestructor {
  public:
    template <class... Args>
    explicit NoDestructor(Args&&... args) {
        new (storage_) T(std::forward<Args>(args)...);
    }
    NoDestructor(const NoDestructor&) = delete;
    NoDestructor& operator=(const NoDestructor&) = delete;

    T& operator*() { return *get(); }
    const T& operator*() const { return *get(); }
    T* operator->() { return get(); }
    const T* operator->() const { return get(); }
    T* get() { return std::launder(reinterpret_cast<T*>(storage_)); }
    const T* get() const { return std::launder(reinterpret_cast<const T*>(storage_)); }

  private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace platform
