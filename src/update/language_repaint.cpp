#include "update/language_repaint.h"

#include "duilib/ui_control.h"
#include "platform/window_messages.h"

void RepaintInNewLanguage(HWND window, DuiLib::CPaintManagerUI& manager) {
    platform::InvalidateRect(window, nullptr, TRUE);
    if (DuiLib::CControlUI* root = manager.GetRoot()) {
        root->NeedUpdate();
    }
    manager.NeedUpdate();
}
