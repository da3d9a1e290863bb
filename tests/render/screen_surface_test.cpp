// A shown window is drawn straight into its desktop window's surface, frame after frame,
// and its pixels are those of the same window drawn apart: tinted keys with their legends
// over a panel, drawn whole and then in part.

#include <gtest/gtest.h>

#include <string>

#include "controls/device_key_button.h"
#include "duilib/resource_manager.h"
#include "pages/page_controls.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

constexpr const char* kLayout = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="240,120">
  <VerticalLayout bkimage="common/background.png">
    <Container bkimage="file='device/keyboard_bk.png' corner='10,10,10,10'" inset="8,8,8,8">
      <DeviceKeyButton name="k0" float="true" pos="10,10,44,44" font="10" text="Esc" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" />
      <DeviceKeyButton name="k1" float="true" pos="46,10,80,44" font="8" text="F1" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" />
      <DeviceKeyButton name="k2" float="true" pos="82,10,150,44" font="8" text="Enter" textcolor="0xFFE0E6F0" normalimage="file='common/key_normal.png' corner='3,3,3,3'" />
    </Container>
  </VerticalLayout>
</Window>
)";

CDeviceKeyButtonUI* Key(render_test::LayoutFileWindow& window, const wchar_t* name) {
    return static_cast<CDeviceKeyButtonUI*>(window.GetPaintManager()->FindControl(name));
}

// Tints the keys as a frame of an LED wave does, shows the tints, and lets the paint run.
void Frame(render_test::LayoutFileWindow& window, uint32_t step) {
    int i = 0;
    for (const wchar_t* name : {L"k0", L"k1", L"k2"}) {
        CDeviceKeyButtonUI* key = Key(window, name);
        const uint32_t hue = (step * 40 + static_cast<uint32_t>(i++) * 70) % 256;
        key->SetTint(hue | (255 - hue) << 8 | (hue / 3) << 16, 200, true);
        key->ShowTint();
    }
    render_test::PumpUntilIdle();
}

// The pixels of the window after three frames: drawn whole, then the keys alone, twice.
SDL_Surface* Draw(DuiLib::sdl::SdlRenderBackend& backend, const std::wstring& layout) {
    render_test::ScopedBackend installed(&backend);
    render_test::LayoutFileWindow window(layout);
    if (window.Create(nullptr, L"screen", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 240, 120) ==
        nullptr) {
        return nullptr;
    }
    window.ShowWindow(true);
    render_test::PumpUntilIdle();
    for (uint32_t step = 1; step <= 3; ++step) {
        Frame(window, step);
    }
    SDL_Surface* pixels = backend.PixelsOf(*window.GetPaintManager());
    return pixels != nullptr ? SDL_DuplicateSurface(pixels) : nullptr;
}

TEST(ScreenSurfaceTest, AShownWindowDrawnOnItsDesktopSurfaceHasThePixelsOfOneDrawnApart) {
    render_test::SdlLibraries libraries(true);
    if (!libraries.HasVideo()) {
        GTEST_SKIP() << "SDL's off-screen video driver is not available";
    }
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File("keys.xml"), kLayout));
    const std::string file = dir.File("keys.xml");
    const std::wstring layout(file.begin(), file.end());
    CPaintManagerUI::SetResourcePath(L"skin");
    DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml");
    RegisterPageControls();

    DuiLib::sdl::SdlRenderBackend onScreen(true);
    SDL_Surface* shown = Draw(onScreen, layout);
    DuiLib::sdl::SdlRenderBackend apart(false);
    SDL_Surface* drawn = Draw(apart, layout);
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(drawn, nullptr);
    const render_test::ImageDifference difference = render_test::Compare(shown, drawn, 0);
    EXPECT_TRUE(difference.sameSize);
    EXPECT_EQ(difference.differingShare, 0.0);
    EXPECT_EQ(render_test::PixelAt(shown, 20, 20) >> 24, 0xFFu) << "read back opaque";
    SDL_FreeSurface(shown);
    SDL_FreeSurface(drawn);
    CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
