#pragma once
// What the device layer needs of a page's key button to show an LED's colour on it. The
// button belongs to the configuration pages, which build on the device layer, so the
// device reaches it through this interface, asked for by name with GetInterface.

#include <cstdint>

class ILedTintTarget {
  public:
    // One object, so one address, in the whole program: a key asked by this constant (every
    // LED frame asks each key twice) answers on the address; other spellings of the name
    // are compared as text.
    static constexpr wchar_t kInterfaceName[] = L"LedTintTarget";

    // colour: red | blue << 8 | green << 16; the image is painted with it at `alpha`
    // while `on`. Only stored: the button is repainted by ShowLedTint.
    virtual void SetLedTint(uint32_t colour, uint8_t alpha, bool on) = 0;
    // Repaints the button when its tint changed since it was last shown.
    virtual void ShowLedTint() = 0;

  protected:
    ~ILedTintTarget() = default;
};
