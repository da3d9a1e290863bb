// The mouse's page as a person uses it, over the simulated bus: its entry among the other
// simulated devices, the picture of the mouse with its keys and lights, the DPI stages,
// the key list, the recoil editor and the settings the mouse is sent.

#include <SDL.h>
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "duilib/dui_string.h"
#include "duilib/ui_control.h"
#include "duilib/ui_list.h"
#include "sim/sim_mouse.h"
#include "support/scoped_env.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/text_fit.h"
#include "ui/driver/ui_driver.h"

namespace {

using DuiLib::CControlUI;

constexpr int kMouseKeys = 10;
constexpr int kMouseLeds = 12;

std::wstring Indexed(const wchar_t* prefix, int n) {
    return prefix + std::to_wstring(n);
}

std::string Utf8(const std::wstring& text) {
    return DuiLib::CDuiString(text.c_str()).ToUtf8();
}

std::vector<CControlUI*> ShownEntries(const ui::UiDriver& ui) {
    std::vector<CControlUI*> shown;
    for (CControlUI* entry : ui.FindAll(L"device_select")) {
        if (ui.IsShown(entry)) {
            shown.push_back(entry);
        }
    }
    return shown;
}

// The mouse has started once its page shows the light mode it runs.
bool WaitForMouseStart(ui::UiDriver& ui) {
    return ui.WaitFor([&] { return !ui.Text(ui.Find(L"light_combo_modeSelect")).empty(); });
}

sim::SimMouse& Mouse(const ui::UiDriver& ui) {
    return *static_cast<sim::SimMouse*>(ui.Device("mouse"));
}

// The settings area of the mouse's onboard profile 0.
std::vector<uint8_t> SettingsArea(const ui::UiDriver& ui) {
    std::vector<uint8_t> memory = Mouse(ui).Memory(sim::MouseMemory::kSettings);
    memory.resize(128);
    return memory;
}

int U16At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}

bool StageActiveOnMouse(const ui::UiDriver& ui, int stage) {
    return SettingsArea(ui)[14 + 9 * static_cast<size_t>(stage)] != 0;
}

// A stage's DPI as the mouse holds it, in slider steps.
int StageDpiOnMouse(const ui::UiDriver& ui, int stage) {
    return U16At(SettingsArea(ui), 14 + 9 * static_cast<size_t>(stage) + 2);
}

// The rows of the key list a person sees: {key name, function}.
std::vector<std::pair<std::wstring, std::wstring>> ShownKeyRows(const ui::UiDriver& ui) {
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    auto* list = dynamic_cast<DuiLib::CListUI*>(ui.Find(L"device_setkeyinfo_list"));
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        CControlUI* row = list->GetItemAt(i);
        auto* cells = static_cast<DuiLib::IContainerUI*>(row->GetInterface(L"IContainer"));
        if (ui.IsShown(row) && cells != nullptr && cells->GetCount() >= 2) {
            rows.emplace_back(ui.Text(cells->GetItemAt(0)), ui.Text(cells->GetItemAt(1)));
        }
    }
    return rows;
}

uint32_t Luminance(uint32_t argb) {
    return (((argb >> 16) & 0xFF) * 3 + ((argb >> 8) & 0xFF) * 6 + (argb & 0xFF)) / 10;
}

uint32_t PixelOf(SDL_Surface* pixels, LONG x, LONG y) {
    if (pixels == nullptr || x < 0 || y < 0 || x >= pixels->w || y >= pixels->h) {
        return 0;
    }
    const auto* row = static_cast<const uint8_t*>(pixels->pixels) + y * pixels->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x];
}

