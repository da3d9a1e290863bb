// The mouse's page built from the skin's own layout with the simulated mouse behind it:
// its buttons, panels, key list and settings controls show what the device holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "controls/device_key_button.h"
#include "device/lighting/base_light_effects.h"
#include "device/lighting/led_frame.h"
#include "device/mouse/factory_key_codes.h"
#include "device/page/control_lookup.h"
#include "device/skin_page_builder.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"
#include "pages/key_set_control_ui.h"
#include "platform/file_io.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "profile/json_file.h"
#include "sim/mouse_descriptors.h"
#include "sim/sim_mouse.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CControlUI;
using DuiLib::CDuiString;
using DuiLib::COptionUI;

// The mouse's section of the shipped default profile.
Json::Value ShippedMouseSection() {
    CJsonFile json;
    return json.LoadJsonFile(DuiLib::CDuiString(
        platform::Utf8Decode(platform::InstancePath() + "DefaultData/mouse.Json")))["Device"][0];
}

class MousePageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(skin_.Loaded());
        page_ = skin_.BuildMousePage();
        ASSERT_TRUE(page_);
    }

    void StartMouse() {
        bus_.Plug(mouse_);
        ASSERT_TRUE(page_->CommandChannel().OpenInterface(
            bus_.PathOf(*mouse_, 1, sim::kMouseCommandCollection).c_str(), false));
        page_->StartDevice();
    }

    template <class T>
    T* Find(const wchar_t* name) {
        return dynamic_cast<T*>(device::FindControlByName(page_.get(), name));
    }
    COptionUI* Option(const wchar_t* prefix, int n) {
        return Find<COptionUI>((std::wstring(prefix) + std::to_wstring(n)).c_str());
    }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimMouse> mouse_ = std::make_shared<sim::SimMouse>();
    SkinPageEnvironment skin_;
    std::unique_ptr<CVornalixMouseDevice> page_;
};

TEST_F(MousePageTest, BuildingBindsTheLightButtonsAndFillsThePanels) {
    // The light tab's buttons are the ones the light frames colour.
    auto* light = Find<CControlUI>(L"mouse_device_key_light");
    EXPECT_EQ(page_->GetPreviewControl(), light);
    auto* key = dynamic_cast<CDeviceKeyButtonUI*>(page_->GetMouseKeyButton(2));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetName(), CDuiString(L"light_0_2"));
    EXPECT_TRUE(key->IsTintOn());
    // The key tab's buttons stay the device's key buttons.
    ASSERT_NE(page_->GetKeyButton(2), nullptr);
    EXPECT_EQ(page_->GetKeyButton(2)->GetName(), CDuiString(L"key_2"));
    EXPECT_EQ(page_->GetMouseKeyButton(12), nullptr);

    auto* modes = Find<DuiLib::CComboUI>(L"light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    EXPECT_EQ(modes->GetCount(), 9);
    for (int i = 0; i < modes->GetCount(); ++i) {
        EXPECT_TRUE(modes->GetItemAt(i)->IsEnabled()) << "mode " << i << " is marked visible";
    }
    EXPECT_NE(page_->GetProfilePage(), nullptr);
    EXPECT_EQ(Find<DuiLib::CTabLayoutUI>(L"mouse_device_seting_layout")->GetCurSel(), 0);
    EXPECT_TRUE(Option(L"mouse_device_seting_option_", 0)->IsSelected());

    // A tab the layout lacks selects the first.
    page_->SelectSettingTab(1);
    EXPECT_TRUE(Option(L"mouse_device_seting_option_", 1)->IsSelected());
    page_->SelectSettingTab(9);
    EXPECT_EQ(Find<DuiLib::CTabLayoutUI>(L"mouse_device_seting_layout")->GetCurSel(), 0);
    EXPECT_TRUE(Option(L"mouse_device_seting_option_", 0)->IsSelected());
}

