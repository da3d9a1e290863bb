#pragma once
// The headset's audio panel: equaliser presets and the ten band sliders, the custom
// presets (a combo of names and a name edit), and the microphone and monitoring switches
// and levels.

#include "duilib/ui_layouts.h"

class CVoiceTamselControlUI : public DuiLib::CHorizontalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"VoiceTamselControl";
    static constexpr int kPresetCount = 13;  // 13 is the custom setting
    static constexpr int kBandCount = 10;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetDeviceType(int kind) { m_kind = kind; }
    int GetDeviceType() const { return m_kind; }

    // Selects preset n (1..13) alone; any other value is kept as 0 and selects none.
    void SelectEqPreset(int n);
    int GetEqPreset() const { return m_preset; }

    // Band 0..9. Returns the level the band's slider shows, held within its range; the
    // value itself when the slider is missing. GetEqBandValue: -1 when it is missing.
    int SetEqBandValue(int band, int value);
    int GetEqBandValue(int band) const;
    void EnableCustomEqLayout(bool enabled);

    void SetMicInSelected(bool selected);
    bool IsMicInSelected() const;
    void SetMicMonitorSelected(bool selected);
    bool IsMicMonitorSelected() const;
    void SetMicInValue(int value);
    int GetMicInValue() const;
    void SetMicMonitorValue(int value);
    int GetMicMonitorValue() const;

    DuiLib::CDuiString GetCustomEqName() const;
    int GetCustomEqSelection() const;
    int GetCustomEqCount() const;
    // Empty for an index outside the list.
    DuiLib::CDuiString GetCustomEqItemText(int i) const;
    void ClearCustomEqItems();
    void AddCustomEqItem(DuiLib::CDuiString name);
    void RemoveCustomEqItem(int i);
    // Selects item i (-1 clears) and empties the name edit.
    void SelectCustomEqItem(int i);

  private:
    int m_kind = 0;
    int m_preset = 0;
};
