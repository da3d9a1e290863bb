#include <gtest/gtest.h>

#include <linux/input.h>

#include <thread>
#include <vector>

#include "pages/device_hook.h"
#include "pages/device_hook_filter.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window on the test thread that keeps what it is sent.
class TargetWindow {
  public:
    TargetWindow() {
        platform::WindowCreateParams params;
        params.className = L"HookTarget";
        hwnd_ = platform::CreateWindowHandle(params, [this](HWND, UINT m, WPARAM w, LPARAM l) {
            if (m >= kFirstRegisteredMessage)
                received_.push_back({m, w, l});
            return LRESULT{0};
        });
    }
    ~TargetWindow() { platform::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    const std::vector<Received>& Pump() {
        MSG msg;
        while (platform::PeekMessage(&msg, PM_REMOVE))
            platform::DispatchMessage(&msg);
        return received_;
    }

  private:
    HWND hwnd_ = nullptr;
    std::vector<Received> received_;
};

class FakeGlobalSource : public HookInputSource {
  public:
    explicit FakeGlobalSource(bool available) : available_(available) {}
    bool Start(Sink sink) override {
        ++starts;
        sink_ = std::move(sink);
        return available_;
    }
    void Stop() override {
        ++stops;
        sink_ = nullptr;
    }
    void Press(uint8_t usage, bool down) {
        if (sink_)
            sink_(usage, down);
    }
    int starts = 0, stops = 0;

  private:
    bool available_;
    Sink sink_;
};

UINT Id(const wchar_t* name) {
    return platform::RegisterWindowMessage(name);
}

}  // namespace

TEST(DeviceHook, RegistersTwentyMessagesWithTheRepeatedNameSharingAnId) {
    const auto ids = RegisterHookMessages();
    EXPECT_EQ(ids[kHookKeySingleKey], Id(L"WM_HOOK_KEY_SINGLEKEY_MSG"));
    EXPECT_EQ(ids[kHookMouseRButtonDown], ids[kHookMouseRButtonDownAgain]);
    EXPECT_NE(ids[kHookMouseMove], 0u);
    const HookInput input{true, true, 0x10, 0x05, 0xFFFFFFF0u};
    EXPECT_EQ(UnpackHookInput(PackHookInput(input)), input);
}

TEST(DeviceHook, SingleKeyCaptureReachesTheTargetUntilUninstalled) {
    TargetWindow window;
    CDeviceHook hook(nullptr);
    hook.FeedKey(0x04, true);
    EXPECT_TRUE(window.Pump().empty()) << "nothing before Install";

    ASSERT_EQ(hook.Install(0, HookMode::kSingleKey, window.hwnd(), 1, 1), 1);
    hook.FeedKey(0xE0, true);  // left Ctrl
    hook.FeedVirtualKey('A', true);
    hook.FeedKey(0x04, false);
    const auto& got = window.Pump();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].message, Id(L"WM_HOOK_KEY_SINGLEKEY_MSG"));
    EXPECT_EQ(got[1].wParam, 0x0100u);
    const HookInput a = UnpackHookInput(got[1].lParam);
    EXPECT_FALSE(a.mouse);
    EXPECT_TRUE(a.down);
    EXPECT_EQ(a.code, 0x04);
    EXPECT_EQ(a.modifiers, 0x01);
    EXPECT_EQ(got[2].message, Id(L"WM_HOOK_KEY_HITKEY_MSG"));
    hook.FeedMouseButton(1, true);
    hook.FeedMouseButton(1, false);
    ASSERT_EQ(window.Pump().size(), 5u);
    EXPECT_EQ(got[3].message, Id(L"WM_HOOK_MOU_SINGLEKEY_MSG"));
    EXPECT_EQ(got[4].message, Id(L"WM_HOOK_MOU_HITKEY_MSG"));

    hook.Uninstall();
    hook.FeedKey(0x05, true);
    hook.FeedMouseButton(1, true);
    EXPECT_EQ(window.Pump().size(), 5u) << "nothing after Uninstall";
    EXPECT_EQ(hook.Install(0, 99, window.hwnd(), 1, 1), 0);
    EXPECT_EQ(hook.Install(0, HookMode::kSingleKey, nullptr, 1, 1), 0);
}

TEST(DeviceHook, RecordingModesPickTheInsertMessages) {
    TargetWindow window;
    CDeviceHook hook(nullptr);
    ASSERT_EQ(hook.Install(0, HookMode::kRecordBefore, window.hwnd(), 1, 1), 1);
    hook.FeedKey(0x04, true);
    hook.FeedMouseButton(2, false);
    ASSERT_EQ(hook.Install(0, HookMode::kRecordAppend, window.hwnd(), 1, 0), 1);
    hook.FeedMouseButton(1, true);  // mouse not asked for
    hook.FeedKey(0x04, false);
    const auto& got = window.Pump();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, Id(L"WM_HOOK_KEY_KBMACROPREVIOUS_MSG"));
    EXPECT_EQ(got[1].message, Id(L"WM_HOOK_KEY_MSMACROPREVIOUS_MSG"));
    EXPECT_EQ(got[1].wParam, 0x0205u);  // right button up
    EXPECT_EQ(UnpackHookInput(got[1].lParam).code, 2);
    EXPECT_EQ(got[2].message, Id(L"WM_HOOK_KEY_KBMACRO_MSG"));
}

