#pragma once
// The program's own file chooser: a modal window listing one folder's sub-folders and the
// files a filter such as "Macro Files(*.mac)" describes, with a name field, OK and Cancel.

#include <optional>
#include <string>
#include <vector>

#include "duilib/window_impl_base.h"

class CFileChooserWnd : public DuiLib::WindowImplBase {
  public:
    // `save` false asks for an existing file; true for a path to write in an existing
    // folder. `folder` (UTF-8) is where the listing starts.
    CFileChooserWnd(bool save, const std::wstring& filter, std::string folder);

    LPCTSTR GetWindowClassName() const override { return L"FileChooserWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"XML_FILECHOOSER"; }
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    // The chosen path once the window was closed with OK; nothing otherwise.
    const std::optional<std::wstring>& Result() const { return result_; }

  protected:
    // Escape cancels.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

  private:
    struct Entry {
        bool folder = false;
        std::string name;  // as on disk; ".." for the parent folder
    };

    bool ShowFolder(const std::string& folder);
    void FillList();
    void OnRowSelected(int index);
    void OnRowActivated(int index);
    void Accept();
    // Closes with `path` when it suits the mode; false (and a hint shown) when not.
    bool AcceptPath(const std::string& path);
    bool Matches(const std::string& fileName) const;
    void ShowError(const wchar_t* key);

    bool save_;
    std::wstring filter_;
    std::vector<std::wstring> extensions_;
    std::string folder_;  // always absolute, ends with '/'
    std::vector<Entry> entries_;
    std::optional<std::wstring> result_;
};

// The extensions (".mac" for "*.mac") a filter lists between its parentheses, separated by
// ';'. Empty when it names none or "*.*": then every file matches.
std::vector<std::wstring> FilterExtensions(const std::wstring& filter);

// Shows the chooser modally over `parent`, starting in `folder` (the home folder when it
// is empty or missing); the chosen path, or nothing when the user cancels.
std::optional<std::wstring> ChooseFile(HWND parent, bool save, const std::wstring& filter,
                                       const std::string& folder = std::string());
