// VELKARO_SCREENSHOT without a display: the session paints off-screen and writes the
// first window without an owner once its first paint has settled.

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "duilib/render/sdl/sdl_render_session.h"
#include "duilib/resource_manager.h"
#include "duilib/window_impl_base.h"
#include "render_test_support.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

class MainLayoutWindow : public DuiLib::WindowImplBase {
  protected:
    DuiLib::CDuiString GetSkinFile() override { return L"XML_MAIN"; }
    LPCTSTR GetWindowClassName() const override { return L"RenderShotMainWnd"; }
};

TEST(Screenshot, WritesTheMainWindowOffScreen) {
    testing_support::TempDir dir;
    const std::string file = dir.File("shot.png");
    testing_support::ScopedEnv shot("VELKARO_SCREENSHOT", file);
    // No display, whatever the machine has.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display != nullptr ? display : "";
    unsetenv("DISPLAY");

    CPaintManagerUI::SetResourcePath(L"skin");
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    {
        DuiLib::CSdlRenderSession session;
        EXPECT_FALSE(session.HasDisplay());
        MainLayoutWindow window;
        ASSERT_NE(window.Create(nullptr, L"Velkaro", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572),
                  nullptr);
        window.ShowWindow(true, false);  // a hidden window is never drawn
        render_test::PumpUntilIdle();
    }
    if (!savedDisplay.empty()) {
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    }

    IMG_Init(IMG_INIT_PNG);
    DuiLib::sdl::SurfacePtr written{IMG_Load(file.c_str())};
    ASSERT_NE(written, nullptr) << "no screenshot at " << file;
    EXPECT_EQ(written->w, 800);
    EXPECT_EQ(written->h, 572);
    IMG_Quit();
}

}  // namespace
