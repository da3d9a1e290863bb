// The program's start and stop over the simulated bus: the hidden start, the device pages,
// the ordered stop, the second instance and the language switch.

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "app/device_option_ui.h"
#include "app/registered_messages.h"
#include "device/vornalix_usb_device.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_control.h"
#include "duilib/ui_layouts.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/single_instance.h"
#include "platform/window_handles.h"
#include "platform/window_observer.h"
#include "shell_fixture.h"
#include "sim/sim_keyboard.h"
#include "support/program_threads.h"
#include "update/installed_version.h"

extern char** environ;

namespace shell_testing {
namespace {

int CountLines(const platform::TraceCapture& trace, const std::wstring& text) {
    int count = 0;
    for (const auto& line : trace.Lines()) {
        count += line == text ? 1 : 0;
    }
    return count;
}

TEST_F(ShellTest, WithoutDeviceTheWindowStaysHiddenUntilTheFirstScanThenShowsTheNotice) {
    CreateMainWindow();
    EXPECT_FALSE(IsMainWindowVisible()) << "shown before the first scan";
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }))
        << "the first scan did not bring it up";
    ASSERT_NE(Find(L"No_device_Link"), nullptr);
    EXPECT_TRUE(Find(L"No_device_Link")->IsVisible());
    EXPECT_EQ(window_->GetCurrentDevice(), nullptr);
    int first = -1;
    int count = -1;
    EXPECT_FALSE(window_->CountShownEntries(&first, &count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(first, -1);
}

// The size of the main window the first time it is visible.
class FirstShownSize {
  public:
    FirstShownSize() {
        platform::SetWindowStateObserver([this](HWND hwnd) {
            if (!platform::IsWindowVisible(hwnd) ||
                platform::GetWindowClassName(hwnd) != L"MainWnd") {
                return;
            }
            RECT rect{};
            platform::GetWindowRect(hwnd, &rect);
            std::lock_guard lock(mutex_);
            if (!size_) {
                size_ = SIZE{rect.right - rect.left, rect.bottom - rect.top};
            }
        });
    }
    ~FirstShownSize() { platform::SetWindowStateObserver(nullptr); }
    FirstShownSize(const FirstShownSize&) = delete;
    FirstShownSize& operator=(const FirstShownSize&) = delete;

    std::optional<SIZE> Get() {
        std::lock_guard lock(mutex_);
        return size_;
    }

  private:
    std::mutex mutex_;
    std::optional<SIZE> size_;
};

TEST_F(ShellTest, TheWindowIsFirstShownAtItsWorkingSize) {
    FirstShownSize first;
    CreateMainWindow();
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }));
    PumpFor(300);  // past the DPI rule's timer
    RECT now{};
    platform::GetWindowRect(window_->GetHWND(), &now);
    ASSERT_TRUE(first.Get());
    EXPECT_EQ(first.Get()->cx, now.right - now.left);
    EXPECT_EQ(first.Get()->cy, now.bottom - now.top);
    EXPECT_GT(now.right - now.left, 800) << "the working size, not the creation size";
}

