// The single-instance lock and the hand-over of the product message to the running instance.

#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/paths.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/temp_dir.h"

namespace {

class ScopedRuntimeDir {
  public:
    ScopedRuntimeDir() {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        had_ = old != nullptr;
        if (had_) {
            old_ = old;
        }
        setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    }
    ~ScopedRuntimeDir() {
        if (had_) {
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
    const testing_support::TempDir& dir() const { return dir_; }

  private:
    testing_support::TempDir dir_;
    std::string old_;
    bool had_ = false;
};

// Waits up to `ms` for a posted message on this thread's queue.
bool WaitForPosted(MSG& msg, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        if (PeekMessage(&msg, PM_REMOVE)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

HWND MakeWindow() {
    platform::WindowCreateParams params;
    params.className = L"TestWnd";
    params.title = L"test";
    return platform::CreateWindowHandle(params, [](HWND, UINT, WPARAM, LPARAM) { return 0; });
}

TEST(SingleInstanceTest, SecondInstanceFindsTheLockTakenAndHandsOverItsMessage) {
    ScopedRuntimeDir runtime;
    HWND window = MakeWindow();
    {
        platform::SingleInstance first(L"VelkaroTest");
        ASSERT_TRUE(first.IsFirst());
        ASSERT_TRUE(first.Listen(window, {L"VelkaroTestMessage"}));

        platform::SingleInstance second(L"VelkaroTest");
        EXPECT_FALSE(second.IsFirst());
        EXPECT_FALSE(second.Listen(window, {L"VelkaroTestMessage"}));
        ASSERT_TRUE(
            platform::SingleInstance::SendToRunning(L"VelkaroTest", L"velkarotestmessage", 0, 1));

        MSG msg;
        ASSERT_TRUE(WaitForPosted(msg, 1500));
        EXPECT_EQ(msg.hwnd, window);
        EXPECT_EQ(msg.message, RegisterWindowMessageW(L"VelkaroTestMessage"));
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 1);
    }
    // The lock and the socket go with the first instance.
    platform::SingleInstance again(L"VelkaroTest");
    EXPECT_TRUE(again.IsFirst());
    EXPECT_FALSE(
        platform::SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 0, 1, 0));
    DestroyWindow(window);
}

TEST(SingleInstanceTest, UnknownNamesAndMalformedRecordsPostNothing) {
    ScopedRuntimeDir runtime;
    HWND window = MakeWindow();
    platform::SingleInstance first(L"VelkaroTest");
    ASSERT_TRUE(first.Listen(window, {L"VelkaroTestMessage"}));

    EXPECT_TRUE(platform::SingleInstance::SendToRunning(L"VelkaroTest", L"SomethingElse", 7, 7));
    // A peer that sends a few bytes and hangs up.
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = platform::SingleInstance::SocketPath(L"VelkaroTest");
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", path.c_str());
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::write(fd, "garbage", 7), 7);
    ::close(fd);
    // A name too long for the record is refused before anything is sent.
    EXPECT_FALSE(
        platform::SingleInstance::SendToRunning(L"VelkaroTest", std::wstring(80, L'x'), 0, 0, 0));

    ASSERT_TRUE(
        platform::SingleInstance::SendToRunning(L"VelkaroTest", L"VelkaroTestMessage", 2, 3));
    MSG msg;
    ASSERT_TRUE(WaitForPosted(msg, 1500));
    EXPECT_EQ(msg.wParam, 2u);  // the first message that arrives is the accepted one
    EXPECT_EQ(msg.lParam, 3);
    EXPECT_FALSE(WaitForPosted(msg, 50));
    DestroyWindow(window);
}

}  // namespace

namespace {

TEST(SingleInstanceTest, BroadcastReachesPeerSocketsOnly) {
    ScopedRuntimeDir runtime;
    HWND window = MakeWindow();
    // A peer listens in the peer folder; the instance socket of the program itself is not a peer.
    platform::EnsureDirectory(platform::SingleInstance::PeerFolder(L"VelkaroTest"));
    platform::SingleInstance peer(L"VelkaroTest.peers/peer");
    ASSERT_TRUE(peer.Listen(window, {L"PeerMessage"}));
    platform::SingleInstance self(L"VelkaroTest");
    ASSERT_TRUE(self.Listen(window, {L"PeerMessage"}));

    EXPECT_EQ(platform::SingleInstance::BroadcastToPeers(L"VelkaroTest", L"PeerMessage", 1, 0), 1);
    MSG msg;
    ASSERT_TRUE(WaitForPosted(msg, 1500));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(WaitForPosted(msg, 50)) << "the program's own socket got it too";
    EXPECT_EQ(platform::SingleInstance::BroadcastToPeers(L"Nobody", L"PeerMessage", 1, 0), 0);
    DestroyWindow(window);
}

}  // namespace
