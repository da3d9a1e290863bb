// A slider laid out upwards ("vertical"), as an equaliser band is: pointer, wheel and keys
// through the SDL backend's input router, and the thumb drawn where the value puts it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "duilib/render/sdl/sdl_input_router.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_progress.h"
#include "duilib/window_impl_base.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;
using DuiLib::CSliderUI;

constexpr const char* kLayout = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="200,200">
  <HorizontalLayout name="root" bkcolor="#FF202020" inset="10,10,10,10" childpadding="20">
    <Slider name="band" min="-18" max="18" value="0" width="20" height="110" vertical="true" thumbimage="file='Control/SliderBar1_Thumb.png'" thumbsize="14,14" />
    <Slider name="off" min="0" max="10" value="5" width="20" height="110" vertical="true" enabled="false" thumbsize="14,14" />
    <Slider name="across" min="0" max="10" value="0" width="100" height="20" hor="true" thumbsize="10,10" />
  </HorizontalLayout>
</Window>
)";

class NoteWindow : public render_test::LayoutFileWindow {
  public:
    using LayoutFileWindow::LayoutFileWindow;
    std::vector<std::wstring> notes;

    void Notify(DuiLib::TNotifyUI& msg) override {
        notes.push_back(msg.sType.str() + L":" +
                        (msg.pSender != nullptr ? msg.pSender->GetName().str() : L""));
        LayoutFileWindow::Notify(msg);
    }
    int Count(const std::wstring& note) const {
        return static_cast<int>(std::count(notes.begin(), notes.end(), note));
    }
};

std::wstring LayoutPath(const testing_support::TempDir& dir) {
    const std::string file = dir.File("slider.xml");
    return std::wstring(file.begin(), file.end());
}

class VerticalSliderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!libraries_.HasVideo()) {
            GTEST_SKIP() << "SDL's off-screen video driver is not available";
        }
        ASSERT_TRUE(testing_support::WriteTextFile(dir_.File("slider.xml"), kLayout));
        CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_NE(window_.Create(nullptr, L"slider", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 200, 200),
                  nullptr);
        window_.ShowWindow(true);
        render_test::PumpUntilIdle();
        SDL_Window* desktop = backend_.AnyDesktopWindow();
        ASSERT_NE(desktop, nullptr);
        windowId_ = SDL_GetWindowID(desktop);
    }
    void TearDown() override { CPaintManagerUI::SetResourcePath(L""); }

    CSliderUI* Slider(const wchar_t* name) {
        return static_cast<CSliderUI*>(window_.GetPaintManager()->FindControl(name));
    }
    void Mouse(Uint32 type, POINT pt) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.windowID = windowId_;
            event.motion.x = pt.x;
            event.motion.y = pt.y;
        } else {
            event.button.windowID = windowId_;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.clicks = 1;
            event.button.x = pt.x;
            event.button.y = pt.y;
        }
        router_.Route(event);
    }
    void Click(POINT pt) {
        Mouse(SDL_MOUSEMOTION, pt);
        Mouse(SDL_MOUSEBUTTONDOWN, pt);
        Mouse(SDL_MOUSEBUTTONUP, pt);
    }
    void Wheel(int notches) {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.windowID = windowId_;
        event.wheel.y = notches;
        router_.Route(event);
    }
    void Key(SDL_Keycode key) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = windowId_;
        event.key.keysym.sym = key;
        router_.Route(event);
    }
    // The topmost row of the slider's column that differs from the background.
    int ThumbTop(CSliderUI* slider) {
        window_.SendMessage(WM_PAINT);
        SDL_Surface* pixels = backend_.PixelsOf(*window_.GetPaintManager());
        const RECT rc = slider->GetPos();
        const int x = (rc.left + rc.right) / 2;
        const uint32_t background = render_test::PixelAt(pixels, rc.left - 5, rc.top);
        for (int y = rc.top; y < rc.bottom; ++y) {
            if (render_test::PixelAt(pixels, x, y) != background) {
                return y;
            }
        }
        return -1;
    }

    testing_support::TempDir dir_;
    render_test::SdlLibraries libraries_{true};
    DuiLib::sdl::SdlRenderBackend backend_{true};
    render_test::ScopedBackend installed_{&backend_};
    DuiLib::sdl::InputRouter router_{backend_};
    NoteWindow window_{LayoutPath(dir_)};
    Uint32 windowId_ = 0;
};

