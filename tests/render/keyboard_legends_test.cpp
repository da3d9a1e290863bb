// Key legends drawn and measured with the program's own fonts: a tinted key shows its
// legend over the tint, and, in both languages at 96 and 144 DPI, every key legend of the
// keyboard page and every device name of a device-list entry fits its place whole.

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <tuple>

#include "app/control_registration.h"
#include "app/private_font_set.h"
#include "controls/device_key_button.h"
#include "device/skin_page_builder.h"
#include "duilib/dialog_builder.h"
#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/ui_button.h"
#include "pages/page_controls.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

constexpr const char* kTintedKey = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="40,40">
  <HorizontalLayout bkcolor="#FF000000" inset="3,3,3,3">
    <DeviceKeyButton name="key" text="W" font="8" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" />
  </HorizontalLayout>
</Window>
)";

TEST(TintedKey, ShowsItsLegendOverAFullTint) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File("key.xml"), kTintedKey));
    CPaintManagerUI::SetResourcePath(L"skin");
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    RegisterPageControls();
    render_test::SdlLibraries libraries;
    DuiLib::sdl::SdlRenderBackend backend(false);
    render_test::ScopedBackend installed(&backend);
    const std::string file = dir.File("key.xml");
    render_test::LayoutFileWindow window(std::wstring(file.begin(), file.end()));
    ASSERT_NE(window.Create(nullptr, L"key", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 40, 40), nullptr);
    CPaintManagerUI* manager = window.GetPaintManager();
    auto* key = dynamic_cast<CDeviceKeyButtonUI*>(manager->FindControl(L"key"));
    ASSERT_NE(key, nullptr);
    key->SetTint(0x00C000, 255, true);  // a full blue LED (red | blue << 8 | green << 16)
    render_test::PumpUntilIdle();
    window.SendMessage(WM_PAINT);

    SDL_Surface* pixels = backend.PixelsOf(*manager);
    ASSERT_NE(pixels, nullptr);
    int tinted = 0;
    int legend = 0;
    for (int y = 0; y < pixels->h; ++y) {
        for (int x = 0; x < pixels->w; ++x) {
            const uint32_t p = render_test::PixelAt(pixels, x, y);
            const int red = (p >> 16) & 0xFF;
            const int green = (p >> 8) & 0xFF;
            const int blue = p & 0xFF;
            tinted += blue > 150 && red < 60 && green < 60 ? 1 : 0;
            legend += red > 150 && green > 150 && blue > 150 ? 1 : 0;
        }
    }
    EXPECT_GT(tinted, 200) << "the key's face shows the LED's colour";
    EXPECT_GT(legend, 5) << "the legend is drawn over the tint";
}

struct Language {
    const wchar_t* file;
    const wchar_t* fontFamily;  // the family the main window gives this language
};

void PrintTo(const Language& language, std::ostream* out) {
    *out << platform::Utf8Encode(language.file);
}

constexpr Language kEnglish{L"lan_en.xml", L"Verdana Unicode MS"};
constexpr Language kChinese{L"lan_cn.xml", L"汉仪菱心体简"};
// Clear of the key's rounded edge on either side, at 96 DPI.
constexpr int kSideMargin = 2;

class TextFitTest : public ::testing::TestWithParam<std::tuple<Language, int>> {
  protected:
    void SetUp() override {
        ASSERT_GT(privateFonts_.LoadedCount(), 0);
        ASSERT_TRUE(skin_.Loaded());
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadLanguage(Lang().file));
        scale_.SetDPI(std::get<1>(GetParam()));
    }

    Language Lang() const { return std::get<0>(GetParam()); }

    // The text's width at the test's DPI with font `id` in the language's family.
    int TextWidth(const std::wstring& text, int id) {
        DuiLib::TFontInfo font = *scale_.GetFontInfo(id);
        font.sFontName = Lang().fontFamily;
        TTF_Font* face =
            fonts_.Get(font, scale_.Scale(font.iSize), std::u32string(text.begin(), text.end()));
        int width = 0;
        int height = 0;
        if (face == nullptr ||
            TTF_SizeUTF8(face, platform::Utf8Encode(text).c_str(), &width, &height) != 0) {
            ADD_FAILURE() << "cannot measure " << platform::Utf8Encode(text);
        }
        return width;
    }

    testing_support::ScopedUserFolders folders_;
    render_test::SdlLibraries libraries_;
    PrivateFontSet privateFonts_{platform::InstancePath() + "Font/"};
    SkinPageEnvironment skin_;
    CPaintManagerUI scale_;
    DuiLib::sdl::FontCache fonts_;
};

using KeyLegendsTest = TextFitTest;

TEST_P(KeyLegendsTest, EveryLegendFitsItsKeyWhole) {
    std::unique_ptr<CVornalixKeyboardDevice> page = skin_.BuildKeyboardPage(L"keyboard");
    ASSERT_TRUE(page);
    page->RefreshKeySetInfoList();

    int named = 0;
    for (int n = 0; n < 126; ++n) {
        auto* key = dynamic_cast<DuiLib::CButtonUI*>(page->GetKeyButton(n));
        if (key == nullptr) {
            continue;
        }
        const std::wstring legend = key->GetText().str();
        ASSERT_FALSE(legend.empty()) << "key " << n;
        EXPECT_LE(TextWidth(legend, key->GetFont()),
                  scale_.Scale(key->GetFixedWidth()) - 2 * scale_.Scale(kSideMargin))
            << "key " << n << " \"" << platform::Utf8Encode(legend) << "\"";
        ++named;
    }
    EXPECT_GE(named, 104) << "a full-size keyboard's keys at least";
}

using DeviceNamesTest = TextFitTest;

TEST_P(DeviceNamesTest, EveryKindsNameFitsUnderItsIcon) {
    RegisterControlClasses();
    CPaintManagerUI manager;
    DuiLib::CDialogBuilder builder;
    std::unique_ptr<DuiLib::CControlUI> entry(builder.Create(
        L"XML\\CustomControlXML\\DeviceOption.xml", nullptr, nullptr, &manager, nullptr));
    ASSERT_TRUE(entry);
    auto* label = dynamic_cast<DuiLib::CLabelUI*>(
        manager.FindSubControlByName(entry.get(), L"device_select_name"));
    ASSERT_NE(label, nullptr);
    for (const wchar_t* kind : {L"keyboard", L"mouse", L"MousePad", L"HD"}) {
        const DuiLib::CDuiString name = DuiLib::CResourceManager::GetInstance()->GetText(kind);
        EXPECT_LE(TextWidth(name.str(), label->GetFont()), scale_.Scale(label->GetFixedWidth()))
            << platform::Utf8Encode(name.str());
    }
}

const auto kLanguagesAndDpi =
    ::testing::Combine(::testing::Values(kEnglish, kChinese), ::testing::Values(96, 144));
INSTANTIATE_TEST_SUITE_P(LanguagesAndDpi, KeyLegendsTest, kLanguagesAndDpi);
INSTANTIATE_TEST_SUITE_P(LanguagesAndDpi, DeviceNamesTest, kLanguagesAndDpi);

}  // namespace
