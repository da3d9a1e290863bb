// Desktop input through the SDL backend (SDL's off-screen video driver, no display): the
// events become the window messages and toolkit notifications a user's actions give.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "duilib/render/desktop_tray.h"
#include "duilib/render/sdl/sdl_input_router.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"
#include "duilib/ui_scrollbar.h"
#include "duilib/window_impl_base.h"
#include "platform/desktop.h"
#include "render_test_support.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

constexpr const char* kLayout = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <Button name="btn" height="40" text="Press" />
    <Edit name="edit" height="30" />
    <Slider name="slider" height="20" min="0" max="100" value="0" thumbsize="10,10" />
    <Combo name="combo" height="26">
      <ListLabelElement text="one" />
      <ListLabelElement text="two" />
    </Combo>
    <Combo name="long" height="26">
      <ListLabelElement text="1" /><ListLabelElement text="2" /><ListLabelElement text="3" />
      <ListLabelElement text="4" /><ListLabelElement text="5" /><ListLabelElement text="6" />
      <ListLabelElement text="7" /><ListLabelElement text="8" />
    </Combo>
    <Combo name="functions" height="26" dropboxsize="0,200">ROWS</Combo>
    <Control />
  </VerticalLayout>
</Window>
)";

constexpr int kFunctionRows = 141;

class RecordingWindow : public DuiLib::WindowImplBase {
  public:
    std::vector<std::wstring> notes;

    void Notify(DuiLib::TNotifyUI& msg) override {
        notes.push_back(msg.sType.str() + L":" +
                        (msg.pSender != nullptr ? msg.pSender->GetName().str() : L""));
        WindowImplBase::Notify(msg);
    }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override {
        if (uMsg == WM_DISPLAYCHANGE) {
            ++displayChanges;
        }
        if (uMsg == DuiLib::UIMSG_TRAYICON) {
            trayMouse.push_back(static_cast<UINT>(lParam));
            bHandled = TRUE;
            return 0;
        }
        return WindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    }
    std::vector<UINT> trayMouse;
    int displayChanges = 0;

    bool Saw(const std::wstring& note) const {
        return std::find(notes.begin(), notes.end(), note) != notes.end();
    }

  protected:
    DuiLib::CDuiString GetSkinFile() override { return L"input_test.xml"; }
    LPCTSTR GetWindowClassName() const override { return L"RenderInputTestWnd"; }
};

class InputRoutingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!libraries_.HasVideo()) {
            GTEST_SKIP() << "SDL's off-screen video driver is not available";
        }
        // As many functions as the key-function list offers.
        std::string rows;
        for (int i = 0; i < kFunctionRows; ++i) {
            rows += "<ListLabelElement text=\"f" + std::to_string(i) + "\" />";
        }
        std::string layout = kLayout;
        layout.replace(layout.find("ROWS"), 4, rows);
        ASSERT_TRUE(testing_support::WriteTextFile(dir_.File("input_test.xml"), layout));
        const std::wstring folder(dir_.path().begin(), dir_.path().end());
        CPaintManagerUI::SetResourcePath(folder.c_str());
        ASSERT_NE(window_.Create(nullptr, L"input", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 300, 200),
                  nullptr);
        window_.ShowWindow(true);
        render_test::PumpUntilIdle();
        SDL_Window* desktop = backend_.AnyDesktopWindow();
        ASSERT_NE(desktop, nullptr);
        windowId_ = SDL_GetWindowID(desktop);
    }
    void TearDown() override {
        // A list left open goes with its window (the object deletes itself).
        while (HWND drop = platform::FindWindow(L"ComboDropWnd", nullptr)) {
            platform::DestroyWindow(drop);
        }
        CPaintManagerUI::SetResourcePath(L"");
    }

    DuiLib::CControlUI* Find(const wchar_t* name) {
        return window_.GetPaintManager()->FindControl(name);
    }
    static POINT CentreOf(DuiLib::CControlUI* control) {
        const RECT rc = control->GetPos();
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void Mouse(Uint32 type, POINT pt, Uint8 clicks = 1) { MouseIn(windowId_, type, pt, clicks); }
    void MouseIn(Uint32 windowId, Uint32 type, POINT pt, Uint8 clicks = 1) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.windowID = windowId;
            event.motion.x = pt.x;
            event.motion.y = pt.y;
        } else {
            event.button.windowID = windowId;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.clicks = clicks;
            event.button.x = pt.x;
            event.button.y = pt.y;
        }
        router_.Route(event);
    }
    void Click(POINT pt, Uint8 clicks = 1) {
        Mouse(SDL_MOUSEMOTION, pt);
        Mouse(SDL_MOUSEBUTTONDOWN, pt, clicks);
        Mouse(SDL_MOUSEBUTTONUP, pt, clicks);
    }
    // Opens the combo's list and returns its desktop window's id (0 when none opened).
    Uint32 OpenDropDown(const wchar_t* name = L"combo") {
        Click(CentreOf(Find(name)));
        render_test::PumpUntilIdle();
        const HWND drop = platform::FindWindow(L"ComboDropWnd", nullptr);
        SDL_Window* desktop = drop != nullptr ? backend_.DesktopWindowOf(drop) : nullptr;
        return desktop != nullptr ? SDL_GetWindowID(desktop) : 0;
    }
    // The paint manager of the open drop-down list.
    CPaintManagerUI* DropManager() {
        const HWND drop = platform::FindWindow(L"ComboDropWnd", nullptr);
        for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
            if (drop != nullptr && manager->GetPaintWindow() == drop) {
                return manager;
            }
        }
        return nullptr;
    }
    void Type(const char* utf8) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = windowId_;
        SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
        router_.Route(event);
    }
    void Key(SDL_Keycode key) { KeyIn(windowId_, key); }
    void KeyIn(Uint32 windowId, SDL_Keycode key) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = windowId;
        event.key.keysym.sym = key;
        router_.Route(event);
    }

    testing_support::TempDir dir_;
    render_test::SdlLibraries libraries_{true};
    DuiLib::sdl::SdlRenderBackend backend_{true};
    render_test::ScopedBackend installed_{&backend_};
    DuiLib::sdl::InputRouter router_{backend_};
    RecordingWindow window_;
    Uint32 windowId_ = 0;
};

