// The macro page of the keyboard as a person uses it: macros added, recorded from the keys
// typed, edited through the buttons and the event menu, and what the macro files and the
// keyboard's macro memory then hold; and the mouse's macro page as far as it differs.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "duilib/ui_scrollbar.h"
#include "keyboard_steps.h"
#include "platform/clock.h"
#include "platform/text_convert.h"
#include "sim/sim_mouse.h"
#include "ui/driver/modal_answers.h"

namespace {

using keyboard_steps::Keyboard;
using keyboard_steps::ReadJson;
using keyboard_steps::TypeInto;

// One event as the macro file holds it.
struct Event {
    std::string action;
    int button = 0;
    int type = 0;
    std::string delay;
    friend bool operator==(const Event&, const Event&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Event& e) {
        return out << e.action << " " << e.button << " (" << e.type << ") " << e.delay << " ms";
    }
};

constexpr int kKeyType = 10;
constexpr int kMouseType = 9;

Event Key(const char* action, int usage, const char* delay = "0") {
    return {action, usage, kKeyType, delay};
}

class MacroUi : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui_));
        ui_.Click(L"macro_Op_tab");
        ui_.Click(L"macro_btn_name_add");
    }

    std::string MacroFolder() { return ui_.DataFolder() + "keyboard/"; }

    // The events of the macro file of list entry `index`.
    std::vector<Event> MacroEvents(int index = 0) {
        const Json::Value list = ReadJson(MacroFolder() + "macro.config");
        const std::string guid = list["MacroInfo"][index]["Guid"].asString();
        std::vector<Event> events;
        const Json::Value macro = ReadJson(MacroFolder() + guid + ".mac");
        for (const Json::Value& e : macro["Events"]) {
            events.push_back({e["Action"].asString(), e["Button"].asInt(), e["Type"].asInt(),
                              e["Delay"].asString()});
        }
        return events;
    }

    // The events of macro `index` in the keyboard's macro memory: {delay, type, button}.
    std::vector<std::array<int, 3>> KeyboardEvents(int index = 0) {
        const std::vector<uint8_t> image = Keyboard(ui_).Memory(sim::KeyboardMemory::kMacro);
        const auto u16 = [&](size_t at) { return image.at(at) | image.at(at + 1) << 8; };
        std::vector<std::array<int, 3>> events;
        if (u16(0) != 0x55AA || index >= u16(4)) {
            return events;
        }
        const size_t head = u16(16 + 2 * static_cast<size_t>(index));
        for (int i = 0; i < u16(head); ++i) {
            const size_t at = head + 4 + 4 * static_cast<size_t>(i);
            events.push_back({u16(at), image.at(at + 2), image.at(at + 3)});
        }
        return events;
    }

    DuiLib::CListUI* EventList() {
        return static_cast<DuiLib::CListUI*>(ui_.Find(L"macro_action")->GetInterface(L"List"));
    }

    // Double-clicks event `row` and clicks the menu items named, each in the menu or
    // submenu the one before opened.
    void ChooseFromEventMenu(int row, std::initializer_list<const wchar_t*> items) {
        ui_.DoubleClick(EventList()->GetItemAt(row));
        ASSERT_NE(ui_.WaitForWindow(L"MenuWnd", 5000), nullptr) << "no menu for event " << row;
        for (const wchar_t* item : items) {
            ASSERT_TRUE(ui_.WaitFor([&] { return ui_.IsShown(ui_.Find(item)); }, 5000));
            ui_.Click(item);
        }
        ASSERT_TRUE(ui_.WaitFor([&] { return ui_.ShownWindowOfClass(L"MenuWnd") == nullptr; }));
    }

    // Records the keys typed, started from the event menu.
    void RecordFromEventMenu(int row, std::initializer_list<const wchar_t*> items,
                             std::string_view typed) {
        ASSERT_NO_FATAL_FAILURE(ChooseFromEventMenu(row, items));
        ui_.Type(typed);
        ui_.Click(L"macro_btn_stopredio");
    }

    std::vector<int> Buttons() {
        std::vector<int> buttons;
        for (const Event& event : MacroEvents()) {
            buttons.push_back(event.button);
        }
        return buttons;
    }

    ui::UiDriver ui_;
};

