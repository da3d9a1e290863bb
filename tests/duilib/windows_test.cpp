#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;
using toolkit_test::NotifyRecorder;
using toolkit_test::PumpUntil;
using toolkit_test::SkinFolder;

constexpr const char* kDialog = R"(<Window size="300,200">
  <VerticalLayout name="root">
    <Label name="message_text" text="message_text_5" resourcetext="true" height="30"/>
    <Button name="confirm_btn" height="30"/>
    <Button name="cancel_btn" height="30"/>
    <HorizontalLayout virtualwnd="mainpage" height="30"><Button name="page_btn"/></HorizontalLayout>
  </VerticalLayout>
</Window>)";

class CPagePump : public CNotifyPump {
    DUI_DECLARE_MESSAGE_MAP()
  public:
    void OnPageClick(TNotifyUI& msg) { clicked = msg.pSender->GetName().str(); }
    std::wstring clicked;
};

DUI_BEGIN_MESSAGE_MAP(CPagePump, CNotifyPump)
DUI_ON_MSGTYPE(DUI_MSGTYPE_CLICK, OnPageClick)
DUI_END_MESSAGE_MAP()

class CTestDialog : public WindowImplBase {
    DUI_DECLARE_MESSAGE_MAP()
  public:
    explicit CTestDialog(const char* skin = "dialog.xml") : skin_(skin) {
        AddVirtualWnd(L"mainpage", &page);
    }
    ~CTestDialog() override { RemoveVirtualWnd(L"mainpage"); }
    void InitWindow() override { initialised = true; }
    void Notify(TNotifyUI& msg) override {
        recorder.Notify(msg);
        WindowImplBase::Notify(msg);
    }
    void OnConfirm(TNotifyUI&) { Close(1); }
    void OnCancel(TNotifyUI&) { Close(0); }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) override {
        if (uMsg == WM_USER + 50) {
            customThread = std::this_thread::get_id();
            bHandled = TRUE;
            return static_cast<LRESULT>(wParam * 2);
        }
        bHandled = FALSE;
        return 0;
    }
    void OnFinalMessage(HWND hWnd) override {
        WindowImplBase::OnFinalMessage(hWnd);
        if (deleteOnFinal) {
            *deleted = true;
            delete this;
        }
    }
    CControlUI* Find(const wchar_t* name) { return m_pm.FindControl(name); }

    bool initialised = false;
    bool deleteOnFinal = false;
    bool* deleted = nullptr;
    NotifyRecorder recorder;
    CPagePump page;
    std::thread::id customThread;

  protected:
    CDuiString GetSkinFile() override { return CDuiString::FromUtf8(skin_); }
    LPCTSTR GetWindowClassName() const override { return L"TestDialog"; }

  private:
    std::string skin_;
};

DUI_BEGIN_MESSAGE_MAP(CTestDialog, WindowImplBase)
DUI_ON_CLICK_CTRNAME(L"confirm_btn", OnConfirm)
DUI_ON_CLICK_CTRNAME(L"Cancel_Btn", OnCancel)
DUI_END_MESSAGE_MAP()

class WindowsTest : public ::testing::Test {
  protected:
    void SetUp() override { skin_.Write("dialog.xml", kDialog); }
    SkinFolder skin_;
};

TEST_F(WindowsTest, ShowModalReturnsTheCloseCodeAfterWindowInit) {
    for (const wchar_t* button : {L"confirm_btn", L"cancel_btn"}) {
        bool deleted = false;
        auto* dialog = new CTestDialog();
        dialog->deleteOnFinal = true;
        dialog->deleted = &deleted;
        ASSERT_NE(nullptr, dialog->Create(nullptr, L"msgwnd", 0, 0));
        EXPECT_TRUE(dialog->initialised);
        dialog->CenterWindow();
        CControlUI* target = dialog->Find(button);
        ASSERT_NE(nullptr, target);
        // The click arrives once the modal loop runs, as a user's would.
        HWND hwnd = dialog->GetHWND();
        std::thread user([hwnd] { PostMessageW(hwnd, WM_USER + 51, 0, 0); });
        user.join();
        platform::SetTimer(hwnd, 1, 1);
        static_cast<CButtonUI*>(target)->Activate();
        const UINT code = dialog->ShowModal();
        EXPECT_EQ(std::wstring(button) == L"confirm_btn" ? 1u : 0u, code);
        EXPECT_TRUE(deleted);
    }
}

