#include "update/set_wnd.h"

#include "duilib/ui_combo.h"
#include "duilib/ui_control.h"
#include "duilib/ui_list.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "update/language_repaint.h"

using namespace DuiLib;

namespace {

// The messages the settings window exchanges with the main window.
constexpr UINT kLanguageChanged = 0xC11;

}  // namespace

CSetWnd::CSetWnd(HWND mainWnd, int currentLanguage)
    : mainWnd_(mainWnd), currentLanguage_(currentLanguage) {}

void CSetWnd::InitWindow() {
    languages_ = LoadLanguageList(platform::Utf8Encode(CPaintManagerUI::GetInstancePath().str()) +
                                  "DefaultData/");
    FillLanguageCombo();
    FillUpdateList();
}

void CSetWnd::FillLanguageCombo() {
    auto* combo = dynamic_cast<CComboUI*>(m_pm.FindControl(L"Language_combox_info"));
    if (combo == nullptr) {
        return;
    }
    filling_ = true;  // the rows added here are not choices of the user
    combo->RemoveAll();
    for (const LanguageEntry& language : languages_) {
        auto* row = new CListLabelElementUI();
        row->SetText(language.text.c_str());
        combo->Add(row);
    }
    if (currentLanguage_ >= 0 && currentLanguage_ < static_cast<int>(languages_.size())) {
        combo->SelectItem(currentLanguage_, false, false);
    }
    filling_ = false;
}

void CSetWnd::SetUpdateDevices(const std::vector<UpdateCandidate>& records) {
    updateDevices_ = records;
    FillUpdateList();
}

void CSetWnd::FillUpdateList() {
    auto* list = dynamic_cast<CListUI*>(m_pm.FindControl(L"update_list"));
    if (list == nullptr) {
        return;
    }
    list->RemoveAll();
    for (const UpdateCandidate& record : updateDevices_) {
        auto* row = new CListLabelElementUI();
        row->SetText(
            CDuiString::FormatText(L"%s    %d", record.productName.GetData(), record.version));
        list->Add(row);
    }
}

void CSetWnd::Notify(TNotifyUI& msg) {
    if (msg.pSender != nullptr) {
        const CDuiString name = msg.pSender->GetName();
        if (msg.sType == DUI_MSGTYPE_CLICK && name.CompareNoCase(L"closebtn") == 0) {
            Close(0);
            return;
        }
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT &&
            name.CompareNoCase(L"Language_combox_info") == 0 && !filling_) {
            auto* combo = static_cast<CComboUI*>(msg.pSender);
            const int index = combo->GetCurSel();
            if (index >= 0 && mainWnd_ != nullptr) {
                currentLanguage_ = index;
                platform::SendMessage(mainWnd_, kLanguageChanged, static_cast<WPARAM>(index), 0);
            }
        }
    }
    WindowImplBase::Notify(msg);
}

LRESULT CSetWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) {
    if (uMsg == kLanguageChanged && wParam == 0) {
        RepaintInNewLanguage(GetHWND(), m_pm);
    }
    bHandled = FALSE;
    return 0;
}
