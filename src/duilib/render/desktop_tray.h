#pragma once
// The tray icons as the desktop shows them: each in the desktop's notification area, as a
// StatusNotifierItem on the session bus, and in a stand-in window while no notification
// area hosts it (no watcher on the bus, or no session bus). Lives on the UI thread; a
// change of hosting is told as a change of the icon window's state, so the renderer calls
// Sync again.

#include <memory>
#include <vector>

#include "duilib/render/tray_stand_in.h"
#include "platform/bus/status_notifier_item.h"

namespace DuiLib {

class CDesktopTray {
  public:
    CDesktopTray();
    ~CDesktopTray();
    CDesktopTray(const CDesktopTray&) = delete;
    CDesktopTray& operator=(const CDesktopTray&) = delete;

    // Follows the visible icons: items made for new ones, removed with their icon, stand-ins
    // shown while unhosted and retitled when a tip changes.
    void Sync();

  private:
    struct Entry {
        CTrayIcon* icon = nullptr;
        std::unique_ptr<platform::bus::StatusNotifierItem> item;
        std::unique_ptr<CTrayStandInWnd> standIn;
    };
    void SyncStandIn(Entry& entry);

    std::vector<Entry> m_entries;
};

}  // namespace DuiLib
