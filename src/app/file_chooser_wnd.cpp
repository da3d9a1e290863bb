#include "app/file_chooser_wnd.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <system_error>

#include "app/window_styles.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "platform/text_convert.h"

using namespace DuiLib;

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kList[] = L"file_chooser_list";
constexpr wchar_t kName[] = L"file_chooser_name";
// What the file systems the program meets allow in one name (the extension included).
constexpr size_t kMaxNameBytes = 255;

std::wstring Trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return std::wstring();
    }
    const auto last = text.find_last_not_of(L" \t");
    return std::wstring(text.substr(first, last - first + 1));
}

// Control characters (a NUL above all) would silently cut or garble a path.
bool HasControlCharacter(std::wstring_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](wchar_t ch) { return ch < 0x20 || ch == 0x7F; });
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view end) {
    if (text.size() <= end.size()) {
        return false;
    }
    return std::equal(end.rbegin(), end.rend(), text.rbegin(), [](wchar_t a, wchar_t b) {
        return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
    });
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// The absolute, normalised form of `folder` with a trailing '/'; empty when it is no folder.
std::string FolderPath(const std::string& folder) {
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(folder), ec);
    if (ec || !IsFolder(path)) {
        return std::string();
    }
    std::string text = path.lexically_normal().string();
    if (text.empty() || text.back() != '/') {
        text += '/';
    }
    return text;
}

std::string StartFolder(const std::string& folder) {
    if (!folder.empty()) {
        return folder;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) : std::string("/");
}

}  // namespace

std::vector<std::wstring> FilterExtensions(const std::wstring& filter) {
    std::vector<std::wstring> extensions;
    const auto open = filter.find(L'(');
    const auto close = filter.find(L')', open == std::wstring::npos ? 0 : open);
    if (open == std::wstring::npos || close == std::wstring::npos) {
        return extensions;
    }
    std::wstring_view patterns(filter);
    patterns = patterns.substr(open + 1, close - open - 1);
    while (!patterns.empty()) {
        const auto end = std::min(patterns.find(L';'), patterns.size());
        const std::wstring pattern = Trimmed(patterns.substr(0, end));
        patterns.remove_prefix(std::min(end + 1, patterns.size()));
        if (pattern == L"*.*" || pattern == L"*") {
            return {};
        }
        const bool usable = pattern.size() > 2 && pattern.compare(0, 2, L"*.") == 0 &&
                            pattern.find_first_of(L"/*?", 1) == std::wstring::npos &&
                            !HasControlCharacter(pattern);
        if (usable) {
            extensions.push_back(pattern.substr(1));
        }
    }
    return extensions;
}

CFileChooserWnd::CFileChooserWnd(bool save, const std::wstring& filter, std::string folder)
    : save_(save),
      filter_(filter),
      extensions_(FilterExtensions(filter)),
      folder_(std::move(folder)) {}

void CFileChooserWnd::InitWindow() {
    if (CControlUI* title = m_pm.FindControl(L"file_chooser_title")) {
        title->SetResourceText(true);
        title->SetText(save_ ? L"file_chooser_save_title" : L"file_chooser_open_title");
    }
    if (CControlUI* filter = m_pm.FindControl(L"file_chooser_filter")) {
        filter->SetText(filter_.c_str());
    }
    const std::string start = folder_;
    folder_.clear();
    if (!ShowFolder(start) && !ShowFolder(StartFolder(std::string()))) {
        ShowFolder("/");
    }
}

void CFileChooserWnd::Notify(TNotifyUI& msg) {
    const CDuiString name = msg.pSender != nullptr ? msg.pSender->GetName() : CDuiString();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name.CompareNoCase(L"confirm_btn") == 0) {
            Accept();
            return;
        }
        if (name.CompareNoCase(L"cancel_btn") == 0 || name.CompareNoCase(L"closebtn") == 0) {
            Close(0);
            return;
        }
    } else if (msg.sType == DUI_MSGTYPE_ITEMSELECT && name.CompareNoCase(kList) == 0) {
        OnRowSelected(static_cast<int>(msg.wParam));
        return;
    } else if (msg.sType == DUI_MSGTYPE_ITEMACTIVATE && msg.pSender != nullptr) {
        if (auto* row = dynamic_cast<IListItemUI*>(msg.pSender)) {
            OnRowActivated(row->GetIndex());
            return;
        }
    } else if (msg.sType == DUI_MSGTYPE_RETURN && name.CompareNoCase(kName) == 0) {
        Accept();
        return;
    }
    WindowImplBase::Notify(msg);
}

LRESULT CFileChooserWnd::ResponseDefaultKeyEvent(WPARAM wParam) {
    if (wParam == VK_ESCAPE) {
        Close(0);
        return TRUE;
    }
    return WindowImplBase::ResponseDefaultKeyEvent(wParam);
}

