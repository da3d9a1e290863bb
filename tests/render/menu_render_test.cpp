// The program's macro action menu drawn by the SDL backend off-screen with the submenu of
// its mouse element open, compared with committed reference images (one per window).
// VELKARO_UPDATE_REFERENCE=1 rewrites them.

#include <gtest/gtest.h>

#include <string>

#include "duilib/menu_wnd.h"
#include "duilib/resource_manager.h"
#include "render_test_support.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CMenuWnd;
using DuiLib::CPaintManagerUI;

class OwnerWindow : public DuiLib::WindowImplBase {
  public:
    explicit OwnerWindow(std::wstring file) : file_(std::move(file)) {}

  protected:
    DuiLib::CDuiString GetSkinFile() override { return file_.c_str(); }
    LPCTSTR GetWindowClassName() const override { return L"MenuRenderOwnerWnd"; }

  private:
    std::wstring file_;
};

std::string Reference(const std::string& name) {
    return std::string(VELKARO_RENDER_REFERENCE_DIR) + "/" + name;
}

TEST(MenuRender, MacroActionMenuWithItsMouseSubmenuOpen) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(
        dir.File("owner.xml"), R"(<Window size="300,200"><VerticalLayout /></Window>)"));
    CPaintManagerUI::SetResourcePath(L"skin");
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml");
    render_test::SdlLibraries libraries;
    DuiLib::sdl::SdlRenderBackend backend(false);
    render_test::ScopedBackend installed(&backend);

    const std::string file = dir.File("owner.xml");
    OwnerWindow owner(std::wstring(file.begin(), file.end()));
    ASSERT_NE(owner.Create(nullptr, L"owner", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 300, 200),
              nullptr);
    CMenuWnd menu;
    ASSERT_TRUE(menu.Init(nullptr, L"XML\\Menus\\macro_action_menu.xml", POINT{40, 40},
                          owner.GetPaintManager()));
    auto* mouse = static_cast<DuiLib::CMenuElementUI*>(
        menu.GetPaintManager()->FindControl(L"mouse_insert_menu"));
    ASSERT_NE(mouse, nullptr);
    ASSERT_TRUE(mouse->Activate());
    CMenuWnd* sub = menu.GetSubMenu();
    ASSERT_NE(sub, nullptr);
    // The keys choose the submenu's second element.
    menu.SendMessage(WM_KEYDOWN, DuiLib::VK_DOWN);
    menu.SendMessage(WM_KEYDOWN, DuiLib::VK_DOWN);
    render_test::PumpUntilIdle();

    // Four elements in the menu, five beside it level with the mouse element.
    RECT menuRect{};
    RECT subRect{};
    platform::GetWindowRect(menu.GetHWND(), &menuRect);
    platform::GetWindowRect(sub->GetHWND(), &subRect);
    EXPECT_EQ(menuRect, (RECT{40, 40, 222, 146}));
    EXPECT_EQ(subRect, (RECT{222, 92, 404, 224}));

    menu.SendMessage(WM_PAINT);
    sub->SendMessage(WM_PAINT);
    render_test::ExpectMatchesReference(backend, *menu.GetPaintManager(),
                                        Reference("macro_action_menu_96.png"));
    render_test::ExpectMatchesReference(backend, *sub->GetPaintManager(),
                                        Reference("macro_action_submenu_96.png"));
    CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
