#include "duilib/paint_manager.h"

#include <algorithm>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/render_backend.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_control.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/paths.h"
#include "platform/text_convert.h"

namespace DuiLib {
namespace {

// What the manager posts to its own window.
enum InternalKind : WPARAM { kAsyncNotify = 1, kWindowInit = 2, kPaint = 3 };

// Window timer ids the manager hands out, far above the ids windows choose themselves.
constexpr UINT_PTR kFirstWinTimer = 0x7F000000;

UINT InternalMessage() {
    static const UINT id = platform::RegisterWindowMessage(L"DuiLib.PaintManager");
    return id;
}

// Process-wide toolkit tables: the managers, paths, renderer and shared resources.
struct SharedState {
    std::mutex managersMutex;
    std::vector<CPaintManagerUI*> managers;
    CDuiString instancePath;
    CDuiString resourcePath;
    UILIB_RESOURCETYPE resourceType = UILIB_FILE;
    IRenderBackend* backend = nullptr;
    std::map<int, TFontInfo> fonts;
    TFontInfo defaultFont;
    bool hasDefaultFont = false;
    std::map<CDuiString, CDuiString> defaultAttrs;
    std::map<CDuiString, TImageInfo> images;
};

SharedState& Shared() {
    static SharedState state;
    return state;
}

CDuiString LowerKey(LPCTSTR text) {
    CDuiString key(text ? text : L"");
    key.MakeLower();
    return key;
}

CDuiString WithTrailingSlash(CDuiString path) {
    path = CDuiString(platform::NormalizePath(path.str()));
    if (!path.IsEmpty() && path.GetAt(path.GetLength() - 1) != L'/') {
        path += L'/';
    }
    return path;
}

CControlUI* MatchName(CControlUI* control, LPVOID data) {
    return EqualsNoCase(control->GetName().view(), *static_cast<const std::wstring_view*>(data))
               ? control
               : nullptr;
}

CControlUI* MatchAny(CControlUI* control, LPVOID /*data*/) {
    return control;
}

// A disabled container disables what it holds for the user.
bool AcceptsInput(const CControlUI* control) {
    for (; control != nullptr; control = control->GetParent()) {
        if (!control->IsEnabled()) {
            return false;
        }
    }
    return true;
}

int ClampDpi(int dpi) {
    return std::clamp(dpi, 24, 960);
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() {
    SharedState& shared = Shared();
    std::lock_guard lock(shared.managersMutex);
    shared.managers.push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    RemoveAllTimers();
    ReleaseBackend();
    delete std::exchange(m_pRoot, nullptr);
    SharedState& shared = Shared();
    std::lock_guard lock(shared.managersMutex);
    shared.managers.erase(std::remove(shared.managers.begin(), shared.managers.end(), this),
                          shared.managers.end());
}

void CPaintManagerUI::Init(HWND hWnd, LPCTSTR pstrName) {
    m_hWndPaint = hWnd;
    m_sName = pstrName ? pstrName : L"";
}

// ---- paths

CDuiString CPaintManagerUI::GetInstancePath() {
    const CDuiString& overridden = Shared().instancePath;
    if (!overridden.IsEmpty()) {
        return overridden;
    }
    return CDuiString(platform::Utf8Decode(platform::InstancePath()));
}

void CPaintManagerUI::SetInstancePath(LPCTSTR pStrPath) {
    Shared().instancePath = pStrPath && *pStrPath ? WithTrailingSlash(pStrPath) : CDuiString();
}

CDuiString CPaintManagerUI::GetResourcePath() {
    const CDuiString& path = Shared().resourcePath;
    if (!path.IsEmpty() && path.GetAt(0) == L'/') {
        return path;
    }
    return GetInstancePath() + path;
}

void CPaintManagerUI::SetResourceType(UILIB_RESOURCETYPE type) {
    Shared().resourceType = type;
}

UILIB_RESOURCETYPE CPaintManagerUI::GetResourceType() {
    return Shared().resourceType;
}

void CPaintManagerUI::SetResourcePath(LPCTSTR pStrPath) {
    Shared().resourcePath = pStrPath && *pStrPath ? WithTrailingSlash(pStrPath) : CDuiString();
}

CDuiString CPaintManagerUI::ResolveResourceFile(const CDuiString& name) {
    CDuiString file = name;
    const CDuiString declared = CResourceManager::GetInstance()->GetXmlPath(name);
    if (!declared.IsEmpty()) {
        file = declared;
    }
    file = CDuiString(platform::NormalizePath(file.str()));
    if (!file.IsEmpty() && file.GetAt(0) == L'/') {
        return file;
    }
    return GetResourcePath() + file;
}

// ---- tree

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (pControl == nullptr) {
        return false;
    }
    SetFocus(nullptr);
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot != nullptr && m_pRoot != pControl) {
        delete m_pRoot;
    }
    m_pRoot = pControl;
    m_pRoot->SetManager(this, nullptr, true);
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    if (m_hWndPaint != nullptr) {
        platform::PostMessage(m_hWndPaint, InternalMessage(), kWindowInit, 0);
    }
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* /*pParent*/) {
    if (pControl == nullptr) {
        return false;
    }
    std::lock_guard lock(m_timerMutex);
    m_attached.insert(pControl);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
    if (pControl == nullptr) {
        return;
    }
    if (m_pFocus == pControl) {
        m_pFocus = nullptr;
    }
    if (m_pEventHover == pControl) {
        m_pEventHover = nullptr;
    }
    if (m_pEventClick == pControl) {
        m_pEventClick = nullptr;
    }
    if (m_pRoot == pControl) {
        m_pRoot = nullptr;
    }
    KillTimer(pControl);
    {
        std::lock_guard lock(m_timerMutex);
        m_attached.erase(pControl);
    }
    for (auto& [group, members] : m_mOptionGroup) {
        members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
    }
    m_aAsyncNotify.erase(
        std::remove_if(m_aAsyncNotify.begin(), m_aAsyncNotify.end(),
                       [pControl](const TNotifyUI& n) { return n.pSender == pControl; }),
        m_aAsyncNotify.end());
}

bool CPaintManagerUI::IsControlAttached(CControlUI* pControl) const {
    std::lock_guard lock(m_timerMutex);
    return m_attached.count(pControl) != 0;
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR pstrName) const {
    return FindSubControlByName(m_pRoot, pstrName);
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (m_pRoot == nullptr) {
        return nullptr;
    }
    return m_pRoot->FindControl(MatchAny, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCTSTR pstrName) const {
    if (pParent == nullptr || pstrName == nullptr || *pstrName == 0) {
        return nullptr;
    }
    std::wstring_view name(pstrName);
    return pParent->FindControl(MatchName, &name, UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCTSTR pstrClass,
                                                   int iIndex) {
    const auto all = FindSubControlsByClass(pParent, pstrClass);
    if (iIndex < 0 || iIndex >= static_cast<int>(all.size())) {
        return nullptr;
    }
    return all[static_cast<size_t>(iIndex)];
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent,
                                                                 LPCTSTR pstrClass) {
    struct Search {
        std::wstring_view cls;
        std::vector<CControlUI*> found;
    } search{pstrClass ? pstrClass : L"", {}};
    if (pParent != nullptr) {
        pParent->FindControl(
            [](CControlUI* control, LPVOID data) -> CControlUI* {
                auto* s = static_cast<Search*>(data);
                if (EqualsNoCase(control->GetClass(), s->cls)) {
                    s->found.push_back(control);
                }
                return nullptr;
            },
            &search, UIFIND_ALL);
    }
    return search.found;
}

// ---- notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* pControl) {
    if (pControl == nullptr ||
        std::find(m_aNotifiers.begin(), m_aNotifiers.end(), pControl) != m_aNotifiers.end()) {
        return false;
    }
    m_aNotifiers.push_back(pControl);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pControl) {
    auto it = std::find(m_aNotifiers.begin(), m_aNotifiers.end(), pControl);
    if (it == m_aNotifiers.end()) {
        return false;
    }
    m_aNotifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
    Msg.dwTimestamp = platform::TickCount();
    if (Msg.sVirtualWnd.IsEmpty() && Msg.pSender != nullptr) {
        Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();
    }
    if (bAsync && m_hWndPaint != nullptr) {
        m_aAsyncNotify.push_back(Msg);
        platform::PostMessage(m_hWndPaint, InternalMessage(), kAsyncNotify, 0);
        return;
    }
    // A listener may remove itself (or others) while it is told.
    const std::vector<INotifyUI*> listeners = m_aNotifiers;
    for (INotifyUI* listener : listeners) {
        if (std::find(m_aNotifiers.begin(), m_aNotifiers.end(), listener) != m_aNotifiers.end()) {
            listener->Notify(Msg);
        }
    }
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam, bool bAsync) {
    TNotifyUI msg;
    msg.pSender = pControl;
    msg.sType = pstrMessage;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync);
}

void CPaintManagerUI::DeliverAsyncNotifications() {
    std::vector<TNotifyUI> pending;
    pending.swap(m_aAsyncNotify);
    for (TNotifyUI& msg : pending) {
        SendNotify(msg, false);
    }
}

void CPaintManagerUI::RaiseWindowInit() {
    if (m_pRoot == nullptr || !m_bFirstLayout) {
        return;
    }
    UpdateLayout();
    m_bFirstLayout = false;
    SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
}

// ---- message filters and handling

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) {
    if (pFilter == nullptr || std::find(m_aPreMessageFilters.begin(), m_aPreMessageFilters.end(),
                                        pFilter) != m_aPreMessageFilters.end()) {
        return false;
    }
    m_aPreMessageFilters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter) {
    auto it = std::find(m_aPreMessageFilters.begin(), m_aPreMessageFilters.end(), pFilter);
    if (it == m_aPreMessageFilters.end()) {
        return false;
    }
    m_aPreMessageFilters.erase(it);
    return true;
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    if (pFilter == nullptr || std::find(m_aMessageFilters.begin(), m_aMessageFilters.end(),
                                        pFilter) != m_aMessageFilters.end()) {
        return false;
    }
    m_aMessageFilters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
    auto it = std::find(m_aMessageFilters.begin(), m_aMessageFilters.end(), pFilter);
    if (it == m_aMessageFilters.end()) {
        return false;
    }
    m_aMessageFilters.erase(it);
    return true;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    const std::vector<IMessageFilterUI*> filters = m_aPreMessageFilters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = result;
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    const std::vector<IMessageFilterUI*> filters = m_aMessageFilters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = result;
            return true;
        }
    }
    lRes = 0;
    if (uMsg == InternalMessage() && uMsg != 0) {
        if (wParam == kAsyncNotify) {
            DeliverAsyncNotifications();
        } else if (wParam == kWindowInit) {
            RaiseWindowInit();
        } else if (wParam == kPaint) {
            Paint();
        }
        return true;
    }
    switch (uMsg) {
        case WM_SIZE:
            if (m_pRoot != nullptr) {
                m_bUpdateNeeded = true;
                UpdateLayout();
                SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWSIZE);
            }
            return false;
        case WM_TIMER:
            if (wParam >= kFirstWinTimer) {
                DeliverTimer(wParam);
                return true;
            }
            return false;
        case WM_PAINT:
            Paint();
            return true;
        case WM_DESTROY:
            RemoveAllTimers();
            ReleaseBackend();
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL:
            HandleMouse(uMsg, wParam, lParam);
            return false;
        case WM_KEYDOWN:
        case WM_CHAR:
            HandleKey(uMsg, wParam);
            return false;
        default:
            return false;
    }
}