bool CFileChooserWnd::ShowFolder(const std::string& folder) {
    const std::string path = FolderPath(folder);
    if (path.empty()) {
        ShowError(L"file_chooser_no_folder");
        return false;
    }
    folder_ = path;
    entries_.clear();
    std::vector<Entry> files;
    std::error_code ec;
    fs::directory_iterator it(path, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string entryName = it->path().filename().string();
        if (entryName.empty() || entryName.front() == '.') {
            continue;  // hidden
        }
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            entries_.push_back({true, std::move(entryName)});
        } else if (it->is_regular_file(typeError) && Matches(entryName)) {
            files.push_back({false, std::move(entryName)});
        }
    }
    const auto byName = [](const Entry& a, const Entry& b) { return LessNoCase(a.name, b.name); };
    std::sort(entries_.begin(), entries_.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    if (folder_ != "/") {
        entries_.insert(entries_.begin(), {true, ".."});
    }
    entries_.insert(entries_.end(), files.begin(), files.end());
    FillList();
    ShowError(L"");
    return true;
}

bool CFileChooserWnd::Matches(const std::string& fileName) const {
    if (extensions_.empty()) {
        return true;
    }
    const std::wstring wide = platform::Utf8Decode(fileName);
    return std::any_of(extensions_.begin(), extensions_.end(),
                       [&](const std::wstring& ext) { return EndsWithNoCase(wide, ext); });
}

void CFileChooserWnd::FillList() {
    if (CControlUI* label = m_pm.FindControl(L"file_chooser_folder")) {
        label->SetText(platform::Utf8Decode(folder_).c_str());
    }
    auto* list = dynamic_cast<CListUI*>(m_pm.FindControl(kList));
    if (list == nullptr) {
        return;
    }
    list->RemoveAll();
    for (const Entry& entry : entries_) {
        auto* row = new CListLabelElementUI();
        std::wstring text = platform::Utf8Decode(entry.name);
        if (entry.folder && entry.name != "..") {
            text += L'/';
        }
        row->SetAttribute(L"height", L"24");
        row->SetText(text.c_str());
        list->Add(row);
    }
}

void CFileChooserWnd::OnRowSelected(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size()) || entries_[index].folder) {
        return;
    }
    if (CControlUI* edit = m_pm.FindControl(kName)) {
        edit->SetText(platform::Utf8Decode(entries_[index].name).c_str());
    }
}

void CFileChooserWnd::OnRowActivated(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return;
    }
    // Copied: showing another folder replaces the entries.
    const Entry entry = entries_[index];
    if (entry.folder) {
        ShowFolder(folder_ + entry.name);
    } else {
        AcceptPath(folder_ + entry.name);
    }
}

void CFileChooserWnd::Accept() {
    CControlUI* edit = m_pm.FindControl(kName);
    const std::wstring text = edit != nullptr ? Trimmed(edit->GetText().view()) : std::wstring();
    if (text.empty() || HasControlCharacter(text)) {
        ShowError(L"file_chooser_bad_name");
        return;
    }
    const std::string typed = platform::Utf8Encode(text);
    AcceptPath(typed.front() == '/' ? typed : folder_ + typed);
}

bool CFileChooserWnd::AcceptPath(const std::string& path) {
    // A folder, typed or activated, is entered rather than chosen.
    fs::path chosen = fs::path(path).lexically_normal();
    if (IsFolder(chosen)) {
        if (ShowFolder(chosen.string())) {
            if (CControlUI* edit = m_pm.FindControl(kName)) {
                edit->SetText(L"");
            }
        }
        return false;
    }
    std::wstring fileName = platform::Utf8Decode(chosen.filename().string());
    if (fileName.empty() || fileName == L"." || fileName == L".." ||
        chosen.filename().string().size() > kMaxNameBytes) {
        ShowError(L"file_chooser_bad_name");
        return false;
    }
    std::error_code ec;
    if (!save_) {
        if (!fs::is_regular_file(chosen, ec)) {
            ShowError(L"file_chooser_no_file");
            return false;
        }
    } else {
        if (!extensions_.empty() && !Matches(chosen.filename().string())) {
            chosen += platform::Utf8Encode(extensions_.front());
        }
        if (chosen.filename().string().size() > kMaxNameBytes) {
            ShowError(L"file_chooser_bad_name");
            return false;
        }
        if (!IsFolder(chosen.parent_path())) {
            ShowError(L"file_chooser_no_folder");
            return false;
        }
        if (IsFolder(chosen)) {
            ShowError(L"file_chooser_bad_name");
            return false;
        }
    }
    result_ = platform::Utf8Decode(chosen.string());
    Close(1);
    return true;
}

void CFileChooserWnd::ShowError(const wchar_t* key) {
    if (CControlUI* label = m_pm.FindControl(L"file_chooser_error")) {
        label->SetResourceText(*key != L'\0');
        label->SetText(key);
    }
}

std::optional<std::wstring> ChooseFile(HWND parent, bool save, const std::wstring& filter,
                                       const std::string& folder) {
    CFileChooserWnd wnd(save, filter, StartFolder(folder));
    if (wnd.Create(parent, L"filechooser", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) ==
        nullptr) {
        return std::nullopt;
    }
    wnd.CenterWindow();
    wnd.ShowModal();
    return wnd.Result();
}