TEST_F(ShellTest, PagesEntriesAndPowerItemsAreBuiltTogetherOnePerBackedRow) {
    auto keyboard = std::make_shared<sim::SimKeyboard>();
    bus_.Plug(keyboard);
    CreateMainWindow();

    auto* pages = dynamic_cast<DuiLib::CContainerUI*>(Find(L"device_switch"));
    auto* list = dynamic_cast<DuiLib::CContainerUI*>(Find(L"device_select_layout"));
    auto* power = dynamic_cast<DuiLib::CContainerUI*>(Find(L"device_power_switch"));
    ASSERT_TRUE(pages && list && power);
    // Only the keyboard's row has a supported interface behind it.
    ASSERT_EQ(pages->GetCount(), 1);
    ASSERT_EQ(list->GetCount(), 1);
    ASSERT_EQ(power->GetCount(), 1);
    ASSERT_EQ(window_->Keyboards().size(), 1u);
    EXPECT_TRUE(window_->Mice().empty() && window_->MousePads().empty() &&
                window_->Headsets().empty());

    auto* entry = dynamic_cast<CDeviceOptionUI*>(list->GetItemAt(0));
    auto* device = dynamic_cast<CVornalixUSBDevice*>(pages->GetItemAt(0));
    ASSERT_TRUE(entry && device);
    EXPECT_EQ(device, window_->Keyboards()[0]);
    EXPECT_EQ(entry->GetDevice(), device);
    EXPECT_EQ(device->GetDeviceOptionItem(), entry);
    EXPECT_EQ(entry->GetBindTabIndex(), 0);
    EXPECT_EQ(entry->GetBindTabName(), L"device_switch");
    EXPECT_EQ(entry->GetPowerSwitchName(), L"device_power_switch");
    EXPECT_EQ(entry->GetPowerSwitchIndex(), 0);
    EXPECT_EQ(entry->GetDeviceKind(), 1);
    EXPECT_FALSE(entry->IsShown());
    EXPECT_EQ(device->GetDeviceFileName(), L"keyboard");
    EXPECT_EQ(device->GetDeviceName(), L"XML\\DeviceXml\\keyboarddevice.xml");
    EXPECT_EQ(device->GetKeyCount(), 126);
    EXPECT_EQ(device->GetLedCount(), 126);
    EXPECT_EQ(device->GetDeviceIndex(), 0);
    EXPECT_TRUE(device->GetDeviceIdentity().IsSameInterface(HidIdTable[0]));
    EXPECT_EQ(device->GetPowerItem(), dynamic_cast<IDevicePowerView*>(power->GetItemAt(0)));
    EXPECT_NE(device->GetKeyButton(125), nullptr) << "the page's key buttons are bound";
    EXPECT_NE(device->GetLedButton(0), nullptr);
    auto* label = window_->GetPaintManager()->FindSubControlByName(entry, L"device_select_name");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText().ToUtf8(), "键盘") << "the kind name is shown translated";

    // Entries move together with their pages; the update list matches them by position.
    window_->BuildUpdateDeviceList();
    ASSERT_EQ(window_->GetUpdateCandidates().size(), 4u);
    window_->BuildUpdateDeviceList();
    EXPECT_EQ(window_->GetUpdateCandidates().size(), 4u);
    EXPECT_EQ(window_->GetUpdateCandidates()[3].productName, L"T27_BX4_BX3");
}

TEST_F(ShellTest, ClosingStopsBothWorkersInSlotOrderAndLeavesNoThreadBehind) {
    const int threadsBefore = testing_support::ProgramThreadCount();
    CreateMainWindow();
    EXPECT_TRUE(window_->IsWorkerRunning(kCaptureThreadSlot));
    EXPECT_TRUE(window_->IsWorkerRunning(kLightSyncThreadSlot));
    trace_.Clear();
    const auto start = std::chrono::steady_clock::now();
    CloseMainWindow();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(window_->IsWorkerRunning(kCaptureThreadSlot));
    EXPECT_FALSE(window_->IsWorkerRunning(kLightSyncThreadSlot));
    EXPECT_FALSE(IsMainWindowVisible());
    EXPECT_EQ(CountLines(trace_, L"所有对象处于激发状态\n"), 2);
    EXPECT_EQ(CountLines(trace_, L"错误\n"), 18);
    EXPECT_TRUE(trace_.Contains(L"退出测试"));
    // Every stop event is set before the first join, so the light-sync thread may write its
    // exit text between another slot's two lines: leave it out of the order check.
    auto lines = trace_.Lines();
    std::erase(lines, std::wstring(L"同步灯光线程设定退出"));
    auto error = std::find(lines.begin(), lines.end(), L"错误\n");
    ASSERT_NE(error, lines.end());
    ASSERT_NE(error + 1, lines.end());
    EXPECT_EQ(*(error + 1), L"1") << "each slot without a thread is named after its trace";
    // A second close has nothing left to stop.
    trace_.Clear();
    window_->StopWorkerThreads();
    EXPECT_EQ(CountLines(trace_, L"错误\n"), 0);
    window_.reset();
    EXPECT_EQ(testing_support::ProgramThreadCount(), threadsBefore);
}

TEST_F(ShellTest, SecondInstanceExitsAtOnceAndBringsTheFirstToTheFront) {
    platform::SingleInstance instance(kProductName);
    ASSERT_TRUE(instance.IsFirst());
    CreateMainWindow();
    ASSERT_TRUE(instance.Listen(window_->GetHWND(), {kProductName}));
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }));
    platform::ShowWindow(window_->GetHWND(), SW_HIDE);  // as if sent to the tray

    const std::string program = platform::InstancePath() + "../velkaro";
    ASSERT_TRUE(std::filesystem::exists(program)) << program;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = -1;
    ASSERT_TRUE(PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 1500))
        << "did not exit";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }))
        << "the first instance stayed hidden";
}

// The paint manager of a window, once it is open.
DuiLib::CPaintManagerUI* PaintManagerOf(HWND window) {
    for (DuiLib::CPaintManagerUI* pm : DuiLib::CPaintManagerUI::GetPaintManagers()) {
        if (window != nullptr && pm->GetPaintWindow() == window) {
            return pm;
        }
    }
    return nullptr;
}

