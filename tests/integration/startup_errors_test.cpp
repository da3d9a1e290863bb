// A start that cannot go on says what is wrong and ends with a telling exit code; one
// that can go on says what it worked around.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/peer_socket.h"
#include "platform/peer_wire.h"
#include "platform/single_instance.h"
#include "platform/unique_fd.h"
#include "program_run.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "update/product_name.h"

namespace shell_testing {
namespace {

using testing_support::ChildProcess;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs the program to its end: its exit code and what it said.
std::pair<std::optional<int>, std::string> Finish(ChildProcess& child) {
    const std::optional<int> code = child.WaitExit(kProgramMs);
    return {code, child.Stderr()};
}

class StartupErrorsTest : public ProgramRunTest {
  protected:
    // A program that started: it listens, then a termination request ends it cleanly.
    void ExpectRunsAndStops(ChildProcess& child, const std::string& runtimeFolder) {
        ASSERT_TRUE(WaitUntilListening(runtimeFolder)) << child.Stderr();
        child.Signal(SIGTERM);
        EXPECT_EQ(child.WaitExit(kProgramMs), 0) << child.Stderr();
    }
};

TEST_F(StartupErrorsTest, UnknownDeviceChoicesListTheAcceptedValues) {
    auto hid = Run(VELKARO_PROGRAM, {{"VELKARO_HID", "usb"}});
    const auto [hidCode, hidText] = Finish(*hid);
    EXPECT_EQ(hidCode, 2);
    EXPECT_TRUE(Contains(hidText, "\"usb\"") && Contains(hidText, "hidraw") &&
                Contains(hidText, "sim"))
        << hidText;

    auto sim = Run(VELKARO_PROGRAM, {{"VELKARO_SIM", "keyboard,toaster"}});
    const auto [simCode, simText] = Finish(*sim);
    EXPECT_EQ(simCode, 2);
    EXPECT_TRUE(Contains(simText, "\"keyboard,toaster\"") &&
                Contains(simText, "keyboard, mouse, mousepad, headset") &&
                Contains(simText, "none"))
        << simText;
}

TEST_F(StartupErrorsTest, MissingFoldersAreNamed) {
    for (const auto& [skin, data, missing] :
         {std::tuple{false, true, "skin/"}, std::tuple{true, false, "DefaultData/"}}) {
        const std::string program = ProgramCopy(missing, skin, data);
        auto run = Run(program);
        const auto [code, text] = Finish(*run);
        EXPECT_EQ(code, 1);
        EXPECT_TRUE(Contains(text, program.substr(0, program.rfind('/') + 1) + missing)) << text;
    }
}

TEST_F(StartupErrorsTest, MalformedSkinAndLanguageFilesAreNamedWithTheirReason) {
    const std::string program = ProgramCopy("program", true, true);
    const std::string skin = program.substr(0, program.rfind('/') + 1) + "skin/";
    for (const char* file : {"res.xml", "main.xml"}) {
        const std::string good = testing_support::ReadTextFile(skin + file);
        ASSERT_TRUE(testing_support::WriteTextFile(skin + file, "<Window><Unclosed"));
        auto run = Run(program);
        const auto [code, text] = Finish(*run);
        EXPECT_EQ(code, 1) << file;
        EXPECT_TRUE(Contains(text, skin + file) && Contains(text, "malformed")) << text;
        ASSERT_TRUE(testing_support::WriteTextFile(skin + file, good));
    }
    // Without its language texts the program goes on, and says so.
    ASSERT_TRUE(testing_support::WriteTextFile(skin + "lan_en.xml", "<Language><Unclosed"));
    auto run = Run(program);
    ExpectRunsAndStops(*run, runtime_);
    EXPECT_TRUE(Contains(run->Stderr(), skin + "lan_en.xml")) << run->Stderr();
}

TEST_F(StartupErrorsTest, WithoutADisplayOnlyOffscreenPaintingStarts) {
    auto unset = Run(VELKARO_PROGRAM, {{"SDL_VIDEODRIVER", std::nullopt}});
    const auto [unsetCode, unsetText] = Finish(*unset);
    EXPECT_EQ(unsetCode, 1);
    EXPECT_TRUE(Contains(unsetText, "DISPLAY is not set")) << unsetText;

    // The display library keeps a little memory of a failed connection: not ours to mend.
    auto nowhere = Run(VELKARO_PROGRAM, {{"SDL_VIDEODRIVER", std::nullopt},
                                         {"DISPLAY", ":97"},
                                         {"ASAN_OPTIONS", "detect_leaks=0"}});
    const auto [nowhereCode, nowhereText] = Finish(*nowhere);
    EXPECT_EQ(nowhereCode, 1);
    EXPECT_TRUE(Contains(nowhereText, "\":97\"")) << nowhereText;

    auto screenshot = Run(VELKARO_PROGRAM, {{"SDL_VIDEODRIVER", std::nullopt},
                                            {"VELKARO_SCREENSHOT", dir_.File("shot.png")}});
    ExpectRunsAndStops(*screenshot, runtime_);
}

TEST_F(StartupErrorsTest, AnUnusableRuntimeFolderIsWorkedAroundAndABadLockIsAnError) {
    auto missing = Run(VELKARO_PROGRAM, {{"XDG_RUNTIME_DIR", dir_.File("missing")}});
    const std::string privateFolder = dir_.File("velkaro-" + std::to_string(::getuid()) + "/");
    {
        // This process falls back as the program does, to find it.
        testing_support::ScopedEnv tmp("TMPDIR", dir_.path());
        ExpectRunsAndStops(*missing, dir_.File("missing"));
    }
    const std::string said = missing->Stderr();
    EXPECT_TRUE(Contains(said, dir_.File("missing") + " does not exist; using " + privateFolder))
        << said;

    ASSERT_EQ(::mkdir((runtime_ + "Velkaro.lock").c_str(), 0700), 0);
    auto badLock = Run(VELKARO_PROGRAM);
    const auto [code, text] = Finish(*badLock);
    EXPECT_EQ(code, 1) << "a lock that cannot be opened is not a second instance";
    EXPECT_TRUE(Contains(text, runtime_ + "Velkaro.lock: Is a directory")) << text;
}

// An instance that is ending, played by the test: it holds the lock and refuses a
// hand-over, as a program does between its close request and its end.
class EndingInstance {
  public:
    explicit EndingInstance(const std::string& runtimeFolder)
        : env_("XDG_RUNTIME_DIR", runtimeFolder),
          lock_(::open(platform::SingleInstance::LockPath(kProductName).c_str(),
                       O_RDWR | O_CREAT | O_CLOEXEC, 0600)),
          listening_(platform::peer::BindListening(
              platform::SingleInstance::SocketPath(kProductName), 4)) {}
    ~EndingInstance() { ::unlink(platform::SingleInstance::SocketPath(kProductName).c_str()); }

