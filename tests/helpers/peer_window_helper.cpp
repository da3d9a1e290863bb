// Another program of the user, for the tests that need a second process. It publishes a
// window of class "PeerHelperWnd" with the title given, says "ready" on its standard
// output and reports what the window receives:
//   "copydata <dwData> <wParam> <bytes in hex>" for the first WM_COPYDATA (answered 1234),
//   after which it ends; "message <wParam> <lParam>" for each "PeerTestMessage".
// With --query <instance> <message> it first hands that registered message to the running
// instance of that name, as a peer program asks for the configuration. It gives up after
// 30 s (exit 5).
//
//   peer_window_helper <title> [--query <instance> <message>]

#include <cstdio>
#include <string>
#include <vector>

#include "platform/peer_windows.h"
#include "platform/single_instance.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "support/hex_text.h"

namespace {

constexpr LRESULT kCopyDataAnswer = 1234;
constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpMs = 30000;

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        Say("copydata " + std::to_string(data->dwData) + " " + std::to_string(wParam) + " " +
            testing_support::HexText(
                std::span(static_cast<const uint8_t*>(data->lpData), data->cbData)));
        PostQuitMessage(0);
        return kCopyDataAnswer;
    }
    if (message == RegisterWindowMessage(L"PeerTestMessage")) {
        Say("message " + std::to_string(wParam) + " " + std::to_string(lParam));
    } else if (message == WM_TIMER && wParam == kGiveUpTimer) {
        KillTimer(hwnd, kGiveUpTimer);
        PostQuitMessage(5);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 5 && std::string(argv[2]) == "--query")) {
        std::fputs("usage: peer_window_helper <title> [--query <instance> <message>]\n", stderr);
        return 2;
    }
    platform::WindowCreateParams params;
    params.className = L"PeerHelperWnd";
    params.title = platform::Utf8Decode(argv[1]);
    const HWND hwnd = platform::CreateWindowHandle(params, WindowProc);
    platform::PublishedWindow published(hwnd, {L"PeerTestMessage"});
    if (!published.IsPublished()) {
        Say("not published");
        return 3;
    }
    SetTimer(hwnd, kGiveUpTimer, kGiveUpMs);
    Say("ready");
    if (argc == 5 &&
        !platform::SingleInstance::SendToRunning(platform::Utf8Decode(argv[3]),
                                                 platform::Utf8Decode(argv[4]), 0, 0, kGiveUpMs)) {
        Say("no instance");
        return 4;
    }
    MSG msg;
    while (GetMessage(&msg)) {
        DispatchMessage(&msg);
    }
    DestroyWindow(hwnd);
    return static_cast<int>(msg.wParam);
}
