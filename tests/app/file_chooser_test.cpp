// The file chooser, driven through its list, name field and buttons while it runs modally.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/file_chooser_wnd.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_list.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;
namespace fs = std::filesystem;

// Runs `onApp` when it receives WM_APP: the way to act inside the chooser's modal loop.
struct Owner {
    std::function<void()> onApp;
    HWND hwnd = nullptr;
    Owner() {
        platform::WindowCreateParams params;
        params.className = L"ChooserOwner";
        hwnd = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM, LPARAM) {
            if (msg == WM_APP && onApp) {
                onApp();
            }
            return LRESULT{0};
        });
    }
    ~Owner() { platform::DestroyWindow(hwnd); }
};

CPaintManagerUI* Chooser() {
    for (CPaintManagerUI* pm : CPaintManagerUI::GetPaintManagers()) {
        if (pm->GetPaintWindow() != nullptr &&
            platform::GetWindowClassName(pm->GetPaintWindow()) == L"FileChooserWnd") {
            return pm;
        }
    }
    return nullptr;
}

DuiLib::CControlUI* Control(const wchar_t* name) {
    CPaintManagerUI* pm = Chooser();
    return pm != nullptr ? pm->FindControl(name) : nullptr;
}

std::string Text(const wchar_t* name) {
    DuiLib::CControlUI* control = Control(name);
    return control != nullptr ? control->GetText().ToUtf8() : std::string("<missing>");
}

void Click(const wchar_t* name) {
    if (DuiLib::CControlUI* control = Control(name)) {
        Chooser()->SendNotify(control, DuiLib::DUI_MSGTYPE_CLICK);
    }
}

void Type(const std::wstring& text) {
    if (DuiLib::CControlUI* edit = Control(L"file_chooser_name")) {
        edit->SetText(text.c_str());
    }
}

DuiLib::CListUI* List() {
    return dynamic_cast<DuiLib::CListUI*>(Control(L"file_chooser_list"));
}

std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    if (DuiLib::CListUI* list = List()) {
        for (int i = 0; i < list->GetCount(); ++i) {
            rows.push_back(list->GetItemAt(i)->GetText().ToUtf8());
        }
    }
    return rows;
}

int RowOf(const std::string& text) {
    const std::vector<std::string> rows = Rows();
    const auto it = std::find(rows.begin(), rows.end(), text);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

class FileChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml"));
        fs::create_directory(dir_.File("Alpha"));
        fs::create_directory(dir_.File("beta"));
        fs::create_directory(dir_.File(".hidden"));
        for (const char* name : {"a.mac", "B.MAC", "c.txt", "mac", ".d.mac"}) {
            Touch(dir_.File(name));
        }
    }

    // Shows the chooser over dir_ and runs `script` inside it.
    std::optional<std::wstring> Run(bool save, const std::function<void()>& script,
                                    const wchar_t* filter = L"Macro Files(*.mac)") {
        owner_.onApp = script;
        platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
        return ChooseFile(owner_.hwnd, save, filter, dir_.path());
    }

    std::wstring Wide(const std::string& path) { return std::wstring(path.begin(), path.end()); }

    testing_support::TempDir dir_;
    Owner owner_;
};

TEST_F(FileChooserTest, OpenListsFoldersAndMatchingFilesAndReturnsTheSelectedFile) {
    std::vector<std::string> rows;
    std::string folder, title, typed;
    auto chosen = Run(false, [&] {
        rows = Rows();
        folder = Text(L"file_chooser_folder");
        title = Text(L"file_chooser_title");
        List()->SelectItem(RowOf("B.MAC"));
        typed = Text(L"file_chooser_name");
        Click(L"confirm_btn");
    });
    EXPECT_EQ(rows, (std::vector<std::string>{"..", "Alpha/", "beta/", "a.mac", "B.MAC"}));
    EXPECT_EQ(folder, dir_.path());
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(typed, "B.MAC");
    EXPECT_EQ(chosen, Wide(dir_.File("B.MAC")));

    chosen = Run(false, [&] { List()->GetItemAt(RowOf("a.mac"))->Activate(); });
    EXPECT_EQ(chosen, Wide(dir_.File("a.mac"))) << "a double click chooses a file";
}