// The mean brightness of a control as drawn.
double MeanBrightness(ui::UiDriver& ui, CControlUI* control) {
    SDL_Surface* pixels = ui.Pixels(ui.MainHwnd());
    const RECT rc = ui.VisibleRect(control);
    double sum = 0;
    int count = 0;
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        for (LONG x = rc.left; x < rc.right; ++x) {
            sum += Luminance(PixelOf(pixels, x, y));
            ++count;
        }
    }
    return count > 0 ? sum / count : 0;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MousePageUi, EverySimulatedDeviceShowsItsEntryAndPage) {
    ui::UiDriver ui({.devices = "keyboard,mouse,mousepad,headset"});
    ASSERT_TRUE(ui.WaitFor([&] { return ShownEntries(ui).size() == 4; }))
        << "entries shown: " << ShownEntries(ui).size();
    const wchar_t* pages[] = {L"mouse_device_page", L"keyboard_device_page",
                              L"mousepad_device_page", L"tamsel_device_page"};
    const std::vector<CControlUI*> entries = ShownEntries(ui);
    for (size_t i = 0; i < entries.size(); ++i) {
        ui.Click(entries[i]);
        EXPECT_TRUE(ui.IsChecked(entries[i]));
        for (const wchar_t* page : pages) {
            EXPECT_EQ(ui.IsShown(ui.Find(page)), page == pages[i])
                << Utf8(page) << " after entry " << i;
        }
        // Once the device has started, its page shows the light mode it runs.
        EXPECT_TRUE(ui.WaitFor([&] {
            return !ui.Text(ui.Find(L"light_combo_modeSelect")).empty();
        })) << "no light mode on page "
            << i;
        ui.SavePng(ui.MainHwnd(), "/tmp/mouse/entry_" + std::to_string(i) + ".png");
    }
    EXPECT_FALSE(ui.IsShown(ui.Find(L"No_device_Link")));
}

TEST(MousePageUi, AMouseAloneShowsItsPage) {
    ui::UiDriver ui({.devices = "mouse", .language = "zh"});
    EXPECT_FALSE(ui.IsShown(ui.Find(L"No_device_Link")));
    EXPECT_TRUE(ui.IsShown(ui.Find(L"mouse_device_page")));
    ASSERT_EQ(ShownEntries(ui).size(), 1u);
    EXPECT_TRUE(ui.IsChecked(ShownEntries(ui)[0]));
}

TEST(MousePageUi, ADpiStageTurnedOffTurnsOnAgainAndOnlyTheLastOneOnIsLocked) {
    ui::UiDriver ui({.devices = "mouse"});
    ASSERT_TRUE(WaitForMouseStart(ui));
    ui.Click(L"cursor_Op_tab");
    auto check = [&](int n) { return ui.Find(Indexed(L"DPI_enable_check_", n)); };
    auto slider = [&](int n) { return ui.Find(Indexed(L"DPI_slider_", n)); };
    auto edit = [&](int n) { return ui.Find(Indexed(L"DPI_edit_", n)); };
    for (int n = 0; n < 5; ++n) {
        ASSERT_TRUE(ui.IsShown(check(n)) && ui.IsChecked(check(n))) << "stage " << n;
    }
    const double onLook = MeanBrightness(ui, slider(1));
    const double onField = MeanBrightness(ui, edit(1));

    ui.Click(check(1));
    EXPECT_FALSE(ui.IsChecked(check(1)));
    EXPECT_TRUE(ui.IsEnabled(check(1))) << "its tick box stays usable";
    EXPECT_FALSE(ui.IsEnabled(slider(1)));
    EXPECT_FALSE(ui.IsEnabled(edit(1)));
    EXPECT_TRUE(ui.WaitFor([&] { return !StageActiveOnMouse(ui, 1); }));
    // Turned off, the stage looks it: its slider fades and its field darkens.
    EXPECT_LT(MeanBrightness(ui, slider(1)), onLook * 0.8);
    EXPECT_LT(MeanBrightness(ui, edit(1)), onField * 0.6);
    ui.SavePng(ui.MainHwnd(), "/tmp/mouse/dpi_stage_off.png");

    ui.Click(check(1));
    EXPECT_TRUE(ui.IsChecked(check(1)));
    EXPECT_TRUE(ui.IsEnabled(slider(1)) && ui.IsEnabled(edit(1)));
    EXPECT_TRUE(ui.WaitFor([&] { return StageActiveOnMouse(ui, 1); }));
    EXPECT_NEAR(MeanBrightness(ui, edit(1)), onField, 1.0);

    // Every stage but the fourth off: only the fourth's tick box is locked.
    for (int n : {0, 1, 2, 4}) {
        ui.Click(check(n));
    }
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(ui.IsChecked(check(n)), n == 3) << "stage " << n;
        EXPECT_EQ(ui.IsEnabled(check(n)), n != 3) << "stage " << n;
    }
    ui.Click(check(3));
    EXPECT_TRUE(ui.IsChecked(check(3))) << "the last stage on stays on";
    ui.Click(check(0));
    EXPECT_TRUE(ui.IsChecked(check(0)));
    EXPECT_TRUE(ui.IsEnabled(check(3)));
    EXPECT_TRUE(ui.WaitFor([&] { return StageActiveOnMouse(ui, 0) && StageActiveOnMouse(ui, 3); }));
    for (int n : {1, 2, 4}) {
        EXPECT_FALSE(StageActiveOnMouse(ui, n)) << "stage " << n;
    }

    // A stage's DPI set with its slider, and with a number typed into its edit.
    const RECT track = ui.VisibleRect(slider(0));
    ui.ClickAt(ui.MainHwnd(),
               {track.left + (track.right - track.left) * 3 / 4, (track.top + track.bottom) / 2});
    EXPECT_TRUE(ui.WaitFor([&] { return StageDpiOnMouse(ui, 0) > sim::kMouseMaxDpiSlider / 2; }))
        << "stage 1 holds " << StageDpiOnMouse(ui, 0);
    EXPECT_EQ(ui.Text(edit(0)), std::to_wstring(StageDpiOnMouse(ui, 0) * sim::kMouseDpiMultiplier));
    ui.Click(edit(3));
    for (size_t i = ui.Text(edit(3)).size(); i > 0; --i) {
        ui.PressKey(SDLK_BACKSPACE);
    }
    ui.Type("3000");
    ui.Click(check(4));  // elsewhere: the edit is done
    EXPECT_TRUE(ui.WaitFor([&] {
        return StageDpiOnMouse(ui, 3) == 3000 / sim::kMouseDpiMultiplier;
    })) << "stage 4 holds "
        << StageDpiOnMouse(ui, 3);
}