TEST_F(MousePageTest, LightButtonsListedOutOfOrderShowTheLedTheirNameNumbers) {
    // The skin's layout with the light tab's buttons listed last first.
    const std::optional<std::string> layout =
        platform::ReadWholeFile("skin/XML/DeviceXml/mousedevice.xml");
    ASSERT_TRUE(layout);
    std::vector<std::string> lines;
    std::istringstream in(*layout);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("name=\"light_0_0\"") != std::string::npos;
    });
    ASSERT_NE(first, lines.end());
    std::reverse(first, first + 6);
    std::string reordered;
    for (const std::string& line : lines) {
        reordered += line + "\n";
    }
    auto page = skin_.Build<CVornalixMouseDevice>(CDuiString::FromUtf8(reordered).GetData());
    ASSERT_TRUE(page);
    page->SetDeviceName(L"mouse");
    page->SetLedCount(6);
    page->InitPage();

    for (int n = 0; n < 6; ++n) {
        ASSERT_NE(page->GetMouseKeyButton(n), nullptr) << n;
        EXPECT_EQ(page->GetMouseKeyButton(n)->GetName(),
                  CDuiString((L"light_0_" + std::to_wstring(n)).c_str()))
            << n;
    }
    page->SelectSettingTab(1);  // the light tab, whose buttons the frames colour
    page->SetLedColor(4, device::MakeLedColour({0, 0, 255}, 255));
    page->PushLightFrame();
    auto* fifth = dynamic_cast<CDeviceKeyButtonUI*>(page->GetMouseKeyButton(4));
    EXPECT_EQ(fifth->GetTintColor(), device::LedTintColour(page->GetLedColor(4)));
}

// A hidden window's frames leave the light tab's buttons and the logo alone; shown again,
// they take the LED colours of that moment before anything is drawn.
TEST_F(MousePageTest, AHiddenWindowsFramesTintNothingUntilTheWindowIsShown) {
    DuiLib::CPaintManagerUI manager;
    const HWND window = platform::CreateWindowHandle(
        {L"MousePageTest", L"page", nullptr, {}, false},
        [&manager](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            LRESULT result = 0;
            manager.MessageHandler(message, wParam, lParam, result);
            return result;
        });
    ASSERT_NE(window, nullptr);
    manager.Init(window);
    auto* root = new DuiLib::CVerticalLayoutUI();
    root->SetAutoDestroy(false);  // the page stays the fixture's
    manager.AttachDialog(root);
    root->Add(page_.get());
    page_->SelectSettingTab(1);  // the light tab, whose buttons the frames colour
    page_->SetLogoLedIndex(5);
    auto* key = dynamic_cast<CDeviceKeyButtonUI*>(page_->GetMouseKeyButton(2));
    auto* logo = dynamic_cast<CDeviceKeyButtonUI*>(Find<CControlUI>(L"logo"));
    ASSERT_TRUE(key && logo);
    auto paint = [this](uint8_t blue) {
        page_->SetLedColor(2, device::MakeLedColour({0, 0, blue}, 255));
        page_->SetLedColor(5, device::MakeLedColour({blue, 0, 0}, 255));
    };
    auto tints = [&] { return std::pair(key->GetTintColor(), logo->GetTintColor()); };
    auto tintsOf = [this] {
        return std::pair(device::LedTintColour(page_->GetLedColor(2)),
                         device::LedTintColour(page_->GetLedColor(5)));
    };

    platform::ShowWindow(window, SW_SHOW);
    paint(0x10);
    page_->PushLightFrame();
    const auto shown = tintsOf();
    EXPECT_EQ(tints(), shown);
    platform::ShowWindow(window, SW_HIDE);
    paint(0x20);
    page_->PushLightFrame();
    EXPECT_EQ(tints(), shown) << "nothing of a hidden window is seen";
    paint(0x30);
    platform::ShowWindow(window, SW_SHOW);
    page_->ShowLedPreview();  // as the device-list entry does on the window's showing
    EXPECT_EQ(tints(), tintsOf());
    EXPECT_NE(tints(), shown);

    root->Remove(page_.get(), true);
    platform::DestroyWindow(window);
}

