// An owner window takes the windows it owns with it, as a modal box still open at exit.

#include <gtest/gtest.h>

#include <vector>

#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace {

TEST(WindowOwnershipTest, DestroyingAnOwnerDestroysItsOwnedWindowsFirst) {
    std::vector<std::wstring> destroyed;
    auto make = [&destroyed](const std::wstring& title, HWND owner) {
        platform::WindowCreateParams params;
        params.title = title;
        params.owner = owner;
        return platform::CreateWindowHandle(params,
                                            [&destroyed, title](HWND, UINT m, WPARAM, LPARAM) {
                                                if (m == WM_NCDESTROY) {
                                                    destroyed.push_back(title);
                                                }
                                                return LRESULT{0};
                                            });
    };
    const HWND owner = make(L"owner", nullptr);
    const HWND box = make(L"box", owner);
    const HWND boxChild = make(L"box child", box);
    const HWND other = make(L"other", nullptr);

    ASSERT_TRUE(DestroyWindow(owner));
    EXPECT_EQ(destroyed, (std::vector<std::wstring>{L"box child", L"box", L"owner"}));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_FALSE(IsWindow(boxChild));
    EXPECT_TRUE(IsWindow(other));
    DestroyWindow(other);
}

}  // namespace