TEST_F(WindowsTest, ShowModalGivesTheCloseCodeWhenAnotherLoopDeliversTheClose) {
    auto* dialog = new CTestDialog();
    bool deleted = false;
    dialog->deleteOnFinal = true;
    dialog->deleted = &deleted;
    ASSERT_NE(nullptr, dialog->Create(nullptr, L"msgwnd", 0, 0));
    const HWND hwnd = dialog->GetHWND();
    // A handler inside the modal loop presses OK and pumps on its own until the window is
    // gone: its loop, not the modal one, takes the close from the queue.
    platform::WindowCreateParams params;
    params.className = L"NestedPump";
    const HWND helper = platform::CreateWindowHandle(params, [&](HWND, UINT msg, WPARAM, LPARAM) {
        if (msg == WM_APP) {
            static_cast<CButtonUI*>(dialog->Find(L"confirm_btn"))->Activate();
            PumpUntil([&] { return !platform::IsWindow(hwnd); });
        }
        return LRESULT{0};
    });
    platform::PostMessage(helper, WM_APP, 0, 0);
    EXPECT_EQ(1u, dialog->ShowModal());
    EXPECT_TRUE(deleted);
    platform::DestroyWindow(helper);
}

TEST_F(WindowsTest, WindowInitArrivesOnceLaidOutAndMessageMapsReachVirtualWindows) {
    CTestDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
    EXPECT_EQ(0, dialog.recorder.Count(L"windowinit"));
    ASSERT_TRUE(PumpUntil([&] { return dialog.recorder.Count(L"windowinit") == 1; }));
    EXPECT_EQ((RECT{0, 0, 300, 30}), dialog.Find(L"message_text")->GetPos());

    static_cast<CButtonUI*>(dialog.Find(L"page_btn"))->Activate();
    EXPECT_EQ(L"page_btn", dialog.page.clicked);

    const int sizes = dialog.recorder.Count(L"windowsize", L"root");
    SetWindowPos(dialog.GetHWND(), nullptr, 0, 0, 320, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(sizes + 1, dialog.recorder.Count(L"windowsize", L"root"));
    LRESULT result = 0;
    CPaintManagerUI* pm = dialog.GetPaintManager();
    pm->MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(10, 40), result);
    pm->MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), result);
    EXPECT_EQ(1, dialog.recorder.Count(L"msenter", L"confirm_btn"));
    EXPECT_EQ(1, dialog.recorder.Count(L"msleave", L"confirm_btn"));

    // A send from a worker is handled on the window's thread by HandleCustomMessage.
    std::atomic<LRESULT> answer{-1};
    std::thread worker([&] { answer = SendMessageW(dialog.GetHWND(), WM_USER + 50, 21, 0); });
    ASSERT_TRUE(PumpUntil([&] { return answer.load() != -1; }));
    worker.join();
    EXPECT_EQ(42, answer.load());
    EXPECT_EQ(std::this_thread::get_id(), dialog.customThread);
}

TEST_F(WindowsTest, ChangingTheDpiScalesTheWindowAndItsLayout) {
    CTestDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
    CPaintManagerUI::SetAllDPI(96);
    SetWindowPos(dialog.GetHWND(), nullptr, 0, 0, 1000, 640, SWP_NOZORDER);
    CPaintManagerUI::SetAllDPI(144);
    RECT rc{};
    GetClientRect(dialog.GetHWND(), &rc);
    EXPECT_EQ((RECT{0, 0, 1500, 960}), rc);
    dialog.GetPaintManager()->UpdateLayout();
    EXPECT_EQ((RECT{0, 0, 1500, 45}), dialog.Find(L"message_text")->GetPos());
    CPaintManagerUI::SetAllDPI(96);
}