TEST(MousePageUi, EveryMouseKeyIsListedWithItsFunctionOnEitherTab) {
    ui::UiDriver ui({.devices = "mouse"});
    ASSERT_TRUE(WaitForMouseStart(ui));
    for (int tab : {0, 1, 2, 0}) {
        ui.Click(Indexed(L"mouse_device_seting_option_", tab));
        const auto rows = ShownKeyRows(ui);
        ASSERT_EQ(rows.size(), static_cast<size_t>(kMouseKeys)) << "tab " << tab;
        EXPECT_EQ(rows[0].first, L"Left button");
        EXPECT_EQ(rows[0].second, L"Left button");
        EXPECT_EQ(rows[4].first, L"Back");
        EXPECT_EQ(rows[8].first, L"Game mode");
        EXPECT_EQ(rows[9].first, L"M8 key");
        EXPECT_EQ(rows[9].second, L"Fire key");
    }

    // A key chosen on the picture opens its assignment.
    ui.Click(L"key_4");
    ASSERT_TRUE(ui.IsShown(ui.Find(L"KeySetControlItem")));
    ui.SavePng(ui.MainHwnd(), "/tmp/mouse/keys_tab_en.png");
}

TEST(MousePageUi, TheRecoilTabEditsABulletAndTheMouseReceivesIt) {
    ui::UiDriver ui({.devices = "mouse"});
    ASSERT_TRUE(WaitForMouseStart(ui));
    ui.Click(L"mouse_device_seting_option_2");
    ASSERT_TRUE(ui.IsShown(ui.Find(L"ShootControlItem")));
    for (const wchar_t* name : {L"shoot_gun_op_3", L"bullet_op_9", L"bullet_x_eidt",
                                L"bullet_delay_eidt", L"shootdate_export_btn"}) {
        EXPECT_TRUE(ui.IsShown(ui.Find(name)) && ui.InsideItsWindow(ui.Find(name))) << Utf8(name);
    }
    ui.SavePng(ui.MainHwnd(), "/tmp/mouse/recoil_tab_en.png");

    // Gun 2, bullet 13: aim 7 left and 3 down, then 45 ms to the next shot.
    ui.Click(L"shoot_gun_op_1");
    ui.Click(L"bullet_selected_next");
    ui.Click(L"bullet_op_2");
    EXPECT_EQ(ui.Text(ui.Find(L"bullet_op_2")), L"13");
    auto retype = [&](const wchar_t* name, const char* text) {
        ui.Click(name);
        for (size_t i = ui.Text(ui.Find(name)).size(); i > 0; --i) {
            ui.PressKey(SDLK_BACKSPACE);
        }
        ui.Type(text);
    };
    if (!ui.IsChecked(ui.Find(L"bullet_x_check"))) {
        ui.Click(L"bullet_x_check");
    }
    retype(L"bullet_x_eidt", "-7");
    if (!ui.IsChecked(ui.Find(L"bullet_y_check"))) {
        ui.Click(L"bullet_y_check");
    }
    retype(L"bullet_y_eidt", "3");
    retype(L"bullet_delay_eidt", "45");
    const size_t before = Mouse(ui).CommandCount(0x17);
    ui.Click(L"shootdate_save_btn");
    ASSERT_TRUE(ui.WaitFor([&] { return Mouse(ui).CommandCount(0x17) > before; }));

    // The image the mouse holds: gun 1's head, then six events per bullet.
    const std::vector<uint8_t> shoot = Mouse(ui).Memory(sim::MouseMemory::kShoot);
    ASSERT_EQ(U16At(shoot, 0), 0x55AA);
    const size_t gun = static_cast<size_t>(U16At(shoot, 16 + 2));
    ASSERT_GE(U16At(shoot, gun), 6 * 13);
    const size_t bullet = gun + 4 + 4 * 6 * 12;
    EXPECT_EQ(static_cast<int8_t>(shoot[bullet + 3]), -7) << "x move";
    EXPECT_EQ(static_cast<int8_t>(shoot[bullet + 8 + 3]), 3) << "y move";
    EXPECT_EQ(U16At(shoot, bullet + 20), 45) << "the shot's delay";

    // Another bullet and back: the page shows what was kept.
    ui.Click(L"bullet_op_0");
    ui.Click(L"bullet_op_2");
    EXPECT_EQ(ui.Text(ui.Find(L"bullet_x_eidt")), L"-7");
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"bullet_x_check")));
    EXPECT_EQ(ui.Text(ui.Find(L"bullet_delay_eidt")), L"45");

    // The gun exported through the file chooser, reset to the shipped recoil, and imported.
    ui::ModalAnswers answers(ui);
    auto choose = [&](const std::string& path) {
        answers.When(L"FileChooserWnd", [&ui, path](HWND chooser) {
            ui.Click(ui.FindIn(chooser, L"file_chooser_name"));
            ui.Type(path);
            ui.Click(ui.FindIn(chooser, L"confirm_btn"));
        });
    };
    const std::string exported = ui.HomeFolder() + "recoil.shoot";
    choose(exported);
    ui.Click(L"shootdate_export_btn");
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_TRUE(std::filesystem::exists(exported));

    ui.Click(L"bullet_selected_prev");
    EXPECT_EQ(ui.Text(ui.Find(L"bullet_op_2")), L"3");
    ui.Click(L"shootdate_reset_btn");
    ui.Click(L"bullet_selected_next");
    ui.Click(L"bullet_op_2");
    EXPECT_NE(ui.Text(ui.Find(L"bullet_x_eidt")), L"-7");

    choose(exported);
    ui.Click(L"shootdate_import_btn");
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_EQ(ui.Text(ui.Find(L"bullet_x_eidt")), L"-7");
}

