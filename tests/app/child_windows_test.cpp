// The message box, the about window and the skin picker, each driven through its controls.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/about_wnd.h"
#include "app/msg_wnd.h"
#include "app/skin_frame.h"
#include "app/skin_observer.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_control.h"
#include "platform/debug_trace.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/message_box_reader.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

void Pump(
    int ms, const std::function<bool()>& done = [] { return false; }) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        if (platform::PeekMessage(&msg, PM_REMOVE)) {
            if (msg.message != WM_QUIT && !CPaintManagerUI::TranslateMessage(&msg)) {
                platform::DispatchMessage(&msg);
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

using testing_support::ManagerOfClass;

void Click(CPaintManagerUI* pm, const wchar_t* name) {
    ASSERT_NE(pm, nullptr);
    DuiLib::CControlUI* control = pm->FindControl(name);
    ASSERT_NE(control, nullptr) << DuiLib::CDuiString(name).ToUtf8();
    pm->SendNotify(control, DuiLib::DUI_MSGTYPE_CLICK);
}

// A window that records what it is sent and runs `onApp` for WM_APP (to act inside modal loops).
struct RecordingWindow {
    std::vector<UINT> received;
    std::function<void()> onApp;
    HWND hwnd = nullptr;
    RecordingWindow() {
        platform::WindowCreateParams params;
        params.className = L"Recorder";
        hwnd =
            platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
                received.push_back(msg);
                if (msg == WM_APP && onApp) {
                    onApp();
                }
                return 0;
            });
    }
    ~RecordingWindow() { platform::DestroyWindow(hwnd); }
    bool Got(UINT msg) const {
        return std::find(received.begin(), received.end(), msg) != received.end();
    }
};

class ChildWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml"));
    }
    testing_support::ScopedUserFolders folders_;
    RecordingWindow owner_;
};

TEST_F(ChildWindowsTest, MessageBoxReturnsWhichButtonWasPressed) {
    owner_.onApp = [] { Click(ManagerOfClass(L"MsgWnd"), L"confirm_btn"); };
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    EXPECT_EQ(ShowMsgBox(owner_.hwnd, L"", L"message_text_5", 96, true, 0), 1);

    bool cancelShown = true;
    DuiLib::CDuiString text;
    owner_.onApp = [&] {
        CPaintManagerUI* pm = ManagerOfClass(L"MsgWnd");
        cancelShown = pm->FindControl(L"cancel_btn")->IsVisible();
        text = pm->FindControl(L"MessageText")->GetText();
        Click(pm, L"cancel_btn");
    };
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    EXPECT_EQ(ShowMsgBox(owner_.hwnd, L"", L"message_text_22", 96, true, 1), 0);
    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(text.ToUtf8(), "Restore the default settings?");

    owner_.onApp = [&] {
        cancelShown = ManagerOfClass(L"MsgWnd")->FindControl(L"cancel_btn")->IsVisible();
        Click(ManagerOfClass(L"MsgWnd"), L"confirm_btn");
    };
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    EXPECT_EQ(ShowMsgBox(owner_.hwnd, L"", L"plain text", 96, false, 0), 1);
    EXPECT_FALSE(cancelShown) << "one button only";
}

TEST_F(ChildWindowsTest, MessageBoxGrowsForATextTooLongForIt) {
    SIZE size{};
    owner_.onApp = [&] {
        size = ManagerOfClass(L"MsgWnd")->GetClientSize();
        Click(ManagerOfClass(L"MsgWnd"), L"confirm_btn");
    };
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    ShowMsgBox(owner_.hwnd, L"", L"message_text_5", 96, true, 0);
    EXPECT_EQ(size.cx, 400);
    EXPECT_EQ(size.cy, 200);

    std::wstring notices = L"Your settings could not be saved.";
    for (int i = 0; i < 4; ++i)
        notices +=
            L"\n/home/ana/.local/share/Velkaro/Keyboard/ProfileList.ini could not be "
            L"saved (Read-only file system); the file on disk is unchanged.";
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    ShowMsgBox(owner_.hwnd, L"", notices.c_str(), 96, false, 0);
    EXPECT_GT(size.cx, 400);
    EXPECT_GT(size.cy, 300);
}

TEST_F(ChildWindowsTest, MessageBoxShowsUnsupportedDpiAt96) {
    platform::TraceCapture trace;
    int dpi = 0;
    owner_.onApp = [&] {
        dpi = ManagerOfClass(L"MsgWnd")->GetDPI();
        Click(ManagerOfClass(L"MsgWnd"), L"confirm_btn");
    };
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    ShowMsgBox(owner_.hwnd, L"", L"message_text_5", 100, true, 0);
    EXPECT_EQ(dpi, 96);
    EXPECT_TRUE(trace.Contains(L"MSG_WND DPI SET ERROR"));
    EXPECT_TRUE(IsSupportedDpi(144));
    EXPECT_FALSE(IsSupportedDpi(0));
}