// Typed keys are recorded with the waits between them; the page answers Stop.
TEST_F(MacroUi, TypedKeysAreRecordedWithTheirDelaysAndStopEndsTheRecording) {
    ui_.Click(L"macro_btn_starredio");
    EXPECT_FALSE(ui_.IsEnabled(ui_.Find(L"macro_btn_starredio")));
    const uint32_t start = platform::TickCount();
    ui_.PressKey(SDLK_a);
    const uint32_t afterA = platform::TickCount();
    ASSERT_TRUE(ui_.WaitFor([&] { return platform::TickCount() - afterA >= 200; }));
    ui_.PressKey(SDLK_b);
    const uint32_t took = platform::TickCount() - start;
    // A person's press and release are apart: the window handles what came between.
    DuiLib::CControlUI* stop = ui_.Find(L"macro_btn_stopredio");
    const POINT at = ui::UiDriver::CentreOf(stop);
    ui_.MoveTo(stop);
    ui_.Press(ui_.MainHwnd(), at);
    ui_.Settle();
    ui_.Release(ui_.MainHwnd(), at);
    ui_.Settle();

    const std::vector<Event> events = MacroEvents();
    ASSERT_EQ(events.size(), 4u) << "the press that clicked Stop is no part of the macro";
    EXPECT_EQ(events[0].action, "down");
    EXPECT_EQ(events[0].button, 0x04);
    EXPECT_EQ(events[1].action, "up");
    EXPECT_EQ(events[2].button, 0x05);
    EXPECT_EQ(events[3], Key("up", 0x05, "0"));
    const int wait = std::stoi(events[1].delay);
    EXPECT_GE(wait, 200) << "the wait after A's release is the time until B";
    EXPECT_LE(static_cast<uint32_t>(wait), took);
    // The keyboard plays what the page shows: its memory holds the same four events.
    const auto played = KeyboardEvents();
    ASSERT_EQ(played.size(), 4u);
    EXPECT_EQ(played[0][1], 0x80 | kKeyType);
    EXPECT_EQ(played[1], (std::array<int, 3>{wait, kKeyType, 0x04}));
    EXPECT_EQ(played[3], (std::array<int, 3>{0, kKeyType, 0x05}));

    // The page answers again: Record is back, and a new macro can be made.
    EXPECT_TRUE(ui_.IsEnabled(ui_.Find(L"macro_btn_starredio")));
    EXPECT_FALSE(ui_.IsEnabled(ui_.Find(L"macro_btn_stopredio")));
    ui_.Click(L"macro_btn_name_add");
    EXPECT_EQ(ReadJson(MacroFolder() + "macro.config")["MacroInfo"].size(), 2u);
}

// Keys that share a key code on the desktop are recorded as the keys they are.
TEST_F(MacroUi, RightHandModifiersAndTheKeypadEnterAreRecordedAsThemselves) {
    ui_.Click(L"macro_btn_starredio");
    ui_.KeyDown(SDLK_RSHIFT);
    ui_.PressKey(SDLK_a, KMOD_RSHIFT);
    ui_.KeyUp(SDLK_RSHIFT);
    for (SDL_Keycode key : {SDLK_RCTRL, SDLK_RALT, SDLK_KP_ENTER, SDLK_RETURN, SDLK_LSHIFT}) {
        ui_.PressKey(key);
    }
    ui_.Click(L"macro_btn_stopredio");
    constexpr int rShift = 0xE5, a = 0x04, rCtrl = 0xE4, rAlt = 0xE6, padEnter = 0x58, enter = 0x28,
                  lShift = 0xE1;
    EXPECT_EQ(Buttons(), (std::vector<int>{rShift, a, a, rShift, rCtrl, rCtrl, rAlt, rAlt, padEnter,
                                           padEnter, enter, enter, lShift, lShift}));
    const std::wstring first = ui_.Text(EventList()->GetItemAt(0));
    EXPECT_NE(first.find(L"Right Shift"), std::wstring::npos) << platform::Utf8Encode(first);
    const auto played = KeyboardEvents();
    ASSERT_EQ(played.size(), 14u);
    EXPECT_EQ(played[0][1], 0x80 | kKeyType);
    EXPECT_EQ(played[0][2], rShift) << "the keyboard plays the right-hand Shift";
    EXPECT_EQ(played[4][2], rCtrl);
}

TEST_F(MacroUi, TheFixedDelayCheckGivesEveryRecordedEventTheDelayTyped) {
    DuiLib::CControlUI* check = ui_.Find(L"macro_record_time_check");
    EXPECT_EQ(ui_.Text(check), L"Fixed delay");
    TypeInto(ui_, L"macro_delay", "40");
    ui_.Click(check);
    ASSERT_TRUE(ui_.IsChecked(check));
    ui_.Click(L"macro_btn_starredio");
    ui_.PressKey(SDLK_x);
    ui_.PressKey(SDLK_y);
    ui_.Click(L"macro_btn_stopredio");
    EXPECT_EQ(MacroEvents(), (std::vector<Event>{Key("down", 0x1B, "40"), Key("up", 0x1B, "40"),
                                                 Key("down", 0x1C, "40"), Key("up", 0x1C, "40")}));
    const auto played = KeyboardEvents();
    ASSERT_EQ(played.size(), 4u);
    EXPECT_EQ(played[1], (std::array<int, 3>{40, kKeyType, 0x1B}));
}

