// What a second start's hand-over costs: from SendToRunning to the message in the first
// instance's window, alone and beside peers that connected and say nothing (a trickling
// or hostile program), and how long a burst of 300 connections takes to be served whole.

#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/event.h"
#include "platform/peer_wire.h"
#include "platform/single_instance.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace {

constexpr wchar_t kInstance[] = L"VelkaroBench";
constexpr wchar_t kMessage[] = L"VelkaroBenchMessage";

// The first instance: a window on its own thread that counts the messages it is handed.
class FirstInstance {
  public:
    explicit FirstInstance(int expected = 1) : expected_(expected) {
        char folder[] = "/tmp/velkaro-bench-XXXXXX";
        folder_ = mkdtemp(folder);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        thread_ = std::thread([this] { Run(); });
        ready_.Wait(platform::kInfinite);
        instance_ = std::make_unique<platform::SingleInstance>(kInstance);
        instance_->Listen(hwnd_, {kMessage});
    }
    ~FirstInstance() {
        instance_.reset();
        platform::PostMessage(hwnd_, WM_CLOSE, 0, 0);
        thread_.join();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    // Waits for `expected` messages since the last call.
    bool WaitAll() { return arrived_.Wait(10000) == platform::kWaitObject0; }

  private:
    void Run() {
        platform::WindowCreateParams params;
        params.className = L"BenchWindow";
        const UINT message = platform::RegisterWindowMessage(kMessage);
        hwnd_ = platform::CreateWindowHandle(params, [this, message](HWND, UINT m, WPARAM, LPARAM) {
            if (m == message && ++count_ == expected_) {
                count_ = 0;
                arrived_.Set();
            } else if (m == WM_CLOSE) {
                platform::PostQuitMessage(0);
            }
            return LRESULT{0};
        });
        ready_.Set();
        MSG msg;
        while (platform::GetMessage(&msg)) {
            platform::DispatchMessage(&msg);
        }
        platform::DestroyWindow(hwnd_);
    }

    std::string folder_;
    int expected_;
    int count_ = 0;  // window thread only
    HWND hwnd_ = nullptr;
    platform::Event ready_{true, false};
    platform::Event arrived_{false, false};
    std::thread thread_;
    std::unique_ptr<platform::SingleInstance> instance_;
};

int Connect() {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = platform::SingleInstance::SocketPath(kInstance);
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", path.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void BM_HandOverBesideSilentPeers(benchmark::State& state) {
    FirstInstance first;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<int> silent;
        for (int i = 0; i < state.range(0); ++i) {
            silent.push_back(Connect());
        }
        state.ResumeTiming();
        if (!platform::SingleInstance::SendToRunning(kInstance, kMessage, 0, 1) ||
            !first.WaitAll()) {
            state.SkipWithError("hand-over lost");
        }
        state.PauseTiming();
        for (int fd : silent) {
            ::close(fd);
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HandOverBesideSilentPeers)->Arg(0)->Arg(10)->Arg(100)->UseRealTime();

void BM_BurstOf300Connections(benchmark::State& state) {
    constexpr int kPeers = 300;
    FirstInstance first(kPeers);
    const std::vector<uint8_t> record = platform::peer::EncodeMessage(kMessage, 0, 1);
    for (auto _ : state) {
        std::vector<int> fds;
        for (int i = 0; i < kPeers; ++i) {
            fds.push_back(Connect());
        }
        int refused = 0;
        for (int fd : fds) {
            if (fd < 0 || ::send(fd, record.data(), record.size(), MSG_NOSIGNAL) < 0) {
                ++refused;
            }
            ::close(fd);
        }
        if (refused > 0 || !first.WaitAll()) {
            state.SkipWithError("connections refused or records lost");
        }
    }
    state.SetItemsProcessed(state.iterations() * kPeers);
}
BENCHMARK(BM_BurstOf300Connections)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
