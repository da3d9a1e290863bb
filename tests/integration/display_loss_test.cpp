// The built program on a display of its own while a keyboard's threads run: the display
// going away and the signals of a session's end each end it cleanly. The sanitizer build
// aborts on any report, so a clean exit status is the check.

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/peer_socket.h"
#include "platform/unique_fd.h"
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

// A display server that answers a program's connection as X does and hangs up at its
// first request: the display goes away while the program starts on it.
class HangingUpDisplay {
  public:
    HangingUpDisplay() {
        for (int number = 180; number < 240 && !listening_.valid(); ++number) {
            const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
            if (::access(path.c_str(), F_OK) == 0) {
                continue;
            }
            listening_ = platform::peer::BindListening(path, 8);
            if (listening_.valid()) {
                path_ = path;
                display_ = ":" + std::to_string(number);
            }
        }
        if (listening_.valid()) {
            thread_ = std::thread([this] { Serve(); });
        }
    }
    ~HangingUpDisplay() {
        if (thread_.joinable()) {
            ::shutdown(listening_.get(), SHUT_RDWR);
            thread_.join();
        }
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    const std::string& Display() const { return display_; }

  private:
    void Serve() {
        for (;;) {
            pollfd ready{listening_.get(), POLLIN, 0};
            if (::poll(&ready, 1, -1) != 1 || (ready.revents & POLLIN) == 0) {
                return;
            }
            const int fd = ::accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                return;
            }
            platform::UniqueFd client(fd);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            std::array<uint8_t, 12> head{};
            if (!platform::peer::ReadExactly(fd, head, deadline)) {
                continue;
            }
            const auto padded = [](size_t n) { return (n + 3) & ~size_t{3}; };
            std::vector<uint8_t> auth(padded(head[6] | head[7] << 8) +
                                      padded(head[8] | head[9] << 8));
            if (platform::peer::ReadExactly(fd, auth, deadline)) {
                platform::peer::WriteAll(fd, SetupReply(), deadline);
            }
            std::array<uint8_t, 4> request{};
            platform::peer::ReadExactly(fd, request, deadline);  // then hangs up
        }
    }

    // One screen of 640 x 480 at depth 24 with one true-colour visual, little-endian.
    static std::vector<uint8_t> SetupReply() {
        std::vector<uint8_t> out;
        const auto u8 = [&](unsigned v) { out.push_back(static_cast<uint8_t>(v)); };
        const auto u16 = [&](unsigned v) { u8(v & 0xFF), u8(v >> 8); };
        const auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
        u8(1), u8(0), u16(11), u16(0), u16(0);  // length patched below
        u32(1), u32(0x00200000), u32(0x001FFFFF), u32(0);
        u16(4), u16(0xFFFF), u8(1), u8(1), u8(0), u8(0), u8(32), u8(32), u8(8), u8(255), u32(0);
        out.insert(out.end(), {'T', 'e', 's', 't'});
        u8(24), u8(32), u8(32), u8(0), u32(0);                 // pixmap format
        u32(0x100), u32(0x20), u32(0xFFFFFF), u32(0), u32(0);  // root, colormap, pixels, masks
        u16(640), u16(480), u16(169), u16(127), u16(1), u16(1), u32(0x21), u8(0), u8(0), u8(24),
            u8(1);
        u8(24), u8(0), u16(1), u32(0);  // depth 24, one visual
        u32(0x21), u8(4), u8(8), u16(256), u32(0xFF0000), u32(0xFF00), u32(0xFF), u32(0);
        const size_t words = (out.size() - 8) / 4;
        out[6] = static_cast<uint8_t>(words), out[7] = static_cast<uint8_t>(words >> 8);
        return out;
    }

    platform::UniqueFd listening_;
    std::string path_;
    std::string display_;
    std::thread thread_;
};

TEST_F(ProgramRunTest, ADisplayThatGoesAwayDuringTheStartIsSaid) {
    HangingUpDisplay display;
    if (display.Display().empty()) {
        GTEST_SKIP() << "no free display number";
    }
    auto program = Run(VELKARO_PROGRAM, {{"DISPLAY", display.Display()},
                                         {"SDL_VIDEODRIVER", std::nullopt},
                                         {"XAUTHORITY", "/nonexistent"}});
    EXPECT_EQ(program->WaitExit(kProgramMs), 1);
    const std::string said = program->Stderr();
    EXPECT_TRUE(Contains(said, "velkaro: lost the connection to the display " + display.Display()))
        << said;
}

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
