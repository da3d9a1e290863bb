// The key-assignment panel of the keyboard and mouse pages as a person uses it: a key
// chosen on the picture, a new function chosen or a key pressed into the key edit, and
// what the profile file and the device then hold.

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "keyboard_steps.h"
#include "pages/key_code_tables.h"
#include "sim/sim_mouse.h"

namespace {

using keyboard_steps::ChooseComboRow;
using keyboard_steps::Keyboard;
using keyboard_steps::KeyboardProfile;
using keyboard_steps::TypeInto;

using KeyCode = std::array<uint8_t, 3>;

constexpr int kKey = 30;  // the key "key_30" of the keyboard's picture

int StoredAssignment(ui::UiDriver& ui, int key) {
    return KeyboardProfile(ui)["Device"][0]["KeyList"][key]["Assignment"].asInt();
}

KeyCode CodeOf(int packed) {
    return {static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
            static_cast<uint8_t>(packed)};
}

// The key codes that differ from `before`, three bytes each.
std::vector<KeyCode> ChangedCodes(const std::vector<uint8_t>& before,
                                  const std::vector<uint8_t>& now) {
    std::vector<KeyCode> changed;
    for (size_t at = 0; at + 3 <= before.size() && at + 3 <= now.size(); at += 3) {
        if (!std::equal(before.begin() + at, before.begin() + at + 3, now.begin() + at)) {
            changed.push_back({now[at], now[at + 1], now[at + 2]});
        }
    }
    return changed;
}

// "Save profile": the file is written and the key table goes to the keyboard.
void SaveProfile(ui::UiDriver& ui) {
    const size_t writes = Keyboard(ui).CommandCount(0x09);
    ui.Click(L"key_butt_prosave");
    ASSERT_TRUE(ui.WaitFor([&] { return Keyboard(ui).CommandCount(0x09) > writes; }));
}

class KeyAssignUi : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui_));
        table_ = Keyboard(ui_).Memory(sim::KeyboardMemory::kKeyCodes);
        ui_.Click(L"key_Op_tab");
        ui_.Click(L"key_" + std::to_wstring(kKey));
    }

    // After "Save profile": the profile stores `packed` for the key and the keyboard holds
    // its code, and no other key changed.
    void ExpectStoredAndSent(int packed) {
        ASSERT_NO_FATAL_FAILURE(SaveProfile(ui_));
        EXPECT_EQ(StoredAssignment(ui_, kKey), packed);
        const auto changed =
            ChangedCodes(table_, Keyboard(ui_).Memory(sim::KeyboardMemory::kKeyCodes));
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_EQ(changed[0], CodeOf(packed));
    }

    // The same for a function of the given type chosen from a list.
    void ExpectTypeStoredAndSent(int type) {
        ASSERT_NO_FATAL_FAILURE(SaveProfile(ui_));
        const int packed = StoredAssignment(ui_, kKey);
        EXPECT_EQ(packed >> 16, type);
        const auto changed =
            ChangedCodes(table_, Keyboard(ui_).Memory(sim::KeyboardMemory::kKeyCodes));
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_EQ(changed[0], CodeOf(packed));
    }

    ui::UiDriver ui_;
    std::vector<uint8_t> table_;
};

TEST_F(KeyAssignUi, AKeyPressedInTheKeyEditIsAssignedSavedAndSentToTheKeyboard) {
    DuiLib::CControlUI* edit = ui_.Find(L"keyset_keyboard_text_edit");
    ASSERT_TRUE(ui_.IsShown(edit));
    const std::wstring own = ui_.Text(edit);
    ui_.Click(edit);
    ui_.PressKey(SDLK_COMMA);
    EXPECT_EQ(ui_.Text(edit), L",") << "a punctuation key is a key too";
    ui_.Click(L"key_butt_keysave");
    ExpectStoredAndSent(0x200036);
    ui_.Click(edit);
    ui_.PressKey(SDLK_b);
    EXPECT_EQ(ui_.Text(edit), L"B") << "the key pressed is the key shown";
    ui_.Click(L"key_ComBox_check_0");  // with Ctrl
    ExpectStoredAndSent(0x200105);

    // The edit no longer has the focus: a key pressed now is typed nowhere.
    ui_.PressKey(SDLK_c);
    EXPECT_EQ(ui_.Text(edit), L"B");

    // A modifier alone is a key too; the default gives the key its own function back.
    ui_.Click(L"key_ComBox_check_0");
    ui_.Click(edit);
    ui_.PressKey(SDLK_LSHIFT);
    EXPECT_EQ(ui_.Text(edit), L"Left Shift");
    ui_.Click(L"key_butt_keysave");
    ExpectStoredAndSent(0x200200);
    ui_.Click(L"key_butt_keydefalut");
    EXPECT_EQ(ui_.Text(edit), own);
    ASSERT_NO_FATAL_FAILURE(SaveProfile(ui_));
    EXPECT_EQ(Keyboard(ui_).Memory(sim::KeyboardMemory::kKeyCodes), table_);
}

// The desktop gives both Ctrls one key code: the right-hand ones are keys of their own.
TEST_F(KeyAssignUi, ARightHandModifierPressedIsTheRightHandKey) {
    DuiLib::CControlUI* edit = ui_.Find(L"keyset_keyboard_text_edit");
    for (auto [key, name, packed] : {std::tuple{SDLK_RCTRL, L"Right Ctrl", 0x201000},
                                     std::tuple{SDLK_RSHIFT, L"Right Shift", 0x202000},
                                     std::tuple{SDLK_RALT, L"Right Alt", 0x204000}}) {
        ui_.Click(edit);
        ui_.PressKey(key);
        EXPECT_EQ(ui_.Text(edit), name);
        ui_.Click(L"key_butt_keysave");
        ExpectStoredAndSent(packed);
    }
}

