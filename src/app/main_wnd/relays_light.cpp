// The lighting panel's actions on the current device: every change is stored in the
// device's light parameters and profile, applied, and written to the device.

#include <algorithm>
#include <array>
#include <cstring>

#include "app/device_panels.h"
#include "app/light_sync.h"
#include "app/main_wnd/main_wnd.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "device/record_words.h"
#include "device/vornalix_usb_device.h"
#include "pages/light_control_ui.h"

namespace {

// Each light mode of the keyboard and of the other kinds that the shared lighting can
// show, by sync mode (breathing, static, flash, spectrum, off).
constexpr std::array<uint8_t, light_sync::kModeCount> kKeyboardModes = {5, 6, 24, 4, 28};
constexpr std::array<uint8_t, light_sync::kModeCount> kOtherModes = {2, 3, 4, 1, 8};

uint8_t Byte(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// The panel's choice over `light`: the bytes it does not show keep their values.
void ReadPanel(const CLightControlUI& panel, LightRecord& light) {
    light.mode = Byte(panel.GetSelectedMode());
    light.brightness = Byte(panel.GetBrightness());
    light.speed = Byte(panel.GetSpeed());
    light.direction = Byte(panel.GetDirection());
    light.multiColour = panel.IsMultiColor() ? 1 : 0;
    light.red = Byte(panel.GetRed());
    light.green = Byte(panel.GetGreen());
    light.blue = Byte(panel.GetBlue());
    light.qrvmMode = Byte(panel.GetAreaMode());
}

// The light record the device's profile holds, for the bytes the panel does not show.
LightRecord StoredLight(CVornalixUSBDevice& device) {
    if (auto* keyboard = dynamic_cast<CVornalixKeyboardDevice*>(&device)) {
        return keyboard->Profile().GetLightInfo();
    }
    if (auto* mouse = dynamic_cast<CVornalixMouseDevice*>(&device)) {
        return mouse->Profile().GetLightInfo();
    }
    if (auto* pad = dynamic_cast<CVornalixMousePadDevice*>(&device)) {
        return pad->Profile().GetLightInfo();
    }
    if (auto* headset = dynamic_cast<CVornalixTamselDevice*>(&device)) {
        return headset->Profile().GetLightInfo();
    }
    return {};
}

int SyncModeOf(int kind, uint8_t mode) {
    const auto& modes = kind == device::kKeyboardDevice ? kKeyboardModes : kOtherModes;
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modes[i] == mode) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

void CMainWnd::ApplyLightEdit() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    CLightControlUI* panel = CurrentLightPanel();
    if (device == nullptr || panel == nullptr || panel->GetSelectedMode() < 0) {
        return;  // without a mode the panel shows nothing the device could take
    }
    LightRecord light = StoredLight(*device);
    ReadPanel(*panel, light);
    const std::array<uint32_t, 3> words = device::LightRecordWords(light);
    device->SetLightParams(words[0], words[1], words[2], light.customGroup);
    device->SaveProfile();
    device->ApplyProfileLight();
    device->WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
}

void CMainWnd::OnLightModeSelect() {
    if (CLightControlUI* panel = CurrentLightPanel()) {
        panel->LayoutForMode(panel->GetSelectedMode());
    }
    ApplyLightEdit();
}

void CMainWnd::OnCustomLightModeSelect() {
    CVornalixKeyboardDevice* keyboard = CurrentKeyboard();
    CLightControlUI* panel = CurrentLightPanel();
    if (keyboard == nullptr || panel == nullptr) {
        return;
    }
    keyboard->ChooseCustomLightGroup(panel->GetCustomLightMode());
    keyboard->WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
}

void CMainWnd::OnLightBrightnessChange() {
    ApplyLightEdit();
}
void CMainWnd::OnLightSpeedChange() {
    ApplyLightEdit();
}
void CMainWnd::OnQRVMModeSelect() {
    ApplyLightEdit();
}
void CMainWnd::OnPaletteColorChange() {
    CLightControlUI* panel = CurrentLightPanel();
    if (panel != nullptr && panel->ApplyPaletteColor()) {
        ApplyLightEdit();
    }
}
void CMainWnd::OnRedEdit() {
    ApplyLightEdit();
}
void CMainWnd::OnGreenEdit() {
    ApplyLightEdit();
}
void CMainWnd::OnBlueEdit() {
    ApplyLightEdit();
}
void CMainWnd::OnLightMultiColor() {
    ApplyLightEdit();
}
void CMainWnd::OnLightDirection(bool) {
    // The panel's direction options already say which way was chosen.
    ApplyLightEdit();
}

void CMainWnd::OnPresetColorClick(int n) {
    CLightControlUI* panel = CurrentLightPanel();
    if (panel != nullptr && panel->ApplyPresetColor(n)) {
        ApplyLightEdit();
    }
}

void CMainWnd::OnCustomColorButton(bool on) {
    // The keys chosen on the picture, not the whole keyboard.
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        keyboard->PaintChosenKeys(on);
    }
}

void CMainWnd::OnKeyLightSelectEnd(DuiLib::CControlUI* picture) {
    CVornalixKeyboardDevice* keyboard = CurrentKeyboard();
    if (keyboard == nullptr || !keyboard->IsKeyPicture(picture)) {
        return;
    }
    const bool chosen = keyboard->PaintChosenKeys(true);
    if (CLightControlUI* panel = CurrentLightPanel()) {
        panel->EnableKeyChoiceButtons(chosen);
    }
}

void CMainWnd::OnLightSyncAll() {
    CVornalixUSBDevice* current = GetCurrentDevice();
    if (current == nullptr) {
        return;
    }
    const LightRecord light = StoredLight(*current);
    const int syncMode = SyncModeOf(current->GetDeviceType(), light.mode);
    if (syncMode < 0) {
        return;  // a mode the other devices cannot show
    }
    light_sync::Settings& settings = light_sync::SharedSettings();
    settings.mode = static_cast<uint8_t>(syncMode);
    settings.brightness = light.brightness;
    settings.speed = light.speed;
    settings.direction = light.direction;
    settings.multiColour = light.multiColour;
    settings.red = light.red;
    settings.green = light.green;
    settings.blue = light.blue;
    LightPanelRecord shown{};
    std::memcpy(shown.data(), &light, 8);
    for (auto* list : {&mice_, &mousePads_, &headsets_, &keyboards_}) {
        for (CVornalixUSBDevice* device : *list) {
            if (device == nullptr || device->CommandChannel().IsOpen() == 0) {
                continue;
            }
            device->SetLightSync(true);
            if (CLightControlUI* own = LightPanelOf(device)) {
                const auto& modes = device->GetDeviceType() == device::kKeyboardDevice
                                        ? kKeyboardModes
                                        : kOtherModes;
                shown[0] = modes[static_cast<size_t>(syncMode)];
                own->ShowLightSettings(shown);
            }
        }
    }
}