// A macro upload the keyboard refuses is said as a refused key table is.
TEST_F(MacroUi, MacrosTheKeyboardRefusesAreSaidAsARefusedKeyTableIs) {
    // A box nobody expects would stay open and fail the test.
    ui::ModalAnswers answers(ui_);
    ui_.Click(L"macro_inset_moveupkey_btn");
    std::wstring macroRefused;
    answers.ConfirmMessageBox(&macroRefused);
    Keyboard(ui_).InjectFault({sim::FaultKind::kStatusFF, 0x15});
    ui_.Click(L"macro_btn_save");
    ASSERT_TRUE(answers.AllGiven());

    ui_.Click(L"key_Op_tab");
    ui_.Click(L"key_30");
    std::wstring tableRefused;
    answers.ConfirmMessageBox(&tableRefused);
    Keyboard(ui_).InjectFault({sim::FaultKind::kStatusFF, 0x09});
    ui_.Click(L"key_butt_prosave");
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_EQ(macroRefused, tableRefused);
    EXPECT_EQ(macroRefused, L"Writing to the device failed.");
}

// A double click on an event opens its menu, whose items insert mouse events.
TEST_F(MacroUi, ADoubleClickedEventOpensTheMenuThatInsertsMouseEvents) {
    ui_.Click(L"macro_inset_moveleftkey_btn");
    ui_.Click(L"macro_inset_moverightkey_btn");
    ui_.Click(L"macro_inset_moveupkey_btn");
    ui_.Click(L"macro_inset_movedownkey_btn");
    EXPECT_EQ(Buttons(), (std::vector<int>{0x50, 0x50, 0x4F, 0x4F, 0x52, 0x52, 0x51, 0x51}));

    ui_.DoubleClick(EventList()->GetItemAt(1));
    const HWND menu = ui_.WaitForWindow(L"MenuWnd", 5000);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(ui_.MenuItems(menu),
              (std::vector<std::wstring>{L"Insert before", L"Insert after", L"Insert mouse event",
                                         L"Re-record event"}));
    EXPECT_TRUE(ui_.InsideScreen(menu));
    ui_.PressKey(SDLK_ESCAPE);
    ASSERT_TRUE(ui_.WaitFor([&] { return ui_.ShownWindowOfClass(L"MenuWnd") == nullptr; }));

    // Each item of each button, after the last event: down, up, and a click of both.
    std::vector<int> expected = Buttons();
    for (auto [name, bit] : {std::pair{L"left", 1}, std::pair{L"middle", 4}, std::pair{L"right", 2},
                             std::pair{L"forward", 0x10}, std::pair{L"back", 8}}) {
        const std::wstring prefix(name);
        for (const wchar_t* action : {L"_down", L"_up", L"_click"}) {
            const std::wstring button = prefix + L"_button_menu";
            const std::wstring item = prefix + action;
            ASSERT_NO_FATAL_FAILURE(ChooseFromEventMenu(
                EventList()->GetCount() - 1, {L"mouse_insert_menu", button.c_str(), item.c_str()}));
            expected.insert(expected.end(), std::wstring(action) == L"_click" ? 2 : 1, bit);
        }
    }
    const std::vector<Event> events = MacroEvents();
    EXPECT_EQ(Buttons(), expected);
    ASSERT_EQ(events.size(), expected.size());
    EXPECT_EQ(events[8], (Event{"down", 1, kMouseType, "0"}));
    EXPECT_EQ(events[9], (Event{"up", 1, kMouseType, "0"}));
    EXPECT_EQ(KeyboardEvents().size(), expected.size()) << "the keyboard has them too";
}

