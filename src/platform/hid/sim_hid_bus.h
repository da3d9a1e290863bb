#pragma once
// The simulated HID bus: an in-process bus whose devices are firmware models
// (platform::hid::SimHidDevice, models in sim/). Devices are plugged in and out at chosen
// times; each open handle keeps its own queue of input reports of its collection, as the
// system's HID stack does.
//
//   auto bus = std::make_shared<platform::hid::SimHidBus>();   // or a plain object
//   auto keyboard = std::make_shared<sim::SimKeyboard>();
//   bus->Plug(keyboard);                  // now; Plug(keyboard, 500) after 500 ms
//   platform::hid::ScopedHidBus use(*bus); // CurrentHidBus() is this bus meanwhile
//   bus->Unplug(keyboard);                // open handles fail from now on

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/sim_hid_device.h"

namespace platform::hid {

class SimBusCore;

class SimHidBus final : public HidBus {
  public:
    SimHidBus();
    ~SimHidBus() override;
    SimHidBus(const SimHidBus&) = delete;
    SimHidBus& operator=(const SimHidBus&) = delete;

    bool Enumerate(std::vector<std::wstring>* paths) override;
    std::unique_ptr<HidHandle> Open(std::wstring_view path, HidOpenFlags flags) override;
    bool IsPresent(std::wstring_view path) override;
    std::optional<uint64_t> ChangeStamp() override;

    // A device keeps its node name, so its paths, when it is plugged in again.
    void Plug(std::shared_ptr<SimHidDevice> device, uint32_t delayMs = 0);
    void Unplug(const std::shared_ptr<SimHidDevice>& device, uint32_t delayMs = 0);
    void UnplugAll();

    // The path of one collection (1-based, in descriptor order) of a plugged device's
    // interface; empty when there is no such collection or the device is not plugged in.
    std::wstring PathOf(const SimHidDevice& device, int interfaceNumber, uint32_t collection) const;
    size_t OpenHandleCount() const;

  private:
    std::shared_ptr<SimBusCore> core_;
};

}  // namespace platform::hid
