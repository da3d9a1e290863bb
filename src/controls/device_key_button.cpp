#include "controls/device_key_button.h"

#include <array>
#include <cmath>
#include <string_view>

#include "controls/select_panel.h"
#include "duilib/attribute_values.h"

namespace {

// The key images' face, on which the tint is laid.
constexpr DWORD kKeyFace = 0x2A3442;
// The legend's colour on faces too light for the layout's own.
constexpr DWORD kDarkLegend = 0xFF141A22;
// The frame of a key in the selection: the select panel's band colour.
constexpr DWORD kSelectionFrame = 0xFF3FA9F5;
constexpr int kSelectionFrameWidth = 2;

// sRGB to linear light, by channel value: asked for every key on every LED frame.
double LinearChannel(DWORD value) {
    static const std::array<double, 256> kLinear = [] {
        std::array<double, 256> table{};
        for (size_t i = 0; i < table.size(); ++i) {
            const double c = static_cast<double>(i) / 255.0;
            table[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return kLinear[value & 0xFF];
}

// Relative luminance of 0x..RRGGBB.
double Luminance(DWORD rgb) {
    return 0.2126 * LinearChannel(rgb >> 16) + 0.7152 * LinearChannel(rgb >> 8) +
           0.0722 * LinearChannel(rgb);
}

double Contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The key face with `overlay` (0xAARRGGBB) laid over it.
DWORD TintedFace(DWORD overlay) {
    const DWORD alpha = overlay >> 24;
    DWORD face = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const DWORD over = (overlay >> shift) & 0xFF;
        const DWORD under = (kKeyFace >> shift) & 0xFF;
        face |= ((over * alpha + under * (255 - alpha)) / 255) << shift;
    }
    return face;
}

}  // namespace

LPCTSTR CDeviceKeyButtonUI::GetClass() const {
    return kClassName;
}

LPVOID CDeviceKeyButtonUI::GetInterface(LPCTSTR pstrName) {
    // Asked many times per key on every frame of an animated keyboard: the device layer and
    // the painter name these two by their constants, known by their address without a
    // compare of text.
    if (pstrName == ILedTintTarget::kInterfaceName) {
        return static_cast<ILedTintTarget*>(this);
    }
    if (pstrName == DuiLib::kControlDrawDataInterface) {
        return static_cast<DuiLib::IControlDrawDataUI*>(this);
    }
    if (DuiLib::EqualsNoCase(pstrName, kClassName)) {
        return this;
    }
    if (DuiLib::EqualsNoCase(pstrName, ILedTintTarget::kInterfaceName)) {
        return static_cast<ILedTintTarget*>(this);
    }
    if (DuiLib::EqualsNoCase(pstrName, DuiLib::kControlDrawDataInterface)) {
        return static_cast<DuiLib::IControlDrawDataUI*>(this);
    }
    return CButtonUI::GetInterface(pstrName);
}

DuiLib::TControlDrawData CDeviceKeyButtonUI::GetDrawData() const {
    DuiLib::TControlDrawData data;
    if (m_tintOn && m_tintAlpha != 0 && !m_keySelected) {
        // red | blue << 8 | green << 16 becomes 0xAARRGGBB.
        const DWORD red = m_tintColor & 0xFF;
        const DWORD blue = (m_tintColor >> 8) & 0xFF;
        const DWORD green = (m_tintColor >> 16) & 0xFF;
        data.dwOverlayColor =
            (static_cast<DWORD>(m_tintAlpha) << 24) | (red << 16) | (green << 8) | blue;
    }
    data.bCornerMark = m_functionTold && !m_sameFunction;
    return data;
}

void CDeviceKeyButtonUI::DoEvent(DuiLib::TEventUI& event) {
    // A drag that starts on a key still draws the select panel's band.
    if (event.Type == DuiLib::UIEVENT_BUTTONDOWN || event.Type == DuiLib::UIEVENT_MOUSEMOVE ||
        event.Type == DuiLib::UIEVENT_BUTTONUP) {
        if (auto* panel = CSelectPanelUI::FromControl(GetParent())) {
            panel->TrackBand(event);
        }
    }
    CButtonUI::DoEvent(event);
}

void CDeviceKeyButtonUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (pstrName != nullptr && std::wstring_view(pstrName) == L"selectedimage") {
        m_selectedImage = pstrValue;
        Invalidate();
        return;
    }
    CButtonUI::SetAttribute(pstrName, pstrValue);
}

const DuiLib::CDuiString& CDeviceKeyButtonUI::GetStateImage() const {
    if (m_keySelected && IsEnabled()) {
        const DuiLib::CDuiString& mark = m_selectedImage.IsEmpty() ? m_sHotImage : m_selectedImage;
        if (!mark.IsEmpty()) {
            return mark;
        }
    }
    return CButtonUI::GetStateImage();
}

void CDeviceKeyButtonUI::SetKeySelected(bool selected) {
    if (m_keySelected == selected) {
        return;
    }
    m_keySelected = selected;
    ChooseLegendColour();
    Invalidate();
}

void CDeviceKeyButtonUI::SetTint(DWORD colour, BYTE alpha, bool on) {
    if (m_tintColor == colour && m_tintAlpha == alpha && m_tintOn == on) {
        return;
    }
    m_tintColor = colour;
    m_tintAlpha = alpha;
    m_tintOn = on;
    ChooseLegendColour();
}

void CDeviceKeyButtonUI::ShowTint() {
    const Tint now{m_tintColor, m_tintAlpha, m_tintOn};
    if (now == m_shownTint) {
        return;
    }
    m_shownTint = now;
    Invalidate();
}

void CDeviceKeyButtonUI::ChooseLegendColour() {
    if (!m_legendColourKept) {
        m_legendColour = GetTextColor();
        m_legendLuminance = Luminance(m_legendColour);
        m_legendColourKept = true;
    }
    static const double kDarkLuminance = Luminance(kDarkLegend);
    const double face = Luminance(TintedFace(GetDrawData().dwOverlayColor));
    const bool dark = Contrast(face, kDarkLuminance) > Contrast(face, m_legendLuminance);
    // Kept with the tint and drawn with it (ShowTint), not repainted on its own.
    m_dwTextColor = dark ? kDarkLegend : m_legendColour;
}

void CDeviceKeyButtonUI::SetInSelection(int32_t flag) {
    const bool framed = flag != 0;
    if ((m_inSelection != 0) == framed) {
        m_inSelection = flag;
        return;
    }
    m_inSelection = flag;
    // The frame is drawn after the tint, so it shows on a key of any colour.
    SetBorderColor(kSelectionFrame);
    SetBorderSize(framed ? kSelectionFrameWidth : 0);
    Invalidate();
}

void CDeviceKeyButtonUI::SetSameFunction(bool same) {
    if (m_functionTold && m_sameFunction == same) {
        return;
    }
    m_functionTold = true;
    m_sameFunction = same;
    Invalidate();
}

DuiLib::CDuiString CDeviceKeyButtonUI::GetToolTip() const {
    if (m_toolTitle.IsEmpty() && m_toolText.IsEmpty()) {
        return CButtonUI::GetToolTip();
    }
    if (m_toolTitle.IsEmpty() || m_toolText.IsEmpty()) {
        return m_toolTitle + m_toolText;
    }
    return m_toolTitle + L"\n" + m_toolText;
}
