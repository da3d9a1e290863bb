// The session on a display that goes away: the loss is seen on the connection before SDL
// talks to the dead server, the owner hears of it from the message loop, and nothing of
// SDL's video is called again, its teardown included (a call would end the process).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "duilib/render/sdl/sdl_render_session.h"
#include "duilib/resource_manager.h"
#include "render_test_support.h"
#include "support/private_x_server.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CPaintManagerUI;

// Exit codes of the run below.
enum Outcome { kTold = 0, kNoDisplay = 2, kNotTold = 3 };

Outcome ShowAWindowAndLoseTheDisplay(testing_support::PrivateXServer& x,
                                     const testing_support::TempDir& dir) {
    testing_support::ScopedEnv display("DISPLAY", x.Display());
    testing_support::ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
    // libdbus, which SDL loads, gives up at once on a bus address that leads nowhere; left
    // to start a bus of its own, it leaves a buffer behind.
    testing_support::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.File("no-bus"));
    CPaintManagerUI::SetResourcePath(L"skin");
    DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml");

    std::string lost;
    DuiLib::CSdlRenderSession session;
    if (!session.HasDisplay()) {
        return kNoDisplay;
    }
    session.SetDisplayLostHandler([&lost](const std::string& name) { lost = name; });
    {
        render_test::LayoutFileWindow window(L"XML_MAIN");
        window.Create(nullptr, L"Velkaro", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 800, 572);
        window.ShowWindow(true, false);
        render_test::PumpUntilIdle();

        x.Stop();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (lost.empty() && std::chrono::steady_clock::now() < deadline) {
            render_test::PumpUntilIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return lost == x.Display() ? kTold : kNotTold;
}

TEST(DisplayLoss, TheOwnerIsToldAndTheDeadDisplayIsLeftAlone) {
    testing_support::TempDir dir;
    testing_support::PrivateXServer x(dir.File("xvfb-stderr"));
    if (x.Display().empty()) {
        GTEST_SKIP() << "no Xvfb to draw on";
    }
    // In a copy of this process: SDL's state stays behind with the dead display.
    EXPECT_EXIT(std::exit(ShowAWindowAndLoseTheDisplay(x, dir)), ::testing::ExitedWithCode(kTold),
                "");
}

}  // namespace
