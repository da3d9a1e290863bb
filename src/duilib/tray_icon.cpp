#include "duilib/tray_icon.h"

#include <algorithm>
#include <mutex>

namespace DuiLib {
namespace {

// The icons the desktop shows, for a renderer that draws a tray.
struct TrayTable {
    std::mutex mutex;
    std::vector<CTrayIcon*> icons;
};

TrayTable& Tray() {
    static TrayTable table;
    return table;
}

// A tip is kept within the 128 characters the desktop shows.
constexpr int kMaxTipLength = 127;

}  // namespace

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon() {
    DeleteTrayIcon();
}

void CTrayIcon::CreateTrayIcon(HWND hWnd, UINT uIDResource, LPCTSTR lpszToolTipText,
                               UINT uMessage) {
    if (hWnd == nullptr) {
        return;
    }
    m_hWnd = hWnd;
    m_uIcon = uIDResource;
    m_uMessage = uMessage == 0 ? UIMSG_TRAYICON : uMessage;
    SetTooltipText(lpszToolTipText);
    m_bEnabled = true;
    m_bVisible = true;
    TrayTable& tray = Tray();
    std::lock_guard lock(tray.mutex);
    if (std::find(tray.icons.begin(), tray.icons.end(), this) == tray.icons.end()) {
        tray.icons.push_back(this);
    }
}

void CTrayIcon::DeleteTrayIcon() {
    m_bEnabled = false;
    m_bVisible = false;
    m_hWnd = nullptr;
    TrayTable& tray = Tray();
    std::lock_guard lock(tray.mutex);
    tray.icons.erase(std::remove(tray.icons.begin(), tray.icons.end(), this), tray.icons.end());
}

bool CTrayIcon::SetTooltipText(LPCTSTR lpszToolTipText) {
    m_sToolTip = CDuiString(lpszToolTipText ? lpszToolTipText : L"").Left(kMaxTipLength);
    return true;
}

bool CTrayIcon::SetIcon(UINT uIDResource) {
    m_uIcon = uIDResource;
    return m_bEnabled;
}

bool CTrayIcon::NotifyMouse(UINT mouseMessage) const {
    if (!IsVisible() || m_hWnd == nullptr) {
        return false;
    }
    return platform::PostMessage(m_hWnd, m_uMessage, m_uIcon, static_cast<LPARAM>(mouseMessage)) !=
           FALSE;
}

std::vector<CTrayIcon*> CTrayIcon::GetTrayIcons() {
    TrayTable& tray = Tray();
    std::lock_guard lock(tray.mutex);
    return tray.icons;
}

}  // namespace DuiLib
