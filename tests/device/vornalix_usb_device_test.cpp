#include "device/vornalix_usb_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "device/lighting/led_frame.h"
#include "device/page/control_lookup.h"
#include "device/page/function_tabs.h"
#include "duilib/control_factory.h"
#include "duilib/dialog_builder.h"
#include "platform/debug_trace.h"
#include "platform/fake_clock.h"
#include "platform/hid/hid_bus.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/text_convert.h"
#include "sim/keyboard_descriptors.h"
#include "sim/sim_keyboard.h"
#include "support/program_threads.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CControlUI;

class PageControls : public DuiLib::IDialogBuilderCallback {
  public:
    CControlUI* CreateControl(LPCTSTR pstrClass) override {
        const DuiLib::CDuiString cls = pstrClass;
        if (cls == L"SelectPanel") {
            return new CSelectPanelUI();
        }
        if (cls == L"DeviceKeyButton") {
            return new CDeviceKeyButtonUI();
        }
        return nullptr;
    }
};

constexpr wchar_t kPageXml[] =
    LR"(<CVornalixUSBDevice name="keyboard_page">
  <SelectPanel name="device_key_light">
    <DeviceKeyButton name="key_0" userdata="light_0"/>
    <DeviceKeyButton name="KEY_1" userdata="light_2"/>
    <DeviceKeyButton name="key_9" userdata="light_9"/>
    <DeviceKeyButton name="key_-1" userdata="light_-1"/>
    <DeviceKeyButton name="other" userdata="LIGHT_1"/>
    <Button name="key_2" userdata="light_1"/>
  </SelectPanel>
  <TabLayout name="device_function_switch"><Control/><Control/><Control/><Control/></TabLayout>
  <VerticalLayout>
    <TabLayout name="device_key_function_switch"><Control/><Control/><Control/></TabLayout>
  </VerticalLayout>
</CVornalixUSBDevice>)";

std::unique_ptr<CVornalixUSBDevice> BuildPage(const wchar_t* xml) {
    DuiLib::CControlFactory::GetInstance()->RegisterControl(L"CVornalixUSBDevice", CreateUSBDevice);
    PageControls controls;
    DuiLib::CDialogBuilder builder;
    CControlUI* root = builder.Create(xml, nullptr, &controls);
    return std::unique_ptr<CVornalixUSBDevice>(
        root ? static_cast<CVornalixUSBDevice*>(root->GetInterface(L"HorizontalLayout")) : nullptr);
}

CDeviceKeyButtonUI* AsKey(CControlUI* control) {
    return control ? static_cast<CDeviceKeyButtonUI*>(control->GetInterface(L"DeviceKeyButton"))
                   : nullptr;
}

DuiLib::CTabLayoutUI* Tab(CVornalixUSBDevice& page, const wchar_t* name) {
    CControlUI* control = device::FindControlByName(&page, name);
    return static_cast<DuiLib::CTabLayoutUI*>(control->GetInterface(L"TabLayout"));
}

TEST(DevicePageTest, InitPageBindsKeysAndLedsAndTintsLedsWhite) {
    auto page = BuildPage(kPageXml);
    ASSERT_TRUE(page);
    EXPECT_STREQ(page->GetClass(), L"VornalixUSBDevice");
    page->SetDeviceName(L"keyboard");
    page->SetKeyCount(3);
    page->SetLedCount(3);
    page->InitPage();

    ASSERT_NE(page->GetPreviewControl(), nullptr);
    EXPECT_EQ(page->GetPreviewControl()->GetName(), L"device_key_light");
    CDeviceKeyButtonUI* key0 = AsKey(page->GetKeyButton(0));
    CDeviceKeyButtonUI* key1 = AsKey(page->GetKeyButton(1));
    ASSERT_TRUE(key0 && key1);
    EXPECT_EQ(key0->GetName(), L"key_0");
    EXPECT_EQ(key1->GetName(), L"KEY_1");
    EXPECT_EQ(page->GetKeyButton(2), nullptr);  // a plain button is no key
    EXPECT_EQ(page->GetLedButton(0), key0);
    EXPECT_EQ(page->GetLedButton(2), key1);
    EXPECT_EQ(page->GetLedButton(1), nullptr);  // user data is matched with its case
    EXPECT_TRUE(key0->IsTintOn());
    EXPECT_EQ(key0->GetTintColor(), 0xFFFFFFu);
    EXPECT_EQ(key0->GetTintAlpha(), 255);
    EXPECT_FALSE(AsKey(device::FindControlByName(page.get(), L"key_9"))->IsTintOn());
}

