#include "update/set_wnd.h"

#include <string>

#include "duilib/resource_manager.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_control.h"
#include "duilib/ui_list.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "update/installed_version.h"
#include "update/language_repaint.h"
#include "update/update_messages.h"

using namespace DuiLib;

namespace {

constexpr wchar_t kVersionLabel[] = L"software_ver_label";
constexpr wchar_t kStateLabel[] = L"update_state_label";

}  // namespace

CSetWnd::CSetWnd(HWND mainWnd, int currentLanguage)
    : mainWnd_(mainWnd),
      currentLanguage_(currentLanguage),
      updateResultMessage_(platform::RegisterWindowMessage(kUpdateResultMessageName)) {}

void CSetWnd::InitWindow() {
    languages_ = LoadLanguageList(platform::Utf8Encode(CPaintManagerUI::GetInstancePath().str()) +
                                  "DefaultData/");
    FillLanguageCombo();
    FillUpdateList();
    ShowComposedTexts();
    // The update state is in front of the user now.
    if (mainWnd_ != nullptr) {
        platform::SendMessage(mainWnd_, kUpdateStatusMessage, 0, 0);
    }
}

CDuiString CSetWnd::Translated(const wchar_t* key) const {
    return CResourceManager::GetInstance()->GetText(key);
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
        const CDuiString version = record.versionText.IsEmpty()
                                       ? CDuiString(std::to_wstring(record.version))
                                       : record.versionText;
        auto* row = new CListLabelElementUI();
        row->SetText(
            CDuiString::FormatText(L"%s    %s", record.productName.GetData(), version.GetData()));
        list->Add(row);
    }
}

void CSetWnd::ShowComposedTexts() {
    if (CControlUI* label = m_pm.FindControl(kVersionLabel)) {
        label->SetResourceText(false);
        label->SetText(Translated(L"software_rev_text") + CDuiString(InstalledVersionText()));
    }
    if (updateResult_) {
        OnUpdateResult(updateResult_->first, updateResult_->second);
    }
}

void CSetWnd::ShowUpdateState(const wchar_t* key) {
    if (CControlUI* label = m_pm.FindControl(kStateLabel)) {
        label->SetResourceText(true);
        label->SetText(key);
    }
}

// The numbers are the update program's own; this program knows no more of them.
void CSetWnd::OnUpdateResult(WPARAM wParam, LPARAM lParam) {
    updateResult_ = std::make_pair(wParam, lParam);
    if (CControlUI* label = m_pm.FindControl(kStateLabel)) {
        label->SetResourceText(false);
        label->SetText(Translated(L"update_result_text") +
                       CDuiString::FormatText(L"%llu, %lld",
                                              static_cast<unsigned long long>(wParam),
                                              static_cast<long long>(lParam)));
    }
}

void CSetWnd::Notify(TNotifyUI& msg) {
    if (msg.pSender != nullptr) {
        const CDuiString name = msg.pSender->GetName();
        if (msg.sType == DUI_MSGTYPE_CLICK && name.CompareNoCase(L"closebtn") == 0) {
            Close(0);
            return;
        }
        if (msg.sType == DUI_MSGTYPE_CLICK && name.CompareNoCase(L"update_check_btn") == 0) {
            updateResult_.reset();
            ShowUpdateState(L"update_check_unavailable");
            return;
        }
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT &&
            name.CompareNoCase(L"Language_combox_info") == 0 && !filling_) {
            auto* combo = static_cast<CComboUI*>(msg.pSender);
            const int index = combo->GetCurSel();
            if (index >= 0 && mainWnd_ != nullptr) {
                currentLanguage_ = index;
                platform::SendMessage(mainWnd_, kLanguageChangedMessage, static_cast<WPARAM>(index),
                                      0);
            }
        }
    }
    WindowImplBase::Notify(msg);
}

LRESULT CSetWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = FALSE;
    if (uMsg == kLanguageChangedMessage && wParam == 0) {
        ShowComposedTexts();
        RepaintInNewLanguage(GetHWND(), m_pm);
    } else if (updateResultMessage_ != 0 && uMsg == updateResultMessage_) {
        OnUpdateResult(wParam, lParam);
        if (mainWnd_ != nullptr) {
            platform::SendMessage(mainWnd_, kUpdateStatusMessage, 0, 0);
        }
        bHandled = TRUE;
    }
    return 0;
}