// The menu's recordings go before or after the event, or in its place.
TEST_F(MacroUi, TheEventMenuRecordsBeforeAfterAndInPlaceOfAnEvent) {
    ui_.Click(L"macro_inset_moveleftkey_btn");
    TypeInto(ui_, L"macro_delay", "30");
    const auto record = [&](const wchar_t* menu, const wchar_t* item, const char* key) {
        RecordFromEventMenu(0, {menu, item}, key);
    };
    ASSERT_NO_FATAL_FAILURE(record(L"redio_previous_menu", L"redio_previous_record_time", "f"));
    ASSERT_NO_FATAL_FAILURE(record(L"redio_previous_menu", L"redio_previous_constant_time", "g"));
    ASSERT_NO_FATAL_FAILURE(record(L"redio_previous_menu", L"redio_previous_ignore_time", "h"));
    ASSERT_NO_FATAL_FAILURE(record(L"redio_later_menu", L"redio_later_record_time", "i"));
    ASSERT_NO_FATAL_FAILURE(record(L"redio_later_menu", L"redio_later_constant_time", "j"));
    ASSERT_NO_FATAL_FAILURE(record(L"redio_later_menu", L"redio_later_ignore_time", "k"));
    constexpr int f = 0x09, g = 0x0A, h = 0x0B, i = 0x0C, j = 0x0D, k = 0x0E, left = 0x50;
    EXPECT_EQ(Buttons(), (std::vector<int>{h, k, k, j, j, i, i, h, g, g, f, f, left, left}));
    const std::vector<Event> events = MacroEvents();
    ASSERT_EQ(events.size(), 14u);
    EXPECT_EQ(events[3], Key("down", j, "30")) << "a fixed delay is the delay typed";
    EXPECT_EQ(events[8], Key("down", g, "30"));
    EXPECT_EQ(events[1], Key("down", k, "0")) << "no delay";

    // Re-recording an event puts what is typed in its place.
    ASSERT_NO_FATAL_FAILURE(RecordFromEventMenu(2, {L"macro_action_edit"}, "e"));
    EXPECT_EQ(Buttons(),
              (std::vector<int>{h, k, 0x08, 0x08, j, j, i, i, h, g, g, f, f, left, left}));
    const auto played = KeyboardEvents();
    ASSERT_EQ(played.size(), 15u);
    EXPECT_EQ(played[2], (std::array<int, 3>{0, 0x80 | kKeyType, 0x08}));
}

TEST_F(MacroUi, MacrosAreNamedChosenAndDeletedAndTheKeyboardFollows) {
    ui_.Click(L"macro_btn_name_add");
    auto* names =
        static_cast<DuiLib::CListUI*>(ui_.Find(L"macro_name_list")->GetInterface(L"List"));
    ASSERT_EQ(names->GetCount(), 2);
    ui_.Click(names->GetItemAt(0));
    EXPECT_EQ(ui_.Text(ui_.Find(L"macro_name_edit")), L"Macro1");
    TypeInto(ui_, L"macro_name_edit", "Burst");
    ui_.Click(L"macro_btn_name_edit");
    EXPECT_EQ(ReadJson(MacroFolder() + "macro.config")["MacroInfo"][0]["MacroName"], "Burst");
    EXPECT_EQ(ui_.Text(names->GetItemAt(0)), L"Burst");
    ui_.Click(L"macro_inset_moveupkey_btn");
    EXPECT_EQ(KeyboardEvents(0).size(), 2u);
    EXPECT_EQ(KeyboardEvents(1).size(), 0u);

    ui_.Click(L"macro_btn_name_sub");
    const Json::Value list = ReadJson(MacroFolder() + "macro.config");
    ASSERT_EQ(list["MacroInfo"].size(), 1u);
    EXPECT_EQ(list["MacroInfo"][0]["MacroName"], "Macro2");
    EXPECT_EQ(names->GetCount(), 1);
    const std::vector<uint8_t> image = Keyboard(ui_).Memory(sim::KeyboardMemory::kMacro);
    EXPECT_EQ(image[4], 1) << "the keyboard holds the one macro left";
}