void CPaintManagerUI::SendEvent(CControlUI* pControl, int type, WPARAM wParam, LPARAM lParam,
                                POINT pt) {
    if (pControl == nullptr) {
        return;
    }
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.wParam = wParam;
    event.lParam = lParam;
    event.ptMouse = pt;
    event.chKey = static_cast<wchar_t>(wParam);
    event.dwTimestamp = platform::TickCount();
    pControl->Event(event);
}

void CPaintManagerUI::HandleMouse(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    UpdateLayout();
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    CControlUI* target = FindControl(pt);
    switch (uMsg) {
        case WM_MOUSEMOVE:
            if (target != m_pEventHover) {
                SendEvent(m_pEventHover, UIEVENT_MOUSELEAVE, 0, 0, pt);
                m_pEventHover = target;
                SendEvent(m_pEventHover, UIEVENT_MOUSEENTER, 0, 0, pt);
            }
            SendEvent(m_pEventClick != nullptr ? m_pEventClick : target, UIEVENT_MOUSEMOVE, wParam,
                      lParam, pt);
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (m_pFocus != nullptr && m_pFocus != target) {
                SetFocus(nullptr);
            }
            if (target != nullptr && AcceptsInput(target)) {
                m_pEventClick = target;
                SendEvent(target, uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK,
                          wParam, lParam, pt);
            }
            return;
        case WM_LBUTTONUP: {
            CControlUI* clicked = std::exchange(m_pEventClick, nullptr);
            SendEvent(clicked, UIEVENT_BUTTONUP, wParam, lParam, pt);
            return;
        }
        case WM_RBUTTONDOWN:
            if (AcceptsInput(target)) {
                SendEvent(target, UIEVENT_RBUTTONDOWN, wParam, lParam, pt);
            }
            return;
        case WM_RBUTTONUP:
            SendEvent(target, UIEVENT_RBUTTONUP, wParam, lParam, pt);
            return;
        case WM_MOUSEWHEEL: {
            const short delta = static_cast<short>(HIWORD(wParam));
            SendEvent(target, UIEVENT_SCROLLWHEEL, MAKEWPARAM(delta < 0 ? 1 : 0, 0), lParam, pt);
            return;
        }
        default:
            return;
    }
}

