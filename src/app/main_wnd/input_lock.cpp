#include "app/main_wnd/input_lock.h"

#include "duilib/ui_container.h"

using namespace DuiLib;

namespace {

bool IsInside(const CControlUI* control, const CControlUI* root) {
    for (; control != nullptr; control = control->GetParent()) {
        if (control == root) {
            return true;
        }
    }
    return false;
}

}  // namespace

void InputLock::Disable(CControlUI* control) {
    if (control != nullptr && control->IsEnabled()) {
        control->SetEnabled(false);
        disabled_.push_back(control);
    }
}

void InputLock::Lock(CControlUI* page, CControlUI* keep) {
    Unlock();
    locked_ = true;
    if (page == nullptr) {
        return;
    }
    if (keep == nullptr || keep == page || !IsInside(keep, page)) {
        Disable(page);
        return;
    }
    // A disabled container disables what it holds: only the siblings along the path are
    // turned off, never a parent of `keep`.
    for (CControlUI* node = keep; node != page; node = node->GetParent()) {
        auto* parent = dynamic_cast<CContainerUI*>(node->GetParent());
        for (int i = 0; parent != nullptr && i < parent->GetCount(); ++i) {
            if (CControlUI* sibling = parent->GetItemAt(i); sibling != node) {
                Disable(sibling);
            }
        }
    }
}

void InputLock::Unlock() {
    for (CControlUI* control : disabled_) {
        control->SetEnabled(true);
    }
    disabled_.clear();
    locked_ = false;
}
