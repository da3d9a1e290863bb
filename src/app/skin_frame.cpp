#include "app/skin_frame.h"

#include "app/ini_file.h"
#include "app/skin_observer.h"
#include "app/window_styles.h"
#include "duilib/ui_control.h"
#include "duilib/ui_layouts.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "update/product_name.h"

using namespace DuiLib;

namespace {

constexpr wchar_t kDefaultImage[] = L"common/background.png";

CSkinFrame::ImageChooser& Chooser() {
    static CSkinFrame::ImageChooser chooser;
    return chooser;
}

void WriteImageChoice(int flags, const CDuiString& image) {
    const std::string file = SkinSettingsFile();
    WriteIniValue(file, L"SKINIMAGE", L"FLAGS", std::to_wstring(flags));
    WriteIniValue(file, L"SKINIMAGE", L"IMAGE", image.str());
}

}  // namespace

std::string SkinSettingsFile() {
    const std::string folder = platform::UserDataPath() + platform::Utf8Encode(kProductName) + "/";
    platform::EnsureDirectory(folder);
    return folder + "main.ini";
}

void CSkinFrame::SetImageChooser(ImageChooser chooser) {
    Chooser() = std::move(chooser);
}

// It takes the activation when it opens, so that a press anywhere else (which activates
// that window) closes it.
CSkinFrame::CSkinFrame(HWND parent, CControlUI* anchor) : parent_(parent), anchor_(anchor) {
    Create(parent, L"skinframe", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
}

void CSkinFrame::InitWindow() {
    SetIcon(128);
    if (anchor_ == nullptr) {
        return;
    }
    const RECT anchor = anchor_->GetPos();
    RECT parent{};
    platform::GetWindowRect(parent_, &parent);
    const SIZE size = m_pm.GetInitSize();
    const int x = parent.left + anchor.right - size.cx;
    const int y = parent.top + anchor.bottom;
    platform::SetWindowPos(GetHWND(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void CSkinFrame::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

void CSkinFrame::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        OnClick(msg.pSender);
        return;
    }
    WindowImplBase::Notify(msg);
}

LRESULT CSkinFrame::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) {
    // The desktop tells a pop-up it lost the focus by taking its activation.
    if (uMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        uMsg = WM_KILLFOCUS;
    }
    if (uMsg == WM_KILLFOCUS && choosing_) {
        focusLostWhileChoosing_ = true;
        bHandled = TRUE;
        return 0;
    }
    if (uMsg == WM_KILLFOCUS && !closePending_) {
        // Closing is posted: the frame may be inside its own click handler (the custom
        // image dialog takes the focus), and must outlive it.
        closePending_ = true;
        platform::PostMessage(GetHWND(), WM_CLOSE, 0, 0);
        bHandled = TRUE;
        return 0;
    }
    bHandled = FALSE;
    return 0;
}

void CSkinFrame::OnClick(CControlUI* sender) {
    const CDuiString name = sender->GetName();
    SkinChangedParam param;
    if (name.CompareNoCase(L"skin_image_btn") == 0) {
        param.image = sender->GetUserData();
        BroadcastSkin(param);
        WriteImageChoice(1, param.image);
    } else if (name.CompareNoCase(L"skin_color_btn") == 0) {
        param.kind = 1;
        param.colour = sender->GetBkColor();
        BroadcastSkin(param);
    } else if (name.CompareNoCase(L"skin_image") == 0 || name.CompareNoCase(L"skin_color") == 0) {
        if (auto* tab = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(L"skin_tab"))) {
            tab->SelectItem(name.CompareNoCase(L"skin_image") == 0 ? 0 : 1);
        }
    } else if (name.CompareNoCase(L"skin_reset") == 0) {
        param.image = kDefaultImage;
        BroadcastSkin(param);
        WriteImageChoice(0, param.image);
    } else if (name.CompareNoCase(L"skin_Custom") == 0) {
        // The dialog runs a modal loop of its own, which would carry out a close posted on
        // the focus loss while this handler is still running. Hold the close until the
        // choice is made, then post it so it runs after this handler has returned.
        choosing_ = true;
        focusLostWhileChoosing_ = false;
        std::optional<std::wstring> chosen = Chooser() ? Chooser()() : std::nullopt;
        choosing_ = false;
        if (chosen && !chosen->empty()) {
            param.image = *chosen;
            BroadcastSkin(param);
        }
        if (focusLostWhileChoosing_ && !closePending_) {
            closePending_ = true;
            platform::PostMessage(GetHWND(), WM_CLOSE, 0, 0);
        }
    }
}
