// The single-instance lock, the hand-over of the product message to the running instance,
// and a listener that serves many peers at once.

#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/paths.h"
#include "platform/peer_socket.h"
#include "platform/peer_wire.h"
#include "platform/window_messages.h"
#include "support/message_receiver.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using platform::SingleInstance;
using testing_support::MessageReceiver;

// Generous: these waits end as soon as the message is there.
constexpr int kArrivalMs = 5000;

class SingleInstanceTest : public ::testing::Test {
  protected:
    testing_support::TempDir runtime_;
    testing_support::ScopedEnv env_{"XDG_RUNTIME_DIR", runtime_.path()};
    MessageReceiver receiver_;
    const UINT message_ = RegisterWindowMessageW(L"VelkaroTestMessage");
};

// A raw connection to the instance socket, as a peer of any behaviour makes it.
int ConnectRaw(bool nonBlocking = false) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = SingleInstance::SocketPath(L"VelkaroTest");
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", path.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

TEST_F(SingleInstanceTest, SecondInstanceFindsTheLockTakenAndHandsOverItsMessage) {
    {
        SingleInstance first(L"VelkaroTest");
        ASSERT_TRUE(first.IsFirst());
        ASSERT_TRUE(first.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));

        SingleInstance second(L"VelkaroTest");
        EXPECT_EQ(second.state(), SingleInstance::State::kRunning);
        EXPECT_FALSE(second.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));
        ASSERT_TRUE(SingleInstance::SendToRunning(L"VelkaroTest", L"velkarotestmessage", 0, 1));

        const auto got = receiver_.WaitFor(message_, 1, kArrivalMs);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].wParam, 0u);
        EXPECT_EQ(got[0].lParam, 1);
    }
    // The lock and the socket go with the first instance.
    SingleInstance again(L"VelkaroTest");
    EXPECT_TRUE(again.IsFirst());
    EXPECT_FALSE(SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 0, 1, 0));
}

TEST_F(SingleInstanceTest, AnInstanceThatIsClosingRefusesTheHandOverAndItsLockIsTakenAfter) {
    auto first = std::make_unique<SingleInstance>(L"VelkaroTest");
    ASSERT_TRUE(first->Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));
    SingleInstance second(L"VelkaroTest");
    ASSERT_EQ(second.state(), SingleInstance::State::kRunning);
    EXPECT_FALSE(second.WaitToBeFirst(0));

    platform::MarkWindowClosing(receiver_.hwnd());
    EXPECT_FALSE(SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 0, 1));
    {
        // A hung instance: its socket takes connections that nobody reads.
        const std::string path = SingleInstance::SocketPath(L"VelkaroTest");
        const std::string moved = path + ".away";
        ASSERT_EQ(::rename(path.c_str(), moved.c_str()), 0);
        platform::UniqueFd hung = platform::peer::BindListening(path, 4);
        ASSERT_TRUE(hung.valid());
        EXPECT_FALSE(
            SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 0, 1, 300));
        ::unlink(path.c_str());
        ASSERT_EQ(::rename(moved.c_str(), path.c_str()), 0);
    }
    first.reset();
    EXPECT_TRUE(second.WaitToBeFirst(kArrivalMs));
    EXPECT_TRUE(second.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));
}

TEST_F(SingleInstanceTest, UnknownNamesAndMalformedRecordsPostNothing) {
    SingleInstance first(L"VelkaroTest");
    ASSERT_TRUE(first.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));

    EXPECT_TRUE(SingleInstance::SendToRunning(L"VelkaroTest", L"SomethingElse", 7, 7));
    const int fd = ConnectRaw();
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "garbage", 7), 7);
    ::close(fd);
    // A name too long for the record is refused before anything is sent.
    EXPECT_FALSE(SingleInstance::SendToRunning(L"VelkaroTest", std::wstring(80, L'x'), 0, 0, 0));

    ASSERT_TRUE(SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 2, 3));
    const auto got = receiver_.WaitFor(message_, 1, kArrivalMs);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, 2u);
    EXPECT_EQ(got[0].lParam, 3);
}

