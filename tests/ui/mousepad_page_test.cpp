// The mouse pad's page as a person uses it, over the simulated pad: the picture of the pad
// with its LEDs, its texts, profiles chosen and the per-LED lights a profile brings.

#include <gtest/gtest.h>

#include <string>

#include "duilib/ui_control.h"
#include "platform/json_text.h"
#include "sim/sim_onboard_light_device.h"
#include "support/temp_dir.h"
#include "ui/driver/combo_choice.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/text_fit.h"
#include "ui/driver/ui_driver.h"
#include "ui/headset_steps.h"

namespace {

int StoredSelection(ui::UiDriver& ui) {
    Json::Value root;
    platform::ParseJsonText(ui.ReadDataFile("MousePad/ProfileList.ini"), &root);
    return root["SelectIndex"].isInt() ? root["SelectIndex"].asInt() : -1;
}

TEST(MousePadPageUi, EveryLedButtonSitsOnTheDrawnRimOfLights) {
    ui::HeadsetPage page("en", "mousepad");
    page.ExpectLedButtonsOnTheDevice(15);
    page.Save("mousepad_en");
}

TEST(MousePadPageUi, ThePageReadsWholeInEitherLanguage) {
    for (const char* language : {"en", "zh"}) {
        ui::HeadsetPage page(language, "mousepad");
        page.ExpectLedButtonsOnTheDevice(15);
        ui::TextFit fit;
        const std::vector<ui::LayoutProblem> problems = fit.Check(page.ui, page.ui.MainHwnd());
        EXPECT_TRUE(problems.empty()) << language << ":\n" << ui::Describe(problems);
        page.Save(std::string("mousepad_") + language);
    }
}

// A profile file to import: the whole pad a steady red, and with `blueLed` that one LED
// blue on its own.
std::string SteadyRedProfile(const std::string& name, int blueLed) {
    std::string list = "[";
    for (int i = 0; i <= blueLed; ++i) {
        list += i < blueLed ? "null, "
                            : R"({"LEDREGMode": 1, "LEDBrightness": 4, "red": 0, "green": 0,)"
                              R"( "blue": 255})";
    }
    list += "]";
    return R"({"profilename": ")" + name + R"(", "profileUUID": ")" + name +
           R"(", "Device": [{"LightInfo": {"SelectItem": 3, "Light": 4, "Speed": 2, "Fx": 0,)"
           R"( "MultiColor": 0, "Red": 255, "Green": 0, "Blue": 0}, "LightList": )" +
           list + "}]}";
}

// Whether LED `i` is more blue than red (or more red than blue) both as the pad shows it
// and as its button on the page shows it.
bool LedLooks(ui::UiDriver& ui, sim::SimLightAccessory& pad, int i, bool blue) {
    const std::vector<uint8_t> frame = pad.Memory(sim::LightAccessoryMemory::kLightFrame);
    const size_t at = static_cast<size_t>(i) * 3;
    if (frame.size() < at + 3 || (frame[at + 2] > frame[at]) != blue) {
        return false;
    }
    SDL_Surface* pixels = ui.Pixels(ui.MainHwnd());
    const POINT centre = ui::UiDriver::CentreOf(ui.Find(L"light_" + std::to_wstring(i)));
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(ui.PixelAt(ui.MainHwnd(), centre), pixels->format, &r, &g, &b);
    return r != b && (b > r) == blue;
}

// Profiles whose whole-pad light is the same steady one differ in their LEDs of their own:
// each shows its own as soon as it is taken.
TEST(MousePadPageUi, AProfileWithTheSameSteadyLightShowsItsOwnPerLedLights) {
    ui::HeadsetPage page("en", "mousepad");
    ui::UiDriver& ui = page.ui;
    auto* pad = dynamic_cast<sim::SimLightAccessory*>(ui.Device("mousepad"));
    ASSERT_NE(pad, nullptr);
    testing_support::TempDir files;
    ASSERT_TRUE(
        testing_support::WriteTextFile(files.File("plain.json"), SteadyRedProfile("Plain", -1)));
    ASSERT_TRUE(testing_support::WriteTextFile(files.File("own.json"), SteadyRedProfile("Own", 3)));
    ui::ModalAnswers answers(ui);
    const auto import = [&](const std::string& file) {
        answers.When(L"FileChooserWnd", [&ui, file](HWND chooser) {
            ui.Click(ui.FindIn(chooser, L"file_chooser_name"));
            ui.Type(file);
            ui.Click(ui.FindIn(chooser, L"confirm_btn"));
        });
        page.ChooseProfileMenuItem(L"device_import_btn");
        ASSERT_TRUE(answers.AllGiven());
    };

    import(files.File("plain.json"));
    ASSERT_EQ(ui.Text(ui.Find(L"device_profile_combo")), L"Plain");
    ASSERT_TRUE(ui.WaitFor([&] { return LedLooks(ui, *pad, 3, false); }));

    import(files.File("own.json"));
    ASSERT_EQ(ui.Text(ui.Find(L"device_profile_combo")), L"Own");
    EXPECT_TRUE(ui.WaitFor([&] { return LedLooks(ui, *pad, 3, true); }, 5000))
        << "LED 3 keeps the colour of the profile before";
    EXPECT_TRUE(LedLooks(ui, *pad, 2, false));

    // Back to the plain one, chosen in the list.
    ASSERT_TRUE(ui::ChooseComboRow(ui, ui.Find(L"device_profile_combo"), 1));
    EXPECT_TRUE(ui.WaitFor([&] { return LedLooks(ui, *pad, 3, false); }, 5000));
}

// The pad has no keys to assign: a profile chosen is written whole, and nothing failed.
TEST(MousePadPageUi, AProfileChosenIsTakenWithoutSayingAWriteFailed) {
    ui::HeadsetPage page("en", "mousepad");
    ui::UiDriver& ui = page.ui;
    // No box is expected: one that came would be left unanswered, and fail the test.
    ui::ModalAnswers answers(ui);
    page.ChooseProfileMenuItem(L"device_add_btn");
    DuiLib::CControlUI* combo = ui.Find(L"device_profile_combo");
    ASSERT_EQ(ui.Text(combo), L"Profile2");
    ASSERT_EQ(StoredSelection(ui), 1);

    ui.Wheel(combo, 1);
    EXPECT_EQ(ui.Text(combo), L"Profile1");
    EXPECT_TRUE(ui.WaitFor([&] { return StoredSelection(ui) == 0; }));
    ui.Settle();
    EXPECT_EQ(ui.ShownWindowOfClass(L"MsgWnd"), nullptr);
}

}  // namespace
