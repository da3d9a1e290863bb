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
    const wchar_t* track;
    const wchar_t* fore;
    const wchar_t* thumb;
};
constexpr const wchar_t* kTrack = L"file='Control/SliderBar_BK1.png' corner='4,0,4,0'";
constexpr SliderLook kCurrentStageLook{kTrack, L"file='Control/SliderBar_BK3.png' corner='4,0,4,0'",
                                       L"Control/SliderBar2_Thumb.png"};
constexpr SliderLook kOtherStageLook{kTrack, L"file='Control/SliderBar_BK1.png' corner='4,0,4,0'",
                                     L"Control/SliderBar1_Thumb.png"};
// The DPI edit's field: the skin's light one, and a dark one while its stage is off.
constexpr DWORD kStageEditField = 0xFFF0F4F8;
constexpr DWORD kOffStageEditField = 0xFF2E3846;
// A stage turned off keeps its value in view, faded, as a disabled control shows.
constexpr SliderLook kOffStageLook{L"file='Control/SliderBar_BK1.png' corner='4,0,4,0' fade='100'",
                                   L"file='Control/SliderBar_BK3.png' corner='4,0,4,0' fade='70'",
                                   L"file='Control/SliderBar1_Thumb.png' fade='90'"};

void SetSliderLook(CSliderUI* slider, const SliderLook& look) {
    slider->SetBkImage(look.track);
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
        // The row holds the stage's tick box beside its layout; a layout without a row
        // stands for the whole stage.
        CControlUI* row = pageControls_.FindIndexed(L"DPI_row_", n);
        if (!row) {
            row = pageControls_.FindIndexed(L"DPI_layout_", n);
        }
        if (row) {
            row->SetVisible(n < shownDpiStages_);
        }
    }
}

void CVornalixMouseDevice::EnableDpiStage(int stage, int enabled) {
    const bool on = enabled != 0;
    if (CControlUI* layout = pageControls_.FindIndexed(L"DPI_layout_", stage)) {
        layout->SetEnabled(on);
    }
    // The slider and the edit look as their stage is; the tick box is not in the layout,
    // so that a stage turned off can be turned on again.
    if (CControlUI* edit = pageControls_.FindIndexed(L"DPI_edit_", stage)) {
        edit->SetEnabled(on);
        edit->SetBkColor(on ? kStageEditField : kOffStageEditField);
    }
    auto* check = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", stage);
    if (check) {
        check->Selected(on, false);
    }
    ShowDpiSliderLook(stage);
    if (!check) {
        return;
    }
    if (on) {
        RestoreDpiChecks();
        return;
    }
    // The last stage left on cannot be turned off; hidden stages do not count.
    COptionUI* lastOn = nullptr;
    int stagesOn = 0;
    for (int n = 0; n < shownDpiStages_; ++n) {
        auto* other = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", n);
        if (other && other->IsSelected()) {
            lastOn = other;
            ++stagesOn;
        }
    }
    if (stagesOn == 1) {
        lastOn->SetEnabled(false);
    }
}

void CVornalixMouseDevice::ShowDpiSliderLook(int stage) {
    auto* slider = pageControls_.FindIndexedAs<CSliderUI>(L"DPI_slider_", stage);
    if (!slider) {
        return;
    }
    // A page without the tick box has every stage on.
    auto* check = pageControls_.FindIndexedAs<COptionUI>(L"DPI_enable_check_", stage);
    const bool on = !check || check->IsSelected();
    slider->SetEnabled(on);
    if (!on) {
        SetSliderLook(slider, kOffStageLook);
    } else {
        const bool current = stage == Profile().GetCurrentDpiStage();
        SetSliderLook(slider, current ? kCurrentStageLook : kOtherStageLook);
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
        ShowDpiSliderLook(stage);
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
