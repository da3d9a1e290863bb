// Menus with submenus: elements inside elements open beside their menu when the pointer
// rests on them or they are clicked, close when it rests elsewhere, and answer the keys.

#include <gtest/gtest.h>

#include <memory>

#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;
using toolkit_test::PumpUntil;
using toolkit_test::SkinFolder;

constexpr const char* kMenu = R"(<Window><Menu>
  <MenuElement name="insert" text="Insert" height="26" width="180">
    <MenuElement name="before" text="Before" height="26" width="180" />
    <MenuElement name="mouse" text="Mouse" height="26" width="180">
      <MenuElement name="left_down" text="Left down" height="26" width="180" />
    </MenuElement>
    <MenuElement name="after" text="After" height="26" width="180" />
  </MenuElement>
  <MenuElement name="edit" text="Edit" height="26" width="180" />
</Menu></Window>)";

// Keeps the name of the element a menu reports.
struct ClickCatcher : IMessageFilterUI {
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) override {
        if (uMsg == WM_MENUCLICK) {
            auto* cmd = reinterpret_cast<MenuCmd*>(wParam);
            clicked = cmd->szName;
            CPaintManagerUI::DeletePtr(cmd);
            bHandled = true;
        }
        return 0;
    }
    std::wstring clicked;
};

class OwnerWindow : public WindowImplBase {
  public:
    // The window goes while the catcher it filters with is still there.
    ~OwnerWindow() override {
        if (GetHWND() != nullptr) {
            platform::DestroyWindow(GetHWND());
        }
    }
    ClickCatcher catcher;

  protected:
    CDuiString GetSkinFile() override { return L"owner.xml"; }
    LPCTSTR GetWindowClassName() const override { return L"MenuOwnerWnd"; }
    void InitWindow() override { m_pm.AddMessageFilter(&catcher); }
    void OnFinalMessage(HWND hWnd) override {
        m_pm.RemoveMessageFilter(&catcher);
        WindowImplBase::OnFinalMessage(hWnd);
    }
};

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        skin_.Write("owner.xml", R"(<Window size="300,200"><VerticalLayout /></Window>)");
        skin_.Write("menu.xml", kMenu);
        ASSERT_NE(owner_.Create(nullptr, L"owner", 0, 0), nullptr);
        owner_.ShowWindow(true, true);
        ASSERT_TRUE(menu_->Init(nullptr, L"menu.xml", POINT{100, 100}, owner_.GetPaintManager()));
    }
    void TearDown() override {
        menu_.reset();
        EXPECT_TRUE(CMenuWnd::GetOpenMenus().empty());
    }

    static CControlUI* Find(CMenuWnd* menu, const wchar_t* name) {
        return menu != nullptr ? menu->GetPaintManager()->FindControl(name) : nullptr;
    }
    static void PointAt(CMenuWnd* menu, const wchar_t* name, UINT message = WM_MOUSEMOVE) {
        const RECT rc = Find(menu, name)->GetPos();
        platform::SendMessage(menu->GetHWND(), message, 0,
                              MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    }
    static void Click(CMenuWnd* menu, const wchar_t* name) {
        PointAt(menu, name);
        PointAt(menu, name, WM_LBUTTONDOWN);
        PointAt(menu, name, WM_LBUTTONUP);
    }
    // The pointer leaves the window (for another one).
    static void Leave(CMenuWnd* menu) {
        platform::SendMessage(menu->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
    }
    void Key(WPARAM key) { platform::SendMessage(menu_->GetHWND(), WM_KEYDOWN, key, 0); }
    CControlUI* Hot(CMenuWnd* menu) { return menu->GetMenuUI()->GetHotItem(); }
    static RECT WindowRect(CMenuWnd* menu) {
        RECT rc{};
        platform::GetWindowRect(menu->GetHWND(), &rc);
        return rc;
    }

    SkinFolder skin_;
    OwnerWindow owner_;
    std::unique_ptr<CMenuWnd> menu_ = std::make_unique<CMenuWnd>();
};

TEST_F(MenuTest, ASubmenuOpensBesideItsElementWhenThePointerRestsThere) {
    // The menu shows its own two elements; the submenu's wait in their element.
    auto* insert = static_cast<CMenuElementUI*>(Find(menu_.get(), L"insert"));
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->GetPos(), (RECT{1, 1, 181, 27}));
    EXPECT_EQ(Find(menu_.get(), L"edit")->GetPos(), (RECT{1, 27, 181, 53}));
    EXPECT_EQ(Find(menu_.get(), L"before"), nullptr);
    EXPECT_EQ(insert->GetCount(), 0);
    EXPECT_EQ(WindowRect(menu_.get()), (RECT{100, 100, 282, 154}));

    PointAt(menu_.get(), L"insert");
    ASSERT_TRUE(PumpUntil([&] { return menu_->GetSubMenu() != nullptr; }));
    CMenuWnd* sub = menu_->GetSubMenu();
    EXPECT_EQ(WindowRect(sub), (RECT{282, 100, 464, 180}));
    EXPECT_EQ(Find(sub, L"before")->GetPos(), (RECT{1, 1, 181, 27}));
    EXPECT_EQ(Hot(menu_.get()), insert);
    EXPECT_EQ(CMenuWnd::GetOpenMenus().size(), 2u);

    // Passing over the other element on the way into the submenu keeps it open.
    PointAt(menu_.get(), L"edit");
    Leave(menu_.get());
    PointAt(sub, L"after");
    EXPECT_EQ(Hot(menu_.get()), insert);
    EXPECT_EQ(Hot(sub), Find(sub, L"after"));
    // Resting on the other element closes it and gives its elements back.
    Leave(sub);
    PointAt(menu_.get(), L"edit");
    ASSERT_TRUE(PumpUntil([&] { return menu_->GetSubMenu() == nullptr; }));
    for (CMenuElementUI* item : insert->GetSubMenuItems()) {
        EXPECT_EQ(item->GetParent(), nullptr);
    }
    ASSERT_TRUE(PumpUntil([] { return CMenuWnd::GetOpenMenus().size() == 1; }));
}