TEST_F(MousePageTest, TheKeyListTellsEachKeysFunction) {
    StartMouse();
    std::vector<KeyAssignRecord> keys(3);
    keys[0].current = {0, 0x10, 0x01, 0x00, 0};  // left button
    keys[1].current = {1, 0x30, 0x00, 0xE9, 0};  // volume up
    keys[2].current = {2, 0x50, 0x00, 0x00, 0};  // nothing to show
    page_->SetKeyAssignments(keys);
    page_->RefreshKeySetInfoList();

    auto* list = Find<DuiLib::CListUI>(L"device_setkeyinfo_list");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 2);
    auto* row = static_cast<DuiLib::IContainerUI*>(list->GetItemAt(1)->GetInterface(L"IContainer"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetItemAt(0)->GetText(), CDuiString(L"Right button"));
    EXPECT_EQ(row->GetItemAt(1)->GetText(), CDuiString(L"Volume up"));
    EXPECT_FALSE(list->GetItemAt(1)->IsEnabled());
    auto* key = dynamic_cast<CDeviceKeyButtonUI*>(page_->GetMouseKeyButton(0));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetUserToolText(), CDuiString(L"Left button"));
    auto* logo = dynamic_cast<CDeviceKeyButtonUI*>(Find<CControlUI>(L"logo"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->GetUserToolTitle(), CDuiString(L"Logo"));
    EXPECT_EQ(logo->GetUserToolText().Find(L"Lighting\nOverall lighting: "), 0);

    auto* keySet = Find<CKeySetControlUI>(L"KeySetControlItem");
    page_->SelectKey(1);
    EXPECT_EQ(keySet->GetKeyFunctions(), keys[1]);
}

TEST_F(MousePageTest, TheKeyBeingAssignedShowsTheNewProfilesFunctionAfterASwitch) {
    StartMouse();
    constexpr int kForward = 3;
    page_->SelectKey(kForward);
    auto* keySet = Find<CKeySetControlUI>(L"KeySetControlItem");
    ASSERT_NE(keySet, nullptr);
    const KeyFunctionRecord aKey{kForward, 0x20, 0x00, 0x04, 0};
    const std::string folder = page_->GetUserDataPath().ToUtf8();
    ASSERT_TRUE(testing_support::WriteTextFile(
        folder + "other.Json", R"({"Device":[{"KeyList":[{},{},{},{"Assignment":)" +
                                   std::to_string(PackKeyFunction(aKey)) + "}]}]}"));

    // What the window does when another profile is chosen.
    page_->SetDeviceString1(L"other");
    page_->LoadProfile();
    page_->RefreshPageControls();
    EXPECT_EQ(keySet->GetKeyFunctions().current, aKey)
        << "a cancel or a change on the panel would store the old profile's function";
}

TEST_F(MousePageTest, DpiStagesKeepOneOnAndEditsReadAtLeastTheLowestDpi) {
    StartMouse();
    page_->ShowDpiStageCount(5);  // as a five-stage profile shows them
    for (int n = 0; n < 5; ++n) {
        page_->EnableDpiStage(n, n < 2 ? 1 : 0);
    }
    page_->EnableDpiStage(0, 0);
    EXPECT_FALSE(page_->IsDpiStageEnabled(0));
    EXPECT_TRUE(page_->IsDpiStageEnabled(1));
    EXPECT_FALSE(Option(L"DPI_enable_check_", 1)->IsEnabled()) << "the last stage stays on";
    page_->EnableDpiStage(3, 1);
    EXPECT_TRUE(Option(L"DPI_enable_check_", 1)->IsEnabled());

    page_->SetDpiStageValue(2, 20);
    EXPECT_EQ(page_->GetDpiStageValue(2), 20);
    const int multiplier = page_->Capabilities().DpiStepMultiplier();
    EXPECT_EQ(Find<CControlUI>(L"DPI_edit_2")->GetText(),
              CDuiString(std::to_wstring(20 * multiplier)));
    Find<CControlUI>(L"DPI_edit_2")->SetText(L"");
    EXPECT_EQ(page_->GetDpiEditValue(2), page_->Capabilities().MinDpiValue());
    Find<CControlUI>(L"DPI_edit_2")->SetText(L"99999999999");
    EXPECT_EQ(page_->GetDpiEditValue(2), page_->GetDpiEditMaximum());

    page_->SelectPollingRateOption(7);
    EXPECT_TRUE(Option(L"polling_rate_option_", 0)->IsSelected());
    page_->SetScrollSettings(1, 7);
    EXPECT_TRUE(page_->IsScrollPageChecked());
    EXPECT_EQ(page_->GetScrollSpeed(), 7);
    EXPECT_EQ(page_->GetSystemStages().wheelScrollLines, 7);
    EXPECT_EQ(page_->GetDoubleClickSpeedMax(), 900);
}

