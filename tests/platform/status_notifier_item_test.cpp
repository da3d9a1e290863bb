// The tray icon in the desktop's notification area, on a session bus of the test's own
// with a notification-area watcher played by the test: registration as watchers come and
// go, what the item shows, and the host's clicks reaching the icon's window.

#include "platform/bus/status_notifier_item.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/desktop.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/fake_tray_watcher.h"
#include "support/private_bus.h"

namespace {

using platform::bus::BusKind;
using platform::bus::StatusNotifierItem;
using testing_support::FakeWatcher;
using Hosting = StatusNotifierItem::Hosting;

constexpr UINT kTrayMessage = WM_USER + 1;
constexpr UINT kIconId = 107;
constexpr auto kWait = std::chrono::seconds(20);

// The icon's window: records the tray messages it is posted.
class IconWindow {
  public:
    IconWindow() {
        platform::WindowCreateParams params;
        params.className = L"TrayItemTest";
        hwnd_ = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM w, LPARAM l) {
            if (msg == kTrayMessage && w == kIconId) {
                clicks_.push_back(static_cast<UINT>(l));
            }
            return LRESULT{0};
        });
    }
    ~IconWindow() { platform::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }
    // Handles posted messages until `count` clicks came (or the wait ran out).
    std::vector<UINT> Clicks(size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (clicks_.size() < count && std::chrono::steady_clock::now() < deadline) {
            MSG msg;
            if (platform::PeekMessage(&msg, PM_REMOVE)) {
                platform::DispatchMessage(&msg);
            } else {
                platform::Event(true, false).Wait(5);
            }
        }
        return clicks_;
    }

  private:
    HWND hwnd_ = nullptr;
    std::vector<UINT> clicks_;
};

class StatusNotifierItemTest : public ::testing::Test {
  protected:
    std::unique_ptr<StatusNotifierItem> MakeItem() {
        return std::make_unique<StatusNotifierItem>(
            platform::bus::TrayItemLook{"velkaro", "Velkaro", "velkaro", "/opt/velkaro/icons"},
            platform::bus::TrayItemTarget{window_.hwnd(), kTrayMessage, kIconId},
            [this] { changed_.Set(); });
    }
    bool WaitFor(const StatusNotifierItem& item, Hosting hosting) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (item.GetHosting() != hosting) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            changed_.Wait(static_cast<uint32_t>(left.count()));
        }
        return true;
    }

    platform::Event changed_{false, false};
    IconWindow window_;
};

TEST_F(StatusNotifierItemTest, HostedWhileAWatcherIsOnTheBusAndOnlyThen) {
    testing_support::PrivateBus bus(BusKind::kSession);
    ASSERT_TRUE(bus.IsRunning());
    auto item = MakeItem();
    // A program started before the desktop's panel: no watcher yet.
    EXPECT_TRUE(WaitFor(*item, Hosting::kUnhosted));

    auto watcher = std::make_unique<FakeWatcher>();
    ASSERT_TRUE(watcher->IsReady());
    EXPECT_TRUE(WaitFor(*item, Hosting::kHosted)) << "registered when the watcher appeared";
    EXPECT_EQ(watcher->Registered(), std::vector<std::string>{item->ServiceName()});

    watcher.reset();  // the panel restarts
    EXPECT_TRUE(WaitFor(*item, Hosting::kUnhosted));
    watcher = std::make_unique<FakeWatcher>();
    EXPECT_TRUE(WaitFor(*item, Hosting::kHosted));
}

TEST_F(StatusNotifierItemTest, ABusThatRestartsIsJoinedAgainAndTheIconShownThere) {
    testing_support::PrivateBus bus(BusKind::kSession);
    ASSERT_TRUE(bus.IsRunning());
    auto watcher = std::make_unique<FakeWatcher>();
    ASSERT_TRUE(watcher->IsReady());
    auto item = MakeItem();
    ASSERT_TRUE(WaitFor(*item, Hosting::kHosted));

    watcher.reset();
    ASSERT_TRUE(bus.Restart());
    EXPECT_TRUE(WaitFor(*item, Hosting::kUnhosted)) << "the lost bus leaves the icon unhosted";
    watcher = std::make_unique<FakeWatcher>();
    ASSERT_TRUE(watcher->IsReady());
    EXPECT_TRUE(WaitFor(*item, Hosting::kHosted)) << "registered again on the new bus";
    EXPECT_EQ(watcher->Registered(), std::vector<std::string>{item->ServiceName()});
}