TEST_F(WindowsTest, ControlTimerArmedOnAWorkerFiresOnTheUiThread) {
    struct CTickUI : CControlUI {
        void DoEvent(TEventUI& event) override {
            if (event.Type == UIEVENT_TIMER) {
                ids.push_back(static_cast<UINT>(event.wParam));
                thread = std::this_thread::get_id();
                GetManager()->KillTimer(this, static_cast<UINT>(event.wParam));
            }
            CControlUI::DoEvent(event);
        }
        std::vector<UINT> ids;
        std::thread::id thread;
    };
    CTestDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
    auto* tick = new CTickUI();
    tick->SetName(L"tick");
    ASSERT_TRUE(static_cast<CContainerUI*>(dialog.Find(L"root"))->Add(tick));
    CPaintManagerUI* pm = dialog.GetPaintManager();
    std::thread worker([&] { EXPECT_TRUE(pm->SetTimer(tick, 1002, 5)); });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return !tick->ids.empty(); }));
    EXPECT_EQ(1002u, tick->ids[0]);
    EXPECT_EQ(std::this_thread::get_id(), tick->thread);
    EXPECT_EQ(1, dialog.recorder.Count(L"timer", L"tick"));

    // A removed control's timers die with it.
    EXPECT_TRUE(pm->SetTimer(tick, 7, 1));
    static_cast<CContainerUI*>(dialog.Find(L"root"))->Remove(tick);
    EXPECT_FALSE(pm->SetTimer(tick, 7, 1));
    toolkit_test::PumpPending();
}

TEST_F(WindowsTest, LanguageSwitchRetranslatesShownTexts) {
    skin_.Write("lan_en.xml", R"(<Language><Text key="message_text_5" value="Saved"/></Language>)");
    skin_.Write("lan_de.xml",
                R"(<Language><Text key="message_text_5">Gespeichert</Text></Language>)");
    CTestDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
    CResourceManager* resources = CResourceManager::GetInstance();
    ASSERT_TRUE(resources->LoadLanguage(L"lan_en.xml"));
    CControlUI* label = dialog.Find(L"message_text");
    EXPECT_EQ(L"Saved", label->GetText());
    resources->SetLanguage(L"German");
    ASSERT_TRUE(resources->LoadLanguage(L"lan_de.xml"));
    resources->ReloadText();
    EXPECT_EQ(L"Gespeichert", label->GetText());
    EXPECT_EQ(L"German", resources->GetLanguage());

    // A bad file keeps the current texts; an unknown key asks the query interface, then
    // shows the key itself.
    EXPECT_FALSE(resources->LoadLanguage(L"lan_missing.xml"));
    EXPECT_EQ(L"Gespeichert", label->GetText());
    struct Query : IQueryControlText {
        LPCTSTR QueryControlText(LPCTSTR id, LPCTSTR) override {
            return std::wstring_view(id) == L"asked_key" ? L"answered" : nullptr;
        }
    } query;
    resources->SetTextQueryInterface(&query);
    EXPECT_EQ(L"answered", resources->GetText(L"asked_key"));
    EXPECT_EQ(L"other_key", resources->GetText(L"other_key"));
    resources->Release();
}

TEST_F(WindowsTest, MenuPostsItsClickToTheOwnerAndClosesWhenDeactivated) {
    skin_.Write(
        "menu.xml",
        R"(<Window><Menu><MenuElement name="about_menu" text="About" userdata="u1" height="24"/>
        <MenuElement name="exit" text="Exit" height="24"/></Menu></Window>)");
    CTestDialog owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", 0, 0));
    owner.ShowWindow(true, true);
    struct Catcher : IMessageFilterUI {
        LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) override {
            if (uMsg == WM_MENUCLICK) {
                auto* cmd = reinterpret_cast<MenuCmd*>(wParam);
                name = cmd->szName;
                userData = cmd->szUserData;
                CPaintManagerUI::DeletePtr(cmd);
                bHandled = true;
            }
            return 0;
        }
        std::wstring name, userData;
    } catcher;
    owner.GetPaintManager()->AddMessageFilter(&catcher);

    CMenuWnd menu;
    ASSERT_TRUE(menu.Init(nullptr, L"menu.xml", POINT{400, 300}, owner.GetPaintManager(), nullptr,
                          eMenuAlignment_Right | eMenuAlignment_Bottom));
    RECT rc{};
    platform::GetWindowRect(menu.GetHWND(), &rc);
    EXPECT_EQ(400, rc.right);
    EXPECT_EQ(250, rc.left);
    EXPECT_EQ(300, rc.bottom);
    EXPECT_EQ(250, rc.top);  // two elements of 24 and the menu's border
    auto* item = static_cast<CMenuElementUI*>(menu.GetPaintManager()->FindControl(L"about_menu"));
    ASSERT_NE(nullptr, item);
    item->Activate();
    ASSERT_TRUE(PumpUntil([&] { return !catcher.name.empty() && !IsWindow(menu.GetHWND()); }));
    EXPECT_EQ(L"about_menu", catcher.name);
    EXPECT_EQ(L"u1", catcher.userData);

    CMenuWnd second;
    ASSERT_TRUE(second.Init(nullptr, L"menu.xml", POINT{5, 5}, owner.GetPaintManager()));
    EXPECT_EQ(1u, CMenuWnd::GetOpenMenus().size());
    SetActiveWindow(owner.GetHWND());
    EXPECT_TRUE(PumpUntil([&] { return CMenuWnd::GetOpenMenus().empty(); }));
    owner.GetPaintManager()->RemoveMessageFilter(&catcher);
}

