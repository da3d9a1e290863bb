// The main window's layout drawn by the SDL backend off-screen at 96 and 144 DPI and
// compared with the committed reference images. VELKARO_UPDATE_REFERENCE=1 rewrites them
// (look at the new images before committing them).

#include <gtest/gtest.h>

#include <string>

#include "duilib/resource_manager.h"
#include "duilib/window_impl_base.h"
#include "render_test_support.h"

namespace {

using DuiLib::CPaintManagerUI;

class MainLayoutWindow : public DuiLib::WindowImplBase {
  protected:
    DuiLib::CDuiString GetSkinFile() override { return L"XML_MAIN"; }
    LPCTSTR GetWindowClassName() const override { return L"RenderTestMainWnd"; }
};

std::string ReferenceFile(int dpi) {
    return std::string(VELKARO_RENDER_REFERENCE_DIR) + "/main_window_" + std::to_string(dpi) +
           ".png";
}

class MainWindowRenderTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml");
    }

    render_test::SdlLibraries libraries_;
    DuiLib::sdl::SdlRenderBackend backend_{false};
    render_test::ScopedBackend installed_{&backend_};
};

TEST_P(MainWindowRenderTest, MatchesTheReferenceImage) {
    const int dpi = GetParam();
    MainLayoutWindow window;
    ASSERT_NE(window.Create(nullptr, L"Velkaro", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572),
              nullptr)
        << window.GetLastBuildError().str().size();
    CPaintManagerUI* manager = window.GetPaintManager();
    manager->SetDPI(dpi);
    window.ResizeClient(manager->Scale(800), manager->Scale(572));
    render_test::PumpUntilIdle();
    window.SendMessage(WM_PAINT);

    SDL_Surface* pixels = backend_.PixelsOf(*manager);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->w, manager->Scale(800));
    EXPECT_EQ(pixels->h, manager->Scale(572));

    render_test::ExpectMatchesReference(backend_, *manager, ReferenceFile(dpi));
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainWindowRenderTest, ::testing::Values(96, 144));

}  // namespace
