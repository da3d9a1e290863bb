#pragma once
// A tray icon in the desktop's notification area: a StatusNotifierItem on the user's
// session bus, the freedesktop protocol that KDE Plasma, GNOME's AppIndicator support,
// Xfce, Cinnamon, MATE, LXQt and others host. The item is registered with the bus's
// StatusNotifierWatcher, again whenever a watcher appears, and counts as unhosted while
// there is none (or no session bus): the toolkit then shows its stand-in window.
//
// A host's Activate (a left click) and ContextMenu (a right click, at the pointer) reach
// the icon's window as the callback message a click on a tray icon posts.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "platform/bus/bus_loop.h"
#include "platform/win_types.h"

namespace platform::bus {

struct TrayItemLook {
    std::string id;             // the program's name, as the host keeps it
    std::string title;          // also the tool tip
    std::string iconName;       // an icon of the desktop's theme
    std::string iconThemePath;  // a folder laid out like an icon theme, or empty
};

// Where clicks go: (message, wParam = icon id, lParam = WM_LBUTTONUP or WM_RBUTTONUP).
struct TrayItemTarget {
    HWND window = nullptr;
    UINT message = 0;
    UINT iconId = 0;
};

class StatusNotifierItem {
  public:
    enum class Hosting { kPending, kHosted, kUnhosted };

    // `hostingChanged` runs on the bus thread after each change of GetHosting.
    StatusNotifierItem(TrayItemLook look, TrayItemTarget target,
                       std::function<void()> hostingChanged);
    ~StatusNotifierItem();
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    Hosting GetHosting() const { return hosting_.load(); }
    // The name the item owns on the bus; the object is at /StatusNotifierItem.
    const std::string& ServiceName() const { return serviceName_; }

  private:
    bool Attach(sd_bus* bus);
    void Register(sd_bus* bus);
    void SetHosting(Hosting hosting);
    void Click(UINT mouseMessage) const;

    static int OnActivate(sd_bus_message* m, void* self, sd_bus_error* error);
    static int OnContextMenu(sd_bus_message* m, void* self, sd_bus_error* error);
    static int OnRegistered(sd_bus_message* reply, void* self, sd_bus_error* error);
    static int OnWatcherOwner(sd_bus_message* m, void* self, sd_bus_error* error);
    static int GetText(sd_bus* bus, const char* path, const char* interface, const char* property,
                       sd_bus_message* reply, void* self, sd_bus_error* error);
    static int GetToolTip(sd_bus* bus, const char* path, const char* interface,
                          const char* property, sd_bus_message* reply, void* self,
                          sd_bus_error* error);
    static int GetNoPixmaps(sd_bus* bus, const char* path, const char* interface,
                            const char* property, sd_bus_message* reply, void* self,
                            sd_bus_error* error);
    static int GetFalse(sd_bus* bus, const char* path, const char* interface, const char* property,
                        sd_bus_message* reply, void* self, sd_bus_error* error);

    const TrayItemLook look_;
    const TrayItemTarget target_;
    const std::function<void()> hostingChanged_;
    const std::string serviceName_;
    std::atomic<Hosting> hosting_{Hosting::kPending};
    BusLoop loop_;  // last: its thread uses everything above
};

}  // namespace platform::bus