TEST(MousePageUi, TheMouseIsToldThePrimaryDisplaysSizeAndEachChange) {
    ui::UiDriver ui({.devices = "mouse", .screen = {1366, 768}});
    ASSERT_TRUE(WaitForMouseStart(ui));
    ui.Click(L"system_Op_tab");
    ui.Click(L"polling_rate_option_1");
    ASSERT_TRUE(ui.WaitFor([&] { return SettingsArea(ui)[11] == 1; }));
    EXPECT_EQ(U16At(SettingsArea(ui), 60), 1366);
    EXPECT_EQ(U16At(SettingsArea(ui), 62), 768);

    ui.ChangeDisplay({2560, 1440});
    EXPECT_TRUE(ui.WaitFor([&] {
        return U16At(SettingsArea(ui), 60) == 2560 && U16At(SettingsArea(ui), 62) == 1440;
    })) << "the mouse keeps "
        << U16At(SettingsArea(ui), 60) << " x " << U16At(SettingsArea(ui), 62);
    EXPECT_EQ(SettingsArea(ui)[11], 1) << "the rest of the settings stay";
}

// The mouse's settings as the stored profile keeps them.
Json::Value StoredSystemStages(const ui::UiDriver& ui) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& file : fs::directory_iterator(ui.DataFolder() + "mouse", error)) {
        if (file.path().extension() != ".Json") {
            continue;
        }
        Json::Value root;
        Json::Reader reader;
        if (reader.parse(ui.ReadDataFile("mouse/" + file.path().filename().string()), root) &&
            root["Device"][0].isMember("SystemStages")) {
            return root["Device"][0]["SystemStages"];
        }
    }
    return Json::Value();
}

