#pragma once
// Which custom light a light mode plays. A device's custom lights are the entries of its
// list in the light configuration document ("LightInfo"[device index]), the same list its
// page names them from. The mouse, the mouse pad and the headset number them after their
// nine built-in modes: mode 9 + n plays custom light n, and the pad's and headset's own
// "custom" mode (5) plays the first. The keyboard's custom modes play the entry of their
// own number.

namespace device {

// The mode of a mouse's, pad's or headset's first custom light.
inline constexpr int kFirstCustomLightMode = 9;

// The entry of the device's custom light list that `mode` plays; -1 when it plays none.
int CustomLightOfMode(int deviceKind, int mode);

// Whether the kind's page lists its custom lights as modes from kFirstCustomLightMode on.
bool ListsCustomLightModes(int deviceKind);

}  // namespace device
