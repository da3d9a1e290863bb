// Problems the user must hear of (a damaged file, a failed save), shown in the program's
// own message box: every notice pending at once, in one box.

#include <map>

#include "app/main_wnd/main_wnd.h"
#include "app/main_wnd/notice_sink.h"
#include "app/msg_wnd.h"
#include "duilib/resource_manager.h"

using namespace DuiLib;

namespace {

// Each kind of problem under its translated headline, in the order first told.
CDuiString NoticeText(const std::vector<platform::UserNotice>& notices) {
    std::vector<std::wstring> keys;
    std::map<std::wstring, std::wstring> details;
    for (const platform::UserNotice& notice : notices) {
        if (details.find(notice.key) == details.end())
            keys.push_back(notice.key);
        details[notice.key] += notice.detail + L"\n";
    }
    std::wstring text;
    for (const std::wstring& key : keys) {
        if (!text.empty())
            text += L"\n";
        if (!key.empty())
            text += CResourceManager::GetInstance()->GetText(key.c_str()).str() + L"\n";
        text += details[key];
    }
    if (!text.empty())
        text.pop_back();
    return CDuiString(text);
}

}  // namespace

void CMainWnd::InstallNoticeSink() {
    noticeSink_ = std::make_unique<WindowNoticeSink>(GetHWND());
}

void CMainWnd::RemoveNoticeSink() {
    noticeSink_.reset();
}

void CMainWnd::ShowPendingNotices() {
    // A box already open shows the rest when it closes.
    if (noticeSink_ == nullptr || showingNotices_)
        return;
    showingNotices_ = true;
    // The window may close while the box is open, and take its sink with it.
    while (noticeSink_ != nullptr) {
        const std::vector<platform::UserNotice> notices = noticeSink_->TakePending();
        if (notices.empty())
            break;
        ShowMsgBox(GetHWND(), L"", NoticeText(notices), dpi_, false, 0);
    }
    showingNotices_ = false;
}
