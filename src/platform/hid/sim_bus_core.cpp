#include "platform/hid/sim_bus_core.h"

#include <algorithm>

#include "platform/hid/sim_hid_handle.h"
#include "platform/milestones.h"

namespace platform::hid {

SimBusCore::~SimBusCore() {
    Shutdown();
}

void SimBusCore::Shutdown() {
    {
        std::lock_guard<std::mutex> lock(timerMutex_);
        stopping_ = true;
        timers_.clear();
    }
    timerWake_.notify_all();
    if (timerThread_.joinable() && timerThread_.get_id() != std::this_thread::get_id()) {
        timerThread_.join();
    }
    UnplugAll();
}

void SimBusCore::Schedule(uint32_t delayMs, std::function<void()> action) {
    std::lock_guard<std::mutex> lock(timerMutex_);
    if (stopping_) {
        return;
    }
    timers_.emplace(std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs),
                    std::move(action));
    if (!timerThread_.joinable()) {
        timerThread_ = std::thread([this] { TimerLoop(); });
    }
    timerWake_.notify_all();
}

void SimBusCore::TimerLoop() {
    std::unique_lock<std::mutex> lock(timerMutex_);
    while (!stopping_) {
        if (timers_.empty()) {
            timerWake_.wait(lock);
            continue;
        }
        const auto due = timers_.begin()->first;
        if (std::chrono::steady_clock::now() < due) {
            timerWake_.wait_until(lock, due);
            continue;
        }
        std::function<void()> action = std::move(timers_.begin()->second);
        timers_.erase(timers_.begin());
        lock.unlock();
        action();
        lock.lock();
    }
}

void SimBusCore::Plug(std::shared_ptr<SimHidDevice> device, uint32_t delayMs) {
    if (!device) {
        return;
    }
    if (delayMs == 0) {
        PlugNow(std::move(device));
        return;
    }
    Schedule(delayMs, [this, device] { PlugNow(device); });
}

void SimBusCore::PlugNow(std::shared_ptr<SimHidDevice> device) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Plugged& p : plugged_) {
        if (p.device == device) {
            return;
        }
    }
    auto [node, inserted] = nodes_.try_emplace(device.get(), nextNode_);
    if (inserted) {
        ++nextNode_;
    }
    {
        std::lock_guard<std::mutex> deviceLock(device->mutex_);
        device->bus_ = weak_from_this();
        ++device->generation_;
    }
    plugged_.push_back({std::move(device), node->second});
    NoteChange();
    platform::Milestone("plug");
}

void SimBusCore::Unplug(SimHidDevice* device, uint32_t delayMs) {
    if (delayMs == 0) {
        UnplugNow(device);
        return;
    }
    if (std::shared_ptr<SimHidDevice> keep = PluggedReference(device)) {
        Schedule(delayMs, [this, keep] { UnplugNow(keep.get()); });
    }
}

std::shared_ptr<SimHidDevice> SimBusCore::PluggedReference(SimHidDevice* device) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Plugged& p : plugged_) {
        if (p.device.get() == device) {
            return p.device;
        }
    }
    return nullptr;
}

void SimBusCore::UnplugNow(SimHidDevice* device) {
    std::shared_ptr<SimHidDevice> removed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = std::find_if(plugged_.begin(), plugged_.end(),
                               [device](const Plugged& p) { return p.device.get() == device; });
        if (it == plugged_.end()) {
            return;
        }
        removed = std::move(it->device);
        plugged_.erase(it);
        NoteChange();
        for (SimHidHandle* handle : handles_) {
            if (handle->Device() == device) {
                handle->MarkGone();
            }
        }
        std::lock_guard<std::mutex> deviceLock(device->mutex_);
        device->bus_.reset();
    }
}

void SimBusCore::UnplugAll() {
    std::vector<SimHidDevice*> devices;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const Plugged& p : plugged_) {
            devices.push_back(p.device.get());
        }
    }
    for (SimHidDevice* device : devices) {
        UnplugNow(device);
    }
}

void SimBusCore::Deliver(SimHidDevice* device, uint64_t generation, int interfaceNumber,
                         std::vector<uint8_t> report, uint32_t delayMs) {
    if (delayMs == 0) {
        DeliverNow(device, generation, interfaceNumber, report);
        return;
    }
    if (std::shared_ptr<SimHidDevice> keep = PluggedReference(device)) {
        Schedule(delayMs, [this, keep, generation, interfaceNumber, r = std::move(report)] {
            DeliverNow(keep.get(), generation, interfaceNumber, r);
        });
    }
}

