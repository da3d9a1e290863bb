#include "app/device_option_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "device/vornalix_usb_device.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_button.h"
#include "platform/hid/hid_bus.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "sim/sim_keyboard.h"

namespace {

using DuiLib::CControlUI;

// Records the calls the entry's timers make into its device.
class RecordingDevice : public CVornalixUSBDevice {
  public:
    std::vector<std::string> calls;

    void StartDevice() override { calls.push_back("start"); }
    int PushLightFrame() override {
        calls.push_back("frame");
        return CVornalixUSBDevice::PushLightFrame();
    }
    void ReadDeviceSettings() override { calls.push_back("read"); }
    void ShowLedPreview() override {
        calls.push_back("preview");
        CVornalixUSBDevice::ShowLedPreview();
    }
    void OnListTimer1003() override { calls.push_back("1003"); }
    void OnListTimer1004() override { calls.push_back("1004"); }
    void QueryPowerStatus() override { calls.push_back("power"); }
    size_t Count(const std::string& call) const {
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }
};

class CountingKeyButton : public CDeviceKeyButtonUI {
  public:
    void Invalidate() override { ++invalidated; }
    int invalidated = 0;
};

template <typename T>
T* AddNamed(DuiLib::CContainerUI* parent, const wchar_t* name) {
    auto* control = new T();
    control->SetName(name);
    parent->Add(control);
    return control;
}

class DeviceOptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(keyboard_);
        const std::wstring path = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4);
        ASSERT_TRUE(device_.CommandChannel().OpenInterface(path.c_str(), false));
        device_.SetLedCount(126);
        window_ = platform::CreateWindowHandle(
            {L"DeviceOptionTest", L"entry", nullptr, {}, false},
            [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                LRESULT result = 0;
                manager_.MessageHandler(message, wParam, lParam, result);
                return result;
            });
        ASSERT_NE(window_, nullptr);
        manager_.Init(window_);
        entry_ = new CDeviceOptionUI();
        pageOption_ = AddNamed<DuiLib::COptionUI>(entry_, L"device_select");
        syncOption_ = AddNamed<DuiLib::COptionUI>(entry_, L"synchro_device_select");
        AddNamed<DuiLib::CLabelUI>(entry_, L"device_select_name");
        manager_.AttachDialog(entry_);
        entry_->SetDevice(&device_);
    }
    void TearDown() override {
        if (window_) {
            platform::DestroyWindow(window_);
        }
    }

    // Runs the message loop until `done` or a generous deadline.
    template <typename Predicate>
    bool PumpUntil(Predicate done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        MSG msg;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            if (platform::PeekMessage(&msg, PM_REMOVE)) {
                platform::DispatchMessage(&msg);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        return true;
    }

    void Show(const std::vector<int>& commands) {
        for (const int command : commands) {
            platform::ShowWindow(window_, command);
        }
    }

    void ExpectAWindowBackInSightTintsItsPageWithTheColoursOfNow(const std::vector<int>& away,
                                                                 const std::vector<int>& back);
    void ExpectIdleFramesRestOutOfSightAndComeBackWithIt(const std::vector<int>& away,
                                                         const std::vector<int>& back);

    void Fire(UINT id) {
        DuiLib::TEventUI event;
        event.Type = DuiLib::UIEVENT_TIMER;
        event.wParam = id;
        entry_->DoEvent(event);
    }

    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    RecordingDevice device_;
    HWND window_ = nullptr;
    DuiLib::CPaintManagerUI manager_;
    CDeviceOptionUI* entry_ = nullptr;
    DuiLib::COptionUI* pageOption_ = nullptr;
    DuiLib::COptionUI* syncOption_ = nullptr;
};

TEST_F(DeviceOptionTest, StartThenFramesEvery50MsUntilTheChannelCloses) {
    device_.SetShowPower(1);
    entry_->ArmStartTimer();
    ASSERT_TRUE(PumpUntil([&] { return device_.Count("frame") >= 3; }));
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"start", "frame", "frame", "frame"}));
    ASSERT_TRUE(device_.CommandChannel().WaitLightFramesSent(5000));
    EXPECT_GE(keyboard_->CommandCount(0x12), 3u * 7u);  // 378-byte frames on the wire
    EXPECT_TRUE(manager_.KillTimer(entry_, CDeviceOptionUI::kPowerTimer));  // armed by start

    device_.CommandChannel().CloseInterface();
    const size_t framesAtClose = device_.Count("frame");
    ASSERT_TRUE(PumpUntil([&] { return device_.Count("frame") > framesAtClose; }));
    // The tick that found the channel closed did not re-arm itself.
    EXPECT_FALSE(manager_.KillTimer(entry_, CDeviceOptionUI::kFrameTimer));
    EXPECT_EQ(device_.Count("start"), 1u);
}

TEST_F(DeviceOptionTest, WorkerThreadArmsTheResyncTimer) {
    std::thread worker([&] { device_.ArmListTimer(CDeviceOptionUI::kResyncTimer, 100); });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return device_.Count("read") == 1; }));
    EXPECT_FALSE(manager_.KillTimer(entry_, CDeviceOptionUI::kResyncTimer));  // one-shot
}