TEST_F(ShellTest, LanguageChosenInTheSettingsWindowRetranslatesAndIsStored) {
    CreateMainWindow();
    ASSERT_EQ(window_->GetCurrentLanguage(), 0);
    DuiLib::CControlUI* notice = Find(L"No_device_Link_text");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->GetText().ToUtf8(), "未连接设备");

    // The settings window is modal: the choice is made from inside its loop.
    platform::WindowCreateParams params;
    params.className = L"TestDriver";
    bool chosen = false;
    HWND driver =
        platform::CreateWindowHandle(params, [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
            if (msg != WM_APP) {
                return 0;
            }
            HWND settings = window_->GetSettingsWindow();
            DuiLib::CPaintManagerUI* manager = PaintManagerOf(settings);
            auto* combo =
                manager
                    ? dynamic_cast<DuiLib::CComboUI*>(manager->FindControl(L"Language_combox_info"))
                    : nullptr;
            if (combo != nullptr && combo->GetCount() >= 2) {
                chosen = combo->SelectItem(1);
            }
            platform::PostMessage(settings, WM_CLOSE, 0, 0);
            return 0;
        });
    platform::PostMessage(driver, WM_APP, 0, 0);
    window_->OpenSettingsWindow(false);
    platform::DestroyWindow(driver);

    EXPECT_TRUE(chosen);
    EXPECT_EQ(window_->GetSettingsWindow(), nullptr);
    EXPECT_EQ(window_->GetCurrentLanguage(), 1);
    EXPECT_EQ(notice->GetText().ToUtf8(), "No device connected");
    EXPECT_EQ(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"), 1033u);

    // An index that names no language changes nothing.
    platform::SendMessage(window_->GetHWND(), WM_LANGUAGE_CHANGED, 7, 0);
    EXPECT_EQ(window_->GetCurrentLanguage(), 1);
    EXPECT_EQ(notice->GetText().ToUtf8(), "No device connected");
}

TEST_F(ShellTest, StoredLanguageIsAppliedAtStart) {
    ASSERT_TRUE(platform::Registry::SetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE", 1033));
    ScopedEnv chineseUser("LC_ALL", "zh_CN.UTF-8");
    CreateMainWindow();
    EXPECT_EQ(window_->GetCurrentLanguage(), 1) << "the stored choice wins over the locale";
    EXPECT_EQ(Find(L"No_device_Link_text")->GetText().ToUtf8(), "No device connected");
}

TEST_F(ShellTest, AFreshUserStartsInTheLanguageOfTheLocaleAndKeepsIt) {
    ScopedEnv noOverride("LC_ALL", "");
    ScopedEnv messages("LC_MESSAGES", "");
    ScopedEnv englishUser("LANG", "en_GB.UTF-8");
    CreateMainWindow();
    EXPECT_EQ(window_->GetCurrentLanguage(), 1);
    EXPECT_EQ(Find(L"No_device_Link_text")->GetText().ToUtf8(), "No device connected");
    EXPECT_EQ(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"), 1033u);
}

}  // namespace
}  // namespace shell_testing

namespace shell_testing {
namespace {

// Every page layout builds whole through the main window's control factory: no class is
// unknown and the controls the device classes bind are there.
TEST_F(ShellTest, EveryDevicePageBuildsWholeThroughTheWindowsFactory) {
    CreateMainWindow();
    struct Page {
        const wchar_t* xml;
        const wchar_t* cls;
        std::vector<const wchar_t*> names;
    };
    const std::vector<Page> pages = {
        {L"XML\\DeviceXml\\keyboarddevice.xml",
         L"VornalixKeyboardDevice",
         {L"keyboard_device_key_light", L"key_125", L"DeviceProfileItem", L"device_profile_combo",
          L"LightControlItem", L"light_combo_modeSelect", L"MacroControlItem", L"macro_name_list",
          L"KeySetControlItem", L"keyset_function_combo", L"repeat_input_richedit", L"text_test"}},
        {L"XML\\DeviceXml\\mousedevice.xml",
         L"VornalixMouseDevice",
         {L"mouse_device_seting_layout", L"light_0_5", L"logo", L"DPI_edit_4", L"ShootControlItem",
          L"shoot_gun_op_3", L"device_setkeyinfo_list", L"KeySetControlItem"}},
        {L"XML\\DeviceXml\\mousepaddevice.xml",
         L"VornalixMousePadDevice",
         {L"mousepad_device_key_light", L"light_14", L"LightControlItem"}},
        {L"XML\\DeviceXml\\tamseldevice.xml",
         L"VornalixTamselDevice",
         {L"tamsel_device_key_light", L"light_12", L"MagicControlItem", L"magic_option_4",
          L"VoiceTamselControlItem", L"Tamsel_eq_hz_slider_9", L"Tamsel_eq_option_13"}},
    };
    for (const Page& page : pages) {
        trace_.Clear();
        DuiLib::CDialogBuilder builder;
        std::unique_ptr<DuiLib::CControlUI> root(
            builder.Create(page.xml, nullptr, window_.get(), window_->GetPaintManager(), nullptr));
        ASSERT_NE(root, nullptr) << builder.GetLastErrorMessage().ToUtf8();
        EXPECT_FALSE(trace_.Contains(L"unknown control class"))
            << DuiLib::CDuiString(page.xml).ToUtf8();
        for (const wchar_t* name : page.names) {
            EXPECT_NE(window_->GetPaintManager()->FindSubControlByName(root.get(), name), nullptr)
                << DuiLib::CDuiString(name).ToUtf8() << " in "
                << DuiLib::CDuiString(page.xml).ToUtf8();
        }
    }
    std::unique_ptr<DuiLib::CControlUI> made(window_->CreateControl(L"circleprogress"));
    ASSERT_NE(made, nullptr) << "class names compare without case";
    EXPECT_EQ(DuiLib::CDuiString(made->GetClass()), L"CircleProgress");
    EXPECT_EQ(window_->CreateControl(L"NoSuchControl"), nullptr);
}

}  // namespace
}  // namespace shell_testing

