// The mouse page's settings controls: five DPI stages (a check, a slider and an edit
// each), the polling rate, pointer speed and precision, scrolling and the double-click
// speed. The main window's relays read them back and hand the values to the device.

#include <algorithm>
#include <cwchar>

#include "device/mouse/vornalix_mouse_device.h"
#include "duilib/ui_button.h"
#include "duilib/ui_progress.h"

using DuiLib::CDuiString;
using DuiLib::COptionUI;
using DuiLib::CSliderUI;

namespace {

constexpr int kDpiStages = 5;
constexpr int kPollingOptions = 5;

struct SliderLook {
    const wchar_t* fore;
    const wchar_t* thumb;
};
constexpr SliderLook kCurrentStageLook{L"Control/SliderBar_BK3.png",
                                       L"Control/SliderBar2_Thumb.png"};
constexpr SliderLook kOtherStageLook{L"Control/SliderBar_BK1.png", L"Control/SliderBar1_Thumb.png"};

void SetSliderLook(CSliderUI* slider, const SliderLook& look) {
    slider->SetForeImage(look.fore);
    slider->SetAttribute(L"thumbimage", look.thumb);
    slider->SetAttribute(L"thumbhotimage", look.thumb);
    slider->SetAttribute(L"thumbpushedimage", look.thumb);
}

// The decimal number at the start of `text` (blanks allowed before it); 0 for none, and
// capped rather than overflowing.
int LeadingNumber(const CDuiString& text) {
    const wchar_t* p = text.GetData();
    while (*p == L' ') {
        ++p;
    }
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = std::min<long long>(value * 10 + (*p - L'0'), 0x7FFFFFFF);
    }
    return static_cast<int>(value);
}

}  // namespace

void CVornalixMouseDevice::ShowDpiStageCount(int count) {
    shownDpiStages_ = std::clamp(count, 0, kDpiStages);
    for (int n = 0; n < kDpiStages; ++n) {
        if (CControlUI* layout = pageControls_.FindIndexed(L"DPI_layout_", n)) {
            layout->SetVisible(n < shownDpiStages_);
        }
    }
}

void CVornalixMouseDevice::EnableDpiStage(int stage, int enabled) {
    if (CControlUI* layout = pageControls_.FindIndexed(L"DPI_layout_", stage)) {
        layout->SetEnabled(enabled != 0);
    }
    auto* check = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", stage);
    if (!check) {
        return;
    }
    check->Selected(enabled != 0, false);
    if (enabled != 0) {
        RestoreDpiChecks();
        return;
    }
    // The last stage left on cannot be turned off; hidden stages do not count.
    COptionUI* lastOn = nullptr;
    int on = 0;
    for (int n = 0; n < shownDpiStages_; ++n) {
        auto* other = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", n);
        if (other && other->IsSelected()) {
            lastOn = other;
            ++on;
        }
    }
    if (on == 1) {
        lastOn->SetEnabled(false);
    }
}

void CVornalixMouseDevice::RestoreDpiChecks() {
    for (int n = 0; n < kDpiStages; ++n) {
        if (auto* check = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", n)) {
            check->SetEnabled(true);
        }
    }
}

bool CVornalixMouseDevice::IsDpiStageEnabled(int stage) {
    auto* check = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", stage);
    return check && check->IsSelected();
}

void CVornalixMouseDevice::SetDpiStageValue(int stage, int dpi) {
    auto* slider = pageControls_.FindIndexedAs<CSliderUI>(L"DPI_slider_", stage);
    if (slider) {
        slider->SetValue(dpi);
        const bool current = stage == Profile().GetCurrentDpiStage();
        SetSliderLook(slider, current ? kCurrentStageLook : kOtherStageLook);
    }
    if (CControlUI* edit = pageControls_.FindIndexed(L"DPI_edit_", stage)) {
        edit->SetText(std::to_wstring(dpi * capabilities_.DpiStepMultiplier()).c_str());
    }
}

int CVornalixMouseDevice::GetDpiStageValue(int stage) {
    auto* slider = pageControls_.FindIndexedAs<CSliderUI>(L"DPI_slider_", stage);
    return slider ? slider->GetValue() : 0;
}

int CVornalixMouseDevice::GetDpiEditValue(int stage) {
    CControlUI* edit = pageControls_.FindIndexed(L"DPI_edit_", stage);
    int typed = edit ? LeadingNumber(edit->GetText()) : 0;
    // The edit takes any number: one past the edit's range would reach the mouse as a
    // stage it cannot have.
    if (dpiEditMaximum_ > 0) {
        typed = std::min(typed, dpiEditMaximum_);
    }
    return std::max<int>(typed, capabilities_.MinDpiValue());
}

void CVornalixMouseDevice::SelectPollingRateOption(int option) {
    if (option < 0 || option >= kPollingOptions) {
        option = 0;
    }
    for (int n = 0; n < kPollingOptions; ++n) {
        if (auto* check = pageControls_.FindIndexedAs<COptionUI>(L"polling_rate_option_", n)) {
            check->Selected(n == option, false);
        }
    }
}

void CVornalixMouseDevice::SetPointerSpeed(int speed) {
    if (auto* slider = pageControls_.FindAs<CSliderUI>(L"pointer_speed_slider")) {
        slider->SetValue(speed);
    }
}

int CVornalixMouseDevice::GetPointerSpeed() {
    auto* slider = pageControls_.FindAs<CSliderUI>(L"pointer_speed_slider");
    return slider ? slider->GetValue() : 0;
}

void CVornalixMouseDevice::SetPointerPrecision(int precision) {
    systemStages_.pointerPrecision = static_cast<uint16_t>(precision);
    if (auto* check = pageControls_.FindAs<COptionUI>(L"pointer_precision_check")) {
        check->Selected(precision != 0, false);
    }
}

bool CVornalixMouseDevice::IsPointerPrecisionChecked() {
    auto* check = pageControls_.FindAs<COptionUI>(L"pointer_precision_check");
    return check && check->IsSelected();
}

void CVornalixMouseDevice::SetScrollSettings(int page, int lines) {
    auto* check = pageControls_.FindAs<COptionUI>(L"scrolls_page_check");
    auto* slider = pageControls_.FindAs<CSliderUI>(L"scroll_speed_slider");
    if (!check || !slider) {
        return;
    }
    systemStages_.scrollPage = static_cast<uint16_t>(page);
    systemStages_.wheelScrollLines = static_cast<uint16_t>(lines);
    check->Selected(page != 0, false);
    slider->SetValue(lines);
}

bool CVornalixMouseDevice::IsScrollPageChecked() {
    auto* check = pageControls_.FindAs<COptionUI>(L"scrolls_page_check");
    return check && check->IsSelected();
}

int CVornalixMouseDevice::GetScrollSpeed() {
    auto* slider = pageControls_.FindAs<CSliderUI>(L"scroll_speed_slider");
    return slider ? slider->GetValue() : 0;
}

void CVornalixMouseDevice::SetDoubleClickSpeed(int time) {
    if (auto* slider = pageControls_.FindAs<CSliderUI>(L"double_click_slider")) {
        slider->SetValue(time);
    }
}

int CVornalixMouseDevice::GetDoubleClickSpeed() {
    auto* slider = pageControls_.FindAs<CSliderUI>(L"double_click_slider");
    return slider ? slider->GetValue() : 0;
}

int CVornalixMouseDevice::GetDoubleClickSpeedMax() {
    auto* slider = pageControls_.FindAs<CSliderUI>(L"double_click_slider");
    return slider ? slider->GetMaxValue() : 0;
}
