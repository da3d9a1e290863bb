#include "duilib/render/tray_stand_in.h"

#include <algorithm>

#include "duilib/ui_control.h"
#include "platform/desktop.h"
#include "platform/window_handles.h"

namespace DuiLib {
namespace {

constexpr int kSize = 40;   // at 96 DPI
constexpr int kMargin = 8;  // from the screen's corner
constexpr DWORD kBackColor = 0xFF1E2834;
constexpr const wchar_t* kIconImage = L"file='common/logo.png' dest='6,6,34,34'";

bool InTray(const CTrayIcon* icon) {
    const auto icons = CTrayIcon::GetTrayIcons();
    return std::find(icons.begin(), icons.end(), icon) != icons.end();
}

}  // namespace

bool CTrayStandInWnd::Open() {
    const SIZE screen = GetScreenSize();
    const int size = kSize;
    if (Create(nullptr, m_pIcon->GetTooltipText().str().c_str(), 0, 0, screen.cx - size - kMargin,
               screen.cy - size - kMargin, size, size) == nullptr) {
        return false;
    }
    ShowWindow(true, false);
    m_pm.Invalidate();
    return true;
}

CTrayIcon* CTrayStandInWnd::LiveIcon() const {
    return InTray(m_pIcon) && m_pIcon->IsVisible() ? m_pIcon : nullptr;
}

LRESULT CTrayStandInWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_CREATE: {
            m_pm.Init(m_hWnd, L"TrayStandIn");
            auto* root = new CControlUI;
            root->SetBkColor(kBackColor);
            root->SetBkImage(kIconImage);
            m_pm.AttachDialog(root);
            return 0;
        }
        case WM_RBUTTONUP: {
            // The tray menu opens at the pointer, which the click gives within this window.
            RECT rc{};
            platform::GetWindowRect(m_hWnd, &rc);
            platform::SetCursorPos(rc.left + static_cast<short>(LOWORD(lParam)),
                                   rc.top + static_cast<short>(HIWORD(lParam)));
            [[fallthrough]];
        }
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            if (CTrayIcon* icon = LiveIcon()) {
                icon->NotifyMouse(uMsg);
            }
            return 0;
        default:
            break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace DuiLib
