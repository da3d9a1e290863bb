#include "device/page/led_button_tint.h"

#include "controls/led_tint_target.h"

namespace device {

void SetLedButtonTint(DuiLib::CControlUI* button, uint32_t colour, uint8_t alpha, bool on) {
    auto* target =
        button ? static_cast<ILedTintTarget*>(button->GetInterface(ILedTintTarget::kInterfaceName))
               : nullptr;
    if (target) {
        target->SetLedTint(colour, alpha, on);
    }
}

}  // namespace device