TEST_F(VerticalSliderTest, DraggingUpRaisesTheValueAndTheThumbFollowsThePointer) {
    CSliderUI* band = Slider(L"band");
    ASSERT_FALSE(band->IsHorizontal());
    const RECT rc = band->GetPos();
    const int x = (rc.left + rc.right) / 2;
    const int middleTop = ThumbTop(band);

    Mouse(SDL_MOUSEMOTION, POINT{x, rc.bottom - 2});
    Mouse(SDL_MOUSEBUTTONDOWN, POINT{x, rc.bottom - 2});
    EXPECT_EQ(band->GetValue(), -18) << "the bottom of the rail is the minimum";
    for (int y = rc.bottom - 2; y >= rc.top - 20; y -= 10) {
        Mouse(SDL_MOUSEMOTION, POINT{x, y});
    }
    EXPECT_EQ(band->GetValue(), 18) << "past the top the value stays at the maximum";
    EXPECT_GE(window_.Count(L"movevaluechanged:band"), 2);
    EXPECT_EQ(window_.Count(L"valuechanged:band"), 0) << "only the release sets it";
    Mouse(SDL_MOUSEBUTTONUP, POINT{x, rc.top - 20});
    EXPECT_EQ(window_.Count(L"valuechanged:band"), 1);
    EXPECT_EQ(band->GetValue(), 18);
    const int topTop = ThumbTop(band);
    EXPECT_LE(topTop, rc.top + 2) << "the thumb sits at the top of its rail";
    EXPECT_GT(middleTop, topTop + 30) << "it started at the middle";

    // A click in the lower quarter takes the value there at once.
    Click(POINT{x, rc.bottom - (rc.bottom - rc.top) / 4});
    EXPECT_LT(band->GetValue(), -5);
    EXPECT_GT(band->GetValue(), -13);
    EXPECT_GT(ThumbTop(band), middleTop);
}

TEST_F(VerticalSliderTest, WheelAndKeysMoveItByStepsPagesAndToItsEnds) {
    CSliderUI* band = Slider(L"band");
    const POINT centre{(band->GetPos().left + band->GetPos().right) / 2,
                       (band->GetPos().top + band->GetPos().bottom) / 2};
    Click(centre);
    ASSERT_EQ(band->GetValue(), 0);
    const int changes = window_.Count(L"valuechanged:band");

    Wheel(1);
    EXPECT_EQ(band->GetValue(), 1) << "away from the user moves it up";
    Wheel(-1);
    Wheel(-1);
    EXPECT_EQ(band->GetValue(), -1);

    // The click gave it the keys.
    Key(SDLK_UP);
    Key(SDLK_UP);
    EXPECT_EQ(band->GetValue(), 1);
    Key(SDLK_DOWN);
    EXPECT_EQ(band->GetValue(), 0);
    Key(SDLK_PAGEUP);
    EXPECT_EQ(band->GetValue(), 3) << "a page is a tenth of the range";
    Key(SDLK_END);
    EXPECT_EQ(band->GetValue(), 18);
    Key(SDLK_UP);
    EXPECT_EQ(band->GetValue(), 18);
    Key(SDLK_HOME);
    EXPECT_EQ(band->GetValue(), -18);
    Key(SDLK_PAGEDOWN);
    EXPECT_EQ(band->GetValue(), -18);
    Key(SDLK_a);
    EXPECT_EQ(band->GetValue(), -18);
    // Each move that changed the value was told once; the ones at an end were not.
    EXPECT_EQ(window_.Count(L"valuechanged:band") - changes, 9);
}

TEST_F(VerticalSliderTest, ADisabledSliderAndAnAcrossSliderKeepTheirWays) {
    CSliderUI* off = Slider(L"off");
    const RECT rc = off->GetPos();
    Click(POINT{(rc.left + rc.right) / 2, rc.top + 2});
    Wheel(1);
    Key(SDLK_UP);
    EXPECT_EQ(off->GetValue(), 5);
    EXPECT_EQ(window_.Count(L"valuechanged:off"), 0);

    CSliderUI* across = Slider(L"across");
    ASSERT_TRUE(across->IsHorizontal());
    const RECT a = across->GetPos();
    Click(POINT{a.right - 2, (a.top + a.bottom) / 2});
    EXPECT_EQ(across->GetValue(), 10);
    Key(SDLK_LEFT);
    EXPECT_EQ(across->GetValue(), 9);
}

}  // namespace
