#include "app/msg_wnd.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/window_styles.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_control.h"
#include "platform/debug_trace.h"

using namespace DuiLib;

bool IsSupportedDpi(int dpi) {
    constexpr std::array<int, 7> kAccepted = {48, 72, 96, 120, 144, 168, 192};
    return std::find(kAccepted.begin(), kAccepted.end(), dpi) != kAccepted.end();
}

void CMsgWnd::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

void CMsgWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const CDuiString name = msg.pSender->GetName();
        if (name.CompareNoCase(L"confirm_btn") == 0) {
            Close(1);
            return;
        }
        if (name.CompareNoCase(L"cancel_btn") == 0 || name.CompareNoCase(L"closebtn") == 0) {
            Close(0);
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

void CMsgWnd::SetTitle(const CDuiString& title) {
    if (title.IsEmpty()) {
        return;
    }
    if (CControlUI* label = m_pm.FindControl(L"MessageTitle")) {
        label->SetResourceText(false);
        label->SetText(title);
    }
}

void CMsgWnd::SetMessage(const CDuiString& text, bool textIsKey) {
    if (text.IsEmpty()) {
        return;
    }
    if (CControlUI* label = m_pm.FindControl(L"MessageText")) {
        label->SetResourceText(textIsKey);
        label->SetText(text);
    }
}

namespace {

constexpr int kWideWidth = 600;
constexpr int kMaxTextHeight = 420;

// The lines `text` wraps into at `width` pixels, estimated from the font size: wide (CJK)
// characters take about an em, others about half, and word breaks waste some more.
int EstimatedLines(std::wstring_view text, int width, int fontSize) {
    int lines = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        double ems = 0;
        for (wchar_t c : text.substr(start, end - start))
            ems += c >= 0x2E80 ? 1.0 : 0.55;
        const double pixels = ems * fontSize * 1.15;
        lines += std::max(1, static_cast<int>(std::ceil(pixels / std::max(1, width))));
        start = end + 1;
    }
    return lines;
}

}  // namespace

void CMsgWnd::FitMessage(const CDuiString& text) {
    CControlUI* label = m_pm.FindControl(L"MessageText");
    const TFontInfo* font = m_pm.GetFontInfo(0);
    if (label == nullptr || font == nullptr || font->iSize <= 0) {
        return;
    }
    const SIZE box = m_pm.GetInitSize();
    const RECT padding = label->GetPadding();
    const int lineHeight = font->iSize * 3 / 2;
    auto heightAt = [&](int boxWidth) {
        const int width = boxWidth - padding.left - padding.right;
        return EstimatedLines(text.view(), width, font->iSize) * lineHeight;
    };
    if (heightAt(box.cx) <= label->GetFixedHeight()) {
        return;
    }
    const int width = std::max<int>(box.cx, kWideWidth);
    const int height = std::clamp(heightAt(width), label->GetFixedHeight(), kMaxTextHeight);
    const int grown = height - label->GetFixedHeight();
    label->SetFixedHeight(height);
    ResizeClient(width, box.cy + grown);
}

void CMsgWnd::SetDPI(int dpi) {
    if (dpi == dpi_) {
        return;
    }
    if (!IsSupportedDpi(dpi)) {
        DebugTrace(L"MSG_WND DPI SET ERROR");
        dpi = 96;
    }
    dpi_ = dpi;
    m_pm.SetDPI(dpi);
}

void CMsgWnd::SetButtons(int mode) {
    CControlUI* confirm = m_pm.FindControl(L"confirm_btn");
    CControlUI* cancel = m_pm.FindControl(L"cancel_btn");
    if (mode != 0 && mode != 1) {
        return;
    }
    if (confirm != nullptr) {
        confirm->SetVisible(true);
    }
    if (cancel != nullptr) {
        cancel->SetVisible(mode == 1);
    }
}

int ShowMsgBox(HWND parent, const CDuiString& title, const CDuiString& text, int dpi,
               bool textIsKey, int buttons) {
    auto* wnd = new CMsgWnd();
    if (wnd->Create(parent, L"msgwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) {
        delete wnd;
        return 0;
    }
    wnd->SetTitle(title);
    wnd->SetMessage(text, textIsKey);
    wnd->FitMessage(textIsKey ? CResourceManager::GetInstance()->GetText(text.GetData()) : text);
    wnd->SetDPI(dpi);
    wnd->SetButtons(buttons);
    wnd->CenterWindow();
    return static_cast<int>(wnd->ShowModal());  // the window deletes itself when destroyed
}
