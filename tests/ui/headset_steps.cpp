#include "ui/headset_steps.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "duilib/ui_control.h"
#include "platform/json_text.h"
#include "support/temp_dir.h"

namespace ui {
namespace {

// The equaliser bands' scale and thumb, as the page draws them.
constexpr int kBandMin = -18;
constexpr int kBandMax = 18;
constexpr int kThumbSize = 14;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

// `pixels` as last drawn (UiDriver::Pixels).
Rgb ColourAt(SDL_Surface* pixels, POINT at) {
    Rgb rgb;
    if (pixels != nullptr && at.x >= 0 && at.y >= 0 && at.x < pixels->w && at.y < pixels->h) {
        const auto* row = static_cast<const uint8_t*>(pixels->pixels) + at.y * pixels->pitch;
        Uint8 r = 0;
        Uint8 g = 0;
        Uint8 b = 0;
        SDL_GetRGB(reinterpret_cast<const uint32_t*>(row)[at.x], pixels->format, &r, &g, &b);
        rgb = {r, g, b};
    }
    return rgb;
}

}  // namespace

HeadsetPage::HeadsetPage(const std::string& language, const std::string& model)
    : folder_(model == "headset" ? "HD" : "MousePad"),
      ui({.devices = model, .language = language}) {
    // Once started, the device's page shows the light mode it runs.
    EXPECT_TRUE(ui.WaitFor([&] { return !ui.Text(ui.Find(L"light_combo_modeSelect")).empty(); }));
    ui.Settle();
}

void HeadsetPage::OpenTab(std::wstring_view tab) {
    ui.Click(tab);
    ui.Settle();
}

void HeadsetPage::ChooseProfileMenuItem(std::wstring_view item) {
    ui.Click(L"profile_fun_spread_btn");
    const HWND menu = ui.WaitForWindow(L"MenuWnd");
    ASSERT_NE(menu, nullptr) << "the profile menu opens";
    ui.Click(ui.FindIn(menu, item));
}

POINT HeadsetPage::ThumbCentre(std::wstring_view band) {
    SDL_Surface* pixels = ui.Pixels(ui.MainHwnd());
    const RECT rc = ui.VisibleRect(ui.Find(band));
    const int x = (rc.left + rc.right) / 2;
    int sum = 0;
    int rows = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        const Rgb c = ColourAt(pixels, POINT{x, y});
        if (c.r > 150 && c.g > 150 && c.b > 150) {  // the light thumb on the dark rail
            sum += y;
            ++rows;
        }
    }
    return POINT{x, rows > 0 ? sum / rows : -1};
}

int HeadsetPage::ThumbLevel(std::wstring_view band) {
    const RECT rc = ui.VisibleRect(ui.Find(band));
    const POINT centre = ThumbCentre(band);
    const int travel = (rc.bottom - rc.top) - kThumbSize;
    const int up = rc.bottom - kThumbSize / 2 - centre.y;
    const int span = kBandMax - kBandMin;
    return kBandMin + (up * span + travel / 2) / travel;
}

Json::Value HeadsetPage::StoredProfile() {
    const std::wstring shown = ui.Text(ui.Find(L"device_profile_combo"));
    const std::filesystem::path folder = ui.DataFolder() + folder_;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        Json::Value root;
        if (entry.path().extension() == ".Json" &&
            platform::ParseJsonText(testing_support::ReadTextFile(entry.path().string()), &root) &&
            root["profilename"].isString() &&
            DuiLib::CDuiString::FromUtf8(root["profilename"].asString()).str() == shown) {
            return root;
        }
    }
    ADD_FAILURE() << "no stored profile is the one shown";
    return Json::Value();
}

void HeadsetPage::ExpectLedButtonsOnTheDevice(int count) {
    SDL_Surface* pixels = ui.Pixels(ui.MainHwnd());
    // The panel round the picture, and the window's own background.
    constexpr int kBareBrightness = 80;
    for (int i = 0; i < count; ++i) {
        DuiLib::CControlUI* led = ui.Find(L"light_" + std::to_wstring(i));
        ASSERT_TRUE(ui.IsShown(led)) << "LED " << i;
        const RECT rc = ui.VisibleRect(led);
        const POINT centre = UiDriver::CentreOf(led);
        for (const POINT at : {POINT{rc.left - 2, centre.y}, POINT{rc.right + 1, centre.y},
                               POINT{centre.x, rc.top - 2}, POINT{centre.x, rc.bottom + 1}}) {
            const Rgb c = ColourAt(pixels, at);
            EXPECT_LT(c.r + c.g + c.b, kBareBrightness - 20)
                << "LED " << i << " at " << at.x << "," << at.y
                << " has the bare panel beside it, not the device's light well";
        }
    }
}

void HeadsetPage::Save(const std::string& name) {
    std::filesystem::create_directories("/tmp/velkaro-shots");
    ui.SavePng(ui.MainHwnd(), "/tmp/velkaro-shots/" + name + ".png");
}

}  // namespace ui
