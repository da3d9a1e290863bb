#pragma once
// Whether a person can read what a window shows: every shown control's text measured with
// the faces and sizes the renderer draws it with, against the room the control leaves it
// (its rectangle less its text padding), and every shown control whole inside the part of
// its window its parents show (a scrolled list may hide rows: they are not cut off).

#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace DuiLib {
class CControlUI;
}

namespace ui {

class UiDriver;

struct LayoutProblem {
    std::string window;   // the window's class
    std::string control;  // its name, or its class and text when it has none
    std::string text;
    std::string what;  // for example "text 96x16 in 80x26"
};

class TextFit {
  public:
    TextFit();
    ~TextFit();
    TextFit(const TextFit&) = delete;
    TextFit& operator=(const TextFit&) = delete;

    // What does not fit in the shown controls of `hwnd`, or of the shown part `root` of it.
    std::vector<LayoutProblem> Check(const UiDriver& ui, HWND hwnd,
                                     DuiLib::CControlUI* root = nullptr);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One line per problem, for a failure message.
std::string Describe(const std::vector<LayoutProblem>& problems);

}  // namespace ui
