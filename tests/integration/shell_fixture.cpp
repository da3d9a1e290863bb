#include "shell_fixture.h"

#include "app/control_registration.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_control.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/message_pump.h"

namespace shell_testing {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    return testing_support::PumpMessagesUntil(done, ms);
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
