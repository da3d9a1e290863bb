#include "duilib/paint_manager.h"

#include <algorithm>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager_shared.h"
#include "duilib/render_backend.h"
#include "duilib/resource_manager.h"
#include "duilib/tool_tip.h"
#include "duilib/ui_control.h"
#include "platform/paths.h"
#include "platform/text_convert.h"

namespace DuiLib {

using namespace paint_detail;

namespace {

CDuiString WithTrailingSlash(CDuiString path) {
    path = CDuiString(platform::NormalizePath(path.str()));
    if (!path.IsEmpty() && path.GetAt(path.GetLength() - 1) != L'/') {
        path += L'/';
    }
    return path;
}

}  // namespace

SharedState& paint_detail::Shared() {
    static SharedState state;
    return state;
}

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
    ++Shared().pathsGeneration;
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
    ++Shared().pathsGeneration;
}

uint64_t CPaintManagerUI::GetPathsGeneration() {
    return Shared().pathsGeneration;
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

// ---- layout and painting

void CPaintManagerUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    PostPaint();
}

void CPaintManagerUI::Invalidate() {
    if (m_hWndPaint != nullptr) {
        platform::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    }
    m_dirty.AddAll();
    PostPaint();
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    if (rcItem.right <= rcItem.left || rcItem.bottom <= rcItem.top) {
        return;
    }
    // The window is marked once until the next paint: an animated keyboard's frame
    // invalidates each of its keys.
    if (m_hWndPaint != nullptr && m_dirty.IsEmpty()) {
        platform::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
    }
    m_dirty.Add(rcItem);
    PostPaint();
}

void CPaintManagerUI::PostPaint() {
    if (!m_bPaintPosted && m_hWndPaint != nullptr) {
        m_bPaintPosted = platform::PostMessage(m_hWndPaint, InternalMessage(), kPaint, 0) != FALSE;
    }
}

bool CPaintManagerUI::CanBeSeen() const {
    return m_hWndPaint == nullptr ||
           (platform::IsWindowVisible(m_hWndPaint) && !platform::IsIconic(m_hWndPaint));
}

void CPaintManagerUI::ResumePaint() {
    if (m_bPaintDeferred && CanBeSeen()) {
        m_bPaintDeferred = false;
        Invalidate();
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

void CPaintManagerUI::Paint(bool requested) {
    m_bPaintPosted = false;
    if (!requested && !CanBeSeen()) {
        // Drawn whole when it can be seen again (ResumePaint).
        m_bPaintDeferred = true;
        return;
    }
    UpdateLayout();
    if (requested || m_bPaintDeferred) {
        m_dirty.AddAll();
    }
    m_bPaintDeferred = false;
    const std::vector<RECT> dirty = m_dirty.Take(GetClientSize());
    IRenderBackend* backend = GetRenderBackend();
    if (backend == nullptr || dirty.empty() || m_pRoot == nullptr) {
        return;
    }
    m_bPainted = true;
    backend->Paint(*this, dirty);
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
    // Anything may have moved: the next paint draws everything.
    m_dirty.AddAll();
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
    // Every message of the thread comes here: its window's manager is looked for in the
    // list itself, not in a copy of it.
    CPaintManagerUI* manager = nullptr;
    {
        SharedState& shared = Shared();
        std::lock_guard lock(shared.managersMutex);
        const auto it = std::find_if(
            shared.managers.begin(), shared.managers.end(),
            [pMsg](const CPaintManagerUI* each) { return each->m_hWndPaint == pMsg->hwnd; });
        manager = it != shared.managers.end() ? *it : nullptr;
    }
    LRESULT lRes = 0;
    return manager != nullptr &&
           manager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
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
