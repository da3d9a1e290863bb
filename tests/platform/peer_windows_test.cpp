// Windows shared across processes: a window another program published is found by its
// title and takes WM_COPYDATA by value; broadcasts reach published windows; the records
// are checked as they arrive.

#include "platform/peer_windows.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <numeric>

#include "platform/paths.h"
#include "platform/peer_listener.h"
#include "platform/peer_socket.h"
#include "platform/peer_wire.h"
#include "platform/single_instance.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/child_process.h"
#include "support/hex_text.h"
#include "support/message_receiver.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using platform::peer::PeerRecordReader;
using Status = PeerRecordReader::Status;

constexpr int kChildMs = 20000;

class PeerWindowsTest : public ::testing::Test {
  protected:
    testing_support::TempDir runtime_;
    testing_support::ScopedEnv env_{"XDG_RUNTIME_DIR", runtime_.path()};
};

// A socket in the peer folder whose owner never accepts: looking at it must not hang.
platform::UniqueFd StalledPeerSocket() {
    platform::EnsureDirectory(platform::PeerFolder());
    return platform::peer::BindListening(platform::PeerFolder() + "1.1.sock", 1);
}

TEST_F(PeerWindowsTest, AWindowOfAnotherProcessIsFoundByTitleAndTakesCopyDataByValue) {
    const platform::UniqueFd stalled = StalledPeerSocket();
    ASSERT_TRUE(stalled.valid());
    testing_support::ChildProcess peer({VELKARO_PEER_HELPER, "Peer Window"}, {},
                                       runtime_.File("peer.err"));
    ASSERT_EQ(peer.ReadLine(kChildMs), "ready") << peer.Stderr();

    EXPECT_EQ(FindWindowW(nullptr, L"Nobody"), nullptr);
    const HWND found = FindWindowW(nullptr, L"Peer Window");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(FindWindowW(L"PeerHelperWnd", nullptr), found) << "the same window, the same handle";
    EXPECT_EQ(FindWindowW(L"OtherClass", L"Peer Window"), nullptr);
    EXPECT_EQ(PostMessageW(found, WM_COPYDATA, 0, 0), FALSE);

    std::vector<uint8_t> block(1024);
    std::iota(block.begin(), block.end(), uint8_t{7});
    COPYDATASTRUCT data;
    data.dwData = 5;
    data.cbData = static_cast<DWORD>(block.size());
    data.lpData = block.data();
    EXPECT_EQ(SendMessageW(found, WM_COPYDATA, 0x4242, reinterpret_cast<LPARAM>(&data)), 1234);
    EXPECT_EQ(peer.ReadLine(kChildMs), "copydata 5 16962 " + testing_support::HexText(block));
    EXPECT_EQ(peer.WaitExit(kChildMs), 0);

    // Gone with its program: the handle names nothing any more.
    EXPECT_EQ(SendMessageW(found, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(FindWindowW(nullptr, L"Peer Window"), nullptr);
}

TEST_F(PeerWindowsTest, BroadcastsReachPublishedWindowsOnly) {
    testing_support::MessageReceiver published(L"published");
    testing_support::MessageReceiver instance(L"instance");
    platform::PublishedWindow publication(published.hwnd(), {L"PeerTestMessage"});
    ASSERT_TRUE(publication.IsPublished());
    // The program's own instance socket is not a peer.
    platform::SingleInstance self(L"Velkaro");
    ASSERT_TRUE(self.Listen(instance.hwnd(), {L"PeerTestMessage"}));

    EXPECT_EQ(platform::BroadcastToPeers(L"PeerTestMessage", 1, 0), 1);
    const UINT message = RegisterWindowMessageW(L"PeerTestMessage");
    EXPECT_EQ(published.WaitFor(message, 1, 5000).size(), 1u);
    EXPECT_TRUE(instance.WaitFor(message, 1, 100).empty());
}

TEST_F(PeerWindowsTest, StoppedPeersCostALookupOneDeadlineInAllAndFloodsStayBounded) {
    // Programs of the user's that have stopped: their sockets take connections and never
    // answer. Asked one after another, they would cost a lookup half a second each.
    std::vector<platform::UniqueFd> stopped;
    platform::EnsureDirectory(platform::PeerFolder());
    for (int i = 0; i < 24; ++i) {
        stopped.push_back(platform::peer::BindListening(
            platform::PeerFolder() + std::to_string(100 + i) + ".1.sock", 4));
        ASSERT_TRUE(stopped.back().valid());
    }
    testing_support::ChildProcess peer({VELKARO_PEER_HELPER, "Peer Window"}, {},
                                       runtime_.File("peer.err"));
    ASSERT_EQ(peer.ReadLine(kChildMs), "ready") << peer.Stderr();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(FindWindowW(nullptr, L"Peer Window"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, L"Nobody"), nullptr);
    // Far below the 24 half-seconds of asking in turn, far above a loaded machine's pace.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
}

TEST_F(PeerWindowsTest, AFloodFromAnotherProgramLeavesTheWindowABoundedQueue) {
    // The window is this thread's: it handles nothing while the flood comes.
    const UINT message = RegisterWindowMessageW(L"PeerFloodMessage");
    size_t handled = 0;
    platform::WindowCreateParams params;
    params.className = L"FloodTarget";
    const HWND target = platform::CreateWindowHandle(params, [&](HWND, UINT msg, WPARAM, LPARAM) {
        handled += msg == message ? 1 : 0;
        return LRESULT{0};
    });
    platform::PublishedWindow publication(target, {L"PeerFloodMessage"});
    ASSERT_TRUE(publication.IsPublished());
    const auto sockets = std::filesystem::directory_iterator(platform::PeerFolder());
    const std::string path = std::filesystem::begin(sockets)->path().string();
    // Each record's answer says the listener has taken it.
    const std::vector<uint8_t> record = platform::peer::EncodeMessage(L"PeerFloodMessage", 1, 2);
    const size_t flood = platform::PeerListener::kMaxWaitingPerMessage + 100;
    for (size_t i = 0; i < flood; ++i) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        platform::UniqueFd fd = platform::peer::ConnectTo(path, deadline);
        std::array<uint8_t, platform::peer::kResultBytes> answer{};
        ASSERT_TRUE(fd.valid() && platform::peer::WriteAll(fd.get(), record, deadline) &&
                    platform::peer::ReadExactly(fd.get(), answer, deadline));
    }
    MSG msg;
    while (platform::PeekMessage(&msg, PM_REMOVE)) {
        platform::DispatchMessage(&msg);
    }
    EXPECT_EQ(handled, platform::PeerListener::kMaxWaitingPerMessage);
    platform::DestroyWindow(target);
}

TEST(PeerRecordTest, RecordsAreTheSameWholeOrInPiecesAndBadOnesAreRefusedEarly) {
    std::vector<uint8_t> payload(300);
    std::iota(payload.begin(), payload.end(), uint8_t{0});
    for (const auto& record :
         {platform::peer::EncodeMessage(L"Nachricht ä", -2, 3),
          platform::peer::EncodeCopyData(-1, 5, payload), platform::peer::EncodeDescribe()}) {
        PeerRecordReader whole;
        size_t used = 0;
        ASSERT_EQ(whole.Feed(record, &used), Status::kComplete);
        EXPECT_EQ(used, record.size());
        PeerRecordReader pieces;
        for (uint8_t byte : record) {
            pieces.Feed(std::span<const uint8_t>(&byte, 1));
        }
        ASSERT_EQ(pieces.status(), Status::kComplete);
        EXPECT_EQ(pieces.record().name, whole.record().name);
        EXPECT_EQ(pieces.record().bytes, whole.record().bytes);
        // What follows a record is not taken as part of it.
        std::vector<uint8_t> longer = record;
        longer.push_back(0xEE);
        PeerRecordReader trailing;
        EXPECT_EQ(trailing.Feed(longer, &used), Status::kComplete);
        EXPECT_EQ(used, record.size());
    }
    PeerRecordReader message;
    message.Feed(platform::peer::EncodeMessage(L"Nachricht ä", -2, 3));
    EXPECT_EQ(message.record().name, L"Nachricht ä");
    EXPECT_EQ(message.record().wParam, -2);
    EXPECT_EQ(message.record().lParam, 3);

    // A copy-data head that announces more than the limit is refused before its body.
    std::vector<uint8_t> huge = platform::peer::EncodeCopyData(0, 0, {});
    huge[24] = 0x01;  // cbData = 0x10001
    huge[26] = 0x01;
    PeerRecordReader oversized;
    EXPECT_EQ(oversized.Feed(huge), Status::kMalformed);
    // A name that fills its field with no end, a wrong magic, an unknown kind.
    std::vector<uint8_t> unterminated = platform::peer::EncodeMessage(L"x", 0, 0);
    std::fill(unterminated.begin() + 8, unterminated.begin() + 72, 'x');
    std::vector<uint8_t> magic = platform::peer::EncodeDescribe();
    magic[0] ^= 1;
    std::vector<uint8_t> kind = platform::peer::EncodeDescribe();
    kind[4] = 9;
    for (const auto& bad : {unterminated, magic, kind}) {
        PeerRecordReader reader;
        EXPECT_EQ(reader.Feed(bad), Status::kMalformed);
    }
    EXPECT_TRUE(platform::peer::EncodeMessage(std::wstring(64, L'x'), 0, 0).empty());
    EXPECT_TRUE(platform::peer::EncodeCopyData(0, 0, std::vector<uint8_t>(65537)).empty());
}

}  // namespace
