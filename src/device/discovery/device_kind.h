#pragma once
// The kinds of device named in the interface and page tables, and carried by every
// device object and identity record.

namespace device {

enum DeviceKind : int {
    kKeyboardDevice = 1,
    kMouseDevice = 2,
    kMousePadDevice = 3,
    // A mouse reached through a wireless receiver's interface, handled as a mouse.
    kMouseInterfaceDevice = 6,
    kHeadsetDevice = 7,
};

}  // namespace device