TEST_F(ChildWindowsTest, AboutWindowsSystemCloseEndsTheProgramThroughItsOwner) {
    CAboutWnd about(owner_.hwnd);
    ASSERT_NE(about.Create(owner_.hwnd, L"AboutWnd", 0, 0, 0, 0, 800, 572), nullptr);
    about.SetVersionText(L"Version 1.0");
    CPaintManagerUI* pm = ManagerOfClass(L"AboutWnd");
    ASSERT_NE(pm, nullptr);
    EXPECT_EQ(pm->FindControl(L"software_ver_label")->GetText().ToUtf8(),
              "Software version: Version 1.0");

    about.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(pm->FindControl(L"maxbtn")->IsVisible());
    EXPECT_TRUE(pm->FindControl(L"restorebtn")->IsVisible());

    about.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(500, [&] { return about.GetHWND() == nullptr && owner_.Got(WM_CLOSE); });
    EXPECT_EQ(about.GetHWND(), nullptr) << "the about window closed";
    EXPECT_TRUE(owner_.Got(WM_CLOSE)) << "the owner was asked to close";
    MSG msg;
    while (platform::PeekMessage(&msg, PM_REMOVE)) {
        EXPECT_NE(msg.message, WM_QUIT) << "no quit message behind the owner's back";
    }
}

struct SkinRecorder : SkinReceiver {
    std::vector<SkinChangedParam> received;
    int Receive(SkinChangedParam param) override {
        received.push_back(param);
        return 1;
    }
};

TEST_F(ChildWindowsTest, SkinPickerBroadcastsChoicesAndWritesOnlyImageChoices) {
    SkinRecorder recorder;
    GetSkinObserver().AddReceiver(&recorder);
    new CSkinFrame(owner_.hwnd, nullptr);  // deletes itself when its window goes
    CPaintManagerUI* pm = ManagerOfClass(L"UISkinFrame");
    ASSERT_NE(pm, nullptr);
    HWND frame = pm->GetPaintWindow();

    Click(pm, L"skin_color_btn");
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].kind, 1);
    EXPECT_NE(recorder.received[0].colour, 0u);
    EXPECT_FALSE(std::filesystem::exists(SkinSettingsFile())) << "a colour leaves main.ini alone";

    Click(pm, L"skin_image_btn");
    ASSERT_EQ(recorder.received.size(), 2u);
    EXPECT_EQ(recorder.received[1].image, L"skin/skin_1.png");
    EXPECT_EQ(testing_support::ReadTextFile(SkinSettingsFile()),
              "[SKINIMAGE]\r\nFLAGS=1\r\nIMAGE=skin/skin_1.png\r\n");

    Click(pm, L"skin_reset");
    EXPECT_EQ(recorder.received.back().image, L"common/background.png");
    EXPECT_EQ(testing_support::ReadTextFile(SkinSettingsFile()),
              "[SKINIMAGE]\r\nFLAGS=0\r\nIMAGE=common/background.png\r\n");

    CSkinFrame::SetImageChooser([] { return std::optional<std::wstring>(); });
    Click(pm, L"skin_Custom");
    EXPECT_EQ(recorder.received.size(), 3u) << "a cancelled dialog changes nothing";

    // The dialog takes the focus away from the picker and runs its own message loop while
    // the click is still running: the picker must outlive the handler.
    bool frameAliveAfterFocusLoss = false;
    CSkinFrame::SetImageChooser([&] {
        platform::SendMessage(frame, WM_KILLFOCUS, 0, 0);
        Pump(50, [] { return false; });
        frameAliveAfterFocusLoss = platform::IsWindow(frame) != 0;
        return std::optional<std::wstring>(L"/home/user/own.png");
    });
    Click(pm, L"skin_Custom");
    EXPECT_TRUE(frameAliveAfterFocusLoss);
    ASSERT_EQ(recorder.received.size(), 4u);
    EXPECT_EQ(recorder.received[3].image, L"/home/user/own.png");
    Pump(500, [&] { return !platform::IsWindow(frame); });
    EXPECT_FALSE(platform::IsWindow(frame))
        << "losing the focus closes the picker once the choice is made";
    CSkinFrame::SetImageChooser(nullptr);
}

}  // namespace
