#pragma once
// The lighting panel of a device page: the mode combo (rows the device cannot show are
// disabled), brightness and speed sliders, direction, multi-colour flag, colour edits, the
// area (QRVM) sub-mode, the custom-mode selector and, while two or more devices are shown,
// the button that gives every device this lighting.

#include <array>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "duilib/ui_layouts.h"

// The light record the panel shows: bytes 0..7 mode, brightness, speed, direction,
// multi-colour flag, red, green, blue; byte 11 the area sub-mode.
using LightPanelRecord = std::array<uint8_t, 16>;

class CLightControlUI : public DuiLib::CHorizontalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"LightControl";
    // The keyboard mode that paints keys one by one from a custom group.
    static constexpr int kKeyboardCustomMode = 20;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetDeviceKind(int kind) { m_kind = kind; }
    int GetDeviceKind() const { return m_kind; }

    // One mode row per name (a language key), disabled where its flag is 0, then one row
    // per custom light named as the user named it: row n is light mode n.
    void InitLightModes(std::vector<DuiLib::CDuiString> names, std::vector<int> enabled,
                        int maxBrightness, int maxSpeed,
                        std::vector<DuiLib::CDuiString> customNames = {});
    // Rows of the area sub-mode combo and of the custom-mode selector, each a language key:
    // row n is sub-mode n, or custom group n.
    void SetAreaModeNames(std::vector<DuiLib::CDuiString> names);
    void SetCustomModeNames(std::vector<DuiLib::CDuiString> names);

    void ShowLightSettings(LightPanelRecord record);
    // Any 16-byte light parameter record of a device.
    template <class Record>
    requires(sizeof(Record) == 16 && std::is_trivially_copyable_v<Record> &&
             !std::same_as<Record, LightPanelRecord>) void ShowLightSettings(const Record& record) {
        LightPanelRecord bytes;
        std::memcpy(bytes.data(), &record, bytes.size());
        ShowLightSettings(bytes);
    }

    void SetCustomLightMode(int n);
    // The selected row, -1 when none or when the selector is missing.
    int GetCustomLightMode() const;

    // Shows the "same lighting on all devices" button.
    void SetSyncMode(bool show);
    bool IsSyncMode() const { return m_syncMode; }

    // What the user set, read by the window's light relays (-1 / 0 where a control is
    // missing).
    int GetSelectedMode() const;
    int GetBrightness() const;
    int GetSpeed() const;
    int GetDirection() const;
    bool IsMultiColor() const;
    int GetAreaMode() const;
    // Each 0..255; a blank or foreign edit reads 0.
    int GetRed() const;
    int GetGreen() const;
    int GetBlue() const;
    void SetColor(int red, int green, int blue);
    // Puts the colour of preset "color_option_" + n (its background) into the edits;
    // false when there is no such preset.
    bool ApplyPresetColor(int n);
    // Puts the colour last picked on the colour field into the edits; false when none was.
    bool ApplyPaletteColor();
    // The buttons that light or turn off the keys chosen on the picture act only on a
    // choice.
    void EnableKeyChoiceButtons(bool enabled);

    // Shows the parts that matter for a mode.
    void LayoutForMode(int mode);

  private:
    int EditValue(const wchar_t* name) const;
    void FillCombo(const wchar_t* name, const std::vector<DuiLib::CDuiString>& rows,
                   const std::vector<int>* enabled, bool rowsAreKeys);

    int m_kind = 0;
    bool m_syncMode = false;
};
