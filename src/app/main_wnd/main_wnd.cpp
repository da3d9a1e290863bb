#include "app/main_wnd/main_wnd.h"

#include "app/main_wnd/notice_sink.h"
#include "app/registered_messages.h"
#include "app/screen_metrics.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/ui_control.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/paths.h"
#include "platform/peer_windows.h"
#include "platform/text_convert.h"
#include "update/installed_version.h"

using namespace DuiLib;

namespace {

constexpr std::array<LPCTSTR, 9> kCaptionButtonNames = {
    L"closebtn",    L"maxbtn",   L"restorebtn",   L"minbtn", L"skinbtn",
    L"gamemodebtn", L"cloudbtn", L"smarteyesbtn", L"setbtn"};

int g_screenWidth = 0;
int g_screenHeight = 0;

}  // namespace

int MainScreenWidth() {
    return g_screenWidth;
}

int MainScreenHeight() {
    return g_screenHeight;
}

bool CMainWnd::TakeScreenSize() {
    const SIZE screen = PrimaryScreenSize();
    if (screen.cx == g_screenWidth && screen.cy == g_screenHeight) {
        return false;
    }
    g_screenWidth = screen.cx;
    g_screenHeight = screen.cy;
    return true;
}

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd() {
    RemoveNoticeSink();
    CMenuWnd::DestroyMenu();
    trayMenu_.reset();
    macroActionMenu_.reset();
    // The resource manager outlives the window: it must not ask it for texts any more.
    CResourceManager::GetInstance()->SetTextQueryInterface(nullptr);
    // The threads read the device lists: they must be gone before the lists are.
    StopWorkerThreads();
    RemoveDevicePages();
    mousePads_.clear();
    mice_.clear();
    keyboards_.clear();
    headsets_.clear();
}

void CMainWnd::InitWindow() {
    DebugTrace(L"InitWindow");
    CResourceManager::GetInstance()->SetTextQueryInterface(this);
    CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml");
    GetSkinObserver().AddReceiver(this);
    // The keyboard hook also sees the keys and mouse buttons of this window, those the
    // desktop sends as well as those posted.
    m_pm.AddMessageFilter(&deviceHookFilter_);
    for (size_t i = 0; i < kCaptionButtonNames.size(); ++i) {
        captionButtons_[i] = m_pm.FindControl(kCaptionButtonNames[i]);
    }
    SetIcon(107);
    trayIcon_.CreateTrayIcon(GetHWND(), 107, kProductName, 0);
}

void CMainWnd::OnWindowInit() {
    InstallNoticeSink();
    RecordInstalledVersion();
    // Announce that this program drives the device lights.
    AnnounceLightControl(1);
    ApplyLanguage(GetStoredLanguageIndex());
    liveRecords_ = std::make_unique<HidLiveList>(
        std::vector<HidIdRecord>(tables_->interfaces.begin(), tables_->interfaces.end()));
    BuildDevicePages();
    TakeScreenSize();
    ShowWindow(false, true);
    // The working size comes before anything can show the window: the capture thread's
    // first scan shows it.
    ApplyMonitorDpi();
    StartWorkerThreads();
    platform::SetTimer(GetHWND(), 1011, 100);
    initialised_ = true;
}

LRESULT CMainWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    RemoveNoticeSink();
    trayIcon_.DeleteTrayIcon();
    m_pm.RemoveMessageFilter(&deviceHookFilter_);
    deviceHook_.Uninstall();
    bHandled = FALSE;
    PostQuitMessage(0);
    return 0;
}

int CMainWnd::Receive(SkinChangedParam param) {
    CControlUI* root = m_pm.FindControl(L"root");
    if (root == nullptr) {
        return 1;
    }
    if (param.kind == 1) {
        root->SetBkColor(param.colour);
        root->SetBkImage(L"");
    } else {
        root->SetBkColor(0);
        root->SetBkImage(param.image);
    }
    return 1;
}

void CMainWnd::BringToFront() {
    int first = 0;
    int count = 0;
    ShowNoDeviceNotice(!CountShownEntries(&first, &count));
    const HWND hwnd = GetHWND();
    platform::SendMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    platform::ShowWindow(hwnd, SW_SHOW);
    platform::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    platform::Sleep(10);
    platform::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void CMainWnd::ShowNoDeviceNotice(bool show) {
    if (CControlUI* notice = m_pm.FindControl(L"No_device_Link")) {
        notice->SetVisible(show);
    }
}

CDuiString CMainWnd::GetDefaultDataFolder() const {
    CDuiString folder = CPaintManagerUI::GetInstancePath();
    folder += L"DefaultData/";
    return folder;
}

CDuiString CMainWnd::GetAppDataFolder() const {
    std::string folder = platform::UserDataPath() + platform::Utf8Encode(kProductName) + "/";
    platform::EnsureDirectory(folder);  // a failure still names the folder
    return CDuiString(platform::Utf8Decode(folder));
}
