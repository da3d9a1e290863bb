#pragma once
// The device picture: a container of key buttons over which the user drags a rubber
// band. While the band moves every "DeviceKeyButton" child learns whether the band covers
// it; when the drag ends the panel raises "click_select_end".

#include "duilib/render/control_draw_data.h"
#include "duilib/ui_container.h"

class CSelectPanelUI : public DuiLib::CContainerUI, public DuiLib::IControlDrawDataUI {
  public:
    static constexpr const wchar_t* kClassName = L"SelectPanel";
    static constexpr const wchar_t* kSelectEndNotify = L"click_select_end";

    // The panel itself when `control` is one, else null.
    static CSelectPanelUI* FromControl(DuiLib::CControlUI* control);

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void DoEvent(DuiLib::TEventUI& event) override;

    // Mouse button down, move and up, from the panel or from one of its buttons.
    void TrackBand(const DuiLib::TEventUI& event);
    // Whether a drag selects (on at construction). Turning it off ends the selection: no
    // band, no button in it, no "click_select_end".
    void SetBandEnabled(bool enabled);
    bool IsBandEnabled() const { return m_bandEnabled; }
    bool IsSelecting() const { return m_selecting; }
    RECT GetBandRect() const;
    // The band as the renderer draws it while the user drags.
    DuiLib::TControlDrawData GetDrawData() const override;

  private:
    void ApplyBand();
    // Each button is in the selection when `band` covers it; none without a band.
    void MarkButtons(const RECT* band);

    bool m_bandEnabled = true;
    bool m_selecting = false;
    POINT m_start{};
    POINT m_current{};
};
