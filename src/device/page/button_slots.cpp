#include "device/page/button_slots.h"

namespace device {

bool PutButtonAt(std::vector<DuiLib::CControlUI*>& slots, int n, DuiLib::CControlUI* button) {
    if (n < 0 || static_cast<size_t>(n) >= slots.size()) {
        return false;
    }
    slots[static_cast<size_t>(n)] = button;
    return true;
}

bool PutButtonGrowing(std::vector<DuiLib::CControlUI*>& slots, int n, DuiLib::CControlUI* button) {
    if (n >= 0 && n < kMaxButtonSlots && static_cast<size_t>(n) >= slots.size()) {
        slots.resize(static_cast<size_t>(n) + 1, nullptr);
    }
    return PutButtonAt(slots, n, button);
}

}  // namespace device
