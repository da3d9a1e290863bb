// The settings window and the main window it reports to: the update state it shows, the
// result an update program outside this one announces, the versions it lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_list.h"
#include "platform/registry.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/temp_dir.h"
#include "update/installed_version.h"
#include "update/set_wnd.h"
#include "update/update_messages.h"

namespace {

using DuiLib::CPaintManagerUI;

// The main window's stand-in: it records what it is sent.
struct RecordingWindow {
    std::vector<UINT> received;
    HWND hwnd = nullptr;
    RecordingWindow() {
        platform::WindowCreateParams params;
        params.className = L"MainStandIn";
        hwnd = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM, LPARAM) {
            received.push_back(msg);
            return LRESULT{0};
        });
    }
    ~RecordingWindow() { platform::DestroyWindow(hwnd); }
    size_t Count(UINT msg) const { return std::count(received.begin(), received.end(), msg); }
};

void PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        if (platform::PeekMessage(&msg, PM_REMOVE)) {
            platform::DispatchMessage(&msg);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

class SetWndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml"));
    }
    std::wstring Text(const wchar_t* name) {
        return wnd_.GetPaintManager()->FindControl(name)->GetText().str();
    }

    testing_support::ScopedUserFolders folders_;
    RecordingWindow main_;
    CSetWnd wnd_{main_.hwnd, 1};
};

TEST_F(SetWndTest, TheUpdateStateShownIsReportedAndAnUpdateProgramsResultShown) {
    ASSERT_NE(wnd_.Create(main_.hwnd, L"SetWnd", 0, 0, 0, 0, 630, 500), nullptr);
    PumpUntil([&] { return main_.Count(kUpdateStatusMessage) == 1; });
    EXPECT_EQ(main_.Count(kUpdateStatusMessage), 1u) << "once the window shows the state";

    const UINT result = platform::RegisterWindowMessage(kUpdateResultMessageName);
    platform::PostMessage(wnd_.GetHWND(), result, 2, 5);
    PumpUntil([&] { return main_.Count(kUpdateStatusMessage) == 2; });
    EXPECT_EQ(Text(L"update_state_label"), L"The update program answered: 2, 5");
    EXPECT_EQ(main_.Count(kUpdateStatusMessage), 2u);

    // The window's texts follow a change of language, the result's too.
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_cn.xml"));
    platform::SendMessage(wnd_.GetHWND(), kLanguageChangedMessage, 0, 0);
    EXPECT_EQ(Text(L"update_state_label"), L"更新程序的答复：2, 5");
}

TEST_F(SetWndTest, CandidatesShowTheirVersionTextOrElseTheirNumber) {
    ASSERT_NE(wnd_.Create(main_.hwnd, L"SetWnd", 0, 0, 0, 0, 630, 500), nullptr);
    wnd_.SetUpdateDevices({{L"Mouse", 258, DeviceVersionText(258)}, {L"Program", 100, L""}});
    auto* list =
        dynamic_cast<DuiLib::CListUI*>(wnd_.GetPaintManager()->FindControl(L"update_list"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->GetItemAt(0)->GetText().str(), L"Mouse    1.02");
    EXPECT_EQ(list->GetItemAt(1)->GetText().str(), L"Program    100");
}

TEST(InstalledVersionTest, TheRunningProgramRecordsItsVersionAsInstalled) {
    testing_support::ScopedUserFolders folders;
    ASSERT_TRUE(
        platform::Registry::SetString(UninstallKeyName(L"Velkaro"), L"DisplayVersion", L"0.9"));
    ASSERT_TRUE(RecordInstalledVersion());
    EXPECT_EQ(InstalledVersionText(), ProgramVersionText()) << "a stale record is replaced";
    EXPECT_GT(GetInstalledVersion(), 0);
    EXPECT_EQ(GetInstalledVersion(), ParseDisplayVersion(ProgramVersionText()));
    EXPECT_EQ(DeviceVersionText(0x0105), L"1.05");
    EXPECT_EQ(DeviceVersionText(0x1210), L"12.10");
    EXPECT_EQ(DeviceVersionText(-1), L"ff.ff") << "only the 16 bits a device reports";
}

}  // namespace
