#pragma once
// The settings window: the language choice, the list of update candidates with their
// versions, the program's own version and what is known of updates.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "duilib/window_impl_base.h"
#include "update/language_list.h"

// One product the update list shows: its name and the version it has now.
struct UpdateCandidate {
    DuiLib::CDuiString productName;
    int32_t version = 0;
    DuiLib::CDuiString versionText;  // as shown; the number when empty
};

class CSetWnd : public DuiLib::WindowImplBase {
  public:
    // `mainWnd` receives the language choice and the update status; `currentLanguage` is
    // shown selected.
    CSetWnd(HWND mainWnd, int currentLanguage);

    LPCTSTR GetWindowClassName() const override { return L"SetWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"setwnd.xml"; }
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    void SetUpdateDevices(const std::vector<UpdateCandidate>& records);
    const std::vector<UpdateCandidate>& GetUpdateDevices() const { return updateDevices_; }
    const std::vector<LanguageEntry>& GetLanguages() const { return languages_; }

  private:
    void FillLanguageCombo();
    void FillUpdateList();
    // The texts put together from a language text and a value, in the current language.
    void ShowComposedTexts();
    void ShowUpdateState(const wchar_t* key);
    void OnUpdateResult(WPARAM wParam, LPARAM lParam);
    DuiLib::CDuiString Translated(const wchar_t* key) const;

    HWND mainWnd_;
    int currentLanguage_;
    bool filling_ = false;
    UINT updateResultMessage_ = 0;
    std::optional<std::pair<WPARAM, LPARAM>> updateResult_;
    std::vector<LanguageEntry> languages_;
    std::vector<UpdateCandidate> updateDevices_;
};