TEST_F(InputRoutingTest, PressAndReleaseOnAButtonClicksIt) {
    Click(CentreOf(Find(L"btn")));
    EXPECT_TRUE(window_.Saw(L"click:btn"));
}

TEST_F(InputRoutingTest, ReleaseOutsideThePressedButtonIsNoClick) {
    const POINT inside = CentreOf(Find(L"btn"));
    Mouse(SDL_MOUSEBUTTONDOWN, inside);
    Mouse(SDL_MOUSEMOTION, POINT{inside.x, 190});
    Mouse(SDL_MOUSEBUTTONUP, POINT{inside.x, 190});
    EXPECT_FALSE(window_.Saw(L"click:btn"));
}

TEST_F(InputRoutingTest, TypedTextAndBackspaceEditTheFocusedField) {
    auto* edit = static_cast<DuiLib::CEditUI*>(Find(L"edit"));
    Click(CentreOf(edit));
    EXPECT_TRUE(window_.Saw(L"setfocus:edit"));
    Type("ab");
    Type("\xC3\xA9");  // one character of two UTF-8 bytes
    EXPECT_EQ(edit->GetText().str(), L"ab\u00e9");
    Key(SDLK_BACKSPACE);
    EXPECT_EQ(edit->GetText().str(), L"ab");
    EXPECT_TRUE(window_.Saw(L"textchanged:edit"));
}

TEST_F(InputRoutingTest, DraggingTheSliderSetsItsValue) {
    auto* slider = static_cast<DuiLib::CSliderUI*>(Find(L"slider"));
    const RECT rc = slider->GetPos();
    const POINT start{rc.left + 2, (rc.top + rc.bottom) / 2};
    Mouse(SDL_MOUSEMOTION, start);
    Mouse(SDL_MOUSEBUTTONDOWN, start);
    Mouse(SDL_MOUSEMOTION, POINT{(rc.left + rc.right) / 2, start.y});
    Mouse(SDL_MOUSEBUTTONUP, POINT{(rc.left + rc.right) / 2, start.y});
    EXPECT_NEAR(slider->GetValue(), 50, 5);
    EXPECT_TRUE(window_.Saw(L"valuechanged:slider"));
}

TEST_F(InputRoutingTest, AComboDropsItsListAndARowClickSelects) {
    const Uint32 drop = OpenDropDown();
    ASSERT_NE(drop, 0u);
    const POINT secondRow{20, 1 + 24 + 12};
    MouseIn(drop, SDL_MOUSEMOTION, secondRow);
    render_test::PumpUntilIdle();
    // The row under the mouse is highlighted, the other is not.
    SDL_Surface* list = nullptr;
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (manager->GetPaintWindow() == platform::FindWindow(L"ComboDropWnd", nullptr)) {
            list = backend_.PixelsOf(*manager);
        }
    }
    ASSERT_NE(list, nullptr);
    EXPECT_NE(render_test::PixelAt(list, 3, secondRow.y), render_test::PixelAt(list, 3, 1 + 12));
    MouseIn(drop, SDL_MOUSEBUTTONDOWN, secondRow);
    MouseIn(drop, SDL_MOUSEBUTTONUP, secondRow);
    render_test::PumpUntilIdle();
    auto* combo = static_cast<DuiLib::CComboUI*>(Find(L"combo"));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_TRUE(window_.Saw(L"itemselect:combo"));
    EXPECT_EQ(platform::FindWindow(L"ComboDropWnd", nullptr), nullptr);
}