void CPaintManagerUI::HandleKey(UINT uMsg, WPARAM wParam) {
    if (m_pFocus == nullptr) {
        return;
    }
    SendEvent(m_pFocus, uMsg == WM_CHAR ? UIEVENT_CHAR : UIEVENT_KEYDOWN, wParam);
}

// ---- timers

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    std::lock_guard lock(m_timerMutex);
    if (pControl == nullptr || m_hWndPaint == nullptr || m_attached.count(pControl) == 0) {
        return false;
    }
    auto it = std::find_if(m_aTimers.begin(), m_aTimers.end(), [&](const TimerInfo& t) {
        return t.pSender == pControl && t.nLocalID == nTimerID;
    });
    UINT_PTR winTimer = 0;
    if (it != m_aTimers.end()) {
        winTimer = it->uWinTimer;
    } else {
        winTimer = kFirstWinTimer + m_uNextWinTimer++;
        m_aTimers.push_back(TimerInfo{pControl, nTimerID, winTimer});
    }
    return platform::SetTimer(m_hWndPaint, winTimer, uElapse) != 0;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    std::lock_guard lock(m_timerMutex);
    auto it = std::find_if(m_aTimers.begin(), m_aTimers.end(), [&](const TimerInfo& t) {
        return t.pSender == pControl && t.nLocalID == nTimerID;
    });
    if (it == m_aTimers.end()) {
        return false;
    }
    platform::KillTimer(m_hWndPaint, it->uWinTimer);
    m_aTimers.erase(it);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    std::lock_guard lock(m_timerMutex);
    for (auto it = m_aTimers.begin(); it != m_aTimers.end();) {
        if (it->pSender == pControl) {
            platform::KillTimer(m_hWndPaint, it->uWinTimer);
            it = m_aTimers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    std::lock_guard lock(m_timerMutex);
    for (const TimerInfo& timer : m_aTimers) {
        platform::KillTimer(m_hWndPaint, timer.uWinTimer);
    }
    m_aTimers.clear();
}

void CPaintManagerUI::DeliverTimer(UINT_PTR winTimer) {
    CControlUI* sender = nullptr;
    UINT localId = 0;
    {
        std::lock_guard lock(m_timerMutex);
        auto it = std::find_if(m_aTimers.begin(), m_aTimers.end(),
                               [&](const TimerInfo& t) { return t.uWinTimer == winTimer; });
        if (it == m_aTimers.end() || m_attached.count(it->pSender) == 0) {
            platform::KillTimer(m_hWndPaint, winTimer);
            return;
        }
        sender = it->pSender;
        localId = it->nLocalID;
    }
    SendEvent(sender, UIEVENT_TIMER, localId, static_cast<LPARAM>(winTimer));
}

// ---- focus and option groups

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) {
        return;
    }
    if (pControl != nullptr && !IsControlAttached(pControl)) {
        return;
    }
    CControlUI* old = std::exchange(m_pFocus, nullptr);
    if (old != nullptr) {
        SendEvent(old, UIEVENT_KILLFOCUS);
        SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
    }
    if (pControl != nullptr && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        SendEvent(pControl, UIEVENT_SETFOCUS);
        SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CPaintManagerUI::AddOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl) {
    if (pControl == nullptr || pStrGroupName == nullptr || *pStrGroupName == 0) {
        return false;
    }
    auto& members = m_mOptionGroup[CDuiString(pStrGroupName)];
    if (std::find(members.begin(), members.end(), pControl) == members.end()) {
        members.push_back(pControl);
    }
    return true;
}