TEST(DevicePageTest, UnnamedDeviceOrPanelLessPageBindsNothing) {
    auto page = BuildPage(kPageXml);
    page->SetKeyCount(3);
    page->SetLedCount(3);
    page->InitPage();  // no device name yet
    EXPECT_EQ(page->GetKeyCount(), 0);
    EXPECT_EQ(page->GetLedCount(), 0);
    EXPECT_EQ(page->GetPreviewControl(), nullptr);

    auto bare = BuildPage(LR"(<CVornalixUSBDevice><Button name="key_0"/></CVornalixUSBDevice>)");
    bare->SetDeviceName(L"mouse");
    bare->SetKeyCount(1);
    bare->InitPage();
    EXPECT_EQ(bare->GetPreviewControl(), nullptr);
    EXPECT_EQ(bare->GetKeyButton(0), nullptr);
}

TEST(DevicePageTest, FramePushTintsVisibleLedButtonsWithTheLedColour) {
    auto page = BuildPage(kPageXml);
    page->SetDeviceName(L"keyboard");
    page->SetLedCount(3);
    page->InitPage();
    page->CommandChannel().SetSlow(true);  // no frame on the wire; the tint is what counts
    page->SetLedColor(0, 0x80332211);      // red 0x11, green 0x22, blue 0x33, brightness 0x80
    page->SetLedColor(2, 0x40665544);
    page->GetLedButton(2)->SetVisible(false);
    EXPECT_EQ(page->PushLightFrame(), 1);
    CDeviceKeyButtonUI* shown = AsKey(page->GetLedButton(0));
    EXPECT_EQ(shown->GetTintColor(), 0x223311u);  // red | blue << 8 | green << 16
    EXPECT_EQ(shown->GetTintAlpha(), 0x80);
    EXPECT_EQ(AsKey(page->GetLedButton(2))->GetTintColor(), 0xFFFFFFu);  // hidden: kept
}

TEST(DevicePageTest, FrameSkipsLedSlotOneHundredTwentySix) {
    device::LedColourVector leds;
    leds.Resize(130);
    leds.Fill(0xFFFFFFFF);
    device::LightFrame frame;
    device::EncodeLightFrame(leds, frame);
    EXPECT_EQ(frame.length, 390u);
    EXPECT_EQ(frame.bytes[377], 254);  // LED 125 at full brightness
    EXPECT_EQ(frame.bytes[378], 0);    // LED 126 stands for "no LED"
    EXPECT_EQ(frame.bytes[380], 0);
    EXPECT_EQ(frame.bytes[381], 254);
}

TEST(DevicePageTest, PageFunctionSelectsTabItems) {
    auto page = BuildPage(kPageXml);
    page->SetDeviceType(3, 0);  // mouse pad
    page->SetPageFunction(4);
    EXPECT_EQ(Tab(*page, L"device_function_switch")->GetCurSel(), 0);
    EXPECT_EQ(Tab(*page, L"device_key_function_switch")->GetCurSel(), 2);
    page->SetPageFunction(9);
    EXPECT_EQ(page->GetPageFunction(), 9);
    EXPECT_EQ(Tab(*page, L"device_key_function_switch")->GetCurSel(), 0);
    page->SetPageFunction(2);
    page->SetDeviceType(1, 0);
    page->SetPageFunction(4);  // the keyboard's own system page; inner tab kept
    EXPECT_EQ(Tab(*page, L"device_function_switch")->GetCurSel(), 3);
    EXPECT_EQ(Tab(*page, L"device_key_function_switch")->GetCurSel(), 1);
}

