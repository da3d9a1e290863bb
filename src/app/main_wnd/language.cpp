// The chosen language: kept in the registry, applied with its font family and texts.

#include "app/language_fonts.h"
#include "app/locale_language.h"
#include "app/main_wnd/main_wnd.h"
#include "app/registered_messages.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_control.h"
#include "platform/debug_trace.h"
#include "platform/registry.h"
#include "update/language_list.h"
#include "update/language_repaint.h"

using namespace DuiLib;

namespace {

std::wstring LanguageKey() {
    return std::wstring(L"SOFTWARE\\") + kProductName;
}

}  // namespace

int CMainWnd::GetStoredLanguageIndex() {
    // A user who never chose a language gets the one of the locale, as an installer would
    // have stored it; ApplyLanguage then stores it.
    const int64_t id =
        platform::Registry::GetDword(LanguageKey(), L"LANGUAGE").value_or(UserLocaleLanguageId());
    const Json::Value document =
        jsonFile_.LoadJsonFile(GetDefaultDataFolder() + L"Language.config");
    return FindLanguageIndexById(ParseLanguageList(document), id).value_or(0);
}

void CMainWnd::ApplyLanguage(int index) {
    if (index == currentLanguage_) {
        return;
    }
    const Json::Value document =
        jsonFile_.LoadJsonFile(GetDefaultDataFolder() + L"Language.config");
    const std::vector<LanguageEntry> languages = ParseLanguageList(document);
    // An index from a message or the registry that names no language changes nothing.
    if (index < 0 || index >= static_cast<int>(languages.size())) {
        return;
    }
    if (auto family = PickFontFamily(index, currentLanguage_)) {
        RebuildFonts(family->c_str());
    }
    currentLanguage_ = index;
    const LanguageEntry& language = languages[static_cast<size_t>(index)];
    CResourceManager* resources = CResourceManager::GetInstance();
    resources->SetLanguage(language.name.c_str());
    resources->LoadLanguage(language.file.c_str());
    resources->ReloadText();
    SaveLanguageId(language.id);

    if (aboutWnd_ != nullptr) {
        platform::SendMessage(aboutWnd_, WM_LANGUAGE_CHANGED, 0, 0);
    }
    if (settingsWnd_ != nullptr) {
        platform::SendMessage(settingsWnd_, WM_LANGUAGE_CHANGED, 0, 0);
    }
    RepaintInNewLanguage(GetHWND(), m_pm);
}

void CMainWnd::SaveLanguageId(int64_t id) {
    // The registry stand-in has no installer to create the key beforehand: it is created
    // on the first write.
    if (platform::Registry::SetDword(LanguageKey(), L"LANGUAGE", static_cast<uint32_t>(id))) {
        DebugTrace(L"写成功！");
    }
}

void CMainWnd::RebuildFonts(LPCTSTR face) {
    m_pm.RemoveAllFonts(true);
    m_pm.RemoveAllFonts(false);
    for (const FontSpec& font : kFontTable) {
        if (font.id < 0) {
            m_pm.SetDefaultFont(face, font.size, font.bold, font.underline, false, true);
        } else {
            m_pm.AddFont(font.id, face, font.size, font.bold, font.underline, false, true);
        }
    }
}