std::vector<CControlUI*> CPaintManagerUI::GetOptionGroup(LPCTSTR pStrGroupName) const {
    auto it = m_mOptionGroup.find(CDuiString(pStrGroupName ? pStrGroupName : L""));
    return it == m_mOptionGroup.end() ? std::vector<CControlUI*>{} : it->second;
}

void CPaintManagerUI::RemoveOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl) {
    auto it = m_mOptionGroup.find(CDuiString(pStrGroupName ? pStrGroupName : L""));
    if (it == m_mOptionGroup.end()) {
        return;
    }
    auto& members = it->second;
    members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
    if (members.empty()) {
        m_mOptionGroup.erase(it);
    }
}

// ---- layout and painting

void CPaintManagerUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    PostPaint();
}

void CPaintManagerUI::Invalidate() {
    if (m_hWndPaint != nullptr) {
        platform::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    }
    PostPaint();
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    if (m_hWndPaint != nullptr) {
        platform::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
    }
    PostPaint();
}

void CPaintManagerUI::PostPaint() {
    if (!m_bPaintPosted && m_hWndPaint != nullptr) {
        m_bPaintPosted = platform::PostMessage(m_hWndPaint, InternalMessage(), kPaint, 0) != FALSE;
    }
}

void CPaintManagerUI::ReleaseBackend() {
    if (m_bPainted) {
        m_bPainted = false;
        if (IRenderBackend* backend = GetRenderBackend()) {
            backend->WindowDestroyed(*this);
        }
    }
}

