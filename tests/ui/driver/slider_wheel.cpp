#include "ui/driver/slider_wheel.h"

#include "duilib/ui_progress.h"

namespace ui {

namespace {

constexpr int kMaxWheelNotches = 200;

}  // namespace

int SliderValue(DuiLib::CControlUI* slider) {
    auto* own = slider != nullptr ? static_cast<DuiLib::CSliderUI*>(slider->GetInterface(L"Slider"))
                                  : nullptr;
    return own != nullptr ? own->GetValue() : -1;
}

bool WheelSliderTo(UiDriver& ui, DuiLib::CControlUI* slider, int value) {
    for (int notch = 0; notch < kMaxWheelNotches && SliderValue(slider) != value; ++notch) {
        const int before = SliderValue(slider);
        ui.Wheel(slider, before < value ? 1 : -1);
        if (SliderValue(slider) == before) {
            return false;  // at its end, or not taking the wheel
        }
    }
    return SliderValue(slider) == value;
}

}  // namespace ui