TEST_F(KeyAssignUi, EveryFunctionOfThePanelIsStoredAndSent) {
    constexpr const wchar_t* kFunctions = L"keyset_function_combo";
    // A mouse button.
    ChooseComboRow(ui_, kFunctions, 1);
    ChooseComboRow(ui_, L"keyset_mousekey_combo", 2);
    ExpectTypeStoredAndSent(0x10);
    // Swing and wheel: the direction chosen and the numbers typed.
    ChooseComboRow(ui_, kFunctions, 2);
    ChooseComboRow(ui_, L"keyset_mouseswing_combo", 1);
    TypeInto(ui_, L"keyset_mouseswing_num_edit", "3");
    TypeInto(ui_, L"keyset_mouseswing_delay_edit", "9");
    TypeInto(ui_, L"keyset_mouseswing_speed_edit", "5");
    ui_.Click(L"key_butt_keysave");
    ExpectStoredAndSent(0x110385);
    ChooseComboRow(ui_, kFunctions, 3);
    ChooseComboRow(ui_, L"keyset_mousewheel_combo", 0);
    TypeInto(ui_, L"keyset_mousewheel_num_edit", "2");
    TypeInto(ui_, L"keyset_mousewheel_delay_edit", "9");
    TypeInto(ui_, L"keyset_mousewheel_speed_edit", "7");
    ui_.Click(L"key_butt_keysave");
    ExpectStoredAndSent(0x120207);
    // A fire key: interval and count.
    ChooseComboRow(ui_, kFunctions, 4);
    TypeInto(ui_, L"keyset_mousefire_interval_edit", "20");
    TypeInto(ui_, L"keyset_mousefire_num_edit", "3");
    ui_.Click(L"key_butt_keysave");
    ExpectStoredAndSent(0x141403);
    // Media, system and shortcut keys come from their lists.
    for (auto [row, combo, type] :
         {std::tuple{6, L"keyset_media_combo", 0x30}, std::tuple{7, L"keyset_system_combo", 0x40},
          std::tuple{10, L"keyset_combokey_combo", 0x22}}) {
        ChooseComboRow(ui_, kFunctions, row);
        ChooseComboRow(ui_, combo, 1);
        ExpectTypeStoredAndSent(type);
    }
    // No function at all.
    ChooseComboRow(ui_, kFunctions, 11);
    ExpectStoredAndSent(0);
    // Cancel gives the key the function it had when it was chosen and ends its assignment.
    ChooseComboRow(ui_, kFunctions, 4);
    ui_.Click(L"key_butt_keycancel");
    EXPECT_FALSE(ui_.IsShown(ui_.Find(kFunctions)));
    ui_.Click(L"key_" + std::to_wstring(kKey));
    ASSERT_NO_FATAL_FAILURE(SaveProfile(ui_));
    EXPECT_EQ(Keyboard(ui_).Memory(sim::KeyboardMemory::kKeyCodes), table_);
}

TEST_F(KeyAssignUi, AKeyPlaysAMacroOfTheMacroPage) {
    ui_.Click(L"macro_Op_tab");
    ui_.Click(L"macro_btn_name_add");
    ui_.Click(L"key_Op_tab");
    ui_.Click(L"key_" + std::to_wstring(kKey));
    ChooseComboRow(ui_, L"keyset_function_combo", 8);
    ChooseComboRow(ui_, L"keyset_macro_combo", 0);
    ChooseComboRow(ui_, L"keyset_macro_over_combo", 0);
    TypeInto(ui_, L"keyset_macro_cycle_edit", "4");
    ui_.Click(L"key_butt_keysave");
    ExpectStoredAndSent(0x700004);
    ChooseComboRow(ui_, L"keyset_macro_over_combo", 1);
    ExpectStoredAndSent(0x710004);
}

}  // namespace

namespace {

// The mouse's own functions: a DPI step and a recoil gun, each chosen from its list.
TEST(MouseKeyAssignUi, ADpiStepAndARecoilGunChosenFromTheirListsReachTheMouse) {
    ui::UiDriver ui({.devices = "mouse"});
    auto& mouse = *dynamic_cast<sim::SimMouse*>(ui.Device("mouse"));
    ASSERT_TRUE(ui.WaitFor([&] { return mouse.CommandCount(0x07) > 0; }));
    ui.Settle();
    struct Case {
        int functionRow;
        const wchar_t* list;
        int row;
    };
    for (const Case& c :
         {Case{5, L"keyset_mousedpi_combo", 1}, Case{9, L"keyset_gunkey_combo", 2}}) {
        const std::vector<uint8_t> before = mouse.Memory(sim::MouseMemory::kKeyCodes);
        ui.Click(L"key_4");
        ChooseComboRow(ui, L"keyset_function_combo", c.functionRow);
        ASSERT_TRUE(ui.IsShown(ui.Find(c.list)));
        ChooseComboRow(ui, c.list, c.row);
        ui.Click(L"key_butt_prosave");
        ASSERT_TRUE(
            ui.WaitFor([&] { return mouse.Memory(sim::MouseMemory::kKeyCodes) != before; }));
        const auto changed = ChangedCodes(before, mouse.Memory(sim::MouseMemory::kKeyCodes));
        ASSERT_EQ(changed.size(), 1u) << "only the chosen key changes";
        // The step's code from the DPI table, the gun's number as it stands.
        const int p1 =
            c.list == std::wstring(L"keyset_mousedpi_combo") ? DpiCodes().Row(c.row).p1 : c.row;
        EXPECT_EQ(changed[0][1], p1) << "the step or gun chosen";
    }
}

}  // namespace
