#include "ui/modal_steps.h"

#include <gtest/gtest.h>

#include "duilib/paint_manager.h"
#include "duilib/ui_control.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "ui/driver/ui_driver.h"

namespace ui {
namespace {

// A timer of its own: it fires inside any loop that runs, the modal window's too.
constexpr UINT kLookEveryMs = 20;

}  // namespace

ModalSteps::ModalSteps(UiDriver& ui) : ui_(ui) {
    platform::WindowCreateParams params;
    params.className = L"ModalSteps";
    clock_ = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM, LPARAM) {
        if (msg == WM_TIMER) {
            Tick();
        }
        return LRESULT{0};
    });
    platform::SetTimer(clock_, 1, kLookEveryMs);
}

ModalSteps::~ModalSteps() {
    platform::DestroyWindow(clock_);
}

void ModalSteps::Press(HWND hwnd, std::wstring_view name) {
    DuiLib::CControlUI* control = ui_.FindIn(hwnd, name);
    if (control == nullptr || !ui_.IsShown(control)) {
        ADD_FAILURE() << "nothing to press in the window";
        return;
    }
    const POINT at = UiDriver::CentreOf(control);
    ui_.MoveTo(hwnd, at);
    ui_.Press(hwnd, at);
    ui_.Release(hwnd, at);
}

void ModalSteps::When(std::wstring className, std::function<void(HWND)> step) {
    steps_.push_back({std::move(className), std::move(step)});
}

HWND ModalSteps::NewWindowOfClass(const std::wstring& className) const {
    for (HWND hwnd : ui_.ShownWindows()) {
        if (platform::GetWindowClassName(hwnd) == className && seen_.count(hwnd) == 0) {
            return hwnd;
        }
    }
    return nullptr;
}

void ModalSteps::Tick() {
    if (running_) {
        return;  // a step's own clicks turn the loop again
    }
    running_ = true;
    // A handle of a window gone may be given to a new one.
    std::erase_if(seen_, [](HWND hwnd) { return !platform::IsWindow(hwnd); });
    if (!steps_.empty()) {
        if (HWND hwnd = NewWindowOfClass(steps_.front().className)) {
            seen_.insert(hwnd);
            const Step step = std::move(steps_.front());
            steps_.pop_front();
            ui_.Settle();
            step.run(hwnd);
        }
    }
    if (HWND box = NewWindowOfClass(L"MsgWnd")) {
        seen_.insert(box);
        ui_.Settle();
        unexpected_.push_back(ui_.Text(ui_.FindIn(box, L"MessageText")));
        Press(box, L"confirm_btn");
    }
    running_ = false;
}

}  // namespace ui