TEST_F(InputRoutingTest, APressElsewhereClosesTheListWithoutAChoice) {
    ASSERT_NE(OpenDropDown(), 0u);
    Click(CentreOf(Find(L"btn")));
    render_test::PumpUntilIdle();
    EXPECT_EQ(platform::FindWindow(L"ComboDropWnd", nullptr), nullptr);
    EXPECT_FALSE(window_.Saw(L"itemselect:combo"));
}

TEST_F(InputRoutingTest, ClickingTheComboAgainClosesItsList) {
    ASSERT_NE(OpenDropDown(), 0u);
    Click(CentreOf(Find(L"combo")));
    render_test::PumpUntilIdle();
    EXPECT_EQ(platform::FindWindow(L"ComboDropWnd", nullptr), nullptr);
    // The next click opens it again.
    EXPECT_NE(OpenDropDown(), 0u);
}

TEST_F(InputRoutingTest, TheWheelScrollsRowsThatDoNotFit) {
    const Uint32 drop = OpenDropDown(L"long");
    ASSERT_NE(drop, 0u);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = drop;
    wheel.wheel.y = -1;  // towards the user: later rows
    MouseIn(drop, SDL_MOUSEMOTION, POINT{20, 13});
    router_.Route(wheel);
    router_.Route(wheel);
    router_.Route(wheel);  // one more than there is to scroll
    render_test::PumpUntilIdle();
    // Six rows fit: after scrolling, the last row is the bottom one and selectable.
    const POINT lastRow{20, 1 + 24 * 5 + 12};
    MouseIn(drop, SDL_MOUSEBUTTONDOWN, lastRow);
    MouseIn(drop, SDL_MOUSEBUTTONUP, lastRow);
    render_test::PumpUntilIdle();
    EXPECT_EQ(static_cast<DuiLib::CComboUI*>(Find(L"long"))->GetCurSel(), 7);
}