TEST(DevicePageTest, PageFunctionTable) {
    using device::kTabUnchanged;
    using device::PageFunctionTabs;
    using device::TabsForPageFunction;
    EXPECT_EQ(TabsForPageFunction(1, 2), (PageFunctionTabs{0, 0}));
    EXPECT_EQ(TabsForPageFunction(2, 1), (PageFunctionTabs{0, 1}));
    EXPECT_EQ(TabsForPageFunction(3, 2), (PageFunctionTabs{1, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(4, 2), (PageFunctionTabs{3, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(4, 7), (PageFunctionTabs{0, 2}));
    EXPECT_EQ(TabsForPageFunction(5, 2), (PageFunctionTabs{2, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(6, 7), (PageFunctionTabs{0, 1}));
    EXPECT_EQ(TabsForPageFunction(7, 7), (PageFunctionTabs{0, 2}));
    EXPECT_EQ(TabsForPageFunction(8, 7), (PageFunctionTabs{1, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(-1, 3), (PageFunctionTabs{0, 0}));
}

TEST(DevicePageTest, PathsFollowTheDeviceFileName) {
    testing_support::ScopedUserFolders folders;
    CVornalixUSBDevice device;
    device.SetDeviceFileName(L"keyboard");
    EXPECT_EQ(device.GetUserDataPath().ToUtf8(), folders.DataHome() + "Velkaro/keyboard/");
    EXPECT_TRUE(std::filesystem::is_directory(folders.DataHome() + "Velkaro/keyboard"));
    const std::wstring profile = device.GetDefaultProfilePath().str();
    EXPECT_TRUE(profile.ends_with(L"/DefaultData/keyboard.Json")) << profile;
}

TEST(DeviceStateTest, IdentityGivesKindAndSubKind) {
    CVornalixUSBDevice device;
    HidIdRecord record;
    record.deviceKind = 2;
    record.subKind = 255;
    record.vendorId = 0x320F;
    device.SetDeviceIdentity(record);
    EXPECT_EQ(device.GetDeviceType(), 2);
    EXPECT_EQ(device.GetSubType(), 255);
    EXPECT_EQ(device.GetDeviceIdentity().vendorId, 0x320F);
}

TEST(DeviceStateTest, LedColourIndexesOutsideTheCountAreIgnored) {
    CVornalixUSBDevice device;
    device.SetLedCount(6);
    device.SetLedColor(5, 0x11223344);
    device.SetLedColor(6, 1);
    device.SetLedColor(-1, 1);
    EXPECT_EQ(device.GetLedColor(5), 0x11223344u);
    EXPECT_EQ(device.GetLedColor(6), 0u);
    EXPECT_EQ(device.GetLedColor(-1), 0u);
    device.SetLedCount(6);  // same count: colours cleared all the same
    EXPECT_EQ(device.GetLedColor(5), 0u);
    device.SetLedCount(1000);  // a count from a faulty device
    EXPECT_EQ(device.GetLedCount(), 170);
}

// The worker-thread scheme is for the device classes; the test stands in for one.
class TestDevice : public CVornalixUSBDevice {
  public:
    using CVornalixUSBDevice::StartInputWorker;
    using CVornalixUSBDevice::StartLightWorker;
    using CVornalixUSBDevice::StopInputWorker;
    using CVornalixUSBDevice::StopLightWorker;
};

// A keyboard on the simulated bus with the device's command channel open on it.
class SimKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(keyboard_);
        const std::wstring path = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4);
        ASSERT_TRUE(device_.CommandChannel().OpenInterface(path.c_str(), false));
    }

    std::vector<uint8_t> FrameOnDevice(size_t length) const {
        std::vector<uint8_t> frame = keyboard_->Memory(sim::KeyboardMemory::kLightFrame);
        frame.resize(length);
        return frame;
    }

    bool OpenInputChannel() {
        const std::wstring path = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 3);
        return device_.InputChannel().OpenInterface(path.c_str(), false);
    }

    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    TestDevice device_;
};

TEST_F(SimKeyboardTest, FrameCarriesThreeBrightnessScaledBytesPerLed) {
    device_.SetLedCount(126);
    device_.SetLightParams(0x00000E00, 0x32649600, 0, 0);  // brightness 14, (150, 100, 50)
    device_.EffectStatic();
    device_.SetLedColor(125, 0x80FF0000 | 0x0000FF);  // (255, 0, 255) at brightness 128
    EXPECT_EQ(device_.PushLightFrame(), 1);
    ASSERT_TRUE(device_.CommandChannel().WaitLightFramesSent(5000));
    EXPECT_EQ(keyboard_->CommandCount(0x12), 7u);  // 378 bytes in pieces of 56
    const std::vector<uint8_t> frame = FrameOnDevice(378);
    EXPECT_EQ(frame[0], 149);  // 150 x 255 / 256
    EXPECT_EQ(frame[1], 99);
    EXPECT_EQ(frame[2], 49);
    EXPECT_EQ(frame[372], 149);
    EXPECT_EQ(frame[375], 127);
    EXPECT_EQ(frame[376], 0);
    EXPECT_EQ(frame[377], 127);
}

TEST_F(SimKeyboardTest, FlashFramesFollowTheFakeClockOnASixLedDevice) {
    platform::FakeClock clock;
    clock.SetTick(10000);
    device_.SetLedCount(6);
    device_.SetLightParams(0x00000E00, 0x0000FF01, 0, 0);  // multi-colour, speed 0
    device_.EffectFlash();
    device_.PushLightFrame();
    ASSERT_TRUE(device_.CommandChannel().WaitLightFramesSent(5000));
    EXPECT_EQ(keyboard_->CommandCount(0x12), 1u);
    // On at wheel entry 16, (255, 81, 0) at full brightness.
    EXPECT_EQ(FrameOnDevice(6), (std::vector<uint8_t>{254, 80, 0, 254, 80, 0}));
    clock.Advance(5600);
    device_.EffectFlash();
    device_.PushLightFrame();
    ASSERT_TRUE(device_.CommandChannel().WaitLightFramesSent(5000));
    EXPECT_EQ(FrameOnDevice(18), std::vector<uint8_t>(18, 0));
}

TEST_F(SimKeyboardTest, NoFrameWithoutLightControlOrOverTheWirelessLink) {
    device_.SetLedCount(6);
    device_.SetDeviceType(2, 0);
    device_.SetLightControl(0);
    EXPECT_EQ(device_.PushLightFrame(), 0);
    device_.SetLightControl(1);  // a mouse takes no 0x1C
    EXPECT_EQ(keyboard_->CommandCount(0x1C), 0u);
    device_.CommandChannel().SetSlow(true);
    EXPECT_EQ(device_.PushLightFrame(), 1);
    EXPECT_EQ(keyboard_->CommandCount(0x12), 0u);
    device_.SetDeviceType(1, 0);
    device_.SetLightControl(1);
    EXPECT_EQ(keyboard_->CommandCount(0x1C), 1u);
}

TEST_F(SimKeyboardTest, InputWorkerHandsOnReportsAndStopsOutOfABlockedRead) {
    platform::TraceCapture trace;
    ASSERT_TRUE(OpenInputChannel());
    platform::Event received(true, false);
    std::vector<uint8_t> first;
    device_.StartInputWorker([&](const std::vector<uint8_t>& report) {
        if (!received.IsSet()) {
            first = report;
            received.Set();
        }
    });
    keyboard_->RequestResync();
    ASSERT_EQ(received.Wait(2000), platform::kWaitObject0);
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(first[0], sim::kKeyboardNotifyReportId);
    device_.StopInputWorker();  // the worker waits in a read without time-out
    EXPECT_TRUE(trace.Contains(device::kInputThreadExitText));
    EXPECT_TRUE(trace.Contains(device::kThreadEndedText));
    EXPECT_FALSE(trace.Contains(device::kThreadTimedOutText));
}

TEST_F(SimKeyboardTest, LedColoursStaySafeUnderConcurrentWritersAndResizes) {
    device_.SetLedCount(126);
    device_.SetLightParams(0x01000E00, 0, 0, 0);
    device::LightLoopHooks hooks;
    hooks.stepTicks = [] { return 0; };
    hooks.runStep = [this](uint32_t) { device_.EffectSpectrum(); };
    device_.StartLightWorker(std::move(hooks), device::kLightThreadExitText);
    std::atomic<bool> done{false};
    std::thread sync([&] {  // the light synchronisation writes LEDs of its own
        for (uint32_t i = 0; !done.load(); ++i) {
            device_.SetLedColor(static_cast<int>(i % 126), 0xFF0000FF);
        }
    });
    for (int i = 0; i < 100; ++i) {
        device_.SetLedCount(i % 2 ? 126 : 6);
        device_.PushLightFrame();
        ASSERT_TRUE(device_.CommandChannel().WaitLightFramesSent(5000));
        EXPECT_EQ(device_.GetLedColor(126), 0u);
    }
    done.store(true);
    sync.join();
    device_.StopLightWorker();
    EXPECT_GE(keyboard_->CommandCount(0x12), 100u);
}

TEST_F(SimKeyboardTest, LightWorkerStartsAndStopsThousandTimesLeavingNoThread) {
    const int before = testing_support::ProgramThreadCount();
    for (int i = 0; i < 1000; ++i) {
        device::LightLoopHooks hooks;
        hooks.stepTicks = [] { return 0; };
        hooks.runStep = [this](uint32_t) { device_.EffectSpectrum(); };
        device_.StartLightWorker(std::move(hooks), device::kLightThreadExitText);
        device_.StopLightWorker();
    }
    EXPECT_EQ(testing_support::ProgramThreadCount(), before);
}

TEST_F(SimKeyboardTest, InputWorkerStartsAndStopsThousandTimesLeavingNoThread) {
    ASSERT_TRUE(OpenInputChannel());
    const int before = testing_support::ProgramThreadCount();
    for (int i = 0; i < 1000; ++i) {
        device_.StartInputWorker([](const std::vector<uint8_t>&) {});
        device_.StopInputWorker();
    }
    EXPECT_EQ(testing_support::ProgramThreadCount(), before);
}

}  // namespace
