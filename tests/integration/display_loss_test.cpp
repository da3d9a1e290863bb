// The built program on a display of its own while a keyboard's threads run: the display
// going away and the signals of a session's end each end it cleanly. The sanitizer build
// aborts on any report, so a clean exit status is the check.

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "program_run.h"
#include "support/private_x_server.h"
#include "support/temp_dir.h"

namespace shell_testing {
namespace {

using testing_support::ChildProcess;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool SanitizerSpoke(const std::string& text) {
    return Contains(text, "runtime error") || Contains(text, "Sanitizer:");
}

class DisplayLossTest : public ProgramRunTest {
  protected:
    void SetUp() override {
        if (x_.Display().empty()) {
            GTEST_SKIP() << "no Xvfb to run the program on";
        }
    }

    // The program with a simulated keyboard on the private display; it returns once the
    // main window shows the keyboard's entry, so that the keyboard's threads run.
    std::unique_ptr<ChildProcess> RunOnDisplay(testing_support::EnvironmentChanges changes = {}) {
        const std::string marks = dir_.File("marks-" + std::to_string(runs_ + 1));
        changes.insert({{"DISPLAY", x_.Display()},
                        {"SDL_VIDEODRIVER", std::nullopt},
                        {"VELKARO_SIM", "keyboard"},
                        {"VELKARO_MILESTONES", marks}});
        auto program = Run(VELKARO_PROGRAM, changes);
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kProgramMs);
        for (;;) {
            const std::string seen = testing_support::ReadTextFile(marks);
            const size_t entry = seen.find("entry-shown");
            if (entry != std::string::npos &&
                seen.find("present-MainWnd", entry) != std::string::npos) {
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the program did not come up: " << program->Stderr();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return program;
    }

    testing_support::PrivateXServer x_{dir_.File("xvfb-stderr")};
};

// The keyboard's lights repaint the window all the time, so the loss may also be noticed
// inside a display call, where ending at once is the safe way out: either way status 1, the
// line that says so, and nothing destroyed under the keyboard's threads.
// Ending at once leaves the workers unjoined on purpose, and the race detector counts
// a worker that already finished (the sleep watcher's, without a system bus) as leaked.
TEST_F(DisplayLossTest, ADisplayThatGoesAwayEndsTheProgramWithStatusOne) {
    const char* raceOptions = std::getenv("TSAN_OPTIONS");
    auto program =
        RunOnDisplay({{"TSAN_OPTIONS", std::string(raceOptions != nullptr ? raceOptions : "") +
                                           ":report_thread_leaks=0"}});
    x_.Stop();
    EXPECT_EQ(program->WaitExit(kProgramMs), 1);
    const std::string said = program->Stderr();
    EXPECT_TRUE(Contains(said, "velkaro: lost the connection to the display " + x_.Display()))
        << said;
    EXPECT_FALSE(SanitizerSpoke(said)) << said;
}

TEST_F(DisplayLossTest, TheSignalsOfASessionsEndCloseTheProgramCleanly) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        auto program = RunOnDisplay();
        program->Signal(signal);
        EXPECT_EQ(program->WaitExit(kProgramMs), 0) << signal;
        EXPECT_FALSE(SanitizerSpoke(program->Stderr())) << program->Stderr();
    }
}

}  // namespace
}  // namespace shell_testing
