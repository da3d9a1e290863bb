#pragma once
// The headset's voice-effect panel: the effect switch and the four effect options.

#include "duilib/ui_layouts.h"

class CMagicControlUI : public DuiLib::CVerticalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"MagicControl";
    static constexpr int kEffectCount = 4;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetDeviceType(int kind) { m_kind = kind; }
    int GetDeviceType() const { return m_kind; }

    // Selects or clears the switch and enables the effect options with it.
    void SetMagicEnabled(bool enabled);
    bool IsMagicEnabled() const;
    void EnableMagicOptions(bool enabled);

    // Selects effect n (1..4) alone; any other value is kept as 0 and selects none.
    void SelectMagicEffect(int n);
    int GetMagicEffect() const { return m_effect; }

  private:
    int m_kind = 0;
    int m_effect = 0;
};