void CPaintManagerUI::Paint() {
    m_bPaintPosted = false;
    UpdateLayout();
    if (IRenderBackend* backend = GetRenderBackend()) {
        m_bPainted = true;
        backend->Paint(*this);
    }
}

SIZE CPaintManagerUI::GetClientSize() const {
    RECT rc{};
    if (m_hWndPaint != nullptr && platform::GetClientRect(m_hWndPaint, &rc)) {
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    return m_szLayoutClient;
}

void CPaintManagerUI::UpdateLayout() {
    if (m_pRoot == nullptr || (!m_bUpdateNeeded && !m_pRoot->IsUpdateNeeded())) {
        return;
    }
    m_bUpdateNeeded = false;
    const SIZE client = GetClientSize();
    m_pRoot->SetPos(RECT{0, 0, client.cx, client.cy}, false);
}

void CPaintManagerUI::LayoutFor(SIZE client) {
    m_szLayoutClient = SIZE{std::clamp<LONG>(client.cx, 0, kMaxCoordinate),
                            std::clamp<LONG>(client.cy, 0, kMaxCoordinate)};
    if (m_hWndPaint != nullptr) {
        platform::SetWindowPos(m_hWndPaint, nullptr, 0, 0, m_szLayoutClient.cx, m_szLayoutClient.cy,
                               SWP_NOMOVE | SWP_NOZORDER);
    }
    m_bUpdateNeeded = true;
    UpdateLayout();
}

SIZE CPaintManagerUI::GetInitSize() const {
    return SIZE{Scale(m_szInitWindowSize.cx), Scale(m_szInitWindowSize.cy)};
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{std::clamp(cx, 0, kMaxCoordinate), std::clamp(cy, 0, kMaxCoordinate)};
}

void CPaintManagerUI::SetWindowAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"size") {
        const SIZE size = ParseSize(value);
        SetInitSize(size.cx, size.cy);
    } else if (name == L"caption") {
        SetCaptionRect(ParseRect(value));
    } else if (name == L"roundcorner") {
        const SIZE size = ParseSize(value);
        SetRoundCorner(size.cx, size.cy);
    } else if (name == L"mininfo") {
        const SIZE size = ParseSize(value);
        SetMinInfo(size.cx, size.cy);
    } else if (name == L"maxinfo") {
        const SIZE size = ParseSize(value);
        SetMaxInfo(size.cx, size.cy);
    } else if (name == L"sizebox") {
        SetSizeBox(ParseRect(value));
    }
}

