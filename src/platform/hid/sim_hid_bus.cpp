#include "platform/hid/sim_hid_bus.h"

#include "platform/hid/sim_bus_core.h"

namespace platform::hid {

SimHidBus::SimHidBus() : core_(std::make_shared<SimBusCore>()) {}

SimHidBus::~SimHidBus() {
    core_->Shutdown();
}

bool SimHidBus::Enumerate(std::vector<std::wstring>* paths) {
    return core_->Enumerate(paths);
}

std::unique_ptr<HidHandle> SimHidBus::Open(std::wstring_view path, HidOpenFlags flags) {
    return core_->Open(path, flags);
}

bool SimHidBus::IsPresent(std::wstring_view path) {
    return core_->IsPresent(path);
}

std::optional<uint64_t> SimHidBus::ChangeStamp() {
    return core_->ChangeStamp();
}

void SimHidBus::Plug(std::shared_ptr<SimHidDevice> device, uint32_t delayMs) {
    core_->Plug(std::move(device), delayMs);
}

void SimHidBus::Unplug(const std::shared_ptr<SimHidDevice>& device, uint32_t delayMs) {
    core_->Unplug(device.get(), delayMs);
}

void SimHidBus::UnplugAll() {
    core_->UnplugAll();
}

std::wstring SimHidBus::PathOf(const SimHidDevice& device, int interfaceNumber,
                               uint32_t collection) const {
    return core_->PathOf(device, interfaceNumber, collection);
}

size_t SimHidBus::OpenHandleCount() const {
    return core_->OpenHandleCount();
}

}  // namespace platform::hid
