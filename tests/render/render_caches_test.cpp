// The renderer keeps rasterised texts and resolved image files: each is kept by what its
// pixels depend on, and found anew when that changes (colour, DPI, text, width; the skin's
// folder).

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <string>

#include "duilib/paint_manager.h"
#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/render/sdl/sdl_text.h"
#include "duilib/resource_manager.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;
using DuiLib::sdl::TextImage;
using DuiLib::sdl::TextRequest;

TEST(TextImages, AreKeptByWhatTheirPixelsDependOn) {
    render_test::SdlLibraries libraries;
    CPaintManagerUI::SetResourcePath(L"skin");
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    CPaintManagerUI manager;
    DuiLib::sdl::FontCache fonts;
    DuiLib::sdl::TextImages texts(fonts);
    TextRequest request;
    request.text = L"Shift";
    request.font = 8;
    request.color = 0xFFE0E6F0;
    request.style =
        DuiLib::DT_CENTER | DuiLib::DT_VCENTER | DuiLib::DT_SINGLELINE | DuiLib::DT_END_ELLIPSIS;
    request.rect = RECT{0, 0, 60, 20};

    const TextImage* light = texts.Get(manager, request);
    ASSERT_NE(light, nullptr);
    request.rect = RECT{100, 40, 160, 60};  // moved, not resized: the same pixels
    EXPECT_EQ(texts.Get(manager, request), light);
    EXPECT_EQ(texts.Count(), 1u);

    request.color = 0xFF141A22;  // a dark legend on a light tint
    const TextImage* dark = texts.Get(manager, request);
    ASSERT_NE(dark, nullptr);
    EXPECT_NE(dark, light);
    EXPECT_NE(render_test::PixelAt(dark->pixels.get(), dark->pixels->w / 2, 10),
              render_test::PixelAt(light->pixels.get(), light->pixels->w / 2, 10));

    manager.SetDPI(144);
    const TextImage* larger = texts.Get(manager, request);
    ASSERT_NE(larger, nullptr);
    EXPECT_GT(larger->pixels->h, dark->pixels->h);

    request.text = L"PrtSc";  // another language or key
    const TextImage* other = texts.Get(manager, request);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, larger);
    request.rect.right = request.rect.left + other->pixels->w - 1;  // too narrow: ellipsised
    const TextImage* cut = texts.Get(manager, request);
    ASSERT_NE(cut, nullptr);
    EXPECT_LT(cut->pixels->w, other->pixels->w);
    EXPECT_EQ(texts.Count(), 5u);

    request.text = L"";
    EXPECT_EQ(texts.Get(manager, request), nullptr);
}

// A text and its face's family are kept together: where one ends and the other begins, and
// the face's style, still tell keys apart.
TEST(TextImages, TellFamiliesAndStylesApartFromTheirTexts) {
    render_test::SdlLibraries libraries;
    CPaintManagerUI manager;
    manager.AddFont(1, L"Sans Mono", 12, false, false, false);
    manager.AddFont(2, L"Mono", 12, false, false, false);
    manager.AddFont(3, L"Mono", 12, true, false, false);
    DuiLib::sdl::FontCache fonts;
    DuiLib::sdl::TextImages texts(fonts);
    TextRequest request;
    request.rect = RECT{0, 0, 80, 20};

    request.text = L"Q";
    request.font = 1;  // "Q" then "Sans Mono"
    const TextImage* first = texts.Get(manager, request);
    request.text = L"QSans ";
    request.font = 2;  // "QSans " then "Mono": the same characters in all
    const TextImage* second = texts.Get(manager, request);
    request.font = 3;  // bold
    const TextImage* bold = texts.Get(manager, request);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(bold, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(second, bold);
    EXPECT_GT(second->pixels->w, first->pixels->w);
    EXPECT_EQ(texts.Count(), 3u);

    request.text = L"Q";
    request.font = 2;  // the first text in the other family
    EXPECT_NE(texts.Get(manager, request), first);
    EXPECT_EQ(texts.Count(), 4u);
    request.font = 1;
    EXPECT_EQ(texts.Get(manager, request), first);
    EXPECT_EQ(texts.Count(), 4u);
}

// A 1 x 1 PNG of `argb` at `file`.
bool WritePixel(const std::string& file, uint32_t argb) {
    DuiLib::sdl::SurfacePtr pixel{
        SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888)};
    *static_cast<uint32_t*>(pixel->pixels) = argb;
    return IMG_SavePNG(pixel.get(), file.c_str()) == 0;
}

TEST(ImageResolver, FindsTheFileAnewInAnotherSkinFolder) {
    render_test::SdlLibraries libraries;
    testing_support::TempDir first;
    testing_support::TempDir second;
    ASSERT_TRUE(WritePixel(first.File("key.png"), 0xFFFF0000));
    ASSERT_TRUE(WritePixel(second.File("key.png"), 0xFF0000FF));
    CPaintManagerUI manager;
    DuiLib::sdl::ImageCache images;
    DuiLib::sdl::ImageResolver resolver(images);
    const DuiLib::CDuiString attribute(L"file='key.png' corner='0,0,0,0'");

    CPaintManagerUI::SetResourcePath(
        std::wstring(first.path().begin(), first.path().end()).c_str());
    const DuiLib::sdl::ResolvedImage* red = resolver.Resolve(manager, attribute);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(render_test::PixelAt(red->image, 0, 0), 0xFFFF0000u);

    CPaintManagerUI::SetResourcePath(
        std::wstring(second.path().begin(), second.path().end()).c_str());
    const DuiLib::sdl::ResolvedImage* blue = resolver.Resolve(manager, attribute);
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(render_test::PixelAt(blue->image, 0, 0), 0xFF0000FFu);
    CPaintManagerUI::SetResourcePath(L"skin");
}

}  // namespace