namespace shell_testing {
namespace {

TEST_F(ShellTest, ShowingSelectingAndReleasingAnEntryKeepsNoticeCurrentDeviceAndSyncInStep) {
    CreateMainWindow();
    ASSERT_EQ(window_->Keyboards().size(), 1u);
    CVornalixUSBDevice* keyboard = window_->Keyboards()[0];
    keyboard->CommandChannel().SetLightSync(true);

    window_->SetDeviceEntryState(0, true, true);
    EXPECT_EQ(window_->GetCurrentDevice(), keyboard);
    EXPECT_FALSE(Find(L"No_device_Link")->IsVisible());
    EXPECT_FALSE(keyboard->CommandChannel().GetLightSync())
        << "one device alone is never synchronised";
    int first = -1;
    int count = 0;
    EXPECT_TRUE(window_->CountShownEntries(&first, &count));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 1);

    // Alone in the list: neither neighbour exists, nothing wraps around.
    window_->SelectPreviousDevice();
    window_->SelectNextDevice();
    EXPECT_EQ(window_->GetCurrentDevice(), keyboard);

    window_->ReleaseDeviceEntry(-1);
    window_->ReleaseDeviceEntry(4);
    EXPECT_EQ(window_->GetCurrentDevice(), keyboard);

    window_->ReleaseDeviceEntry(0);
    EXPECT_EQ(window_->GetCurrentDevice(), nullptr);
    EXPECT_TRUE(Find(L"No_device_Link")->IsVisible());
    EXPECT_FALSE(window_->CountShownEntries(&first, &count));
}

}  // namespace
}  // namespace shell_testing

namespace shell_testing {
namespace {

TEST_F(ShellTest, SettingsWindowGetsOnlyCandidatesWithAVersion) {
    ASSERT_TRUE(platform::Registry::SetString(
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaro", L"DisplayVersion",
        L"1.2.3"));
    CreateMainWindow();
    int rows = -1;
    platform::WindowCreateParams params;
    params.className = L"TestDriver";
    HWND driver =
        platform::CreateWindowHandle(params, [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
            if (msg == WM_APP) {
                HWND settings = window_->GetSettingsWindow();
                if (DuiLib::CPaintManagerUI* manager = PaintManagerOf(settings)) {
                    if (auto* list = dynamic_cast<DuiLib::CContainerUI*>(
                            manager->FindControl(L"update_list"))) {
                        rows = list->GetCount();
                    }
                }
                platform::PostMessage(settings, WM_CLOSE, 0, 0);
            }
            return 0;
        });
    platform::PostMessage(driver, WM_APP, 0, 0);
    window_->OpenSettingsWindow(true);
    platform::DestroyWindow(driver);
    // No device is connected: only the application itself has a version, the running
    // program's, which replaced the one recorded before.
    EXPECT_EQ(rows, 1);
    ASSERT_EQ(window_->GetUpdateCandidates().size(), 4u);
    EXPECT_EQ(window_->GetUpdateCandidates()[3].version, ParseDisplayVersion(ProgramVersionText()));
    EXPECT_EQ(window_->GetUpdateCandidates()[0].version, 0);
}

}  // namespace
}  // namespace shell_testing