TEST_F(MenuTest, ClicksOpenSubmenusAtOnceAndAnElementInOneIsTheChoice) {
    Click(menu_.get(), L"insert");
    CMenuWnd* sub = menu_->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    Click(sub, L"mouse");
    CMenuWnd* inner = sub->GetSubMenu();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(WindowRect(inner).top, WindowRect(sub).top + 26);
    Click(inner, L"left_down");
    ASSERT_TRUE(PumpUntil([&] { return CMenuWnd::GetOpenMenus().empty(); }));
    ASSERT_TRUE(PumpUntil([&] { return !owner_.catcher.clicked.empty(); }));
    EXPECT_EQ(owner_.catcher.clicked, L"left_down");
    EXPECT_EQ(Find(menu_.get(), L"left_down"), nullptr);
}

TEST_F(MenuTest, KeysWalkIntoAndOutOfSubmenus) {
    Key(VK_DOWN);
    EXPECT_EQ(Hot(menu_.get()), Find(menu_.get(), L"insert"));
    Key(VK_RIGHT);
    CMenuWnd* sub = menu_->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Hot(sub), Find(sub, L"before"));
    Key(VK_DOWN);
    Key(VK_RIGHT);
    ASSERT_NE(sub->GetSubMenu(), nullptr);
    Key(VK_LEFT);
    EXPECT_EQ(sub->GetSubMenu(), nullptr);
    Key(VK_ESCAPE);
    EXPECT_EQ(menu_->GetSubMenu(), nullptr);
    EXPECT_EQ(Hot(menu_.get()), Find(menu_.get(), L"insert"));
    Key(VK_UP);
    Key(VK_UP);  // around the end
    EXPECT_EQ(Hot(menu_.get()), Find(menu_.get(), L"insert"));
    Key(VK_RETURN);
    ASSERT_NE(menu_->GetSubMenu(), nullptr);
    Key(VK_DOWN);
    Key(VK_RETURN);
    Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return owner_.catcher.clicked == L"left_down"; }));
    ASSERT_TRUE(PumpUntil([] { return CMenuWnd::GetOpenMenus().empty(); }));
}

TEST_F(MenuTest, ActivationLeavingTheMenusClosesThemAll) {
    Click(menu_.get(), L"insert");
    CMenuWnd* sub = menu_->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    // A press in the submenu makes it the active window: the menus stay.
    platform::SetActiveWindow(sub->GetHWND());
    toolkit_test::PumpPending();
    EXPECT_EQ(CMenuWnd::GetOpenMenus().size(), 2u);
    // The submenu goes and the first menu takes the keys again, also for a queued Escape.
    platform::PostMessage(sub->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    toolkit_test::PumpPending();
    EXPECT_EQ(menu_->GetSubMenu(), nullptr);
    EXPECT_EQ(platform::GetActiveWindow(), menu_->GetHWND());
    Click(menu_.get(), L"insert");
    platform::SetActiveWindow(owner_.GetHWND());
    ASSERT_TRUE(PumpUntil([] { return CMenuWnd::GetOpenMenus().empty(); }));
}

TEST_F(MenuTest, TheMenuObjectMayGoWhileASubmenuIsOpen) {
    Click(menu_.get(), L"insert");
    ASSERT_NE(menu_->GetSubMenu(), nullptr);
    Click(menu_->GetSubMenu(), L"mouse");
    menu_.reset();
    EXPECT_TRUE(CMenuWnd::GetOpenMenus().empty());
    toolkit_test::PumpPending();
}

}  // namespace
