#include "controls/device_key_button.h"

#include "controls/select_panel.h"

LPCTSTR CDeviceKeyButtonUI::GetClass() const {
    return kClassName;
}

LPVOID CDeviceKeyButtonUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName != nullptr && DuiLib::CDuiString(pstrName).CompareNoCase(kClassName) == 0) {
        return this;
    }
    if (pstrName != nullptr &&
        DuiLib::CDuiString(pstrName).CompareNoCase(ILedTintTarget::kInterfaceName) == 0) {
        return static_cast<ILedTintTarget*>(this);
    }
    if (pstrName != nullptr &&
        DuiLib::CDuiString(pstrName).CompareNoCase(DuiLib::kControlDrawDataInterface) == 0) {
        return static_cast<DuiLib::IControlDrawDataUI*>(this);
    }
    return CButtonUI::GetInterface(pstrName);
}

DuiLib::TControlDrawData CDeviceKeyButtonUI::GetDrawData() const {
    DuiLib::TControlDrawData data;
    if (m_tintOn && m_tintAlpha != 0) {
        // red | blue << 8 | green << 16 becomes 0xAARRGGBB.
        const DWORD red = m_tintColor & 0xFF;
        const DWORD blue = (m_tintColor >> 8) & 0xFF;
        const DWORD green = (m_tintColor >> 16) & 0xFF;
        data.dwOverlayColor =
            (static_cast<DWORD>(m_tintAlpha) << 24) | (red << 16) | (green << 8) | blue;
    }
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

void CDeviceKeyButtonUI::SetTint(DWORD colour, BYTE alpha, bool on) {
    if (m_tintColor == colour && m_tintAlpha == alpha && m_tintOn == on) {
        return;
    }
    m_tintColor = colour;
    m_tintAlpha = alpha;
    m_tintOn = on;
    Invalidate();
}

void CDeviceKeyButtonUI::SetSameFunction(bool same) {
    if (m_sameFunction == same) {
        return;
    }
    m_sameFunction = same;
    Invalidate();
}