void ClickSliderAt(ui::UiDriver& ui, const wchar_t* name, int percent) {
    const RECT track = ui.VisibleRect(ui.Find(name));
    ui.ClickAt(ui.MainHwnd(), {track.left + (track.right - track.left) * percent / 100,
                               (track.top + track.bottom) / 2});
}

TEST(MousePageUi, TheSystemTabKeepsPointerScrollAndDoubleClickSettings) {
    ui::UiDriver ui({.devices = "mouse"});
    ASSERT_TRUE(WaitForMouseStart(ui));
    ui.Click(L"system_Op_tab");
    ASSERT_TRUE(ui.IsChecked(ui.Find(L"pointer_precision_check")));
    ui.Click(L"pointer_precision_check");
    ClickSliderAt(ui, L"pointer_speed_slider", 99);
    ClickSliderAt(ui, L"double_click_slider", 50);
    // Lines or pages: a number of lines chosen turns page scrolling off, and back.
    ui.Click(L"scrolls_page_check");
    ClickSliderAt(ui, L"scroll_speed_slider", 1);
    EXPECT_FALSE(ui.IsChecked(ui.Find(L"scrolls_page_check")));
    ui.Click(L"scrolls_page_check");
    EXPECT_FALSE(ui.IsChecked(ui.Find(L"pointer_precision_check")));
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"scrolls_page_check")));
    const Json::Value stored = StoredSystemStages(ui);
    EXPECT_EQ(stored["PointerPrecision"].asInt(), 0);
    EXPECT_EQ(stored["ScorllPage"].asInt(), 1);
    EXPECT_EQ(stored["MouseSpeed"].asInt(), 20);
    EXPECT_EQ(stored["WheelScorlllinse"].asInt(), 1);
    EXPECT_NEAR(stored["DoubleClickTime"].asInt(), 550, 20);

    // The desktop's own mouse settings open from the page.
    const std::string programs = ui.DataFolder() + "programs/";
    std::filesystem::create_directories(programs);
    const std::string opener = programs + "xfce4-mouse-settings";
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\necho opened > '" << programs << "opened'\n";
    }
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    testing_support::ScopedEnv desktop("XDG_CURRENT_DESKTOP", "XFCE");
    testing_support::ScopedEnv path("PATH", programs);
    ui.Click(L"windowdeviceset_1");
    EXPECT_TRUE(ui.WaitFor([&] { return std::filesystem::exists(programs + "opened"); }));
}

// The picture's pixels of a panel that no button covers and that differ from the panel's
// own corner: the mouse drawn around its keys.
int PictureOutsideButtons(ui::UiDriver& ui, CControlUI* panel,
                          const std::vector<CControlUI*>& buttons) {
    SDL_Surface* pixels = ui.Pixels(ui.MainHwnd());
    const RECT area = ui.VisibleRect(panel);
    const uint32_t corner = PixelOf(pixels, area.left + 12, area.top + 12);
    int drawn = 0;
    for (LONG y = area.top; y < area.bottom; y += 2) {
        for (LONG x = area.left; x < area.right; x += 2) {
            const bool onButton = std::any_of(buttons.begin(), buttons.end(), [&](CControlUI* b) {
                const RECT rc = b->GetPos();
                return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
            });
            const int diff = static_cast<int>(Luminance(PixelOf(pixels, x, y))) -
                             static_cast<int>(Luminance(corner));
            drawn += !onButton && std::abs(diff) > 10 ? 1 : 0;
        }
    }
    return drawn;
}

