#include "ui/driver/modal_answers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "ui/driver/ui_driver.h"

namespace ui {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 10;
// How long a modal window that no answer expects may stay: ample for a loaded machine,
// short beside the test's own time-out.
constexpr int kUnexpectedTicksAllowed = 3000;

}  // namespace

ModalAnswers::ModalAnswers(UiDriver& ui) : ui_(ui) {
    platform::WindowCreateParams params;
    params.className = L"ModalAnswers";
    clock_ = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM wParam, LPARAM) {
        if (msg == WM_TIMER && wParam == kTickTimer) {
            Tick();
        }
        return LRESULT{0};
    });
    platform::SetTimer(clock_, kTickTimer, kTickMs);
}

ModalAnswers::~ModalAnswers() {
    if (clock_ != nullptr) {
        platform::KillTimer(clock_, kTickTimer);
        platform::DestroyWindow(clock_);
    }
}

void ModalAnswers::When(std::wstring className, std::function<void(HWND)> answer) {
    pending_.push_back({std::move(className), std::move(answer)});
}

void ModalAnswers::ConfirmMessageBox(std::wstring* text) {
    When(L"MsgWnd", [this, text](HWND box) {
        *text = ui_.Text(ui_.FindIn(box, L"MessageText"));
        ui_.Click(ui_.FindIn(box, L"confirm_btn"));
    });
}

HWND ModalAnswers::UnansweredWindowOfClass(const std::wstring& className) const {
    for (HWND hwnd : ui_.ShownWindows()) {
        if (answered_.count(hwnd) == 0 && platform::GetWindowClassName(hwnd) == className) {
            return hwnd;
        }
    }
    return nullptr;
}

// A shown window whose owner is disabled runs a modal loop: answered or not, it waits for
// a person while it stays.
HWND ModalAnswers::WaitingModalWindow() const {
    for (HWND hwnd : ui_.ShownWindows()) {
        const HWND owner = platform::GetWindowOwner(hwnd);
        if (owner != nullptr && !platform::IsWindowEnabled(owner)) {
            return hwnd;
        }
    }
    return nullptr;
}

void ModalAnswers::Tick() {
    if (!pending_.empty()) {
        if (HWND hwnd = UnansweredWindowOfClass(pending_.front().className)) {
            // Taken before it runs: a window the answer opens gets the next answer, from
            // the loop of that window.
            Answer answer = std::move(pending_.front());
            pending_.pop_front();
            answered_.insert(hwnd);
            unexpectedTicks_ = 0;
            ui_.Settle();
            answer.run(hwnd);
            return;
        }
    }
    const HWND stray = WaitingModalWindow();
    unexpectedTicks_ = stray != nullptr ? unexpectedTicks_ + 1 : 0;
    if (stray != nullptr && unexpectedTicks_ > kUnexpectedTicksAllowed) {
        ADD_FAILURE() << "a modal window nobody answered or closed: "
                      << platform::Utf8Encode(platform::GetWindowClassName(stray));
        answered_.insert(stray);
        unexpectedTicks_ = 0;
        platform::PostMessage(stray, WM_CLOSE, 0, 0);
    }
}

}  // namespace ui