TEST_F(DeviceOptionTest, PowerPollRearmsOnlyWhileShownAndOpen) {
    device_.SetShowPower(1);
    Fire(CDeviceOptionUI::kPowerTimer);
    EXPECT_TRUE(manager_.KillTimer(entry_, CDeviceOptionUI::kPowerTimer));
    device_.SetShowPower(0);
    Fire(CDeviceOptionUI::kPowerTimer);
    EXPECT_FALSE(manager_.KillTimer(entry_, CDeviceOptionUI::kPowerTimer));
    Fire(CDeviceOptionUI::kSpareTimer1003);
    Fire(CDeviceOptionUI::kSpareTimer1004);
    EXPECT_EQ(device_.calls, (std::vector<std::string>{"power", "power", "1003", "1004"}));
}

TEST_F(DeviceOptionTest, AFrameRepaintsOnlyChangedKeysOfTheSelectedEntryOfAnActiveWindow) {
    DuiLib::CContainerUI preview;
    auto* changing = new CountingKeyButton();
    auto* still = new CountingKeyButton();
    preview.Add(changing);
    preview.Add(still);
    entry_->SetPreviewControl(&preview);
    platform::ShowWindow(window_, SW_SHOW);
    changing->SetTint(0x102030, 255, true);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 0);  // not selected: the tint is only kept
    entry_->SetSelected(true);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 1);
    EXPECT_EQ(still->invalidated, 0);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 1) << "an unchanged frame repaints nothing";
    device_.SetWindowActive(0);
    changing->SetTint(0x405060, 255, true);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 1);
    EXPECT_EQ(device_.Count("frame"), 4u);  // frames still go out
    device_.SetWindowActive(1);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 2);

    // Hidden to the tray (still the active one as far as the device knows): stored only.
    platform::ShowWindow(window_, SW_HIDE);
    changing->SetTint(0x708090, 255, true);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 2);
    EXPECT_EQ(changing->GetTintColor(), 0x708090u);
    platform::ShowWindow(window_, SW_SHOW);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(changing->invalidated, 3);
    entry_->SetPreviewControl(nullptr);
}

// A window's frames leave its page alone while the window is out of sight; back in sight,
// the page takes the LED colours of that moment before anything is drawn, not those of the
// last frame it saw.
void DeviceOptionTest::ExpectAWindowBackInSightTintsItsPageWithTheColoursOfNow(
    const std::vector<int>& away, const std::vector<int>& back) {
    auto* page = new CVornalixUSBDevice();
    auto* panel = new CSelectPanelUI();
    panel->SetName(L"device_key_light");
    auto* led = new CDeviceKeyButtonUI();
    led->SetName(L"key_0");
    led->SetUserData(L"light_0");
    panel->Add(led);
    page->Add(panel);
    entry_->Add(page);  // in the window, as a device page is
    page->SetDeviceName(L"keyboard");
    page->SetKeyCount(1);
    page->SetLedCount(1);
    page->InitPage();
    page->CommandChannel().SetSlow(true);  // the tint is what counts here
    entry_->SetDevice(page);

    platform::ShowWindow(window_, SW_SHOW);
    page->SetLedColor(0, 0xFF000010);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(led->GetTintColor(), 0x10u);
    Show(away);
    page->SetLedColor(0, 0xFF000020);
    Fire(CDeviceOptionUI::kFrameTimer);
    EXPECT_EQ(led->GetTintColor(), 0x10u) << "nothing of a window out of sight is seen";
    page->SetLedColor(0, 0xFF000030);
    Show(back);
    EXPECT_EQ(led->GetTintColor(), 0x30u);
    entry_->SetDevice(nullptr);
}

TEST_F(DeviceOptionTest, AWindowShownAgainTintsItsPageWithTheColoursOfNow) {
    ExpectAWindowBackInSightTintsItsPageWithTheColoursOfNow({SW_HIDE}, {SW_SHOW});
}

TEST_F(DeviceOptionTest, AWindowRestoredTintsItsPageWithTheColoursOfNow) {
    ExpectAWindowBackInSightTintsItsPageWithTheColoursOfNow({SW_MINIMIZE}, {SW_RESTORE});
}

// A device that runs its lighting itself, as the keyboard does: its frames only paint.
class SelfLitDevice : public RecordingDevice {
  public:
    bool FramesReachDevice() const override { return false; }
};

