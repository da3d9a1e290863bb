#include "device/page/led_button_tint.h"

#include "controls/led_tint_target.h"
#include "duilib/ui_container.h"

namespace device {

void SetLedButtonTint(DuiLib::CControlUI* button, uint32_t colour, uint8_t alpha, bool on) {
    auto* target =
        button ? static_cast<ILedTintTarget*>(button->GetInterface(ILedTintTarget::kInterfaceName))
               : nullptr;
    if (target) {
        target->SetLedTint(colour, alpha, on);
    }
}

void ShowLedTints(DuiLib::CControlUI* preview) {
    if (preview == nullptr) {
        return;
    }
    // A key button holds no other controls: it is not asked whether it is a container (a
    // frame walks the picture's hundred keys 20 times a second).
    if (auto* target =
            static_cast<ILedTintTarget*>(preview->GetInterface(ILedTintTarget::kInterfaceName))) {
        target->ShowLedTint();
        return;
    }
    auto* container = static_cast<DuiLib::IContainerUI*>(preview->GetInterface(L"IContainer"));
    for (int i = 0; container != nullptr && i < container->GetCount(); ++i) {
        ShowLedTints(container->GetItemAt(i));
    }
}

}  // namespace device
