#pragma once
// A window that opens modally (a message box, the file chooser) runs its own message loop
// inside the click that opened it, so a test gives its steps there beforehand: each runs,
// once, inside that loop when a window of its class is shown. A message box nobody gave a
// step for is noted and confirmed, so a test never hangs on it and can say it came.
//
//   ui::ModalSteps modal(ui);
//   modal.When(L"MsgWnd", [&](HWND box) { modal.Press(box, L"confirm_btn"); });
//   ui.Click(L"default_btn");
//   EXPECT_TRUE(modal.AllDone());
//
// The step that closes the window presses with Press: the window's own loop must be the
// one that takes its close request, as it does when a person clicks.

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace ui {

class UiDriver;

class ModalSteps {
  public:
    explicit ModalSteps(UiDriver& ui);
    ~ModalSteps();
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    void When(std::wstring className, std::function<void(HWND)> step);
    // Moves to the control of that name in `hwnd`, presses and releases there, and
    // leaves what follows to the loop that runs.
    void Press(HWND hwnd, std::wstring_view name);
    bool AllDone() const { return steps_.empty(); }
    // The texts of the message boxes that came without a step for them.
    const std::vector<std::wstring>& UnexpectedBoxes() const { return unexpected_; }

  private:
    struct Step {
        std::wstring className;
        std::function<void(HWND)> run;
    };
    void Tick();
    HWND NewWindowOfClass(const std::wstring& className) const;

    UiDriver& ui_;
    HWND clock_ = nullptr;
    bool running_ = false;
    std::deque<Step> steps_;
    std::set<HWND> seen_;
    std::vector<std::wstring> unexpected_;
};

}  // namespace ui