TEST_F(StatusNotifierItemTest, OnlyTheBusItselfSaysTheWatcherIsGone) {
    testing_support::PrivateBus bus(BusKind::kSession);
    ASSERT_TRUE(bus.IsRunning());
    FakeWatcher watcher;
    ASSERT_TRUE(watcher.IsReady());
    auto item = MakeItem();
    ASSERT_TRUE(WaitFor(*item, Hosting::kHosted));

    // Another program tells the item alone that the watcher has left the bus; the ping
    // after it returns once the item has handled the signal.
    testing_support::BusPeer impostor(BusKind::kSession, "com.example.Impostor", [](sd_bus*) {});
    ASSERT_TRUE(impostor.IsReady());
    int pinged = -1;
    impostor.Run([&](sd_bus* peer) {
        sd_bus_creds* creds = nullptr;
        const char* unique = nullptr;
        ASSERT_GE(sd_bus_get_name_creds(peer, item->ServiceName().c_str(), SD_BUS_CREDS_UNIQUE_NAME,
                                        &creds),
                  0);
        sd_bus_creds_get_unique_name(creds, &unique);
        sd_bus_message* signal = nullptr;
        sd_bus_message_new_signal(peer, &signal, "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                  "NameOwnerChanged");
        sd_bus_message_set_destination(signal, unique);
        sd_bus_message_append(signal, "sss", "org.kde.StatusNotifierWatcher", ":1.1", "");
        EXPECT_GE(sd_bus_send(peer, signal, nullptr), 0);
        sd_bus_message_unref(signal);
        pinged = sd_bus_call_method(peer, unique, "/", "org.freedesktop.DBus.Peer", "Ping", nullptr,
                                    nullptr, "");
        sd_bus_creds_unref(creds);
    });
    ASSERT_GE(pinged, 0);
    EXPECT_EQ(item->GetHosting(), Hosting::kHosted) << "no stand-in window beside the tray icon";
}

TEST_F(StatusNotifierItemTest, HostsSeeTheIconAndTheirClicksTakeTheTrayPaths) {
    testing_support::PrivateBus bus(BusKind::kSession);
    ASSERT_TRUE(bus.IsRunning());
    FakeWatcher watcher;
    ASSERT_TRUE(watcher.IsReady());
    auto item = MakeItem();
    ASSERT_TRUE(WaitFor(*item, Hosting::kHosted));
    const std::string service = item->ServiceName();
    const char* path = "/StatusNotifierItem";
    const char* interface = "org.kde.StatusNotifierItem";

    std::string iconName, themePath, tipTitle;
    int isMenu = -1;
    watcher.Peer().Run([&](sd_bus* peer) {
        char* text = nullptr;
        if (sd_bus_get_property_string(peer, service.c_str(), path, interface, "IconName", nullptr,
                                       &text) >= 0) {
            iconName = text;
            free(text);
        }
        if (sd_bus_get_property_string(peer, service.c_str(), path, interface, "IconThemePath",
                                       nullptr, &text) >= 0) {
            themePath = text;
            free(text);
        }
        sd_bus_get_property_trivial(peer, service.c_str(), path, interface, "ItemIsMenu", nullptr,
                                    'b', &isMenu);
        sd_bus_message* reply = nullptr;
        if (sd_bus_get_property(peer, service.c_str(), path, interface, "ToolTip", nullptr, &reply,
                                "(sa(iiay)ss)") >= 0) {
            const char* icon = nullptr;
            const char* title = nullptr;
            const char* body = nullptr;
            sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss");
            sd_bus_message_read(reply, "s", &icon);
            sd_bus_message_skip(reply, "a(iiay)");
            sd_bus_message_read(reply, "ss", &title, &body);
            tipTitle = title != nullptr ? title : "";
            sd_bus_message_unref(reply);
        }
    });
    EXPECT_EQ(iconName, "velkaro");
    EXPECT_EQ(themePath, "/opt/velkaro/icons");
    EXPECT_EQ(tipTitle, "Velkaro");
    EXPECT_EQ(isMenu, 0) << "a left click is the program's, not a host menu's";

    const auto call = [&](const char* method, int x, int y) {
        return watcher.CallItem(service, method, x, y);
    };
    platform::SetCursorPos(0, 0);
    EXPECT_GE(call("Activate", 5, 6), 0);
    EXPECT_EQ(window_.Clicks(1), std::vector<UINT>{WM_LBUTTONUP});
    EXPECT_GE(call("ContextMenu", 120, 340), 0);
    EXPECT_EQ(window_.Clicks(2), (std::vector<UINT>{WM_LBUTTONUP, WM_RBUTTONUP}));
    POINT pointer{};
    platform::GetCursorPos(&pointer);
    EXPECT_EQ(pointer, (POINT{120, 340})) << "the tray menu opens where the host was clicked";

    // A host's point off every screen is brought onto the desktop.
    EXPECT_GE(call("ContextMenu", -2147483647, 2147483647), 0);
    platform::GetCursorPos(&pointer);
    const SIZE screen = platform::GetScreenSize();
    EXPECT_EQ(pointer, (POINT{0, screen.cy - 1}));
}

TEST_F(StatusNotifierItemTest, WithoutASessionBusTheItemIsUnhosted) {
    testing_support::TempDir dir;
    testing_support::ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.File("bus"));
    auto item = MakeItem();
    EXPECT_TRUE(WaitFor(*item, Hosting::kUnhosted));
}

}  // namespace
