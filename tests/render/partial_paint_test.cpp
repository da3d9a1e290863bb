// A window drawn in parts, as invalidations ask, shows exactly what the same window drawn
// whole shows; and a window that cannot be seen is not drawn at all.

#include <gtest/gtest.h>

#include <string>

#include "duilib/render/control_draw_data.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_button.h"
#include "duilib/ui_container.h"
#include "duilib/window_impl_base.h"
#include "platform/window_handles.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

constexpr const char* kPanel = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="360,200">
  <VerticalLayout name="root" bkimage="common/background.png" inset="8,8,8,8" childpadding="6">
    <Label name="title" text="Lighting" height="24" font="2" textcolor="0xFFE0E6F0" />
    <HorizontalLayout name="keys" height="60" childpadding="4" bkcolor="0x40101822" />
    <Button name="apply" text="Apply" width="90" height="26" textcolor="0xFFE0E6F0" normalimage="file='common/btn_normal.png' corner='4,4,4,4'" />
  </VerticalLayout>
</Window>
)";

// A key of a device picture: its image tinted with an LED colour.
class TintedKey : public DuiLib::CButtonUI, public DuiLib::IControlDrawDataUI {
  public:
    LPVOID GetInterface(LPCTSTR name) override {
        if (DuiLib::CDuiString(name ? name : L"") == DuiLib::kControlDrawDataInterface) {
            return static_cast<DuiLib::IControlDrawDataUI*>(this);
        }
        return CButtonUI::GetInterface(name);
    }
    DuiLib::TControlDrawData GetDrawData() const override {
        DuiLib::TControlDrawData data;
        data.dwOverlayColor = tint;
        return data;
    }
    DWORD tint = 0;
};

class PanelWindow : public DuiLib::WindowImplBase {
  public:
    explicit PanelWindow(std::wstring file) : file_(std::move(file)) {}

  protected:
    DuiLib::CDuiString GetSkinFile() override { return file_.c_str(); }
    LPCTSTR GetWindowClassName() const override { return L"RenderPanelWnd"; }

  private:
    std::wstring file_;
};

class PartialPaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testing_support::WriteTextFile(dir_.File("panel.xml"), kPanel));
        CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        const std::string file = dir_.File("panel.xml");
        window_ = std::make_unique<PanelWindow>(std::wstring(file.begin(), file.end()));
        ASSERT_NE(window_->Create(nullptr, L"panel", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 360, 200),
                  nullptr);
        manager_ = window_->GetPaintManager();
        auto* keys = static_cast<DuiLib::CContainerUI*>(manager_->FindControl(L"keys"));
        for (int i = 0; i < 4; ++i) {
            auto* key = new TintedKey();
            key->ApplyAttributeList(
                L"width=\"50\" text=\"K\" textcolor=\"0xFFE0E6F0\" "
                L"normalimage=\"file='common/btn_normal.png' corner='4,4,4,4'\"");
            keys->Add(key);
            keys_[i] = key;
        }
    }

    void TearDown() override { window_.reset(); }

    // Paints the window whole and keeps a copy of its pixels.
    DuiLib::sdl::SurfacePtr WholePaint() {
        manager_->Invalidate();
        render_test::PumpUntilIdle();
        EXPECT_EQ(backend_.LastPaintedRects(*manager_).size(), 1u);
        SDL_Surface* pixels = backend_.PixelsOf(*manager_);
        return DuiLib::sdl::SurfacePtr{pixels != nullptr ? SDL_DuplicateSurface(pixels) : nullptr};
    }

    testing_support::TempDir dir_;
    render_test::SdlLibraries libraries_;
    DuiLib::sdl::SdlRenderBackend backend_{false};
    render_test::ScopedBackend installed_{&backend_};
    std::unique_ptr<PanelWindow> window_;
    CPaintManagerUI* manager_ = nullptr;
    TintedKey* keys_[4] = {};
};