TEST_F(MacroUi, TheButtonsMoveAndRemoveTheChosenEvent) {
    ui_.Click(L"macro_inset_moveleftkey_btn");
    ui_.Click(L"macro_inset_moverightkey_btn");
    ui_.Click(L"macro_inset_moveupkey_btn");
    constexpr int l = 0x50, r = 0x4F, u = 0x52;
    const auto clickWithRow = [&](int row, const wchar_t* button) {
        ui_.Click(EventList()->GetItemAt(row));
        ui_.Click(button);
    };
    clickWithRow(0, L"macro_btn_down");
    EXPECT_EQ(Buttons(), (std::vector<int>{l, l, r, r, u, u}));
    EXPECT_EQ(MacroEvents()[1].action, "down");
    clickWithRow(1, L"macro_btn_downbottom");
    EXPECT_EQ(MacroEvents()[5], Key("down", l));
    clickWithRow(4, L"macro_btn_uptop");
    EXPECT_EQ(Buttons(), (std::vector<int>{u, l, r, r, u, l}));
    clickWithRow(2, L"macro_btn_up");
    EXPECT_EQ(Buttons(), (std::vector<int>{u, r, l, r, u, l}));
    clickWithRow(0, L"macro_btn_delete");
    EXPECT_EQ(Buttons(), (std::vector<int>{r, l, r, u, l}));
    EXPECT_EQ(KeyboardEvents().size(), 5u);

    // Everything was saved as it was done: cancelling keeps it, saving sends it again.
    ui_.Click(L"macro_btn_cancel");
    EXPECT_EQ(EventList()->GetCount(), 5);
    const size_t uploads = Keyboard(ui_).CommandCount(0x15);
    ui_.Click(L"macro_btn_save");
    EXPECT_GT(Keyboard(ui_).CommandCount(0x15), uploads);
    ui_.Click(L"macro_btn_deleteall");
    EXPECT_TRUE(MacroEvents().empty());
    EXPECT_EQ(EventList()->GetCount(), 0);
    EXPECT_TRUE(KeyboardEvents().empty());
}

}  // namespace
namespace {

int HeightOf(DuiLib::CControlUI* control) {
    return control->GetPos().bottom - control->GetPos().top;
}

// Pixels of `rect` as light as the skin's pale text; the rows' background is dark.
int LightPixels(SDL_Surface* pixels, const RECT& rect) {
    int light = 0;
    for (LONG y = std::max<LONG>(0, rect.top); y < std::min<LONG>(pixels->h, rect.bottom); ++y) {
        for (LONG x = std::max<LONG>(0, rect.left); x < std::min<LONG>(pixels->w, rect.right);
             ++x) {
            const auto* row = static_cast<const uint8_t*>(pixels->pixels) + y * pixels->pitch;
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(reinterpret_cast<const uint32_t*>(row)[x], pixels->format, &r, &g, &b);
            light += r > 0xB0 && g > 0xB0 && b > 0xB0 ? 1 : 0;
        }
    }
    return light;
}

}  // namespace

// Events are read on the dark list in one row height however many, and scroll.
TEST_F(MacroUi, TheEventListShowsReadableRowsOfOneHeightAndScrolls) {
    ui_.Click(L"macro_inset_moveleftkey_btn");
    DuiLib::CListUI* list = EventList();
    ASSERT_EQ(list->GetCount(), 2);
    const int rowHeight = HeightOf(list->GetItemAt(0));
    EXPECT_LT(rowHeight, HeightOf(list) / 4) << "two rows do not fill the list";
    EXPECT_GT(LightPixels(ui_.Pixels(ui_.MainHwnd()), ui_.VisibleRect(list->GetItemAt(0))), 20)
        << "the event is written in the skin's pale text, not in black";

    for (int i = 0; i < 10; ++i) {
        ui_.Click(L"macro_inset_moverightkey_btn");
    }
    ASSERT_EQ(list->GetCount(), 22);
    for (int i = 0; i < list->GetCount(); ++i) {
        EXPECT_EQ(HeightOf(list->GetItemAt(i)), rowHeight) << "row " << i;
    }
    EXPECT_TRUE(ui_.IsShown(list->GetVerticalScrollBar()));
    EXPECT_TRUE(ui_.IsShown(list->GetItemAt(21))) << "the newest event is in view";
    EXPECT_FALSE(ui_.IsShown(list->GetItemAt(0)));
    ui_.Wheel(list, 20);
    EXPECT_TRUE(ui_.IsShown(list->GetItemAt(0)));
}

namespace {

// The mouse's macro page, over a mouse alone: a macro the mouse refuses is said as the
// keyboard's is, and one it takes is not.
TEST(MouseMacroUi, MacrosTheMouseRefusesAreSaidAndTheOnesItTakesAreNot) {
    ui::UiDriver ui({.devices = "mouse"});
    auto& mouse = *dynamic_cast<sim::SimMouse*>(ui.Device("mouse"));
    ASSERT_TRUE(ui.WaitFor([&] { return mouse.CommandCount(0x07) > 0; }));
    ui.Settle();
    ui::ModalAnswers answers(ui);
    ui.Click(L"macro_Op_tab");
    ui.Click(L"macro_btn_name_add");
    ui.Click(L"macro_inset_moveupkey_btn");
    const std::vector<uint8_t> image = mouse.Memory(sim::MouseMemory::kMacro);
    ASSERT_GE(image.size(), 6u);
    EXPECT_EQ(image[4], 1) << "the mouse holds the macro";

    std::wstring refused;
    answers.ConfirmMessageBox(&refused);
    mouse.InjectFault({sim::FaultKind::kStatusFF, 0x15});
    ui.Click(L"macro_btn_save");
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_EQ(refused, L"Writing to the device failed.");
}

}  // namespace
