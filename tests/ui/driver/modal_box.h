#pragma once
// A message box opens its own modal loop inside the click that asked for it, so a test
// cannot answer it after the click returns. A ModalBoxAnswerer looks for shown message
// boxes on every turn of whatever loop runs, reads their text as a person does and
// presses their confirm button with the pointer.

#include <string>
#include <vector>

#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "ui/driver/ui_driver.h"

namespace ui {

class ModalBoxAnswerer {
  public:
    explicit ModalBoxAnswerer(UiDriver& ui) : ui_(ui) {
        platform::WindowCreateParams params;
        params.className = L"ModalBoxAnswerer";
        hwnd_ = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM, LPARAM) {
            if (msg == WM_TIMER) {
                Look();
            }
            return LRESULT{0};
        });
        platform::SetTimer(hwnd_, 1, kLookEveryMs);
    }
    ~ModalBoxAnswerer() { platform::DestroyWindow(hwnd_); }
    ModalBoxAnswerer(const ModalBoxAnswerer&) = delete;
    ModalBoxAnswerer& operator=(const ModalBoxAnswerer&) = delete;

    // The text of each box answered so far, in order.
    const std::vector<std::wstring>& Texts() const { return texts_; }

  private:
    // A timer of its own, so that it fires inside the box's own loop too.
    static constexpr UINT kLookEveryMs = 20;

    void Look() {
        if (!busy_) {
            busy_ = true;
            if (const HWND box = ui_.ShownWindowOfClass(L"MsgWnd")) {
                texts_.push_back(ui_.Text(ui_.FindIn(box, L"MessageText")));
                ui_.Click(ui_.FindIn(box, L"confirm_btn"));
            }
            busy_ = false;
        }
    }

    UiDriver& ui_;
    HWND hwnd_ = nullptr;
    bool busy_ = false;
    std::vector<std::wstring> texts_;
};

}  // namespace ui