TEST_F(SingleInstanceTest, ALockOrSocketThatCannotBeSetUpIsSaidNotTakenForASecondInstance) {
    ASSERT_EQ(::mkdir(SingleInstance::LockPath(L"VelkaroTest").c_str(), 0700), 0);
    SingleInstance instance(L"VelkaroTest");
    EXPECT_EQ(instance.state(), SingleInstance::State::kFailed);
    EXPECT_NE(instance.Error().find(SingleInstance::LockPath(L"VelkaroTest")), std::string::npos);
    EXPECT_NE(instance.Error().find("Is a directory"), std::string::npos) << instance.Error();

    // A socket path longer than a socket address holds: the first instance says why no
    // second start can reach it.
    const std::string deep = runtime_.File(std::string(100, 'd'));
    ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    testing_support::ScopedEnv env("XDG_RUNTIME_DIR", deep);
    SingleInstance first(L"VelkaroTest");
    ASSERT_TRUE(first.IsFirst());
    EXPECT_FALSE(first.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));
    EXPECT_NE(first.Error().find("cannot listen on " + deep), std::string::npos) << first.Error();
}

TEST_F(SingleInstanceTest, AnUnusableRuntimeFolderGivesWayToThePrivateOne) {
    testing_support::TempDir tmp;
    testing_support::ScopedEnv tmpEnv("TMPDIR", tmp.path());
    const std::string privateFolder = tmp.File("velkaro-" + std::to_string(::getuid()));
    const std::string file = runtime_.File("not-a-folder");
    ASSERT_TRUE(testing_support::WriteTextFile(file, ""));
    for (const std::string& value : {runtime_.File("missing"), file, std::string("relative")}) {
        testing_support::ScopedEnv env("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(platform::RuntimePath(), privateFolder + "/") << value;
    }
    struct stat info {};
    ASSERT_EQ(::stat(privateFolder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A link put in its place is not followed: the lock says why it cannot start.
    ASSERT_EQ(::rmdir(privateFolder.c_str()), 0);
    ASSERT_EQ(::symlink(runtime_.path().c_str(), privateFolder.c_str()), 0);
    testing_support::ScopedEnv unset("XDG_RUNTIME_DIR", std::nullopt);
    SingleInstance instance(L"VelkaroTest");
    EXPECT_EQ(instance.state(), SingleInstance::State::kFailed);
    EXPECT_NE(instance.Error().find("symbolic link"), std::string::npos) << instance.Error();
}

// A peer that trickles a byte every 150 ms, and one that connects and says nothing, hold
// up nobody: a second start's hand-over arrives while they are still connected.
TEST_F(SingleInstanceTest, SlowPeersDoNotHoldUpAHandOver) {
    SingleInstance first(L"VelkaroTest");
    ASSERT_TRUE(first.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));
    const int silent = ConnectRaw();
    ASSERT_GE(silent, 0);
    const std::vector<uint8_t> record = platform::peer::EncodeMessage(L"VelkaroTestMessage", 9, 9);
    std::atomic<bool> stop{false};
    std::thread trickler([&] {
        const int fd = ConnectRaw();
        for (size_t i = 0; i < record.size() && !stop; ++i) {
            if (::send(fd, &record[i], 1, MSG_NOSIGNAL) != 1) {
                break;  // cut off at its deadline
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
        ::close(fd);
    });

    ASSERT_TRUE(SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 1, 2));
    const auto got = receiver_.WaitFor(message_, 1, kArrivalMs);
    stop = true;
    trickler.join();
    ::close(silent);
    ASSERT_FALSE(got.empty()) << "the hand-over waited behind the slow peers";
    EXPECT_EQ(got[0].wParam, 1u) << "the trickled record must not beat the hand-over";
}

TEST_F(SingleInstanceTest, ABurstOfConnectionsIsServedWhole) {
    SingleInstance first(L"VelkaroTest");
    ASSERT_TRUE(first.Listen(receiver_.hwnd(), {L"VelkaroTestMessage"}));
    // 300 peers connect at once, and only then each sends its record.
    constexpr int kPeers = 300;
    std::vector<int> fds;
    int refused = 0;
    for (int i = 0; i < kPeers; ++i) {
        const int fd = ConnectRaw(true);
        if (fd < 0) {
            ++refused;
        } else {
            fds.push_back(fd);
        }
    }
    EXPECT_EQ(refused, 0);
    for (size_t i = 0; i < fds.size(); ++i) {
        const auto record = platform::peer::EncodeMessage(L"VelkaroTestMessage", i, 0);
        EXPECT_EQ(::send(fds[i], record.data(), record.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(record.size()));
        ::close(fds[i]);
    }
    EXPECT_EQ(receiver_.WaitFor(message_, kPeers, 20000).size(), static_cast<size_t>(kPeers));
}

}  // namespace
