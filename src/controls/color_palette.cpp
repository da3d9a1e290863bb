#include "controls/color_palette.h"

#include <algorithm>

#include "duilib/own_interface.h"
#include "duilib/paint_manager.h"

namespace {

constexpr int kFull = 255;

// The pure hue at `position` of 0..6 x 255 (red, yellow, green, cyan, blue, magenta, red).
void PureHue(int position, int rgb[3]) {
    const int sector = position / kFull;
    const int f = position % kFull;
    const int rising = f;
    const int falling = kFull - f;
    switch (sector) {
        case 0:
            rgb[0] = kFull, rgb[1] = rising, rgb[2] = 0;
            break;
        case 1:
            rgb[0] = falling, rgb[1] = kFull, rgb[2] = 0;
            break;
        case 2:
            rgb[0] = 0, rgb[1] = kFull, rgb[2] = rising;
            break;
        case 3:
            rgb[0] = 0, rgb[1] = falling, rgb[2] = kFull;
            break;
        case 4:
            rgb[0] = rising, rgb[1] = 0, rgb[2] = kFull;
            break;
        case 5:
            rgb[0] = kFull, rgb[1] = 0, rgb[2] = falling;
            break;
        default:
            rgb[0] = kFull, rgb[1] = 0, rgb[2] = 0;
            break;
    }
}

}  // namespace

LPCTSTR CColorPaletteUI::GetClass() const {
    return kClassName;
}

LPVOID CColorPaletteUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CControlUI>(this, pstrName);
}

uint32_t CColorPaletteUI::ColourAt(int x, int y, int width, int height) {
    const int lastX = std::max(width - 1, 1);
    const int lastY = std::max(height - 1, 2);
    x = std::clamp(x, 0, lastX);
    y = std::clamp(y, 0, lastY);
    int rgb[3];
    PureHue(x * 6 * kFull / lastX, rgb);
    const int middle = lastY / 2;
    uint32_t colour = 0;
    for (const int pure : rgb) {
        // White fades into the hue above the middle, the hue into black below it.
        const int value = y <= middle ? kFull - (kFull - pure) * y / middle
                                      : pure * (lastY - y) / (lastY - middle);
        colour = colour << 8 | static_cast<uint32_t>(value);
    }
    return colour;
}

void CColorPaletteUI::Pick(POINT at, bool always) {
    const RECT rc = GetPos();
    const uint32_t colour =
        ColourAt(at.x - rc.left, at.y - rc.top, rc.right - rc.left, rc.bottom - rc.top);
    if (!always && m_picked == colour) {
        return;
    }
    m_picked = colour;
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, kColorChangedNotify, colour);
    }
}

void CColorPaletteUI::DoEvent(DuiLib::TEventUI& event) {
    switch (event.Type) {
        case DuiLib::UIEVENT_BUTTONDOWN:
        case DuiLib::UIEVENT_DBLCLICK:
            if (IsEnabled()) {
                m_tracking = true;
                // A press picks again what the edits may since have changed.
                Pick(event.ptMouse, true);
            }
            return;
        case DuiLib::UIEVENT_MOUSEMOVE:
            if (m_tracking) {
                Pick(event.ptMouse, false);
            }
            return;
        case DuiLib::UIEVENT_BUTTONUP:
            if (m_tracking) {
                m_tracking = false;
                Pick(event.ptMouse, false);
            }
            return;
        default:
            CControlUI::DoEvent(event);
    }
}
