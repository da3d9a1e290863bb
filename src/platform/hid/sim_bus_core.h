#pragma once
// Inside of the simulated bus. Devices hold it weakly and handles strongly, so a device
// that outlives its bus, or a handle that outlives the bus object, stays safe.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/sim_hid_device.h"

namespace platform::hid {

class SimHidHandle;

class SimBusCore : public std::enable_shared_from_this<SimBusCore> {
  public:
    SimBusCore() = default;
    ~SimBusCore();

    // Stops the timer thread and pulls every device out; called by the bus object.
    void Shutdown();

    void Plug(std::shared_ptr<SimHidDevice> device, uint32_t delayMs);
    void Unplug(SimHidDevice* device, uint32_t delayMs);
    void UnplugAll();
    void Deliver(SimHidDevice* device, uint64_t generation, int interfaceNumber,
                 std::vector<uint8_t> report, uint32_t delayMs);

    bool Enumerate(std::vector<std::wstring>* paths) const;
    std::unique_ptr<HidHandle> Open(std::wstring_view path, HidOpenFlags flags);
    // An open with no access is refused by nothing but an absent collection.
    bool IsPresent(std::wstring_view path) const;
    std::wstring PathOf(const SimHidDevice& device, int interfaceNumber, uint32_t collection) const;
    size_t OpenHandleCount() const;
    void Unregister(SimHidHandle* handle);
    // Moves after every change that can alter what a listing, an open or a presence probe
    // gives: a plug, an unplug, a device's refusal switched, a handle that writes or
    // shares reading only opened or closed.
    uint64_t ChangeStamp() const { return changes_.load(std::memory_order_acquire); }
    void NoteChange() { changes_.fetch_add(1, std::memory_order_acq_rel); }

  private:
    struct Plugged {
        std::shared_ptr<SimHidDevice> device;
        uint32_t node = 0;
    };
    struct Location {
        const Plugged* plugged = nullptr;
        size_t interfaceIndex = 0;
        size_t collectionIndex = 0;
    };

    void Schedule(uint32_t delayMs, std::function<void()> action);
    void TimerLoop();
    void PlugNow(std::shared_ptr<SimHidDevice> device);
    void UnplugNow(SimHidDevice* device);
    // The bus's own reference to a plugged device, kept alive by a delayed action; null
    // when the device is not plugged.
    std::shared_ptr<SimHidDevice> PluggedReference(SimHidDevice* device);
    void DeliverNow(SimHidDevice* device, uint64_t generation, int interfaceNumber,
                    const std::vector<uint8_t>& report);
    std::wstring PathLocked(const Plugged& plugged, size_t interfaceIndex,
                            size_t collectionIndex) const;
    bool FindLocked(std::wstring_view path, Location* found) const;
    bool SharingConflictLocked(const SimHidDevice* device, size_t interfaceIndex,
                               size_t collectionIndex, HidOpenFlags flags) const;

    mutable std::mutex mutex_;
    std::vector<Plugged> plugged_;
    std::map<const SimHidDevice*, uint32_t> nodes_;
    uint32_t nextNode_ = 1;
    std::vector<SimHidHandle*> handles_;
    std::atomic<uint64_t> changes_{0};

    std::mutex timerMutex_;
    std::condition_variable timerWake_;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> timers_;
    std::thread timerThread_;
    bool stopping_ = false;
};

}  // namespace platform::hid
