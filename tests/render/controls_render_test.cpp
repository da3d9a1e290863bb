// The standard controls drawn by the SDL backend off-screen (selected option and check
// box, ellipsis, slider, progress, focused edit with its caret, combo, list) compared
// with a committed reference image. VELKARO_UPDATE_REFERENCE=1 rewrites it.

#include <gtest/gtest.h>

#include <string>

#include "duilib/resource_manager.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_list.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

constexpr const char* kGallery = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,270">
  <VerticalLayout bkcolor="#FF1E2834" inset="8,8,8,8" childpadding="6">
    <HorizontalLayout height="26" childpadding="6">
      <Option name="opt" text="Option" width="90" selected="true" textcolor="0xFFE0E6F0" normalimage="file='common/option_normal.png' corner='4,4,4,4'" selectedimage="file='common/option_selected.png' corner='4,4,4,4'" />
      <CheckBox name="chk" text="Check" width="90" align="left" textpadding="20,0,0,0" textcolor="0xFFE0E6F0" normalimage="file='common/check_normal.png' dest='0,5,16,21'" selectedimage="file='common/check_selected.png' dest='0,5,16,21'" selected="true" />
    </HorizontalLayout>
    <Label text="A label whose text is far too long to fit in its place" height="20" endellipsis="true" textcolor="0xFFE0E6F0" />
    <Slider height="20" min="0" max="100" value="60" bkimage="file='Control/SliderBar_BK1.png' corner='4,0,4,0'" foreimage="file='Control/SliderBar_BK3.png' corner='4,0,4,0'" thumbimage="file='Control/SliderBar1_Thumb.png'" thumbsize="14,14" />
    <Progress height="12" value="30" bkcolor="0xFF303A48" foreimage="common/progress_fore.png" />
    <Edit name="edit" height="24" text="12" textcolor="0xFF202830" bkcolor="0xFFF0F4F8" bordersize="1" bordercolor="0xFF5A6A80" textpadding="4,0,4,0" />
    <Combo name="combo" height="26" textcolor="0xFFE0E6F0" textpadding="6,0,24,0" normalimage="file='common/combo_normal.png' corner='4,4,24,4'">
      <ListLabelElement text="First" />
      <ListLabelElement text="Second" />
    </Combo>
    <List name="list" height="50">
      <ListLabelElement text="Row one" height="24" textcolor="0xFFE0E6F0" />
      <ListLabelElement text="Row two" height="24" textcolor="0xFFE0E6F0" />
    </List>
  </VerticalLayout>
</Window>
)";

TEST(ControlsRender, MatchesTheReferenceImage) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File("gallery.xml"), kGallery));
    CPaintManagerUI::SetResourcePath(L"skin");
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    render_test::SdlLibraries libraries;
    DuiLib::sdl::SdlRenderBackend backend(false);
    render_test::ScopedBackend installed(&backend);

    const std::string file = dir.File("gallery.xml");
    render_test::LayoutFileWindow window(std::wstring(file.begin(), file.end()));
    ASSERT_NE(window.Create(nullptr, L"gallery", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 320, 270),
              nullptr);
    CPaintManagerUI* manager = window.GetPaintManager();
    render_test::PumpUntilIdle();
    manager->FindControl(L"edit")->SetFocus();
    static_cast<DuiLib::CComboUI*>(manager->FindControl(L"combo"))->SelectItem(1, false, false);
    static_cast<DuiLib::CListUI*>(manager->FindControl(L"list"))->SelectItem(0, false, false);
    render_test::PumpUntilIdle();
    window.SendMessage(WM_PAINT);

    render_test::ExpectMatchesReference(
        backend, *manager, std::string(VELKARO_RENDER_REFERENCE_DIR) + "/controls_96.png");
}

}  // namespace
