// A keyboard whose nodes the user may not open (plugged into the port the device manager
// has no rule for): discovery tells the user once, and finds the keyboard as soon as it is
// plugged where the rule applies.

#include <gtest/gtest.h>

#include <vector>

#include "device/discovery/device_capture_thread.h"
#include "device/discovery/product_message.h"
#include "guest_pump.h"
#include "guest_setup.h"
#include "platform/user_notice.h"
#include "platform/window_handles.h"

namespace kernel_test {
namespace {

TEST(AccessNoticeTest, ANodeTheUserMayNotOpenIsToldOnceNamingTheDeviceAndTheRule) {
    size_t arrivals = 0;
    const UINT productMessage = RegisterProductMessage();
    platform::WindowCreateParams params;
    params.className = L"KernelAccessTest";
    HWND window =
        platform::CreateWindowHandle(params, [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
            arrivals += message == WM_DEVICE_ARRIVED;
            return 0;
        });
    ASSERT_NE(window, nullptr);
    platform::UserNoticeCapture notices;
    HidLiveList list = HidLiveList::FromHidIdTable();
    DeviceCaptureThread capture(list, window, productMessage);
    ASSERT_TRUE(capture.Start());

    KeyboardGadget& gadget = TheGadget();
    const auto plugged = std::chrono::steady_clock::now();
    ASSERT_TRUE(gadget.Plug(KeyboardGadget::UnruledPort()));
    ASSERT_TRUE(PumpUntil([&] { return !notices.Notices().empty(); }));
    Report("plug without the rule to the notice: %ld ms", MsSince(plugged));
    const platform::UserNotice notice = notices.Notices()[0];
    EXPECT_EQ(notice.key, L"message_device_no_access");
    for (const wchar_t* part : {L"keyboard", L"320f:505b", L"/dev/hidraw", L"/etc/udev/rules.d/"}) {
        EXPECT_NE(notice.detail.find(part), std::wstring::npos) << part;
    }
    EXPECT_EQ(arrivals, 0u);

    // Plugged where the rule gives the user its nodes: both interfaces arrive, and the user
    // is not told again.
    gadget.Unplug();
    ASSERT_TRUE(gadget.Plug(KeyboardGadget::RuledPort()));
    EXPECT_TRUE(PumpUntil([&] { return arrivals == 2; }));
    EXPECT_EQ(notices.Notices().size(), 1u);

    capture.Stop();
    gadget.Unplug();
    platform::DestroyWindow(window);
}

}  // namespace
}  // namespace kernel_test
