#include "platform/bus/status_notifier_item.h"

#include <unistd.h>

#include <cstring>

#include "platform/debug_trace.h"
#include "platform/desktop.h"
#include "platform/text_convert.h"
#include "platform/window_messages.h"

namespace platform::bus {
namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kItemPath = "/StatusNotifierItem";

}  // namespace

StatusNotifierItem::StatusNotifierItem(TrayItemLook look, TrayItemTarget target,
                                       std::function<void()> hostingChanged)
    : look_(std::move(look)),
      target_(target),
      hostingChanged_(std::move(hostingChanged)),
      serviceName_("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" +
                   std::to_string(target.iconId)),
      loop_(
          BusKind::kSession, [this](sd_bus* bus) { return Attach(bus); },
          [this] { SetHosting(Hosting::kUnhosted); }) {}

StatusNotifierItem::~StatusNotifierItem() {
    loop_.Stop();
}

bool StatusNotifierItem::Attach(sd_bus* bus) {
    static const sd_bus_vtable kVtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("Category", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Id", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Title", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Status", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("IconName", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("IconThemePath", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("IconPixmap", "a(iiay)", GetNoPixmaps, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", GetToolTip, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        // A menu item would make hosts open a menu of their own on a left click.
        SD_BUS_PROPERTY("ItemIsMenu", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_METHOD("Activate", "ii", "", OnActivate, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("ContextMenu", "ii", "", OnContextMenu, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    // The slots float: they go with the connection, on this thread.
    if (sd_bus_add_object_vtable(bus, nullptr, kItemPath, kItemInterface, kVtable, this) < 0 ||
        sd_bus_request_name_async(bus, nullptr, serviceName_.c_str(), 0, nullptr, nullptr) < 0 ||
        sd_bus_add_match_async(bus, nullptr, NameOwnerMatch(kWatcher).c_str(), OnWatcherOwner,
                               nullptr, this) < 0) {
        return false;
    }
    // The bus keeps a connection's messages in order: the name is owned before the
    // watcher, which checks it, hears of it.
    Register(bus);
    return true;
}

void StatusNotifierItem::Register(sd_bus* bus) {
    if (sd_bus_call_method_async(bus, nullptr, kWatcher, kWatcherPath, kWatcher,
                                 "RegisterStatusNotifierItem", OnRegistered, this, "s",
                                 serviceName_.c_str()) < 0) {
        SetHosting(Hosting::kUnhosted);
    }
}

void StatusNotifierItem::SetHosting(Hosting hosting) {
    if (hosting_.exchange(hosting) != hosting && hostingChanged_) {
        hostingChanged_();
    }
}

void StatusNotifierItem::Click(UINT mouseMessage) const {
    platform::PostMessage(target_.window, target_.message, target_.iconId,
                          static_cast<LPARAM>(mouseMessage));
}

int StatusNotifierItem::OnActivate(sd_bus_message* m, void* self, sd_bus_error* /*error*/) {
    static_cast<StatusNotifierItem*>(self)->Click(WM_LBUTTONUP);
    return sd_bus_reply_method_return(m, "");
}

int StatusNotifierItem::OnContextMenu(sd_bus_message* m, void* self, sd_bus_error* /*error*/) {
    int32_t x = 0;
    int32_t y = 0;
    const int read = sd_bus_message_read(m, "ii", &x, &y);
    if (read < 0) {
        return read;
    }
    // The menu opens at the pointer: where the host says the click was, kept on the desktop.
    const POINT at = ClampToDesktop(POINT{x, y});
    SetCursorPos(at.x, at.y);
    static_cast<StatusNotifierItem*>(self)->Click(WM_RBUTTONUP);
    return sd_bus_reply_method_return(m, "");
}

int StatusNotifierItem::OnRegistered(sd_bus_message* reply, void* self, sd_bus_error* /*error*/) {
    auto* item = static_cast<StatusNotifierItem*>(self);
    if (sd_bus_message_is_method_error(reply, nullptr)) {
        const sd_bus_error* failure = sd_bus_message_get_error(reply);
        DebugTrace(L"tray: not registered: " +
                   Utf8Decode(failure != nullptr && failure->name != nullptr ? failure->name : "") +
                   L"\n");
        item->SetHosting(Hosting::kUnhosted);
    } else {
        item->SetHosting(Hosting::kHosted);
    }
    return 0;
}

int StatusNotifierItem::OnWatcherOwner(sd_bus_message* m, void* self, sd_bus_error* /*error*/) {
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    if (!SentByBusDaemon(m) || sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) < 0) {
        return 0;
    }
    auto* item = static_cast<StatusNotifierItem*>(self);
    if (newOwner != nullptr && *newOwner != '\0') {
        item->Register(sd_bus_message_get_bus(m));  // a (new) notification area
    } else {
        item->SetHosting(Hosting::kUnhosted);
    }
    return 0;
}

int StatusNotifierItem::GetText(sd_bus* /*bus*/, const char* /*path*/, const char* /*interface*/,
                                const char* property, sd_bus_message* reply, void* self,
                                sd_bus_error* /*error*/) {
    const auto* item = static_cast<StatusNotifierItem*>(self);
    const char* text = "";
    if (std::strcmp(property, "Category") == 0) {
        text = "Hardware";
    } else if (std::strcmp(property, "Status") == 0) {
        text = "Active";
    } else if (std::strcmp(property, "Id") == 0) {
        text = item->look_.id.c_str();
    } else if (std::strcmp(property, "Title") == 0) {
        text = item->look_.title.c_str();
    } else if (std::strcmp(property, "IconName") == 0) {
        text = item->look_.iconName.c_str();
    } else if (std::strcmp(property, "IconThemePath") == 0) {
        text = item->look_.iconThemePath.c_str();
    }
    return sd_bus_message_append(reply, "s", text);
}

int StatusNotifierItem::GetToolTip(sd_bus* /*bus*/, const char* /*path*/, const char* /*interface*/,
                                   const char* /*property*/, sd_bus_message* reply, void* self,
                                   sd_bus_error* /*error*/) {
    const auto* item = static_cast<StatusNotifierItem*>(self);
    int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
    if (r >= 0) {
        r = sd_bus_message_append(reply, "s", item->look_.iconName.c_str());
    }
    if (r >= 0) {
        r = GetNoPixmaps(nullptr, nullptr, nullptr, nullptr, reply, self, nullptr);
    }
    if (r >= 0) {
        r = sd_bus_message_append(reply, "ss", item->look_.title.c_str(), "");
    }
    return r >= 0 ? sd_bus_message_close_container(reply) : r;
}

int StatusNotifierItem::GetNoPixmaps(sd_bus* /*bus*/, const char* /*path*/,
                                     const char* /*interface*/, const char* /*property*/,
                                     sd_bus_message* reply, void* /*self*/,
                                     sd_bus_error* /*error*/) {
    const int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
    return r >= 0 ? sd_bus_message_close_container(reply) : r;
}

int StatusNotifierItem::GetFalse(sd_bus* /*bus*/, const char* /*path*/, const char* /*interface*/,
                                 const char* /*property*/, sd_bus_message* reply, void* /*self*/,
                                 sd_bus_error* /*error*/) {
    return sd_bus_message_append(reply, "b", 0);
}

}  // namespace platform::bus
