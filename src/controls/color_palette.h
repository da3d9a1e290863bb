#pragma once
// The colour field of the lighting panel: hues from left to right, white at the top, the
// pure hue across the middle and black at the bottom. A press or a drag on it picks the
// colour under the pointer and raises "colorchanged" (wParam 0x00RRGGBB) from itself: at
// the press, and for every new colour while the drag goes on. Its image
// ("common/palette.png") is drawn from ColourAt, so the colour picked is the colour a
// person sees there.

#include <cstdint>

#include "duilib/ui_control.h"

class CColorPaletteUI : public DuiLib::CControlUI {
  public:
    static constexpr const wchar_t* kClassName = L"ColorPalette";
    static constexpr const wchar_t* kColorChangedNotify = L"colorchanged";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void DoEvent(DuiLib::TEventUI& event) override;

    // The colour last picked, 0x00RRGGBB; -1 before the first pick.
    int64_t GetPickedColor() const { return m_picked; }

    // The colour at (x, y) of a field `width` x `height` (points outside are taken at the
    // nearest edge), 0x00RRGGBB.
    static uint32_t ColourAt(int x, int y, int width, int height);

  private:
    void Pick(POINT at, bool always);

    bool m_tracking = false;
    int64_t m_picked = -1;
};
