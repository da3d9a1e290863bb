#include "support/message_box_reader.h"

#include "duilib/ui_control.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace testing_support {

DuiLib::CPaintManagerUI* ManagerOfClass(const wchar_t* windowClass) {
    for (DuiLib::CPaintManagerUI* pm : DuiLib::CPaintManagerUI::GetPaintManagers()) {
        if (pm->GetPaintWindow() != nullptr &&
            platform::GetWindowClassName(pm->GetPaintWindow()) == windowClass) {
            return pm;
        }
    }
    return nullptr;
}

MessageBoxReader::MessageBoxReader() {
    platform::WindowCreateParams params;
    params.className = L"MessageBoxReader";
    hwnd_ = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM, LPARAM) {
        if (msg == WM_APP)
            Look();
        return LRESULT{0};
    });
    platform::PostMessage(hwnd_, WM_APP, 0, 0);
}

MessageBoxReader::~MessageBoxReader() {
    platform::DestroyWindow(hwnd_);
}

// Re-posts itself, so it runs inside any modal loop the box opens.
void MessageBoxReader::Look() {
    if (DuiLib::CPaintManagerUI* box = ManagerOfClass(L"MsgWnd")) {
        texts_.push_back(box->FindControl(L"MessageText")->GetText().str());
        box->SendNotify(box->FindControl(L"confirm_btn"), DuiLib::DUI_MSGTYPE_CLICK);
    }
    platform::PostMessage(hwnd_, WM_APP, 0, 0);
}

}  // namespace testing_support
