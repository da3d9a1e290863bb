#pragma once
// What VELKARO_SIM plugs into the simulated bus: a comma-separated list of models, each
// with an optional plug time in milliseconds ("keyboard@500"). "none" plugs nothing;
// unset or empty means "keyboard". Models known: keyboard, mouse,
// mousepad, headset.
//
// The program calls StartScenarioFromEnvironment() once at start and keeps the result
// for its lifetime; it does nothing unless VELKARO_HID=sim.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/sim_hid_bus.h"

namespace sim {

// The models a scenario may name.
inline constexpr std::array<std::string_view, 4> kSimModelNames = {"keyboard", "mouse", "mousepad",
                                                                   "headset"};

struct ScenarioEntry {
    std::string model;
    uint32_t plugAtMs = 0;
};

// False for a malformed list or an unknown model (nothing is parsed then).
bool ParseScenario(std::string_view text, std::vector<ScenarioEntry>* entries);
// A new device of a model named in a scenario; null for an unknown name.
std::shared_ptr<platform::hid::SimHidDevice> MakeSimModel(std::string_view model);

class SimScenario {
  public:
    SimScenario(platform::hid::SimHidBus& bus, const std::vector<ScenarioEntry>& entries);
    const std::vector<std::shared_ptr<platform::hid::SimHidDevice>>& Devices() const {
        return devices_;
    }

  private:
    std::vector<std::shared_ptr<platform::hid::SimHidDevice>> devices_;
};

// Plugs the VELKARO_SIM scenario into the process bus when that bus is simulated; null
// otherwise. A malformed VELKARO_SIM is traced and plugs nothing.
std::unique_ptr<SimScenario> StartScenarioFromEnvironment();

}  // namespace sim
