// Tool tips as a person meets them: hovering a control for a moment shows its tip near the
// pointer, on the screen and in the language of the moment; it goes when the pointer
// leaves, or on a click or a key. A key's tip tells what the key does, and a key given
// another function than its own is marked.

#include <gtest/gtest.h>

#include <string>

#include "duilib/resource_manager.h"
#include "duilib/tool_tip.h"
#include "keyboard_steps.h"
#include "platform/window_handles.h"
#include "ui/driver/ui_driver.h"

namespace {

using DuiLib::CControlUI;

std::wstring Translated(const wchar_t* key) {
    return DuiLib::CResourceManager::GetInstance()->GetText(key).str();
}

// The pointer rests on the control until its tip shows; the tip's window, or null.
HWND Hover(ui::UiDriver& ui, CControlUI* control) {
    ui.MoveTo(control);
    return ui.WaitForWindow(DuiLib::kToolTipClass, 5000);
}

std::wstring TipText(ui::UiDriver& ui, HWND tip) {
    return tip != nullptr ? ui.Text(ui.FindIn(tip, L"tooltip_text")) : std::wstring();
}

bool TipShown(ui::UiDriver& ui) {
    return ui.ShownWindowOfClass(DuiLib::kToolTipClass) != nullptr;
}

POINT ScreenCentreOf(ui::UiDriver& ui, CControlUI* control) {
    const RECT window = ui.ScreenRectOf(ui.WindowOf(control));
    const RECT rc = ui.VisibleRect(control);
    return POINT{window.left + (rc.left + rc.right) / 2, window.top + (rc.top + rc.bottom) / 2};
}

TEST(ToolTipUi, AKeysTipTellsItsFunctionNearThePointerAndGoesOnLeaveClickOrKey) {
    ui::UiDriver ui({.language = "zh"});
    ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui));
    CControlUI* key = ui.Find(L"key_30");
    HWND tip = Hover(ui, key);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(TipText(ui, tip), Translated(L"Key_Set") + L"9");
    EXPECT_TRUE(ui.InsideScreen(tip));
    // Just below the pointer.
    const POINT pointer = ScreenCentreOf(ui, key);
    const RECT rc = ui.ScreenRectOf(tip);
    EXPECT_EQ(rc.left, pointer.x);
    EXPECT_GT(rc.top, pointer.y);
    EXPECT_LT(rc.top, pointer.y + 40);

    ui.MoveTo(ui.Find(L"app_title"));  // nothing with a tip there
    EXPECT_TRUE(ui.WaitFor([&] { return !TipShown(ui); }));
    ASSERT_NE(Hover(ui, key), nullptr);
    ui.PressKey(SDLK_LSHIFT);
    EXPECT_FALSE(TipShown(ui)) << "a key sends the tip away";
    CControlUI* next = ui.Find(L"key_31");
    ASSERT_NE(Hover(ui, next), nullptr) << "another control shows its own";
    ui.Press(ui.MainHwnd(), ui::UiDriver::CentreOf(next));
    EXPECT_FALSE(TipShown(ui)) << "a click sends the tip away";
    ui.Release(ui.MainHwnd(), ui::UiDriver::CentreOf(next));
    ui.MoveTo(ui.Find(L"key_32"));
    ASSERT_TRUE(ui.WaitFor([&] { return TipShown(ui); }));
    ui.MoveToDesktop();
    EXPECT_TRUE(ui.WaitFor([&] { return !TipShown(ui); })) << "leaving the window sends it away";
}

TEST(ToolTipUi, TheSkinsTipsTheRepeatFieldsAndTheMouseLogosAreInTheLanguage) {
    for (const char* language : {"en", "zh"}) {
        ui::UiDriver ui({.devices = "keyboard,mouse", .language = language});
        ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui));
        EXPECT_EQ(TipText(ui, Hover(ui, ui.Find(L"skinbtn"))), Translated(L"skinbtn_tip"));

        ui.Click(L"system_Op_tab");
        CControlUI* field = ui.Find(L"repeat_input_richedit");
        ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(field); }));
        EXPECT_EQ(TipText(ui, Hover(ui, field)), Translated(L"Repeat_input_text"));

        for (CControlUI* entry : ui.FindAll(L"device_select")) {
            ui.Click(entry);
            if (ui.IsShown(ui.Find(L"mouse_device_page"))) {
                break;
            }
        }
        ui.Click(L"mouse_device_seting_option_1");  // the lighting tab, with the logo
        CControlUI* logo = ui.Find(L"logo");
        ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(logo); }));
        const std::wstring tip = TipText(ui, Hover(ui, logo));
        EXPECT_EQ(
            tip.rfind(
                L"Logo\n" + Translated(L"Light_Set") + L"\n" + Translated(L"Overall_Light_Set"), 0),
            0u)
            << language;
    }
}

TEST(ToolTipUi, AKeyGivenAnotherFunctionIsMarkedAndItsTipTellsIt) {
    ui::UiDriver ui;
    ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui));
    const auto marked = [&](const wchar_t* name) {
        const RECT rc = ui.Find(name)->GetPos();
        return ui.PixelAt(ui.MainHwnd(), POINT{rc.right - 2, rc.top + 2}) == 0xFFFFB020;
    };
    EXPECT_FALSE(marked(L"key_30"));
    ui.Click(L"key_Op_tab");
    ui.Click(L"key_30");
    ui.Click(L"keyset_keyboard_text_edit");
    ui.PressKey(SDLK_b);
    ui.Click(L"key_butt_keysave");
    EXPECT_TRUE(ui.WaitFor([&] { return marked(L"key_30"); }));
    EXPECT_FALSE(marked(L"key_31"));
    EXPECT_EQ(TipText(ui, Hover(ui, ui.Find(L"key_30"))), L"Key: B");
}

}  // namespace
