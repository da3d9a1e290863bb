#include <gtest/gtest.h>

#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "pages/hook_messages.h"
#include "pages/key_code_tables.h"
#include "pages/key_set_control_ui.h"
#include "panel_builder.h"

namespace {

constexpr const wchar_t* kKeySetXml =
    LR"(<Window><KeySetControl>
  <VerticalLayout name="keyset_layout">
    <Combo name="keyset_function_combo"/>
    <HorizontalLayout name="keyset_keyboard_layout" visible="false">
      <Edit name="keyset_keyboard_text_edit" readonly="true"/></HorizontalLayout>
    <HorizontalLayout name="keyset_combokey_layout" visible="false">
      <CheckBox name="key_ComBox_check_0"/><CheckBox name="key_ComBox_check_1"/>
      <CheckBox name="key_ComBox_check_2"/><CheckBox name="key_ComBox_check_3"/></HorizontalLayout>
    <HorizontalLayout name="keyset_mousekey_layout" visible="false"><Combo name="keyset_mousekey_combo"/></HorizontalLayout>
    <HorizontalLayout name="keyset_mousewheel_layout" visible="false"><Combo name="keyset_mousewheel_combo"/>
      <Edit name="keyset_mousewheel_num_edit"/><Edit name="keyset_mousewheel_speed_edit"/></HorizontalLayout>
    <HorizontalLayout name="keyset_media_layout" visible="false"><Combo name="keyset_media_combo"/></HorizontalLayout>
    <HorizontalLayout name="keyset_macro_layout" visible="false"><Combo name="keyset_macro_combo"/>
      <Combo name="keyset_macro_over_combo"/><Edit name="keyset_macro_cycle_edit"/></HorizontalLayout>
    <HorizontalLayout name="keyset_gunkey_layout" visible="false"><Combo name="keyset_gunkey_combo"/></HorizontalLayout>
  </VerticalLayout>
  <VerticalLayout name="keyset_button_layout"><Button name="key_butt_keysave"/></VerticalLayout>
</KeySetControl></Window>)";

KeyFunctionRecord Fn(uint16_t id, uint8_t type, uint8_t p1, uint8_t p2) {
    KeyFunctionRecord r;
    r.id = id;
    r.type = type;
    r.p1 = p1;
    r.p2 = p2;
    return r;
}

class KeySetPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(panel_.get(), nullptr);
        panel_->InitControls();
        panel_->SetDeviceKind(2);
    }
    // Shows a function and reads it back from the controls.
    KeyFunctionRecord RoundTrip(KeyFunctionRecord current) {
        panel_->SetKeyFunctions({current, Fn(current.id, 0x20, 0, 0x04)});
        return panel_->GetKeyFunctions().current;
    }
    BuiltPanel<CKeySetControlUI> panel_{kKeySetXml};
};

}  // namespace

TEST_F(KeySetPanelTest, FunctionsShownAreBuiltBackUnchanged) {
    panel_->FillMacroCombo({L"m0", L"m1", L"m2"});
    const KeyFunctionRecord functions[] = {
        Fn(3, 0x20, 0x00, 0x04),  // A
        Fn(3, 0x20, 0x03, 0x06),  // Ctrl + Shift + C
        Fn(3, 0x20, 0x02, 0x00),  // left Shift alone
        Fn(3, 0x00, 0x00, 0x2C),  // space as the device reports it, type 0
        Fn(3, 0x10, 0x04, 0x00),  // middle button
        Fn(3, 0x12, 0x03, 0x85),  // wheel down, 3 steps, speed 5
        Fn(3, 0x30, 0x00, 0xE9),  // volume up
        Fn(3, 0x70, 0x02, 0x04),  // macro 2, four times
        Fn(3, 0x71, 0x01, 0x01),  // macro 1 while held
        Fn(3, 0x72, 0x03, 0x00),  // gun 4
        Fn(3, 0x00, 0x00, 0x00),  // off
    };
    for (const KeyFunctionRecord& f : functions) {
        EXPECT_EQ(RoundTrip(f), f) << "type " << int(f.type) << " p1 " << int(f.p1);
    }
    const KeyAssignRecord record = panel_->GetKeyFunctions();
    EXPECT_EQ(record.defaults, Fn(3, 0x20, 0, 0x04));
    panel_->RestoreDefaultFunction();
    EXPECT_EQ(panel_->BuildKeyFunction(), Fn(0, 0x20, 0, 0x04));

    // A macro the list no longer has is no function.
    panel_->FillMacroCombo({L"only"});
    EXPECT_EQ(RoundTrip(Fn(0, 0x70, 0x05, 0x01)).type, 0x00);
}

TEST_F(KeySetPanelTest, KeyboardHidesDpiAndGunAndCapturedKeysBecomeKeyFunctions) {
    auto* functions = panel_.Find<DuiLib::CComboUI>(L"keyset_function_combo");
    ASSERT_EQ(functions->GetCount(), CKeySetControlUI::kRowCount);
    panel_->SetDeviceKind(1);
    EXPECT_FALSE(functions->GetItemAt(CKeySetControlUI::kRowDpi)->IsEnabled());
    EXPECT_FALSE(functions->SelectItem(CKeySetControlUI::kRowGun, false, false));

    panel_->SetCapturedKey(0x100, PackHookInput({false, true, 0x29, 0x01, 0}));  // Esc
    EXPECT_EQ(panel_->BuildKeyFunction(), Fn(0, 0x20, 0x00, 0x29));
    EXPECT_TRUE(panel_.Find<DuiLib::CControlUI>(L"keyset_keyboard_layout")->IsVisible());
    panel_.Find<DuiLib::COptionUI>(L"key_ComBox_check_2")->Selected(true, false);  // Alt
    EXPECT_EQ(panel_->BuildKeyFunction(), Fn(0, 0x20, 0x04, 0x29));
    panel_->SetCapturedKey(0x100, PackHookInput({false, true, 0xE5, 0x20, 0}));  // right Shift
    EXPECT_EQ(panel_->BuildKeyFunction(), Fn(0, 0x20, 0x24, 0x00));
    // Releases and mouse buttons change nothing.
    panel_->SetCapturedKey(0x101, PackHookInput({false, false, 0x04, 0, 0}));
    panel_->SetCapturedKey(0x201, PackHookInput({true, true, 0x01, 0, 0}));
    EXPECT_EQ(panel_->BuildKeyFunction(), Fn(0, 0x20, 0x24, 0x00));

    panel_->ShowKeySetLayout(false);
    EXPECT_FALSE(panel_.Find<DuiLib::CControlUI>(L"keyset_layout")->IsVisible());
    panel_->EnableSaveButtons(false);
    EXPECT_FALSE(panel_.Find<DuiLib::CControlUI>(L"key_butt_keysave")->IsEnabled());
}
