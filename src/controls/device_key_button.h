#pragma once
// The key button of the device pages: one key or LED of the device picture. The device
// layer tints its image with the LED's colour, names it by its key function, marks the key
// being assigned, and reads whether a rubber-band selection of its select panel covers it.

#include <cstdint>

#include "controls/led_tint_target.h"
#include "duilib/render/control_draw_data.h"
#include "duilib/ui_button.h"

class CDeviceKeyButtonUI : public DuiLib::CButtonUI,
                           public ILedTintTarget,
                           public DuiLib::IControlDrawDataUI {
  public:
    static constexpr const wchar_t* kClassName = L"DeviceKeyButton";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void DoEvent(DuiLib::TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    const DuiLib::CDuiString& GetStateImage() const override;

    // colour: red | blue << 8 | green << 16, as the device layer packs it. The image is
    // painted with it at `alpha` while `on`. The tint changes 20 times a second while
    // lights animate: it is only stored, and ShowTint repaints the button when the page's
    // preview is shown.
    void SetTint(DWORD colour, BYTE alpha, bool on);
    void ShowTint();
    // The device layer's way in (it cannot name this class).
    void SetLedTint(uint32_t colour, uint8_t alpha, bool on) override {
        SetTint(colour, alpha, on);
    }
    void ShowLedTint() override { ShowTint(); }
    DWORD GetTintColor() const { return m_tintColor; }
    // The tint as the renderer lays it over the key's image.
    DuiLib::TControlDrawData GetDrawData() const override;
    BYTE GetTintAlpha() const { return m_tintAlpha; }
    bool IsTintOn() const { return m_tintOn; }

    // Set when the key keeps its own function; repaints only on a change. A key told it
    // has another function is drawn with a mark in its corner.
    void SetSameFunction(bool same);
    bool IsSameFunction() const { return m_sameFunction; }

    // The key whose function the key-assignment panel shows. It is drawn with the layout's
    // "selectedimage" (its hot image when it has none) and without its LED tint, so the
    // mark shows whatever the LED does; a disabled key looks disabled.
    void SetKeySelected(bool selected);
    bool IsKeySelected() const { return m_keySelected; }

    // Nonzero while a rubber-band selection of the select panel covers the button. A key in
    // the selection is framed over whatever its LED shows.
    int32_t IsInSelection() const { return m_inSelection; }
    void SetInSelection(int32_t flag);

    // The two-part tool tip of the mouse page, shown as the tip: the title over the text.
    DuiLib::CDuiString GetToolTip() const override;
    void SetUserToolTitle(LPCTSTR title) { m_toolTitle = title; }
    DuiLib::CDuiString GetUserToolTitle() const { return m_toolTitle; }
    void SetUserToolText(LPCTSTR text) { m_toolText = text; }
    DuiLib::CDuiString GetUserToolText() const { return m_toolText; }

  private:
    // The layout's legend colour where it reads well on the tinted face, else a dark one.
    void ChooseLegendColour();

    struct Tint {
        DWORD colour = 0;
        BYTE alpha = 0;
        bool on = false;
        friend bool operator==(const Tint&, const Tint&) = default;
    };

    DWORD m_tintColor = 0;
    BYTE m_tintAlpha = 0;
    bool m_tintOn = false;
    Tint m_shownTint;
    bool m_sameFunction = false;
    bool m_functionTold = false;
    DWORD m_legendColour = 0;
    double m_legendLuminance = 0;
    bool m_legendColourKept = false;
    bool m_keySelected = false;
    DuiLib::CDuiString m_selectedImage;
    int32_t m_inSelection = 0;
    DuiLib::CDuiString m_toolTitle;
    DuiLib::CDuiString m_toolText;
};
