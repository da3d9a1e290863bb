#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "duilib/dialog_builder.h"
#include "duilib/paint_manager.h"
#include "pages/page_controls.h"

namespace {

class Callback : public DuiLib::IDialogBuilderCallback {
  public:
    DuiLib::CControlUI* CreateControl(LPCTSTR pstrClass) override {
        return CreatePageControl(pstrClass);
    }
};

class Listener : public DuiLib::INotifyUI {
  public:
    void Notify(DuiLib::TNotifyUI& msg) override {
        if (msg.sType == DuiLib::CDuiString(L"click_select_end"))
            senders.push_back(msg.pSender);
    }
    std::vector<DuiLib::CControlUI*> senders;
};

DuiLib::TEventUI Mouse(int type, int x, int y) {
    DuiLib::TEventUI event;
    event.Type = type;
    event.ptMouse = POINT{x, y};
    return event;
}

class SelectPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DuiLib::CDialogBuilder builder;
        Callback callback;
        root_ = builder.Create(DuiLib::CDuiString(LR"(<Window><VerticalLayout>
            <SelectPanel name="device_key_light">
              <DeviceKeyButton name="key_0" float="true" pos="10,10,40,40"/>
              <DeviceKeyButton name="key_1" float="true" pos="50,10,80,40"/>
              <DeviceKeyButton name="key_2" float="true" pos="10,60,40,90"/>
              <Button name="plain" float="true" pos="50,60,80,90"/>
            </SelectPanel></VerticalLayout></Window>)"),
                               nullptr, &callback, &manager_);
        ASSERT_NE(root_, nullptr);
        manager_.AttachDialog(root_);
        manager_.AddNotifier(&listener_);
        manager_.LayoutFor(SIZE{200, 200});
        panel_ = CSelectPanelUI::FromControl(manager_.FindControl(L"device_key_light"));
        ASSERT_NE(panel_, nullptr);
        for (int i = 0; i < 3; ++i) {
            keys_[i] = static_cast<CDeviceKeyButtonUI*>(
                manager_.FindControl((L"key_" + std::to_wstring(i)).c_str())
                    ->GetInterface(L"DeviceKeyButton"));
            ASSERT_NE(keys_[i], nullptr);
        }
    }

    DuiLib::CPaintManagerUI manager_;
    DuiLib::CControlUI* root_ = nullptr;
    Listener listener_;
    CSelectPanelUI* panel_ = nullptr;
    CDeviceKeyButtonUI* keys_[3] = {};
};

}  // namespace

TEST_F(SelectPanelTest, BandSetsTheFlagOfCoveredKeysAndEndsWithANotification) {
    for (auto* key : keys_)
        EXPECT_EQ(key->IsInSelection(), 0);
    auto down = Mouse(DuiLib::UIEVENT_BUTTONDOWN, 5, 5);
    panel_->DoEvent(down);
    auto move = Mouse(DuiLib::UIEVENT_MOUSEMOVE, 85, 45);
    panel_->DoEvent(move);
    EXPECT_EQ(keys_[0]->IsInSelection(), 1);
    EXPECT_EQ(keys_[1]->IsInSelection(), 1);
    EXPECT_EQ(keys_[2]->IsInSelection(), 0);
    EXPECT_TRUE(listener_.senders.empty()) << "no end while the drag goes on";

    // Shrinking the band clears what it no longer covers.
    auto back = Mouse(DuiLib::UIEVENT_MOUSEMOVE, 30, 95);
    panel_->DoEvent(back);
    auto up = Mouse(DuiLib::UIEVENT_BUTTONUP, 30, 95);
    panel_->DoEvent(up);
    EXPECT_EQ(keys_[0]->IsInSelection(), 1);
    EXPECT_EQ(keys_[1]->IsInSelection(), 0);
    EXPECT_EQ(keys_[2]->IsInSelection(), 1);
    ASSERT_EQ(listener_.senders.size(), 1u);
    EXPECT_EQ(listener_.senders[0], panel_);
    EXPECT_FALSE(panel_->IsSelecting());

    // A move without a press draws nothing.
    auto stray = Mouse(DuiLib::UIEVENT_MOUSEMOVE, 100, 100);
    panel_->DoEvent(stray);
    EXPECT_EQ(keys_[1]->IsInSelection(), 0);
}

TEST_F(SelectPanelTest, ADragStartingOnAKeySelectsThroughThePanel) {
    auto down = Mouse(DuiLib::UIEVENT_BUTTONDOWN, 60, 20);
    keys_[1]->DoEvent(down);
    auto up = Mouse(DuiLib::UIEVENT_BUTTONUP, 60, 20);
    keys_[1]->DoEvent(up);
    EXPECT_EQ(keys_[1]->IsInSelection(), 1);
    EXPECT_EQ(keys_[0]->IsInSelection(), 0);
    EXPECT_EQ(listener_.senders.size(), 1u);
}

