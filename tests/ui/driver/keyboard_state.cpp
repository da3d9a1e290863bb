#include "ui/driver/keyboard_state.h"

#include <algorithm>

#include "duilib/ui_control.h"
#include "platform/json_text.h"
#include "sim/sim_keyboard.h"

namespace ui {

namespace {

constexpr size_t kLightBlockBytes = 26;
constexpr size_t kKeyColourTableBytes = 512;

}  // namespace

sim::SimKeyboard* SimKeyboardOf(const UiDriver& ui) {
    return dynamic_cast<sim::SimKeyboard*>(ui.Device("keyboard"));
}

bool WaitForKeyboardStart(UiDriver& ui) {
    sim::SimKeyboard* keyboard = SimKeyboardOf(ui);
    // The start reads the active slot, then its block, on the window's thread: once both
    // came, the start is over.
    return keyboard != nullptr && ui.WaitFor([&] { return keyboard->CommandCount(0x05) >= 2; });
}

std::array<uint8_t, 26> KeyboardLightBlock(const UiDriver& ui) {
    std::array<uint8_t, kLightBlockBytes> block{};
    if (sim::SimKeyboard* keyboard = SimKeyboardOf(ui)) {
        const std::vector<uint8_t> memory = keyboard->Memory(sim::KeyboardMemory::kSettings);
        std::copy_n(memory.begin(), std::min(memory.size(), block.size()), block.begin());
    }
    return block;
}

std::vector<std::array<uint8_t, 3>> KeyboardKeyColours(const UiDriver& ui, int slot) {
    std::vector<std::array<uint8_t, 3>> leds;
    sim::SimKeyboard* keyboard = SimKeyboardOf(ui);
    if (keyboard == nullptr || slot < 0) {
        return leds;
    }
    const std::vector<uint8_t> memory = keyboard->Memory(sim::KeyboardMemory::kKeyColors);
    const size_t start = static_cast<size_t>(slot) * kKeyColourTableBytes;
    for (size_t at = start; at + 3 <= start + kKeyColourTableBytes && at + 3 <= memory.size();
         at += 3) {
        leds.push_back({memory[at], memory[at + 1], memory[at + 2]});
    }
    return leds;
}

int CountKeyColours(const UiDriver& ui, int slot, std::array<uint8_t, 3> rgb) {
    const auto leds = KeyboardKeyColours(ui, slot);
    return static_cast<int>(std::count(leds.begin(), leds.end(), rgb));
}

Json::Value KeyboardProfile(const UiDriver& ui) {
    Json::Value list;
    if (!platform::ParseJsonText(ui.ReadDataFile("keyboard/ProfileList.ini"), &list) ||
        !list.isObject()) {
        return Json::Value();
    }
    const Json::Value& profiles = list["ProfileList"];
    const Json::Value& index = list["SelectIndex"];
    if (!profiles.isArray() || !index.isInt() || index.asInt() < 0 ||
        index.asUInt() >= profiles.size()) {
        return Json::Value();
    }
    const std::string id = profiles[index.asUInt()]["profileUUID"].asString();
    Json::Value profile;
    if (!platform::ParseJsonText(ui.ReadDataFile("keyboard/" + id + ".Json"), &profile) ||
        !profile.isObject() || !profile["Device"].isArray()) {
        return Json::Value();
    }
    return profile["Device"][0];
}

std::array<int, 3> RgbAt(UiDriver& ui, HWND hwnd, POINT at) {
    SDL_Surface* surface = ui.Pixels(hwnd);
    const uint32_t pixel = ui.PixelAt(hwnd, at);
    Uint8 r = 0, g = 0, b = 0;
    if (surface != nullptr) {
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    }
    return {r, g, b};
}

POINT FaceOf(DuiLib::CControlUI* control) {
    const RECT rc = control->GetPos();
    return POINT{rc.left + 5, rc.top + 5};
}

}  // namespace ui
