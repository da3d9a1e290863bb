#include "support/message_pump.h"

#include <chrono>
#include <thread>

#include "duilib/paint_manager.h"
#include "platform/window_messages.h"

namespace testing_support {

bool PumpOneMessage() {
    MSG msg;
    if (!platform::PeekMessage(&msg, PM_REMOVE)) {
        platform::PumpPendingSends();
        return false;
    }
    if (msg.message != WM_QUIT && !DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
        platform::TranslateMessage(&msg);
        platform::DispatchMessage(&msg);
    }
    return true;
}

bool PumpMessagesUntil(const std::function<bool()>& done, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        if (!PumpOneMessage()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return true;
}

}  // namespace testing_support
