// The keyboard page's system-setting controls: polling rate, the Windows-key lock, the
// WASD swap, six-key mode, and the repeat rate and delay with a field to try them in.
// The main window's relays read them back and hand the values to the device.

#include "device/keyboard/vornalix_keyboard_device.h"
#include "duilib/ui_button.h"
#include "duilib/ui_progress.h"

using DuiLib::CDuiString;
using DuiLib::COptionUI;

namespace {

constexpr int kSettingOptions = 4;
constexpr int kRepeatDelayStepMs = 250;

int ClampOption(int n) {
    return n < 0 || n >= kSettingOptions ? 0 : n;
}

}  // namespace

void CVornalixKeyboardDevice::SetOptionChecked(const wchar_t* name, bool on) {
    // A refresh shows stored values; it must not raise the change the relays answer.
    if (auto* option = pageControls_.FindAs<COptionUI>(name)) {
        option->Selected(on, false);
    }
}

bool CVornalixKeyboardDevice::IsOptionChecked(const wchar_t* name) {
    auto* option = pageControls_.FindAs<COptionUI>(name);
    return option && option->IsSelected();
}

void CVornalixKeyboardDevice::SelectPollingRateOption(int n) {
    n = ClampOption(n);
    for (int i = 0; i < kSettingOptions; ++i) {
        if (auto* option = pageControls_.FindIndexedAs<COptionUI>(L"polling_rate_option_", i)) {
            option->Selected(i == n, false);
        }
    }
}

void CVornalixKeyboardDevice::SetWinFlagOption(bool on) {
    SetOptionChecked(L"winlockflag_option", on);
}

bool CVornalixKeyboardDevice::IsWinFlagChecked() {
    return IsOptionChecked(L"winlockflag_option");
}

void CVornalixKeyboardDevice::SetWFlagOption(bool on) {
    SetOptionChecked(L"wflag_option", on);
}

bool CVornalixKeyboardDevice::IsWFlagChecked() {
    return IsOptionChecked(L"wflag_option");
}

void CVornalixKeyboardDevice::SetKey6FlagOption(bool on) {
    SetOptionChecked(L"6flag_option", on);
}

bool CVornalixKeyboardDevice::IsKey6FlagChecked() {
    return IsOptionChecked(L"6flag_option");
}

void CVornalixKeyboardDevice::SetRepeatRate(int value) {
    if (auto* slider = pageControls_.FindAs<DuiLib::CSliderUI>(L"repeat_rate_slider")) {
        slider->SetValue(value);
    }
}

int CVornalixKeyboardDevice::GetRepeatRate() {
    auto* slider = pageControls_.FindAs<DuiLib::CSliderUI>(L"repeat_rate_slider");
    return slider ? slider->GetValue() : 0;
}

void CVornalixKeyboardDevice::SelectRepeatDelayOption(int n) {
    n = ClampOption(n);
    for (int i = 0; i < kSettingOptions; ++i) {
        if (auto* option = pageControls_.FindIndexedAs<COptionUI>(L"repeat_delay_check_", i)) {
            option->Selected(i == n, false);
        }
    }
    UpdateRepeatDelayLabel(n);
}

void CVornalixKeyboardDevice::UpdateRepeatDelayLabel(int n) {
    if (DuiLib::CControlUI* label = pageControls_.Find(L"repeat_delay_time_label1")) {
        const int delayMs = (ClampOption(n) + 1) * kRepeatDelayStepMs;
        label->SetText(TranslateText(L"Repeat_Delay_Time") + CDuiString(std::to_wstring(delayMs)) +
                       L"ms");
    }
}

void CVornalixKeyboardDevice::ClearRepeatTestInput() {
    if (DuiLib::CControlUI* input = pageControls_.Find(L"repeat_input_richedit")) {
        input->SetText(L"");
    }
}

void CVornalixKeyboardDevice::SetRepeatInputTip() {
    if (DuiLib::CControlUI* input = pageControls_.Find(L"repeat_input_richedit")) {
        input->SetToolTip(TranslateText(L"Repeat_input_text"));
    }
}