// Out of sight, frames that neither reach a device nor paint anything seen leave their
// timer unarmed; frames that reach the device keep their 50 ms pace; the window back in
// sight starts the resting ones again, with one preview of the lights of then.
void DeviceOptionTest::ExpectIdleFramesRestOutOfSightAndComeBackWithIt(
    const std::vector<int>& away, const std::vector<int>& back) {
    auto* selfLitPage = new SelfLitDevice();
    SelfLitDevice& selfLit = *selfLitPage;
    entry_->Add(selfLitPage);  // in the window, as a device page is
    ASSERT_TRUE(selfLit.CommandChannel().OpenInterface(
        bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4).c_str(), false));
    auto* second = new CDeviceOptionUI();
    entry_->Add(second);
    second->SetDevice(&selfLit);

    Show(away);
    entry_->ArmStartTimer();
    second->ArmStartTimer();
    ASSERT_TRUE(PumpUntil([&] { return device_.Count("frame") >= 3; }));
    EXPECT_EQ(selfLit.Count("frame"), 1u) << "the first frame found nothing to do";
    EXPECT_FALSE(manager_.KillTimer(second, CDeviceOptionUI::kFrameTimer));

    const size_t previews = selfLit.Count("preview");
    Show(back);
    EXPECT_EQ(selfLit.Count("preview"), previews + 1);
    ASSERT_TRUE(PumpUntil([&] { return selfLit.Count("frame") >= 3; }));
    platform::SetWindowPos(window_, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(selfLit.Count("preview"), previews + 1) << "a resize brings nothing into sight";
    EXPECT_TRUE(manager_.KillTimer(entry_, CDeviceOptionUI::kFrameTimer));
    EXPECT_TRUE(manager_.KillTimer(second, CDeviceOptionUI::kFrameTimer));
    second->SetDevice(nullptr);
}

TEST_F(DeviceOptionTest, FramesThatDoNothingRestWhileHiddenAndComeBackOnShowing) {
    ExpectIdleFramesRestOutOfSightAndComeBackWithIt({SW_HIDE}, {SW_SHOW});
}

// Minimised, and brought back by the tray icon's click: shown, then restored.
TEST_F(DeviceOptionTest, FramesThatDoNothingRestWhileMinimisedAndComeBackOnRestoring) {
    ExpectIdleFramesRestOutOfSightAndComeBackWithIt({SW_SHOW, SW_MINIMIZE}, {SW_SHOW, SW_RESTORE});
}

TEST_F(DeviceOptionTest, IconsFollowTheDeviceKind) {
    entry_->SetDeviceKind(3, 0);
    EXPECT_EQ(pageOption_->GetNormalImage(), L"common/device_ico/hard_mp_device_normal.png");
    EXPECT_EQ(pageOption_->GetSelectedImage(), L"common/device_ico/hard_mp_device_selected.png");
    EXPECT_EQ(pageOption_->GetDisabledImage(), L"common/device_ico/hard_mp_device_normal.png");
    EXPECT_EQ(pageOption_->GetToolTip(), L"hard_mp_device_name_text");
    entry_->SetDeviceKind(3, 2);  // unknown pad: keeps its icons
    EXPECT_EQ(entry_->GetDeviceSubKind(), 2);
    EXPECT_EQ(pageOption_->GetToolTip(), L"hard_mp_device_name_text");
    entry_->SetDeviceKind(6, 0);
    EXPECT_EQ(pageOption_->GetNormalImage(), L"common/device_ico/unknow_device_normal.png");
    entry_->SetDeviceKind(7, 0);
    EXPECT_EQ(pageOption_->GetToolTip(), L"hd_device_name_text");
    entry_->SetDeviceKind(4, 0);
    EXPECT_EQ(pageOption_->GetSelectedImage(), L"common/device_ico/hd_device_selected.png");

    entry_->SetDeviceKind(1, 0);
    entry_->SetSyncSelected(true);
    EXPECT_TRUE(entry_->IsSyncSelected());
    EXPECT_EQ(pageOption_->GetNormalImage(), L"common/device_ico/kb_device_synchro_normal.png");
    EXPECT_EQ(pageOption_->GetSelectedImage(), L"common/device_ico/kb_device_synchro_selected.png");
    entry_->ShowSyncOption(false);
    EXPECT_FALSE(syncOption_->IsVisible());
    syncOption_->Selected(false, false);
    entry_->ShowSyncOption(true);
    EXPECT_EQ(pageOption_->GetNormalImage(), L"common/device_ico/kb_device_normal.png");
}

TEST_F(DeviceOptionTest, PowerSwitchAndVisibility) {
    entry_->SetPowerSwitch(nullptr, 3);
    EXPECT_TRUE(entry_->GetPowerSwitchName().IsEmpty());
    EXPECT_EQ(entry_->GetPowerSwitchIndex(), -1);
    entry_->SetPowerSwitch(L"device_power_switch", -2);
    EXPECT_EQ(entry_->GetPowerSwitchName(), L"device_power_switch");
    EXPECT_EQ(entry_->GetPowerSwitchIndex(), -1);
    entry_->SetPowerSwitch(L"device_power_switch", 1);
    EXPECT_EQ(entry_->GetPowerSwitchIndex(), 1);
    entry_->SetVisible(false);
    EXPECT_FALSE(entry_->IsShown());
    EXPECT_EQ(device_.GetDeviceOptionItem(), entry_);
}

}  // namespace
