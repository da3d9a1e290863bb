#pragma once
// Steps of the key-assignment and macro tests on the keyboard's page: waiting for the
// keyboard to be read, choosing a row of a combo's drop-down list, typing into an edit,
// and reading what the keyboard and the profile folder now hold.

#include <SDL.h>
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <string>

#include "duilib/paint_manager.h"
#include "duilib/ui_control.h"
#include "duilib/ui_list.h"
#include "platform/json_text.h"
#include "sim/sim_keyboard.h"
#include "support/temp_dir.h"
#include "ui/driver/combo_choice.h"
#include "ui/driver/ui_driver.h"

namespace keyboard_steps {

inline sim::SimKeyboard& Keyboard(ui::UiDriver& ui) {
    return *dynamic_cast<sim::SimKeyboard*>(ui.Device("keyboard"));
}

// The page fills itself once the program has read the keyboard's key table; the read
// and the profile load happen in one turn of the loop.
inline void WaitForKeyboard(ui::UiDriver& ui) {
    ASSERT_TRUE(ui.WaitFor([&] { return Keyboard(ui).CommandCount(0x07) > 0; }));
    ui.Settle();
}

inline Json::Value ReadJson(const std::string& path) {
    Json::Value root;
    platform::ParseJsonText(testing_support::ReadTextFile(path), &root);
    return root;
}

// The keyboard's profile file (the folder holds the one profile of a first start).
inline Json::Value KeyboardProfile(ui::UiDriver& ui) {
    for (const auto& entry : std::filesystem::directory_iterator(ui.DataFolder() + "keyboard")) {
        if (entry.path().extension() == ".Json") {
            return ReadJson(entry.path().string());
        }
    }
    return Json::Value();
}

// Opens the combo's list and clicks its row, scrolling the list with the wheel to it.
inline void ChooseComboRow(ui::UiDriver& ui, const wchar_t* combo, int row) {
    ASSERT_TRUE(ui::ChooseComboRow(ui, ui.Find(combo), row)) << "in the combo's list";
}

// Clicks into the edit, removes its text and types `text`.
inline void TypeInto(ui::UiDriver& ui, const wchar_t* edit, const std::string& text) {
    DuiLib::CControlUI* control = ui.Find(edit);
    ui.Click(control);
    ui.PressKey(SDLK_END);
    for (size_t i = ui.Text(control).size(); i > 0; --i) {
        ui.PressKey(SDLK_BACKSPACE);
    }
    ui.Type(text);
}

}  // namespace keyboard_steps
