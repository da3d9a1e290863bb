#pragma once
// Tests meet the program's modal message box from inside its own loop: a hidden window
// that looks for the box on every turn of whatever loop runs, reads its text and confirms.

#include <string>
#include <vector>

#include "duilib/paint_manager.h"
#include "platform/win_types.h"

namespace testing_support {

// The paint manager of the open window of `windowClass`, or null.
DuiLib::CPaintManagerUI* ManagerOfClass(const wchar_t* windowClass);

class MessageBoxReader {
  public:
    MessageBoxReader();
    ~MessageBoxReader();
    MessageBoxReader(const MessageBoxReader&) = delete;
    MessageBoxReader& operator=(const MessageBoxReader&) = delete;

    // The text of each box confirmed so far, in order.
    const std::vector<std::wstring>& Texts() const { return texts_; }

  private:
    void Look();

    HWND hwnd_ = nullptr;
    std::vector<std::wstring> texts_;
};

}  // namespace testing_support
