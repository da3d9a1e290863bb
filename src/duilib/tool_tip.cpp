#include "duilib/tool_tip.h"

#include <algorithm>
#include <string_view>

#include "duilib/render_backend.h"
#include "duilib/screen_fit.h"
#include "duilib/ui_button.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace DuiLib {
namespace {

// At 96 DPI.
constexpr int kPaddingX = 6;
constexpr int kPaddingY = 3;
constexpr int kBelowPointer = 20;
constexpr int kAbovePointer = 4;
constexpr int kMaxWidth = 480;
constexpr DWORD kBackColor = 0xF5202A36;
constexpr DWORD kBorderColor = 0xFF5A6A80;
constexpr DWORD kTextColor = 0xFFE0E6F0;

// The control itself when it has a tip, else its nearest parent with one.
CControlUI* TipOwner(CControlUI* control) {
    for (; control != nullptr; control = control->GetParent()) {
        if (!control->GetToolTip().IsEmpty()) {
            return control;
        }
    }
    return nullptr;
}

// What one line needs, drawn by the renderer; estimated from the font without one.
SIZE LineSize(CPaintManagerUI& manager, const CDuiString& text) {
    if (IRenderBackend* backend = CPaintManagerUI::GetRenderBackend()) {
        const SIZE measured = backend->MeasureText(manager, text, -1);
        if (measured.cx > 0 && measured.cy > 0) {
            return measured;
        }
    }
    const TFontInfo* font = manager.GetDefaultFontInfo();
    const int size = manager.Scale(font != nullptr && font->iSize > 0 ? font->iSize : 12);
    int ems = 0;
    for (wchar_t c : text.view()) {
        ems += c >= 0x2E80 ? 2 : 1;
    }
    return SIZE{ems * size / 2 + size, size * 3 / 2};
}

// The lines one under the other.
SIZE TextSize(CPaintManagerUI& manager, std::wstring_view text) {
    SIZE total{};
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(L'\n', start), text.size());
        const std::wstring_view line = text.substr(start, end - start);
        const SIZE size = LineSize(manager, CDuiString(line.empty() ? L" " : line));
        total.cx = std::max(total.cx, size.cx);
        total.cy += size.cy;
        start = end + 1;
    }
    return total;
}

}  // namespace

// ---- the window

LRESULT CToolTipWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_CREATE) {
        m_pm.Init(m_hWnd, L"ToolTip");
        m_pLabel = new CLabelUI;
        m_pLabel->SetName(L"tooltip_text");
        m_pLabel->SetBkColor(kBackColor);
        m_pLabel->SetBorderColor(kBorderColor);
        m_pLabel->SetBorderSize(1);
        m_pLabel->SetTextColor(kTextColor);
        m_pLabel->SetTextPadding(RECT{kPaddingX, kPaddingY, kPaddingX, kPaddingY});
        m_pLabel->SetTextStyle(DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        m_pm.AttachDialog(m_pLabel);
        return 0;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CToolTipWnd::ShowAt(HWND owner, const CPaintManagerUI& ownerManager, const CDuiString& text,
                         POINT at) {
    if (m_hWnd == nullptr && Create(owner, L"", 0, 0) == nullptr) {
        return;
    }
    m_pm.SetDPI(ownerManager.GetDPI());
    const bool lines = text.view().find(L'\n') != std::wstring_view::npos;
    m_pLabel->SetTextStyle(lines ? DT_VCENTER : DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    m_pLabel->SetText(text);
    const SIZE textSize = TextSize(m_pm, text.view());
    const RECT area = WorkAreaAt(at);
    const int width = std::min<int>({textSize.cx + m_pm.Scale(2 * kPaddingX + 2),
                                     m_pm.Scale(kMaxWidth), area.right - area.left});
    const int height = textSize.cy + m_pm.Scale(2 * kPaddingY + 2);
    // Below the pointer, clear of its arrow; above it where the screen ends below.
    LONG top = at.y + m_pm.Scale(kBelowPointer);
    if (top + height > area.bottom) {
        top = at.y - m_pm.Scale(kAbovePointer) - height;
    }
    const RECT rc = KeptInside(RECT{at.x, top, at.x + width, top + height}, area);
    platform::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, SWP_NOACTIVATE);
    ShowWindow(true, false);
    m_pm.Invalidate();
}

void CToolTipWnd::Hide() {
    if (IsShown()) {
        ShowWindow(false, false);
    }
}

bool CToolTipWnd::IsShown() const {
    return m_hWnd != nullptr && platform::IsWindowVisible(m_hWnd);
}

CDuiString CToolTipWnd::GetTipText() const {
    return m_pLabel != nullptr ? m_pLabel->GetText() : CDuiString();
}

// ---- following the pointer

CToolTipTracker::~CToolTipTracker() {
    Disarm();
}

void CToolTipTracker::PointerAt(CControlUI* control, POINT pt) {
    CControlUI* owner = TipOwner(control);
    if (owner == m_pControl) {
        if (m_pWnd == nullptr || !m_pWnd->IsShown()) {
            m_pt = pt;  // the tip appears where the pointer came to rest
        }
        return;
    }
    if (m_pWnd != nullptr) {
        m_pWnd->Hide();
    }
    m_pControl = owner;
    m_pt = pt;
    m_bDismissed = false;
    if (owner != nullptr) {
        Arm();
    } else {
        Disarm();
    }
}

void CToolTipTracker::Dismiss() {
    m_bDismissed = true;
    Disarm();
    if (m_pWnd != nullptr) {
        m_pWnd->Hide();
    }
}

void CToolTipTracker::PointerLeft() {
    m_pControl = nullptr;
    m_bDismissed = false;
    Disarm();
    if (m_pWnd != nullptr) {
        m_pWnd->Hide();
    }
}

void CToolTipTracker::Forget(CControlUI* control) {
    if (control != nullptr && control == m_pControl) {
        PointerLeft();
    }
}

bool CToolTipTracker::OnTimer(UINT_PTR id) {
    if (id != kTimerId) {
        return false;
    }
    Disarm();
    Show();
    return true;
}

void CToolTipTracker::Arm() {
    if (m_manager.GetPaintWindow() != nullptr) {
        platform::SetTimer(m_manager.GetPaintWindow(), kTimerId, kRestMs);
    }
}

void CToolTipTracker::Disarm() {
    if (m_manager.GetPaintWindow() != nullptr) {
        platform::KillTimer(m_manager.GetPaintWindow(), kTimerId);
    }
}

void CToolTipTracker::Show() {
    const HWND owner = m_manager.GetPaintWindow();
    if (m_pControl == nullptr || m_bDismissed || !m_pControl->IsVisible() || owner == nullptr ||
        !platform::IsWindowVisible(owner) || platform::IsIconic(owner)) {
        return;
    }
    // Read now: the tip of the moment, in the language of the moment.
    const CDuiString text = m_pControl->GetToolTip();
    if (text.IsEmpty()) {
        return;
    }
    if (m_pWnd == nullptr) {
        m_pWnd = std::make_unique<CToolTipWnd>();
    }
    RECT window{};
    platform::GetWindowRect(owner, &window);
    m_pWnd->ShowAt(owner, m_manager, text, POINT{window.left + m_pt.x, window.top + m_pt.y});
}

}  // namespace DuiLib