TEST_F(WindowsTest, TrayIconKeepsItsTipAndPostsItsCallback) {
    CTestDialog owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", 0, 0));
    std::vector<std::pair<WPARAM, LPARAM>> calls;
    struct Catcher : IMessageFilterUI {
        explicit Catcher(std::vector<std::pair<WPARAM, LPARAM>>& out) : calls(out) {}
        LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
            if (uMsg == WM_USER + 1) {
                calls.emplace_back(wParam, lParam);
                bHandled = true;
            }
            return 0;
        }
        std::vector<std::pair<WPARAM, LPARAM>>& calls;
    } catcher(calls);
    owner.GetPaintManager()->AddMessageFilter(&catcher);
    {
        CTrayIcon tray;
        tray.CreateTrayIcon(owner.GetHWND(), 107, L"Velkaro");
        EXPECT_EQ(L"Velkaro", tray.GetTooltipText());
        EXPECT_EQ(0x401u, tray.GetCallbackMessage());
        EXPECT_TRUE(tray.NotifyMouse(WM_RBUTTONUP));
        ASSERT_TRUE(PumpUntil([&] { return !calls.empty(); }));
        EXPECT_EQ(107u, calls[0].first);
        EXPECT_EQ(static_cast<LPARAM>(WM_RBUTTONUP), calls[0].second);
        tray.DeleteTrayIcon();
        EXPECT_FALSE(tray.NotifyMouse(WM_LBUTTONUP));
    }
    EXPECT_TRUE(CTrayIcon::GetTrayIcons().empty());
    owner.GetPaintManager()->RemoveMessageFilter(&catcher);
}

TEST_F(WindowsTest, TheRendererPaintsLaidOutTreesAndHearsOfClosedWindows) {
    struct Recorder : IRenderBackend {
        void Paint(CPaintManagerUI& manager, std::span<const RECT>) override {
            ++paints;
            rootWidth = manager.GetRoot()->GetWidth();
        }
        void WindowDestroyed(CPaintManagerUI&) override { ++destroyed; }
        int paints = 0;
        int destroyed = 0;
        int rootWidth = 0;
    } backend;
    CPaintManagerUI::SetRenderBackend(&backend);
    {
        CTestDialog dialog;
        ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
        dialog.ShowWindow(true, false);
        ASSERT_TRUE(PumpUntil([&] { return backend.paints > 0; }));
        EXPECT_EQ(300, backend.rootWidth);
        const int painted = backend.paints;
        dialog.Find(L"message_text")->SetText(L"changed");
        ASSERT_TRUE(PumpUntil([&] { return backend.paints > painted; }));
    }
    EXPECT_EQ(1, backend.destroyed);
    CPaintManagerUI::SetRenderBackend(nullptr);
}

