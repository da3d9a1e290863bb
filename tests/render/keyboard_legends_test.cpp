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

// Key buttons of a layout given as text, drawn off-screen with the skin's images at a DPI.
class KeyLayoutWindow {
  public:
    KeyLayoutWindow(const char* layout, int width, int height, int dpi = 96) {
        const std::string file = dir_.File("keys.xml");
        testing_support::WriteTextFile(file, layout);
        CPaintManagerUI::SetResourcePath(L"skin");
        loaded_ = DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml");
        RegisterPageControls();
        window_ =
            std::make_unique<render_test::LayoutFileWindow>(std::wstring(file.begin(), file.end()));
        if (window_->Create(nullptr, L"keys", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, width, height) ==
            nullptr) {
            window_.reset();
            return;
        }
        Manager()->SetDPI(dpi);
        window_->ResizeClient(Manager()->Scale(width), Manager()->Scale(height));
    }

    bool Ready() const { return loaded_ && window_ != nullptr; }
    CPaintManagerUI* Manager() { return window_->GetPaintManager(); }
    CDeviceKeyButtonUI* Key(const wchar_t* name) {
        return dynamic_cast<CDeviceKeyButtonUI*>(Manager()->FindControl(name));
    }
    // The window as drawn now.
    SDL_Surface* Paint() {
        render_test::PumpUntilIdle();
        window_->SendMessage(WM_PAINT);
        return backend_.PixelsOf(*Manager());
    }

  private:
    testing_support::TempDir dir_;
    render_test::SdlLibraries libraries_;
    DuiLib::sdl::SdlRenderBackend backend_{false};
    render_test::ScopedBackend installed_{&backend_};
    std::unique_ptr<render_test::LayoutFileWindow> window_;
    bool loaded_ = false;
};

constexpr const char* kTintedKey = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="40,40">
  <HorizontalLayout bkcolor="#FF000000" inset="3,3,3,3">
    <DeviceKeyButton name="key" text="W" font="8" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" />
  </HorizontalLayout>
</Window>
)";

TEST(TintedKey, ShowsItsLegendOverAFullTint) {
    KeyLayoutWindow window(kTintedKey, 40, 40);
    ASSERT_TRUE(window.Ready());
    CDeviceKeyButtonUI* key = window.Key(L"key");
    ASSERT_NE(key, nullptr);
    key->SetTint(0x00C000, 255, true);  // a full blue LED (red | blue << 8 | green << 16)

    SDL_Surface* pixels = window.Paint();
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

constexpr const char* kTwoKeys = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="80,40">
  <HorizontalLayout bkcolor="#FF000000" inset="3,3,3,3" childpadding="6">
    <DeviceKeyButton name="chosen" text="W" width="34" font="8" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" hotimage="file='common/key_hot.png' corner='3,3,3,3'" selectedimage="file='common/key_selected.png' corner='3,3,3,3'" />
    <DeviceKeyButton name="other" text="E" width="34" font="8" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" hotimage="file='common/key_hot.png' corner='3,3,3,3'" selectedimage="file='common/key_selected.png' corner='3,3,3,3'" />
  </HorizontalLayout>
</Window>
)";

class ChosenKeyTest : public ::testing::TestWithParam<int> {};

// Every key lit the skin's own selection blue at full level: the chosen key must still
// stand out from its neighbour, at either DPI.
TEST_P(ChosenKeyTest, StaysMarkedWhateverItsLedShows) {
    KeyLayoutWindow window(kTwoKeys, 80, 40, GetParam());
    ASSERT_TRUE(window.Ready());
    CDeviceKeyButtonUI* chosen = window.Key(L"chosen");
    CDeviceKeyButtonUI* other = window.Key(L"other");
    ASSERT_TRUE(chosen && other);
    for (CDeviceKeyButtonUI* key : {chosen, other}) {
        key->SetTint(0x6FC20A, 255, true);  // red 0x0A, green 0x6F, blue 0xC2
    }
    chosen->SetKeySelected(true);

    // Along each key's top edge, inside its rounded corners: the selected image's light
    // border marks the chosen key; the tint covers its neighbour's edge.
    const int inset = window.Manager()->Scale(4);
    const auto brightEdge = [inset](SDL_Surface* pixels, const DuiLib::CControlUI* key) {
        const RECT rc = key->GetPos();
        int bright = 0;
        for (int x = rc.left + inset; x < rc.right - inset; ++x) {
            const uint32_t p = render_test::PixelAt(pixels, x, rc.top);
            bright += ((p >> 16) & 0xFF) > 80 && ((p >> 8) & 0xFF) > 160 ? 1 : 0;
        }
        return bright;
    };
    SDL_Surface* pixels = window.Paint();
    ASSERT_NE(pixels, nullptr);
    const int edge = (chosen->GetPos().right - chosen->GetPos().left) - 2 * inset;
    EXPECT_GT(brightEdge(pixels, chosen), edge / 2);
    EXPECT_EQ(brightEdge(pixels, other), 0);

    // Chosen no more: it shows its LED again.
    chosen->SetKeySelected(false);
    pixels = window.Paint();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(brightEdge(pixels, chosen), 0);
}

INSTANTIATE_TEST_SUITE_P(Dpi, ChosenKeyTest, ::testing::Values(96, 144));

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
