#include "duilib/notify_pump.h"

#include <gtest/gtest.h>

#include "duilib/ui_control.h"

namespace {

using namespace DuiLib;

class CBasePump : public CNotifyPump {
    DUI_DECLARE_MESSAGE_MAP()
  public:
    void OnAnyClick(TNotifyUI&) { calls.push_back(L"base click"); }
    void OnSelect(TNotifyUI&) { calls.push_back(L"base select"); }
    std::vector<std::wstring> calls;
};

DUI_BEGIN_MESSAGE_MAP(CBasePump, CNotifyPump)
DUI_ON_MSGTYPE(DUI_MSGTYPE_CLICK, OnAnyClick)
DUI_ON_MSGTYPE(DUI_MSGTYPE_SELECTCHANGED, OnSelect)
DUI_END_MESSAGE_MAP()

// A second base before the pump, so the pump is not at the start of the object.
struct Padding {
    virtual ~Padding() = default;
    int value = 7;
};

class CDerivedPump : public Padding, public CBasePump {
    DUI_DECLARE_MESSAGE_MAP()
  public:
    void OnClose(TNotifyUI&) { calls.push_back(L"derived closebtn " + std::to_wstring(value)); }
};

DUI_BEGIN_MESSAGE_MAP(CDerivedPump, CBasePump)
DUI_ON_CLICK_CTRNAME(L"CloseBtn", OnClose)
DUI_END_MESSAGE_MAP()

TNotifyUI Notice(CControlUI& sender, const wchar_t* type, const wchar_t* virtualWnd = L"") {
    TNotifyUI msg;
    msg.pSender = &sender;
    msg.sType = type;
    msg.sVirtualWnd = virtualWnd;
    return msg;
}

TEST(MessageMaps, TheFirstMatchingEntryOfTheClassChainRuns) {
    CDerivedPump pump;
    CControlUI close;
    close.SetName(L"closebtn");
    CControlUI other;
    other.SetName(L"other");

    TNotifyUI msg = Notice(close, L"click");
    EXPECT_TRUE(pump.LoopDispatch(msg));
    msg = Notice(other, L"click");
    EXPECT_TRUE(pump.LoopDispatch(msg));
    msg = Notice(other, L"selectchanged");
    EXPECT_TRUE(pump.LoopDispatch(msg));
    msg = Notice(other, L"itemselect");
    EXPECT_FALSE(pump.LoopDispatch(msg));
    ASSERT_EQ(3u, pump.calls.size());
    EXPECT_EQ(L"derived closebtn 7", pump.calls[0]);
    EXPECT_EQ(L"base click", pump.calls[1]);
    EXPECT_EQ(L"base select", pump.calls[2]);
}

TEST(MessageMaps, VirtualWindowsReceiveTheirControlsNotifications) {
    CDerivedPump window;
    CBasePump page;
    EXPECT_TRUE(window.AddVirtualWnd(L"mainpage", &page));
    EXPECT_FALSE(window.AddVirtualWnd(L"mainpage", &page));
    EXPECT_FALSE(window.AddVirtualWnd(L"", &page));
    CControlUI button;
    button.SetName(L"closebtn");

    TNotifyUI msg = Notice(button, L"click", L"mainpage");
    window.NotifyPump(msg);
    EXPECT_EQ(1u, page.calls.size());
    EXPECT_TRUE(window.calls.empty());

    // An unknown or removed virtual window leaves the notification to the window itself.
    EXPECT_TRUE(window.RemoveVirtualWnd(L"mainpage"));
    msg = Notice(button, L"click", L"mainpage");
    window.NotifyPump(msg);
    EXPECT_EQ(1u, window.calls.size());
}

TEST(MessageMaps, ControlsInheritTheirContainersVirtualWindow) {
    CControlUI parentOnly;
    parentOnly.SetVirtualWnd(L"mainpage");
    CControlUI child;
    child.SetManager(nullptr, &parentOnly, false);
    EXPECT_EQ(L"mainpage", child.GetVirtualWnd());
    child.SetVirtualWnd(L"own");
    EXPECT_EQ(L"own", child.GetVirtualWnd());
}

}  // namespace
