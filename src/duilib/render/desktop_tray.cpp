#include "duilib/render/desktop_tray.h"

#include <algorithm>
#include <cerrno>

#include "platform/paths.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "platform/window_observer.h"

namespace DuiLib {
namespace {

// The program's icon is its executable's name in an icon theme: the desktop's, where it
// is installed, or the one laid beside the executable.
platform::bus::TrayItemLook LookOf(const CTrayIcon& icon) {
    const std::string program = program_invocation_short_name;
    const std::string tip = platform::Utf8Encode(icon.GetTooltipText().str());
    return {program, tip, program, platform::InstancePath() + "icons"};
}

}  // namespace

CDesktopTray::CDesktopTray() = default;

// Items first: their threads may still be telling of a hosting change.
CDesktopTray::~CDesktopTray() {
    for (Entry& entry : m_entries) {
        entry.item.reset();
    }
}

void CDesktopTray::Sync() {
    const auto icons = CTrayIcon::GetTrayIcons();
    const auto shown = [&](const CTrayIcon* icon) {
        return std::find(icons.begin(), icons.end(), icon) != icons.end() && icon->IsVisible();
    };
    std::erase_if(m_entries, [&](const Entry& entry) { return !shown(entry.icon); });
    for (CTrayIcon* icon : icons) {
        if (!icon->IsVisible()) {
            continue;
        }
        auto it = std::find_if(m_entries.begin(), m_entries.end(),
                               [icon](const Entry& entry) { return entry.icon == icon; });
        if (it == m_entries.end()) {
            const HWND window = icon->GetWindow();
            Entry entry;
            entry.icon = icon;
            entry.item = std::make_unique<platform::bus::StatusNotifierItem>(
                LookOf(*icon),
                platform::bus::TrayItemTarget{window, icon->GetCallbackMessage(), icon->GetIcon()},
                [window] { platform::NotifyWindowStateChanged(window); });
            m_entries.push_back(std::move(entry));
            it = std::prev(m_entries.end());
        }
        SyncStandIn(*it);
    }
}

void CDesktopTray::SyncStandIn(Entry& entry) {
    using Hosting = platform::bus::StatusNotifierItem::Hosting;
    if (entry.standIn && entry.standIn->GetHWND() == nullptr) {
        entry.standIn.reset();  // closed by the desktop
    }
    if (entry.item->GetHosting() != Hosting::kUnhosted) {
        entry.standIn.reset();
        return;
    }
    if (!entry.standIn) {
        auto standIn = std::make_unique<CTrayStandInWnd>(entry.icon);
        if (standIn->Open()) {
            entry.standIn = std::move(standIn);
        }
        return;
    }
    const std::wstring tip = entry.icon->GetTooltipText().str();
    if (platform::GetWindowText(entry.standIn->GetHWND()) != tip) {
        platform::SetWindowText(entry.standIn->GetHWND(), tip);
    }
}

}  // namespace DuiLib