// ---- DPI

void CPaintManagerUI::SetDPI(int iDPI) {
    if (iDPI <= 0) {
        return;
    }
    iDPI = ClampDpi(iDPI);
    if (iDPI == m_nDPI) {
        return;
    }
    const int oldDpi = m_nDPI;
    m_nDPI = iDPI;
    // The window keeps its size in 96-DPI units: it grows and shrinks with the DPI.
    RECT window{};
    if (m_hWndPaint != nullptr && platform::GetWindowRect(m_hWndPaint, &window)) {
        const long long width = static_cast<long long>(window.right - window.left) * iDPI / oldDpi;
        const long long height = static_cast<long long>(window.bottom - window.top) * iDPI / oldDpi;
        platform::SetWindowPos(m_hWndPaint, nullptr, 0, 0,
                               static_cast<int>(std::min<long long>(width, kMaxCoordinate)),
                               static_cast<int>(std::min<long long>(height, kMaxCoordinate)),
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pRoot != nullptr) {
        m_pRoot->NeedUpdate();
    }
    NeedUpdate();
}

void CPaintManagerUI::SetAllDPI(int iDPI) {
    for (CPaintManagerUI* manager : GetPaintManagers()) {
        manager->SetDPI(iDPI);
    }
}

void CPaintManagerUI::ResetDPIAssets() {
    if (m_pRoot != nullptr) {
        m_pRoot->NeedUpdate();
    }
    NeedUpdate();
}

int CPaintManagerUI::Scale(int iValue) const {
    const long long scaled = static_cast<long long>(iValue) * m_nDPI;
    const long long rounded = scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
    return static_cast<int>(std::clamp<long long>(rounded, INT32_MIN / 2, INT32_MAX / 2));
}

RECT CPaintManagerUI::Scale(RECT rc) const {
    return RECT{Scale(rc.left), Scale(rc.top), Scale(rc.right), Scale(rc.bottom)};
}

// ---- fonts, default attributes, images

TFontInfo* CPaintManagerUI::AddFont(int id, LPCTSTR pStrFontName, int nSize, bool bBold,
                                    bool bUnderline, bool bItalic, bool bShared) {
    if (id < 0) {
        return nullptr;
    }
    TFontInfo info{CDuiString(pStrFontName ? pStrFontName : L""),
                   std::clamp(nSize, 1, 1000),
                   bBold,
                   bUnderline,
                   bItalic,
                   bShared};
    auto& fonts = bShared ? Shared().fonts : m_mFonts;
    fonts[id] = info;
    return &fonts[id];
}

TFontInfo* CPaintManagerUI::GetFontInfo(int id) {
    auto own = m_mFonts.find(id);
    if (own != m_mFonts.end()) {
        return &own->second;
    }
    auto& shared = Shared().fonts;
    auto it = shared.find(id);
    if (it != shared.end()) {
        return &it->second;
    }
    return GetDefaultFontInfo();
}

void CPaintManagerUI::SetDefaultFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic, bool bShared) {
    TFontInfo info{CDuiString(pStrFontName ? pStrFontName : L""),
                   std::clamp(nSize, 1, 1000),
                   bBold,
                   bUnderline,
                   bItalic,
                   bShared};
    if (bShared) {
        Shared().defaultFont = info;
        Shared().hasDefaultFont = true;
    } else {
        m_DefaultFont = info;
        m_bHasDefaultFont = true;
    }
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo() {
    if (m_bHasDefaultFont) {
        return &m_DefaultFont;
    }
    SharedState& shared = Shared();
    if (!shared.hasDefaultFont) {
        shared.defaultFont = TFontInfo{CDuiString(L"Verdana"), 12, false, false, false, true};
        shared.hasDefaultFont = true;
    }
    return &shared.defaultFont;
}

void CPaintManagerUI::RemoveAllFonts(bool bShared) {
    if (bShared) {
        Shared().fonts.clear();
    } else {
        m_mFonts.clear();
    }
}

void CPaintManagerUI::AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList,
                                              bool bShared) {
    auto& table = bShared ? Shared().defaultAttrs : m_mDefaultAttrs;
    table[LowerKey(pStrControlName)] = CDuiString(pStrControlAttrList ? pStrControlAttrList : L"");
}