TEST_F(PartialPaintTest, PartsDrawnAfterChangesEqualTheWindowDrawnWhole) {
    window_->ShowWindow(true, false);
    render_test::PumpUntilIdle();
    ASSERT_NE(backend_.PixelsOf(*manager_), nullptr);

    // LED frames: two keys change colour, then one of them again, then the title.
    keys_[1]->tint = 0xC0FF2010;
    keys_[1]->Invalidate();
    keys_[3]->tint = 0x8010FF40;
    keys_[3]->Invalidate();
    render_test::PumpUntilIdle();
    const std::vector<RECT> parts = backend_.LastPaintedRects(*manager_);
    ASSERT_EQ(parts.size(), 2u) << "the keys apart are drawn apart";
    EXPECT_EQ(parts[0], keys_[1]->GetPos());
    keys_[3]->tint = 0xFF2040FF;
    keys_[3]->Invalidate();
    manager_->FindControl(L"title")->SetText(L"Lighting: wave");
    render_test::PumpUntilIdle();
    DuiLib::sdl::SurfacePtr partial{SDL_DuplicateSurface(backend_.PixelsOf(*manager_))};

    DuiLib::sdl::SurfacePtr whole = WholePaint();
    ASSERT_NE(whole, nullptr);
    const render_test::ImageDifference difference =
        render_test::Compare(partial.get(), whole.get(), 0);
    EXPECT_TRUE(difference.sameSize);
    EXPECT_EQ(difference.differingShare, 0.0);
}

TEST_F(PartialPaintTest, APartOnAnOpaquePanelIsDrawnFromThePanelAndEqualsTheWhole) {
    // The keys' panel hides the window's background: a key's part starts from the panel.
    manager_->FindControl(L"keys")->SetBkColor(0xFF101822);
    window_->ShowWindow(true, false);
    render_test::PumpUntilIdle();
    for (DWORD tint : {0xFFFF2010u, 0x6010FF40u, 0u}) {
        keys_[2]->tint = tint;
        keys_[2]->Invalidate();
        render_test::PumpUntilIdle();
        ASSERT_EQ(backend_.LastPaintedRects(*manager_), (std::vector<RECT>{keys_[2]->GetPos()}));
        DuiLib::sdl::SurfacePtr partial{SDL_DuplicateSurface(backend_.PixelsOf(*manager_))};
        DuiLib::sdl::SurfacePtr whole = WholePaint();
        ASSERT_NE(whole, nullptr);
        EXPECT_EQ(render_test::Compare(partial.get(), whole.get(), 0).differingShare, 0.0)
            << std::hex << tint;
    }
}

TEST_F(PartialPaintTest, AWindowThatCannotBeSeenIsDrawnWholeWhenShownAgain) {
    window_->ShowWindow(true, false);
    render_test::PumpUntilIdle();
    const DuiLib::sdl::SurfacePtr before{SDL_DuplicateSurface(backend_.PixelsOf(*manager_))};

    window_->ShowWindow(false);
    keys_[0]->tint = 0xFFFF0000;
    keys_[0]->Invalidate();
    manager_->FindControl(L"title")->SetText(L"Hidden");
    manager_->NeedUpdate();
    render_test::PumpUntilIdle();
    EXPECT_EQ(render_test::Compare(backend_.PixelsOf(*manager_), before.get(), 0).differingShare,
              0.0)
        << "nothing is drawn while hidden";

    platform::ShowWindow(window_->GetHWND(), SW_SHOWMINIMIZED);
    keys_[0]->tint = 0xFF00FF00;
    keys_[0]->Invalidate();
    render_test::PumpUntilIdle();
    EXPECT_EQ(render_test::Compare(backend_.PixelsOf(*manager_), before.get(), 0).differingShare,
              0.0)
        << "nor while minimised";

    platform::ShowWindow(window_->GetHWND(), SW_RESTORE);
    manager_->ResumePaint();  // what the renderer does when the desktop restores a window
    render_test::PumpUntilIdle();
    EXPECT_EQ(backend_.LastPaintedRects(*manager_),
              (std::vector<RECT>{
                  RECT{0, 0, manager_->GetClientSize().cx, manager_->GetClientSize().cy}}));
    DuiLib::sdl::SurfacePtr shown{SDL_DuplicateSurface(backend_.PixelsOf(*manager_))};
    DuiLib::sdl::SurfacePtr whole = WholePaint();
    EXPECT_EQ(render_test::Compare(shown.get(), whole.get(), 0).differingShare, 0.0);
}

}  // namespace
