#include "duilib/window_impl_base.h"

#include "duilib/ui_control.h"
#include "platform/debug_trace.h"

namespace DuiLib {

DUI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
DUI_ON_MSGTYPE(DUI_MSGTYPE_CLICK, OnClick)
DUI_END_MESSAGE_MAP()

WindowImplBase::~WindowImplBase() {
    if (m_hWnd != nullptr && platform::IsWindowOnCurrentThread(m_hWnd)) {
        platform::DestroyWindow(m_hWnd);
    }
}

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/) {
    m_pm.RemovePreMessageFilter(this);
    m_pm.RemoveNotifier(this);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
}

void WindowImplBase::OnClick(TNotifyUI& /*msg*/) {}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
    // A stray key must never close a window (the main window least of all): Escape is
    // swallowed, Enter goes on to the focused control.
    return wParam == VK_ESCAPE ? TRUE : FALSE;
}

CControlUI* WindowImplBase::CreateControl(LPCTSTR /*pstrClass*/) {
    return nullptr;
}

LPCTSTR WindowImplBase::QueryControlText(LPCTSTR /*lpstrId*/, LPCTSTR /*lpstrType*/) {
    return nullptr;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/,
                                       bool& bHandled) {
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        bHandled = ResponseDefaultKeyEvent(wParam) != FALSE;
    }
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = TRUE;
    m_pm.Init(m_hWnd);
    m_pm.AddPreMessageFilter(this);
    CDialogBuilder builder;
    CDuiString skin = GetSkinFile();
    if (!GetSkinFolder().IsEmpty()) {
        skin = GetSkinFolder() + skin;
    }
    CControlUI* root = builder.Create(skin, nullptr, this, &m_pm);
    if (root == nullptr) {
        m_buildError = builder.GetLastErrorMessage();
        platform::DebugTrace(L"window " + CDuiString(GetWindowClassName()).str() +
                             L": layout not built: " + m_buildError.str() + L"\n");
        m_pm.RemovePreMessageFilter(this);
        return -1;
    }
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    const SIZE size = m_pm.GetInitSize();
    if (size.cx > 0 && size.cy > 0) {
        platform::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
        case WM_CREATE:
            lRes = OnCreate(uMsg, wParam, lParam, bHandled);
            break;
        case WM_CLOSE:
            lRes = OnClose(uMsg, wParam, lParam, bHandled);
            break;
        case WM_DESTROY:
            lRes = OnDestroy(uMsg, wParam, lParam, bHandled);
            break;
        case WM_SIZE:
            lRes = OnSize(uMsg, wParam, lParam, bHandled);
            break;
        case WM_GETMINMAXINFO:
            lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled);
            break;
        case WM_LBUTTONDOWN:
            lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled);
            break;
        case WM_LBUTTONUP:
            lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled);
            break;
        case WM_MOUSEMOVE:
            lRes = OnMouseMove(uMsg, wParam, lParam, bHandled);
            break;
        case WM_KEYDOWN:
            lRes = OnKeyDown(uMsg, wParam, lParam, bHandled);
            break;
        case WM_KILLFOCUS:
            lRes = OnKillFocus(uMsg, wParam, lParam, bHandled);
            break;
        case WM_SETFOCUS:
            lRes = OnSetFocus(uMsg, wParam, lParam, bHandled);
            break;
        case WM_SYSCOMMAND:
            lRes = OnSysCommand(uMsg, wParam, lParam, bHandled);
            break;
        default:
            bHandled = FALSE;
            break;
    }
    if (bHandled) {
        return lRes;
    }
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) {
        return lRes;
    }
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace DuiLib