void SimBusCore::DeliverNow(SimHidDevice* device, uint64_t generation, int interfaceNumber,
                            const std::vector<uint8_t>& report) {
    if (report.empty()) {
        return;
    }
    const auto& interfaces = device->Interfaces();
    size_t interfaceIndex = interfaces.size();
    for (size_t i = 0; i < interfaces.size(); ++i) {
        if (interfaces[i].number == interfaceNumber) {
            interfaceIndex = i;
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (SimHidHandle* handle : handles_) {
        if (handle->Accepts(device, generation, interfaceIndex, report[0])) {
            handle->Push(report);
        }
    }
}

std::wstring SimBusCore::PathLocked(const Plugged& plugged, size_t interfaceIndex,
                                    size_t collectionIndex) const {
    const SimHidDevice& device = *plugged.device;
    const size_t collections = device.Collections(interfaceIndex).size();
    const uint32_t collection = collections > 1 ? static_cast<uint32_t>(collectionIndex + 1) : 0;
    return MakeHidPath(device.VendorId(), device.ProductId(),
                       device.Interfaces()[interfaceIndex].number, collection,
                       L"sim" + std::to_wstring(plugged.node));
}

bool SimBusCore::Enumerate(std::vector<std::wstring>* paths) const {
    if (paths == nullptr) {
        return false;
    }
    paths->clear();
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Plugged& p : plugged_) {
        for (size_t i = 0; i < p.device->Interfaces().size(); ++i) {
            for (size_t c = 0; c < p.device->Collections(i).size(); ++c) {
                paths->push_back(PathLocked(p, i, c));
            }
        }
    }
    return true;
}

bool SimBusCore::FindLocked(std::wstring_view path, Location* found) const {
    for (const Plugged& p : plugged_) {
        for (size_t i = 0; i < p.device->Interfaces().size(); ++i) {
            for (size_t c = 0; c < p.device->Collections(i).size(); ++c) {
                if (SameHidPath(PathLocked(p, i, c), path)) {
                    *found = {&p, i, c};
                    return true;
                }
            }
        }
    }
    return false;
}

namespace {

// Only a handle that writes or shares reading only can make another open fail.
bool AffectsSharing(const HidOpenFlags& flags) {
    return flags.write || flags.exclusive;
}

}  // namespace

// Share modes as the system applies them: an open asking for writing fails while
// another handle shares reading only, and an open sharing reading only fails while
// another handle writes. Opens with no access never conflict.
bool SimBusCore::SharingConflictLocked(const SimHidDevice* device, size_t interfaceIndex,
                                       size_t collectionIndex, HidOpenFlags flags) const {
    if (!flags.read && !flags.write) {
        return false;
    }
    for (const SimHidHandle* handle : handles_) {
        if (handle->Device() != device || handle->InterfaceIndex() != interfaceIndex ||
            handle->CollectionIndex() != collectionIndex) {
            continue;
        }
        const HidOpenFlags& other = handle->Flags();
        if ((flags.write && other.exclusive) || (flags.exclusive && other.write)) {
            return true;
        }
    }
    return false;
}

bool SimBusCore::IsPresent(std::wstring_view path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Location at;
    return FindLocked(path, &at);
}

std::unique_ptr<HidHandle> SimBusCore::Open(std::wstring_view path, HidOpenFlags flags) {
    std::lock_guard<std::mutex> lock(mutex_);
    Location at;
    if (!FindLocked(path, &at)) {
        return nullptr;
    }
    const std::shared_ptr<SimHidDevice>& device = at.plugged->device;
    // A refusal, like a share conflict, concerns opens that move reports: a presence
    // probe with no access still finds the device, as it does on a real bus.
    const bool movesReports = flags.read || flags.write;
    if ((movesReports && device->RefusesOpen()) ||
        SharingConflictLocked(device.get(), at.interfaceIndex, at.collectionIndex, flags)) {
        return nullptr;
    }
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> deviceLock(device->mutex_);
        generation = device->generation_;
    }
    auto handle = std::make_unique<SimHidHandle>(shared_from_this(), device, at.interfaceIndex,
                                                 at.collectionIndex, generation, flags);
    handles_.push_back(handle.get());
    if (AffectsSharing(flags)) {
        NoteChange();
    }
    return handle;
}

std::wstring SimBusCore::PathOf(const SimHidDevice& device, int interfaceNumber,
                                uint32_t collection) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Plugged& p : plugged_) {
        if (p.device.get() != &device) {
            continue;
        }
        for (size_t i = 0; i < device.Interfaces().size(); ++i) {
            if (device.Interfaces()[i].number == interfaceNumber && collection >= 1 &&
                collection <= device.Collections(i).size()) {
                return PathLocked(p, i, collection - 1);
            }
        }
    }
    return {};
}

size_t SimBusCore::OpenHandleCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return handles_.size();
}

void SimBusCore::Unregister(SimHidHandle* handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(std::remove(handles_.begin(), handles_.end(), handle), handles_.end());
    if (AffectsSharing(handle->Flags())) {
        NoteChange();
    }
}

}  // namespace platform::hid