TEST_F(InputRoutingTest, TheScrollBarReachesTheLastOfManyRows) {
    const Uint32 drop = OpenDropDown(L"functions");
    ASSERT_NE(drop, 0u);
    CPaintManagerUI* dropManager = DropManager();
    auto* list =
        static_cast<DuiLib::CListUI*>(dropManager != nullptr ? dropManager->GetRoot() : nullptr);
    ASSERT_NE(list, nullptr);
    DuiLib::CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_TRUE(bar != nullptr && bar->IsVisible());
    const RECT thumb = bar->GetThumbRect();
    const POINT grip{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    MouseIn(drop, SDL_MOUSEMOTION, grip);
    MouseIn(drop, SDL_MOUSEBUTTONDOWN, grip);
    MouseIn(drop, SDL_MOUSEMOTION, POINT{grip.x, 400});
    MouseIn(drop, SDL_MOUSEBUTTONUP, POINT{grip.x, 400});
    render_test::PumpUntilIdle();
    const RECT view = list->GetViewRect();
    const POINT lastRow{20, view.bottom - 12};
    MouseIn(drop, SDL_MOUSEMOTION, lastRow);
    MouseIn(drop, SDL_MOUSEBUTTONDOWN, lastRow);
    MouseIn(drop, SDL_MOUSEBUTTONUP, lastRow);
    render_test::PumpUntilIdle();
    auto* combo = static_cast<DuiLib::CComboUI*>(Find(L"functions"));
    EXPECT_EQ(combo->GetCurSel(), kFunctionRows - 1);
    EXPECT_EQ(combo->GetText().str(), L"f140");
}

TEST_F(InputRoutingTest, KeysWalkADroppedListAndEnterChooses) {
    auto* combo = static_cast<DuiLib::CComboUI*>(Find(L"functions"));
    combo->SelectItem(3, false, false);
    Uint32 drop = OpenDropDown(L"functions");
    ASSERT_NE(drop, 0u);
    KeyIn(drop, SDLK_END);
    KeyIn(drop, SDLK_UP);
    render_test::PumpUntilIdle();
    // Moving through the list chooses nothing yet.
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_FALSE(window_.Saw(L"itemselect:functions"));
    KeyIn(drop, SDLK_RETURN);
    render_test::PumpUntilIdle();
    EXPECT_EQ(combo->GetCurSel(), kFunctionRows - 2);
    EXPECT_TRUE(window_.Saw(L"itemselect:functions"));
    EXPECT_EQ(platform::FindWindow(L"ComboDropWnd", nullptr), nullptr);

    drop = OpenDropDown(L"functions");
    ASSERT_NE(drop, 0u);
    KeyIn(drop, SDLK_HOME);
    KeyIn(drop, SDLK_ESCAPE);
    render_test::PumpUntilIdle();
    EXPECT_EQ(combo->GetCurSel(), kFunctionRows - 2);
}

TEST_F(InputRoutingTest, WithoutASessionBusTheTrayStandInPassesClicksToTheIconsWindow) {
    testing_support::TempDir dir;
    testing_support::ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.File("bus"));
    DuiLib::CTrayIcon icon;
    icon.CreateTrayIcon(window_.GetHWND(), 107, L"Velkaro");
    DuiLib::CDesktopTray tray;
    // The stand-in appears once the bus is known to be missing.
    HWND standIn = nullptr;
    for (int i = 0; i < 2000 && standIn == nullptr; ++i) {
        tray.Sync();
        render_test::PumpUntilIdle();
        standIn = platform::FindWindow(DuiLib::kTrayStandInClass, L"Velkaro");
        if (standIn == nullptr) {
            SDL_Delay(5);
        }
    }
    ASSERT_NE(standIn, nullptr);
    SDL_Window* desktop = backend_.DesktopWindowOf(standIn);
    ASSERT_NE(desktop, nullptr);
    const Uint32 id = SDL_GetWindowID(desktop);
    MouseIn(id, SDL_MOUSEBUTTONDOWN, POINT{5, 5});
    MouseIn(id, SDL_MOUSEBUTTONUP, POINT{5, 5});
    render_test::PumpUntilIdle();
    EXPECT_EQ(window_.trayMouse, (std::vector<UINT>{WM_LBUTTONUP}));

    icon.SetHideIcon();  // hiding the icon takes its stand-in away
    tray.Sync();
    EXPECT_EQ(platform::FindWindow(DuiLib::kTrayStandInClass, nullptr), nullptr);
}

TEST_F(InputRoutingTest, DisplayChangesReachTheWindowsAsDisplayChange) {
    SDL_Event event{};
    event.type = SDL_DISPLAYEVENT;
    event.display.event = SDL_DISPLAYEVENT_CONNECTED;
    router_.Route(event);
    render_test::PumpUntilIdle();
    EXPECT_EQ(window_.displayChanges, 1);
    // The monitors are SDL's: the off-screen driver's one display.
    SDL_Rect bounds{};
    ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
    EXPECT_EQ(platform::GetScreenSize(), (SIZE{bounds.w, bounds.h}));

    // Moved to another display: that window hears of it.
    event = SDL_Event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_DISPLAY_CHANGED;
    event.window.windowID = windowId_;
    event.window.data1 = 1;
    router_.Route(event);
    render_test::PumpUntilIdle();
    EXPECT_EQ(window_.displayChanges, 2);
}

TEST_F(InputRoutingTest, ThePlainPartOfTheCaptionDragsTheWindow) {
    // The caption is the top 40 pixels; the button fills it, the edit lies below it.
    window_.GetPaintManager()->SetCaptionRect(RECT{0, 0, 0, 40});
    window_.GetPaintManager()->FindControl(L"btn")->SetFixedWidth(100);
    render_test::PumpUntilIdle();
    DuiLib::sdl::WindowHost* host = backend_.HostForDesktopWindow(windowId_);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->HitTestAt(POINT{50, 20}), SDL_HITTEST_NORMAL);      // the button
    EXPECT_EQ(host->HitTestAt(POINT{200, 20}), SDL_HITTEST_DRAGGABLE);  // beside it
    EXPECT_EQ(host->HitTestAt(POINT{200, 55}), SDL_HITTEST_NORMAL);     // below the caption
}

TEST_F(InputRoutingTest, ADisabledWindowTakesNoInput) {
    platform::EnableWindow(window_.GetHWND(), FALSE);
    Click(CentreOf(Find(L"btn")));
    EXPECT_FALSE(window_.Saw(L"click:btn"));
    platform::EnableWindow(window_.GetHWND(), TRUE);
    Click(CentreOf(Find(L"btn")));
    EXPECT_TRUE(window_.Saw(L"click:btn"));
}

}  // namespace