TEST_F(WindowsTest, ModalWindowsDisableTheirOwnerAndPassAQuitOn) {
    CTestDialog owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", 0, 0));
    SetWindowPos(owner.GetHWND(), nullptr, 100, 100, 600, 400, SWP_NOZORDER);
    owner.ShowWindow(true, true);
    auto* dialog = new CTestDialog();
    bool deleted = false;
    dialog->deleteOnFinal = true;
    dialog->deleted = &deleted;
    ASSERT_NE(nullptr, dialog->Create(owner.GetHWND(), L"msgwnd", 0, 0));
    dialog->CenterWindow();
    RECT rc{};
    GetWindowRect(dialog->GetHWND(), &rc);
    EXPECT_EQ((RECT{250, 200, 550, 400}), rc);  // centred over the owner

    bool ownerWasDisabled = false;
    const HWND ownerHwnd = owner.GetHWND();
    struct Probe : IMessageFilterUI {
        LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override {
            if (uMsg == WM_USER + 60) {
                *disabled = !IsWindowEnabled(owner);
                PostQuitMessage(3);  // the program ends while the dialog is open
                bHandled = true;
            }
            return 0;
        }
        HWND owner = nullptr;
        bool* disabled = nullptr;
    } probe;
    probe.owner = ownerHwnd;
    probe.disabled = &ownerWasDisabled;
    dialog->GetPaintManager()->AddMessageFilter(&probe);
    PostMessageW(dialog->GetHWND(), WM_USER + 60, 0, 0);
    EXPECT_EQ(0u, dialog->ShowModal());
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(ownerHwnd));
    // The quit reached the modal loop first and waits for the outer loop.
    MSG msg;
    while (GetMessage(&msg)) {
        DispatchMessage(&msg);
    }
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_FALSE(deleted);
    dialog->GetPaintManager()->RemoveMessageFilter(&probe);
    DestroyWindow(dialog->GetHWND());
    EXPECT_TRUE(deleted);
}

// A minimised window has nothing to lay out and tells nobody of a new size: its controls
// keep their places, and back from the task bar it is laid out and told once.
TEST_F(WindowsTest, MinimisingLeavesTheLayoutAloneAndRestoringTellsTheSizeOnce) {
    CTestDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return dialog.recorder.Count(L"windowinit") == 1; }));
    dialog.ShowWindow(true, true);
    const RECT placed = dialog.Find(L"message_text")->GetPos();
    const int sizes = dialog.recorder.Count(L"windowsize", L"root");
    dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(sizes, dialog.recorder.Count(L"windowsize", L"root"));
    EXPECT_EQ(placed, dialog.Find(L"message_text")->GetPos());
    dialog.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_EQ(sizes + 1, dialog.recorder.Count(L"windowsize", L"root"));
    EXPECT_EQ(placed, dialog.Find(L"message_text")->GetPos());
}

TEST_F(WindowsTest, SystemCommandsAndEscapeTakeTheDefaultActions) {
    CTestDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", 0, 0));
    dialog.ShowWindow(true, true);
    dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(dialog.GetHWND()));
    dialog.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_FALSE(IsIconic(dialog.GetHWND()));
    dialog.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(dialog.GetHWND()));
    dialog.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_FALSE(IsZoomed(dialog.GetHWND()));
    EXPECT_TRUE(IsWindowVisible(dialog.GetHWND()));
    // Enter and Escape never close a window by themselves; Enter still reaches the focus.
    CPaintManagerUI* pm = dialog.GetPaintManager();
    auto* edit = new CEditUI();
    edit->SetName(L"edit");
    static_cast<CContainerUI*>(dialog.Find(L"root"))->Add(edit);
    pm->SetFocus(edit);
    PostMessageW(dialog.GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(dialog.GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(dialog.GetHWND(), WM_CHAR, L'\r', 0);
    toolkit_test::PumpPending();
    EXPECT_NE(nullptr, dialog.GetHWND());
    EXPECT_EQ(1, dialog.recorder.Count(L"return", L"edit"));
}

TEST_F(WindowsTest, AMissingLayoutFailsTheWindowCleanly) {
    CTestDialog dialog("no_such_layout.xml");
    EXPECT_EQ(nullptr, dialog.Create(nullptr, L"broken", 0, 0));
    EXPECT_EQ(nullptr, dialog.GetHWND());
    EXPECT_FALSE(dialog.GetLastBuildError().IsEmpty());
}

}  // namespace
