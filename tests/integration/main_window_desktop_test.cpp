// The main window among the desktop's services: the buttons that open the desktop's own
// keyboard and mouse settings.

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_button.h"
#include "duilib/ui_control.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "shell_fixture.h"
#include "support/temp_dir.h"

namespace shell_testing {
namespace {

DuiLib::CPaintManagerUI* ManagerOfClass(const wchar_t* windowClass) {
    for (DuiLib::CPaintManagerUI* pm : DuiLib::CPaintManagerUI::GetPaintManagers()) {
        if (pm->GetPaintWindow() != nullptr &&
            platform::GetWindowClassName(pm->GetPaintWindow()) == windowClass) {
            return pm;
        }
    }
    return nullptr;
}

class MainWindowDesktopTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        CreateMainWindow();
    }

    // The mouse page that holds the second button is not built for the keyboard: the
    // click is dispatched by the button's name alone.
    void Click(const wchar_t* name) {
        DuiLib::CButtonUI button;
        button.SetName(name);
        DuiLib::TNotifyUI msg;
        msg.sType = DuiLib::DUI_MSGTYPE_CLICK;
        msg.pSender = &button;
        window_->Notify(msg);
    }

    testing_support::TempDir bin_;
};

TEST_F(MainWindowDesktopTest, SettingsButtonsOpenTheDesktopsOwnPages) {
    const std::string out = bin_.File("opened.txt");
    const std::string program = bin_.File("xfce4-mouse-settings");
    ASSERT_TRUE(testing_support::WriteTextFile(program, "#!/bin/sh\necho \"$0 $@\" > '" + out +
                                                            ".tmp'; /bin/mv '" + out + ".tmp' '" +
                                                            out + "'\n"));
    chmod(program.c_str(), 0755);
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "XFCE");
    ScopedEnv path("PATH", bin_.path());

    Click(L"windowdeviceset_1");
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(out); }, 30000));
    EXPECT_EQ(testing_support::ReadTextFile(out), program + " \n");
    EXPECT_EQ(ManagerOfClass(L"MsgWnd"), nullptr) << "found: no message";
}

TEST_F(MainWindowDesktopTest, WithoutTheDesktopsSettingsAMessageSaysSo) {
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "KDE");
    ScopedEnv path("PATH", bin_.path());  // holds no settings program
    std::wstring shown;
    // The message box is modal: it is read and closed from inside its own loop.
    platform::WindowCreateParams params;
    params.className = L"MessageReader";
    const HWND reader =
        platform::CreateWindowHandle(params, [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
            if (msg != WM_APP) {
                return 0;
            }
            if (DuiLib::CPaintManagerUI* box = ManagerOfClass(L"MsgWnd")) {
                shown = box->FindControl(L"MessageText")->GetText().str();
                box->SendNotify(box->FindControl(L"confirm_btn"), DuiLib::DUI_MSGTYPE_CLICK);
            }
            return 0;
        });
    platform::PostMessage(reader, WM_APP, 0, 0);
    Click(L"windowdeviceset_0");
    platform::DestroyWindow(reader);
    EXPECT_EQ(
        shown,
        DuiLib::CResourceManager::GetInstance()->GetText(L"message_text_settings_missing").str());
    EXPECT_NE(shown, L"");
}

}  // namespace
}  // namespace shell_testing
