#pragma once
// What a control of the program (not of the toolkit) can tell a renderer beyond the
// standard look: a colour laid over its image, a value shown as an arc, a rubber band.
// A control offers it by answering GetInterface(kControlDrawDataInterface) with an
// IControlDrawDataUI pointer; the toolkit itself never needs to know the control's class.

#include "platform/win_types.h"

namespace DuiLib {

// One object, so one address, in the whole program: a control may answer a caller naming
// the interface by this constant on the address alone, before comparing names as text.
inline constexpr wchar_t kControlDrawDataInterface[] = L"ControlDrawData";

struct TControlDrawData {
    // 0xAARRGGBB drawn over the control's image through its shape; alpha 0: none.
    DWORD dwOverlayColor = 0;
    // 0..360: the part of a ring the value covers; negative: no ring.
    int nArcDegrees = -1;
    // A selection rectangle in window coordinates.
    bool bHasBand = false;
    RECT rcBand{};
    // A mark in the top-right corner: the control differs from its usual state (a key
    // given another function than its own).
    bool bCornerMark = false;
};

class IControlDrawDataUI {
  public:
    virtual TControlDrawData GetDrawData() const = 0;

  protected:
    ~IControlDrawDataUI() = default;
};

}  // namespace DuiLib
