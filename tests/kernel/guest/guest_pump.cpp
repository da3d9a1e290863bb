#include "guest_pump.h"

#include <thread>

#include "duilib/paint_manager.h"
#include "platform/window_messages.h"

namespace kernel_test {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        MSG msg;
        if (platform::PeekMessage(&msg, PM_REMOVE)) {
            if (msg.message != WM_QUIT && !DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                platform::TranslateMessage(&msg);
                platform::DispatchMessage(&msg);
            }
        } else {
            platform::PumpPendingSends();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return true;
}

long MsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

}  // namespace kernel_test