TEST_F(MousePageTest, AThreeStageProfileShowsThreeStagesAndKeepsOneOfThemOn) {
    StartMouse();
    Find<DuiLib::CTabLayoutUI>(L"device_function_switch")
        ->SelectItem(Find<CControlUI>(L"DPI_stage_layout"), false);
    page_->ShowDpiStageCount(3);
    EXPECT_TRUE(Find<CControlUI>(L"DPI_layout_2")->IsVisible());
    EXPECT_FALSE(Find<CControlUI>(L"DPI_layout_3")->IsVisible());
    EXPECT_FALSE(Find<CControlUI>(L"DPI_layout_4")->IsVisible());
    // The hidden stages' checks do not count as stages left on.
    for (int n = 0; n < 5; ++n) {
        page_->EnableDpiStage(n, 1);
    }
    page_->EnableDpiStage(0, 0);
    page_->EnableDpiStage(1, 0);
    EXPECT_FALSE(Option(L"DPI_enable_check_", 2)->IsEnabled()) << "the last shown stage stays on";
}

TEST_F(MousePageTest, FromNothingTheFirstSettingsWriteCarriesTheShippedDpiStages) {
    StartMouse();
    ASSERT_EQ(page_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    const std::vector<uint8_t> area = mouse_->Memory(sim::MouseMemory::kSettings);
    ASSERT_GE(area.size(), 59u);
    const Json::Value stages = ShippedMouseSection()["DPIStages"];
    ASSERT_EQ(stages["StageDPIs"].size(), 5u);
    EXPECT_EQ(area[12], stages["StageActive"].asInt());
    int previousDpi = 0;
    for (Json::ArrayIndex n = 0; n < 5; ++n) {
        const Json::Value& stage = stages["StageDPIs"][n];
        const uint8_t* wire = area.data() + 14 + 9 * n;
        const int dpi = wire[2] | wire[3] << 8;
        EXPECT_EQ(wire[0], 1) << "stage " << n << " is on";
        EXPECT_EQ(dpi, stage["StageDPIX"].asInt()) << "stage " << n;
        EXPECT_EQ(wire[4] | wire[5] << 8, stage["StageDPIY"].asInt()) << "stage " << n;
        EXPECT_GT(dpi, previousDpi) << "stages rise";
        EXPECT_NE(wire[6] | wire[7] | wire[8], 0) << "stage " << n << " has a colour";
        previousDpi = dpi;
    }
    EXPECT_EQ(area[11], ShippedMouseSection()["ReportStages"]["StageActive"].asInt());
}

TEST_F(MousePageTest, TheKeyBeingAssignedIsMarkedOnTheKeyTab) {
    const auto marked = [this](int key) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(page_->GetKeyButton(key));
        return button != nullptr && button->IsKeySelected();
    };
    page_->SetPageFunction(2);
    page_->SelectKey(3);
    EXPECT_TRUE(marked(3));
    page_->SelectKey(1);
    EXPECT_FALSE(marked(3));
    EXPECT_TRUE(marked(1));
    page_->SelectKey(-1);
    EXPECT_FALSE(marked(1));
}

TEST_F(MousePageTest, FromNothingEveryKeyIsListedAndAReassignedKeyReachesTheWire) {
    StartMouse();
    auto* list = dynamic_cast<DuiLib::CListUI*>(
        device::FindControlByName(page_.get(), L"device_setkeyinfo_list"));
    ASSERT_NE(list, nullptr);
    int buttons = 0;
    for (int k = 0; k < device::kMouseKeyCount; ++k) {
        buttons += page_->GetMouseKeyButton(k) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(list->GetCount(), buttons) << "a named row for every key on the picture";

    constexpr int kForward = 3;
    page_->SelectKey(kForward);
    // Type 0x20 in byte 2, usage 0x04 in byte 4: the A key.
    page_->SetSelectedKeyAssignment(0x20 << 16, 0x04, 0);
    ASSERT_EQ(page_->ApplyKeyAssignments(0), 1);
    const std::vector<uint8_t> table = mouse_->Memory(sim::MouseMemory::kKeyCodes);
    const size_t at = size_t{sim::kMouseKeyPositions[kForward]} * 3;
    EXPECT_EQ(table[at], 0x20);
    EXPECT_EQ(table[at + 1], 0x00);
    EXPECT_EQ(table[at + 2], 0x04);
    const size_t left = size_t{sim::kMouseKeyPositions[0]} * 3;
    EXPECT_EQ(table[left], device::kMouseFactoryKeyCodes[0][0]) << "other keys keep theirs";
    EXPECT_EQ(table[left + 1], device::kMouseFactoryKeyCodes[0][1]);
}

}  // namespace
