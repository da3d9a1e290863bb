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
    return CButtonUI::GetInterface(pstrName);
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