TEST(MousePageUi, TheMouseIsDrawnWithEveryKeyAndLightWhereItsButtonIs) {
    ui::UiDriver ui({.devices = "mouse"});
    ASSERT_TRUE(WaitForMouseStart(ui));
    struct Tab {
        int number;
        const wchar_t* panel;
        std::vector<std::wstring> buttons;
    };
    Tab keys{0, L"mouse_device_key_panel", {}};
    Tab lights{1, L"mouse_device_key_light", {L"logo"}};
    for (int n = 0; n < kMouseKeys; ++n) {
        keys.buttons.push_back(Indexed(L"key_", n));
    }
    for (int n = 0; n < kMouseLeds; ++n) {
        if (n != 10) {  // LED 10 is the logo's
            lights.buttons.push_back(Indexed(L"light_0_", n));
        }
    }
    for (const Tab& tab : {keys, lights}) {
        ui.Click(Indexed(L"mouse_device_seting_option_", tab.number));
        CControlUI* panel = ui.Find(tab.panel);
        ASSERT_TRUE(ui.IsShown(panel));
        std::vector<CControlUI*> buttons;
        for (const std::wstring& name : tab.buttons) {
            CControlUI* button = ui.Find(name);
            ASSERT_TRUE(ui.IsShown(button)) << Utf8(name);
            // Whole, not cut off by the panel or the rows below it.
            EXPECT_TRUE(SameRect(ui.VisibleRect(button), button->GetPos())) << Utf8(name);
            EXPECT_TRUE(Inside(button->GetPos(), ui.VisibleRect(panel))) << Utf8(name);
            buttons.push_back(button);
        }
        const RECT area = ui.VisibleRect(panel);
        const int samples = ((area.right - area.left) / 2) * ((area.bottom - area.top) / 2);
        EXPECT_GT(PictureOutsideButtons(ui, panel, buttons), samples / 12)
            << "the mouse is drawn around its keys on tab " << tab.number;
        ui.SavePng(ui.MainHwnd(), "/tmp/mouse/picture_tab_" + std::to_string(tab.number) + ".png");
    }

    // Lit, the lights show their colour in the keys' shapes: the corner of the left
    // button's place lies outside the mouse and stays uncoloured.
    auto saturation = [&](POINT at) {
        const uint32_t p = PixelOf(ui.Pixels(ui.MainHwnd()), at.x, at.y);
        const int r = (p >> 16) & 0xFF;
        const int g = (p >> 8) & 0xFF;
        const int b = p & 0xFF;
        return std::max({r, g, b}) - std::min({r, g, b});
    };
    const RECT left = ui.Find(L"light_0_0")->GetPos();
    EXPECT_TRUE(ui.WaitFor([&] {
        return saturation({(left.left + left.right) / 2, (left.top + left.bottom) / 2}) > 30;
    })) << "the left button shows its LED";
    EXPECT_LT(saturation({left.left + 1, left.top + 1}), 20);
}

// Every text of the mouse page, on each of its tabs and in both languages, shows whole,
// and every control lies whole in the part of the page that shows it.
void ExpectMousePageTextsFit(const char* language) {
    ui::UiDriver ui({.devices = "mouse", .language = language});
    ASSERT_TRUE(WaitForMouseStart(ui));
    ui::TextFit fit;
    const wchar_t* functions[] = {L"system_Op_tab", L"cursor_Op_tab", L"deng_Op_tab"};
    for (int tab = 0; tab < 3; ++tab) {
        ui.Click(Indexed(L"mouse_device_seting_option_", tab));
        for (const wchar_t* function : functions) {
            ui.Click(function);
            const std::vector<ui::LayoutProblem> problems = fit.Check(ui, ui.MainHwnd());
            EXPECT_TRUE(problems.empty()) << "tab " << tab << ", " << Utf8(function) << ":\n"
                                          << ui::Describe(problems);
        }
    }
    for (const auto& [key, function] : ShownKeyRows(ui)) {
        EXPECT_FALSE(key.empty() || key.find(L"_key_") != std::wstring::npos)
            << "an untranslated key name: " << Utf8(key);
    }
    ui.Click(L"system_Op_tab");
    ui.SavePng(ui.MainHwnd(), std::string("/tmp/mouse/system_tab_") + language + ".png");
}

TEST(MousePageUi, TheMousePagesTextsFitInEnglish) {
    ExpectMousePageTextsFit("en");
}

TEST(MousePageUi, TheMousePagesTextsFitInChinese) {
    ExpectMousePageTextsFit("zh");
}

}  // namespace
