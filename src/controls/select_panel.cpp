#include "controls/select_panel.h"

#include <algorithm>

#include "controls/device_key_button.h"
#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace {

bool Overlaps(const RECT& band, const RECT& item) {
    return band.left <= item.right && item.left <= band.right && band.top <= item.bottom &&
           item.top <= band.bottom;
}

}  // namespace

CSelectPanelUI* CSelectPanelUI::FromControl(DuiLib::CControlUI* control) {
    if (control == nullptr) {
        return nullptr;
    }
    return static_cast<CSelectPanelUI*>(control->GetInterface(kClassName));
}

LPCTSTR CSelectPanelUI::GetClass() const {
    return kClassName;
}

LPVOID CSelectPanelUI::GetInterface(LPCTSTR pstrName) {
    // Asked on every LED frame (the panel is a page's preview): no name is copied.
    if (pstrName != nullptr && DuiLib::EqualsNoCase(pstrName, kClassName)) {
        return this;
    }
    if (pstrName != nullptr &&
        (pstrName == DuiLib::kControlDrawDataInterface ||
         DuiLib::EqualsNoCase(pstrName, DuiLib::kControlDrawDataInterface))) {
        return static_cast<DuiLib::IControlDrawDataUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

DuiLib::TControlDrawData CSelectPanelUI::GetDrawData() const {
    DuiLib::TControlDrawData data;
    data.bHasBand = m_selecting;
    data.rcBand = GetBandRect();
    return data;
}

void CSelectPanelUI::DoEvent(DuiLib::TEventUI& event) {
    if (event.Type == DuiLib::UIEVENT_BUTTONDOWN || event.Type == DuiLib::UIEVENT_MOUSEMOVE ||
        event.Type == DuiLib::UIEVENT_BUTTONUP) {
        TrackBand(event);
        return;
    }
    CContainerUI::DoEvent(event);
}

RECT CSelectPanelUI::GetBandRect() const {
    return RECT{std::min(m_start.x, m_current.x), std::min(m_start.y, m_current.y),
                std::max(m_start.x, m_current.x), std::max(m_start.y, m_current.y)};
}

void CSelectPanelUI::SetBandEnabled(bool enabled) {
    if (m_bandEnabled == enabled) {
        return;
    }
    m_bandEnabled = enabled;
    if (!enabled) {
        m_selecting = false;
        MarkButtons(nullptr);
    }
}

void CSelectPanelUI::TrackBand(const DuiLib::TEventUI& event) {
    if (!IsEnabled() || !m_bandEnabled) {
        return;
    }
    switch (event.Type) {
        case DuiLib::UIEVENT_BUTTONDOWN:
            m_selecting = true;
            m_start = m_current = event.ptMouse;
            ApplyBand();
            break;
        case DuiLib::UIEVENT_MOUSEMOVE:
            if (m_selecting) {
                m_current = event.ptMouse;
                ApplyBand();
            }
            break;
        case DuiLib::UIEVENT_BUTTONUP:
            if (m_selecting) {
                m_current = event.ptMouse;
                ApplyBand();
                m_selecting = false;
                Invalidate();
                if (m_pManager != nullptr) {
                    m_pManager->SendNotify(this, kSelectEndNotify);
                }
            }
            break;
        default:
            break;
    }
}

void CSelectPanelUI::ApplyBand() {
    const RECT band = GetBandRect();
    MarkButtons(&band);
}

void CSelectPanelUI::MarkButtons(const RECT* band) {
    for (int i = 0; i < GetCount(); ++i) {
        DuiLib::CControlUI* child = GetItemAt(i);
        auto* button =
            static_cast<CDeviceKeyButtonUI*>(child->GetInterface(CDeviceKeyButtonUI::kClassName));
        if (button != nullptr) {
            // A hidden key is not on the picture the band is drawn over.
            const bool covered =
                band != nullptr && button->IsVisible() && Overlaps(*band, button->GetPos());
            button->SetInSelection(covered ? 1 : 0);
        }
    }
    Invalidate();
}
