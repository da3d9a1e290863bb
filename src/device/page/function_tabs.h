#pragma once
// Which items of a device page's two function tabs show a page function: the outer tab
// "device_function_switch" and the inner tab "device_key_function_switch".

namespace device {

inline constexpr int kTabUnchanged = -1;
// The page function whose panel sets the lighting.
inline constexpr int kLightingFunction = 1;
// The page function whose panel assigns a chosen key its function.
inline constexpr int kKeyAssignmentFunction = 2;

struct PageFunctionTabs {
    int outer = 0;
    int inner = 0;  // kTabUnchanged leaves the inner tab as it is
    friend bool operator==(const PageFunctionTabs&, const PageFunctionTabs&) = default;
};

// `deviceKind` matters only for the system function (4), which the keyboard and the
// mouse keep on a page of their own.
PageFunctionTabs TabsForPageFunction(int function, int deviceKind);

}  // namespace device