TEST(DeviceHook, GlobalAndWindowKeysCountOnceAndTheSourceStopsOnUninstall) {
    TargetWindow window;
    auto owned = std::make_unique<FakeGlobalSource>(true);
    FakeGlobalSource* source = owned.get();
    CDeviceHook hook(std::move(owned));
    ASSERT_EQ(hook.Install(0, HookMode::kSingleKey, window.hwnd(), 1, 1), 1);
    EXPECT_TRUE(hook.IsGlobalCaptureActive());
    std::thread other([&] { source->Press(0x07, true); });
    other.join();
    hook.FeedKey(0x07, true);  // the same press typed into our own window
    hook.FeedKey(0x07, false);
    source->Press(0x07, false);
    const auto& got = window.Pump();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(UnpackHookInput(got[0].lParam).code, 0x07);
    EXPECT_FALSE(UnpackHookInput(got[1].lParam).down);

    hook.Uninstall();
    EXPECT_EQ(source->stops, 1);
    source->Press(0x08, true);
    EXPECT_EQ(window.Pump().size(), 2u);

    // Without readable keyboards the windows' own keys still arrive.
    auto none = std::make_unique<FakeGlobalSource>(false);
    CDeviceHook fallback(std::move(none));
    ASSERT_EQ(fallback.Install(0, HookMode::kSingleKey, window.hwnd(), 1, 1), 1);
    EXPECT_FALSE(fallback.IsGlobalCaptureActive());
    fallback.FeedKey(0x09, true);
    EXPECT_EQ(window.Pump().size(), 3u);
}

TEST(DeviceHook, WindowMessagesFeedKeysOnceAndMouseButtons) {
    TargetWindow window;
    CDeviceHook hook(nullptr);
    CDeviceHookFilter filter(hook);
    ASSERT_EQ(hook.Install(0, HookMode::kRecordAfter, window.hwnd(), 1, 1), 1);
    bool handled = false;
    filter.MessageHandler(0x0100, 'Q', 0, handled);
    EXPECT_TRUE(handled) << "a key the hook takes is not the window's too";
    filter.MessageHandler(0x0100, 'Q', 0, handled);  // auto-repeat of the held key
    filter.MessageHandler(0x0102, 'q', 0, handled);
    EXPECT_TRUE(handled) << "nor the character it types";
    filter.MessageHandler(0x0101, 'Q', 0, handled);
    filter.MessageHandler(0x020B, 2 << 16, 0, handled);  // forward button
    EXPECT_FALSE(handled) << "a press still reaches the control under the pointer";
    filter.MessageHandler(0x0200, 0, 0, handled);  // a move is no input event
    const auto& got = window.Pump();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, Id(L"WM_HOOK_KEY_KBMACROLATER_MSG"));
    EXPECT_EQ(UnpackHookInput(got[0].lParam).code, 0x14);  // HID usage of Q
    EXPECT_FALSE(UnpackHookInput(got[1].lParam).down);
    EXPECT_EQ(got[2].message, Id(L"WM_HOOK_KEY_MSMACROLATER_MSG"));
    EXPECT_EQ(UnpackHookInput(got[2].lParam).code, 0x10);

    hook.Uninstall();
    filter.MessageHandler(0x0100, 'Q', 0, handled);
    EXPECT_FALSE(handled) << "without the hook, keys are the window's";
}

TEST(EvdevKeySource, DoesNotStartWithoutReadableKeyboards) {
    EvdevKeySource source("/nonexistent-input-folder");
    EXPECT_FALSE(source.Start([](uint8_t, bool) {}));
    source.Stop();
}

TEST(EvdevKeySource, PassesPressesAndReleasesOnly) {
    auto key = [](uint16_t type, uint16_t code, int32_t value) {
        input_event e{};
        e.type = type;
        e.code = code;
        e.value = value;
        return e;
    };
    const input_event events[] = {
        key(EV_KEY, KEY_A, 1),    key(EV_SYN, SYN_REPORT, 0),   key(EV_KEY, KEY_A, 2),
        key(EV_KEY, KEY_A, 0),    key(EV_KEY, KEY_LEFTCTRL, 1), key(EV_KEY, BTN_LEFT, 1),
        key(EV_MSC, MSC_SCAN, 4), key(EV_KEY, KEY_F24, 0),
    };
    std::vector<std::pair<int, bool>> got;
    EvdevKeySource::DeliverKeyEvents(events, std::size(events), [&](uint8_t usage, bool down) {
        got.push_back({usage, down});
    });
    const std::vector<std::pair<int, bool>> expected = {
        {0x04, true}, {0x04, false}, {0xE0, true}, {0x73, false}};
    EXPECT_EQ(got, expected);
}