    bool Holds() { return lock_.valid() && ::flock(lock_.get(), LOCK_EX | LOCK_NB) == 0; }
    // Takes one hand-over and says no to it.
    bool RefuseHandOver() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        pollfd ready{listening_.get(), POLLIN, 0};
        if (::poll(&ready, 1, kProgramMs) != 1) {
            return false;
        }
        platform::UniqueFd peer(::accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        std::vector<uint8_t> record(platform::peer::EncodeMessage(kProductName, 0, 1).size());
        return peer.valid() && platform::peer::ReadExactly(peer.get(), record, deadline) &&
               platform::peer::WriteAll(peer.get(), platform::peer::EncodeResult(0), deadline);
    }

  private:
    testing_support::ScopedEnv env_;
    platform::UniqueFd lock_;
    platform::UniqueFd listening_;
};

// A restart: the new start finds the old instance still ending, waits for its end and
// comes up, where it used to hand its start over to the ending one and vanish.
TEST_F(StartupErrorsTest, AStartWhileTheRunningOneEndsComesUpOnceThatHasEnded) {
    ::mkdir(runtime_.c_str(), 0700);
    auto ending = std::make_unique<EndingInstance>(runtime_);
    ASSERT_TRUE(ending->Holds());
    auto restarted = Run(VELKARO_PROGRAM);
    ASSERT_TRUE(ending->RefuseHandOver()) << restarted->Stderr();
    ending.reset();
    ExpectRunsAndStops(*restarted, runtime_);
}

TEST_F(StartupErrorsTest, AStartWaitingForAnInstanceToEndStopsWhenAskedTo) {
    ::mkdir(runtime_.c_str(), 0700);
    EndingInstance ending(runtime_);
    ASSERT_TRUE(ending.Holds());
    auto waiting = Run(VELKARO_PROGRAM);
    ASSERT_TRUE(ending.RefuseHandOver()) << waiting->Stderr();
    waiting->Signal(SIGINT);
    const auto [code, said] = Finish(*waiting);
    EXPECT_EQ(code, 0) << said;
    EXPECT_FALSE(Contains(said, "does not answer")) << said;
}

}  // namespace
}  // namespace shell_testing
