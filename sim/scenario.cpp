#include "sim/scenario.h"

#include <charconv>
#include <cstdlib>

#include "platform/debug_trace.h"
#include "platform/text_convert.h"
#include "sim/sim_headset.h"
#include "sim/sim_keyboard.h"
#include "sim/sim_mouse.h"
#include "sim/sim_mousepad.h"

namespace sim {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool ParseEntry(std::string_view item, ScenarioEntry* entry) {
    const size_t at = item.find('@');
    entry->model = std::string(Trim(item.substr(0, at)));
    entry->plugAtMs = 0;
    if (at != std::string_view::npos) {
        const std::string_view time = Trim(item.substr(at + 1));
        const auto [end, error] =
            std::from_chars(time.data(), time.data() + time.size(), entry->plugAtMs);
        if (error != std::errc() || end != time.data() + time.size() || time.empty()) {
            return false;
        }
    }
    return MakeSimModel(entry->model) != nullptr;
}

}  // namespace

std::shared_ptr<platform::hid::SimHidDevice> MakeSimModel(std::string_view model) {
    if (model == "keyboard") {
        return std::make_shared<SimKeyboard>();
    }
    if (model == "mouse") {
        return std::make_shared<SimMouse>();
    }
    if (model == "mousepad") {
        return std::make_shared<SimMousePad>();
    }
    if (model == "headset") {
        return std::make_shared<SimHeadset>();
    }
    return nullptr;
}

bool ParseScenario(std::string_view text, std::vector<ScenarioEntry>* entries) {
    entries->clear();
    text = Trim(text);
    if (text.empty()) {
        entries->push_back({"keyboard", 0});
        return true;
    }
    if (text == "none") {
        return true;
    }
    std::vector<ScenarioEntry> parsed;
    while (true) {
        const size_t comma = text.find(',');
        ScenarioEntry entry;
        if (!ParseEntry(text.substr(0, comma), &entry)) {
            return false;
        }
        parsed.push_back(std::move(entry));
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    *entries = std::move(parsed);
    return true;
}

SimScenario::SimScenario(platform::hid::SimHidBus& bus, const std::vector<ScenarioEntry>& entries) {
    for (const ScenarioEntry& entry : entries) {
        std::shared_ptr<platform::hid::SimHidDevice> device = MakeSimModel(entry.model);
        if (device) {
            bus.Plug(device, entry.plugAtMs);
            devices_.push_back(std::move(device));
        }
    }
}

std::unique_ptr<SimScenario> StartScenarioFromEnvironment() {
    auto* bus = dynamic_cast<platform::hid::SimHidBus*>(&platform::hid::CurrentHidBus());
    if (bus == nullptr) {
        return nullptr;
    }
    const char* text = std::getenv("VELKARO_SIM");
    std::vector<ScenarioEntry> entries;
    if (!ParseScenario(text != nullptr ? text : "", &entries)) {
        platform::DebugTrace(L"VELKARO_SIM: unknown scenario \"" +
                             platform::Utf8Decode(text != nullptr ? text : "") + L"\"");
        entries.clear();
    }
    return std::make_unique<SimScenario>(*bus, entries);
}

}  // namespace sim