CDuiString CPaintManagerUI::GetDefaultAttributeList(LPCTSTR pStrControlName) const {
    const CDuiString key = LowerKey(pStrControlName);
    auto own = m_mDefaultAttrs.find(key);
    if (own != m_mDefaultAttrs.end()) {
        return own->second;
    }
    const auto& shared = Shared().defaultAttrs;
    auto it = shared.find(key);
    return it == shared.end() ? CDuiString() : it->second;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList(bool bShared) {
    if (bShared) {
        Shared().defaultAttrs.clear();
    } else {
        m_mDefaultAttrs.clear();
    }
}

const TImageInfo* CPaintManagerUI::AddImage(LPCTSTR bitmap, LPCTSTR type, DWORD mask,
                                            bool bShared) {
    if (bitmap == nullptr || *bitmap == 0) {
        return nullptr;
    }
    TImageInfo info{CDuiString(bitmap), ResolveResourceFile(CDuiString(bitmap)),
                    CDuiString(type ? type : L""), mask, bShared};
    auto& table = bShared ? Shared().images : m_mImages;
    table[CDuiString(bitmap)] = info;
    return &table[CDuiString(bitmap)];
}

const TImageInfo* CPaintManagerUI::GetImage(LPCTSTR bitmap) const {
    const CDuiString key(bitmap ? bitmap : L"");
    auto own = m_mImages.find(key);
    if (own != m_mImages.end()) {
        return &own->second;
    }
    const auto& shared = Shared().images;
    auto it = shared.find(key);
    return it == shared.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveAllImages(bool bShared) {
    if (bShared) {
        Shared().images.clear();
    } else {
        m_mImages.clear();
    }
}

// ---- loop, renderer, registry

void CPaintManagerUI::MessageLoop() {
    MSG msg;
    while (platform::GetMessage(&msg)) {
        if (!TranslateMessage(&msg)) {
            platform::TranslateMessage(&msg);
            platform::DispatchMessage(&msg);
        }
    }
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg) {
    if (pMsg == nullptr || pMsg->hwnd == nullptr) {
        return false;
    }
    for (CPaintManagerUI* manager : GetPaintManagers()) {
        if (manager->m_hWndPaint == pMsg->hwnd) {
            LRESULT lRes = 0;
            return manager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
        }
    }
    return false;
}

void CPaintManagerUI::SetRenderBackend(IRenderBackend* backend) {
    Shared().backend = backend;
}

IRenderBackend* CPaintManagerUI::GetRenderBackend() {
    return Shared().backend;
}

bool CPaintManagerUI::IsLive(const CPaintManagerUI* manager) {
    SharedState& shared = Shared();
    std::lock_guard lock(shared.managersMutex);
    return std::find(shared.managers.begin(), shared.managers.end(), manager) !=
           shared.managers.end();
}

std::vector<CPaintManagerUI*> CPaintManagerUI::GetPaintManagers() {
    SharedState& shared = Shared();
    std::lock_guard lock(shared.managersMutex);
    return shared.managers;
}

}  // namespace DuiLib