TEST_F(SelectPanelTest, WindowMouseMessagesDriveTheBand) {
    LRESULT result = 0;
    manager_.MessageHandler(WM_LBUTTONDOWN, 0, MAKELPARAM(45, 5), result);  // between keys
    manager_.MessageHandler(WM_MOUSEMOVE, 1, MAKELPARAM(95, 95), result);
    manager_.MessageHandler(WM_LBUTTONUP, 0, MAKELPARAM(95, 95), result);
    EXPECT_EQ(keys_[0]->IsInSelection(), 0);
    EXPECT_EQ(keys_[1]->IsInSelection(), 1);
    EXPECT_EQ(keys_[2]->IsInSelection(), 0);
    EXPECT_EQ(listener_.senders.size(), 1u);
}

TEST(DeviceKeyButton, KeepsTintSameFunctionAndToolTexts) {
    CDeviceKeyButtonUI button;
    EXPECT_EQ(button.IsInSelection(), 0);
    EXPECT_FALSE(button.IsTintOn());
    button.SetTint(0x00FF8010, 200, true);
    EXPECT_EQ(button.GetTintColor(), 0x00FF8010u);
    EXPECT_EQ(button.GetTintAlpha(), 200);
    EXPECT_TRUE(button.IsTintOn());
    button.SetSameFunction(true);
    EXPECT_TRUE(button.IsSameFunction());
    button.SetUserToolTitle(L"A");
    button.SetUserToolText(L"Key: A");
    EXPECT_EQ(button.GetUserToolText(), DuiLib::CDuiString(L"Key: A"));
    EXPECT_STREQ(button.GetClass(), L"DeviceKeyButton");
    EXPECT_EQ(button.GetInterface(L"devicekeybutton"), &button);
}

TEST(DeviceKeyButton, LegendTurnsDarkWhereTheTintMakesTheFaceLight) {
    constexpr DWORD kLayoutLegend = 0xFFE0E6F0;
    CDeviceKeyButtonUI button;
    button.SetTextColor(kLayoutLegend);
    button.SetTint(0xFFFFFF, 255, true);  // white, full
    const DWORD dark = button.GetTextColor();
    EXPECT_NE(dark, kLayoutLegend);
    button.SetTint(0x00FF00, 255, true);  // blue (red | blue << 8 | green << 16), full
    EXPECT_EQ(button.GetTextColor(), kLayoutLegend);
    button.SetTint(0xFF00FF, 255, true);  // yellow
    EXPECT_EQ(button.GetTextColor(), dark);
    button.SetTint(0xFF00FF, 30, true);  // yellow, faint: the face stays dark
    EXPECT_EQ(button.GetTextColor(), kLayoutLegend);
    button.SetTint(0xFFFFFF, 255, false);
    EXPECT_EQ(button.GetTextColor(), kLayoutLegend);
}

// The device layer and the painter ask by the interface constants, which are answered on
// their address; any other spelling of a name must still be answered as a name.
TEST(DeviceKeyButton, AnswersInterfacesByConstantAndByNameInAnyCase) {
    CDeviceKeyButtonUI key;
    auto* target = static_cast<ILedTintTarget*>(&key);
    auto* drawData = static_cast<DuiLib::IControlDrawDataUI*>(&key);
    const std::wstring tintName(ILedTintTarget::kInterfaceName);
    const std::wstring drawName(DuiLib::kControlDrawDataInterface);
    EXPECT_EQ(key.GetInterface(ILedTintTarget::kInterfaceName), target);
    EXPECT_EQ(key.GetInterface(tintName.c_str()), target);
    EXPECT_EQ(key.GetInterface(L"ledtinttarget"), target);
    EXPECT_EQ(key.GetInterface(DuiLib::kControlDrawDataInterface), drawData);
    EXPECT_EQ(key.GetInterface(drawName.c_str()), drawData);
    EXPECT_EQ(key.GetInterface(L"CONTROLDRAWDATA"), drawData);
    EXPECT_EQ(key.GetInterface(L"Button"), static_cast<DuiLib::CButtonUI*>(&key));
    EXPECT_EQ(key.GetInterface(L"LedTintTargetX"), nullptr);
    EXPECT_EQ(key.GetInterface(L"IContainer"), nullptr);

    CSelectPanelUI panel;
    EXPECT_EQ(panel.GetInterface(DuiLib::kControlDrawDataInterface),
              static_cast<DuiLib::IControlDrawDataUI*>(&panel));
    EXPECT_EQ(panel.GetInterface(L"controlDrawData"),
              static_cast<DuiLib::IControlDrawDataUI*>(&panel));
    EXPECT_EQ(panel.GetInterface(L"selectpanel"), &panel);
    EXPECT_EQ(panel.GetInterface(ILedTintTarget::kInterfaceName), nullptr);
    EXPECT_NE(panel.GetInterface(L"IContainer"), nullptr);
}