TEST_F(FileChooserTest, OpenRefusesMissingFilesAndCancelReturnsNothing) {
    std::string error;
    bool stillOpen = false;
    auto chosen = Run(false, [&] {
        Type(L"missing.mac");
        Click(L"confirm_btn");
        error = Text(L"file_chooser_error");
        stillOpen = Chooser() != nullptr;
        Click(L"cancel_btn");
    });
    EXPECT_EQ(error, "The file does not exist.");
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(chosen.has_value());

    chosen = Run(false, [&] {
        List()->SelectItem(RowOf("a.mac"));
        Click(L"closebtn");
    });
    EXPECT_FALSE(chosen.has_value()) << "a selection is no choice until confirmed";
}

TEST_F(FileChooserTest, SaveAppendsTheExtensionAndNeedsAnExistingFolder) {
    std::string title, inner, error;
    auto chosen = Run(true, [&] {
        title = Text(L"file_chooser_title");
        List()->GetItemAt(RowOf("beta/"))->Activate();
        inner = Text(L"file_chooser_folder");
        Type(L"nowhere/out");
        Click(L"confirm_btn");
        error = Text(L"file_chooser_error");
        Type(L"  out  ");
        Click(L"confirm_btn");
    });
    EXPECT_EQ(title, "Save As");
    EXPECT_EQ(inner, dir_.File("beta/"));
    EXPECT_EQ(error, "The folder does not exist.");
    EXPECT_EQ(chosen, Wide(dir_.File("beta/out.mac")));

    chosen = Run(true, [&] {
        Type(L"../" + Wide(fs::path(dir_.path()).parent_path().filename().string()) +
             L"/Alpha");  // a folder typed in is entered
        Click(L"confirm_btn");
        Type(L"Kept.MAC");
        Click(L"confirm_btn");
    });
    EXPECT_EQ(chosen, Wide(dir_.File("Alpha/Kept.MAC")));
}

TEST_F(FileChooserTest, OddNamesAndFoldersNeverCrashOrChoose) {
    std::vector<bool> open;
    auto chosen = Run(false, [&] {
        for (const std::wstring& odd :
             {std::wstring(L"line\nbreak"), std::wstring(L"   "), std::wstring(4000, L'x'),
              std::wstring(L"c.txt/x"), std::wstring(L"\xD800\xDFFF\xDC00"), std::wstring(L".."),
              std::wstring(L"/"), std::wstring(L"../../..")}) {
            Type(odd);
            Click(L"confirm_btn");
            open.push_back(Chooser() != nullptr);
        }
        Click(L"cancel_btn");
    });
    EXPECT_FALSE(chosen.has_value());
    EXPECT_EQ(open, std::vector<bool>(8, true));

    std::vector<std::string> errors;
    chosen = Run(true, [&] {
        for (const std::wstring& odd : {std::wstring(300, L'y'), std::wstring(L"tab\tname")}) {
            Type(odd);
            Click(L"confirm_btn");
            errors.push_back(Text(L"file_chooser_error"));
        }
        Click(L"cancel_btn");
    });
    EXPECT_FALSE(chosen.has_value());
    EXPECT_EQ(errors, std::vector<std::string>(2, "Enter a valid file name."))
        << "too long for a file name, or holding a control character";

    std::vector<std::string> rows;
    owner_.onApp = [&] {
        rows = Rows();
        Click(L"cancel_btn");
    };
    platform::PostMessage(owner_.hwnd, WM_APP, 0, 0);
    chosen = ChooseFile(owner_.hwnd, false, L"broken(*.", dir_.File("no/such/folder"));
    EXPECT_FALSE(chosen.has_value());
    EXPECT_FALSE(rows.empty()) << "a missing start folder falls back to another";
}

TEST(FileChooserFilterTest, ExtensionsComeFromTheParentheses) {
    EXPECT_EQ(FilterExtensions(L"Macro Files(*.mac)"), (std::vector<std::wstring>{L".mac"}));
    EXPECT_EQ(FilterExtensions(L"Images(*.png; *.jpg;bad;*.)"),
              (std::vector<std::wstring>{L".png", L".jpg"}));
    EXPECT_TRUE(FilterExtensions(L"All(*.*)").empty());
    EXPECT_TRUE(FilterExtensions(L"no parentheses").empty());
    EXPECT_TRUE(FilterExtensions(L")(*.mac").empty());
}

}  // namespace
