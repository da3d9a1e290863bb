#include "shell_fixture.h"

#include <thread>

#include "app/control_registration.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_control.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace shell_testing {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        MSG msg;
        if (platform::PeekMessage(&msg, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                continue;  // the loop of the program would end here; the test goes on
            }
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
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

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

void ShellTest::SetUp() {
    runtimeEnv_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", runtime_.path());
    useBus_ = std::make_unique<platform::hid::ScopedHidBus>(bus_);
    DuiLib::CPaintManagerUI::SetResourcePath(L"skin");
    ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    RegisterControlClasses();
}

void ShellTest::TearDown() {
    if (window_) {
        CloseMainWindow();
    }
    window_.reset();
    bus_.UnplugAll();
    useBus_.reset();
}

void ShellTest::CreateMainWindow() {
    window_ = std::make_unique<CMainWnd>();
    ASSERT_NE(window_->Create(nullptr, L"Velkaro", 0x96CA0000, 0, 0, 0, 800, 572), nullptr)
        << window_->GetLastBuildError().ToUtf8();
    window_->CenterWindow();
    ASSERT_TRUE(PumpUntil([this] { return window_->IsInitialised(); })) << "no windowinit";
}

void ShellTest::CloseMainWindow() {
    platform::PostMessage(window_->GetHWND(), WM_CLOSE, 0, 0);
    PumpUntil([this] {
        return !window_->IsWorkerRunning(kCaptureThreadSlot) &&
               !window_->IsWorkerRunning(kLightSyncThreadSlot);
    });
}

DuiLib::CControlUI* ShellTest::Find(const wchar_t* name) {
    return window_->GetPaintManager()->FindControl(name);
}

bool ShellTest::IsMainWindowVisible() {
    return platform::IsWindowVisible(window_->GetHWND()) != 0;
}

}  // namespace shell_testing
