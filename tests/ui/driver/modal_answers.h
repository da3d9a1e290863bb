#pragma once
// What a person does in a window that opens modally (a message box, the file chooser, the
// settings or about window). Such a window runs its own message loop until it closes, so
// the click that opened it returns only afterwards: the answer is given beforehand and
// runs inside that loop as soon as the window is shown, in the order given.
//
//   ui::ModalAnswers answers(ui);
//   answers.When(L"MsgWnd", [&](HWND box) { ui.Click(ui.FindIn(box, L"confirm_btn")); });
//   ui.Click(L"device_reset_btn");
//   EXPECT_TRUE(answers.AllGiven());
//
// A modal window left open (no answer for it, or an answer that did not close it) is
// closed after a while, and the test fails: a test never hangs on a window nobody answers.

#include <deque>
#include <functional>
#include <set>
#include <string>

#include "platform/win_types.h"

namespace ui {

class UiDriver;

class ModalAnswers {
  public:
    explicit ModalAnswers(UiDriver& ui);
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // `answer` runs once, with the window, when a window of that class is shown that no
    // earlier answer was given to.
    void When(std::wstring className, std::function<void(HWND)> answer);
    // The next message box: its text read into `text`, its confirm button pressed.
    void ConfirmMessageBox(std::wstring* text);
    // Every answer given has run.
    bool AllGiven() const { return pending_.empty(); }

  private:
    struct Answer {
        std::wstring className;
        std::function<void(HWND)> run;
    };
    void Tick();
    HWND UnansweredWindowOfClass(const std::wstring& className) const;
    HWND WaitingModalWindow() const;

    UiDriver& ui_;
    HWND clock_ = nullptr;
    std::deque<Answer> pending_;
    std::set<HWND> answered_;
    int unexpectedTicks_ = 0;
};

}  // namespace ui
