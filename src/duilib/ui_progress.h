#pragma once
// Value controls: the progress bar and the slider the user drags. Values are kept within
// [min, max]; a programmatic SetValue raises nothing. Either runs across ("hor", the
// default) or upwards ("vertical": the minimum at the bottom). On a slider a drag raises
// "movevaluechanged" while it moves and "valuechanged" when the value is set; a click,
// the wheel and the keys of the focused slider raise "valuechanged".

#include "duilib/ui_button.h"

namespace DuiLib {

class CProgressUI : public CLabelUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int nMin);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);
    int GetValue() const { return m_nValue; }
    void SetValue(int nValue);
    CDuiString GetForeImage() const { return m_sForeImage; }

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  protected:
    bool m_bHorizontal = true;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
};

class CSliderUI : public CProgressUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step);
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(SIZE szXY) { m_szThumb = szXY; }
    // The thumb rectangle for the current value (the renderer draws it there).
    RECT GetThumbRect() const;
    // The thumb's image for its state: pushed while dragged, hot under the pointer.
    CDuiString GetThumbImage() const;
    UINT GetThumbState() const { return m_uThumbState; }

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  private:
    int ValueAt(POINT pt) const;
    // The value a key moves to; false for keys a slider does not answer.
    bool ValueForKey(WPARAM key, int* value) const;
    // Sets the value the user chose and raises `type` when it changed or always.
    void UserValue(int value, LPCTSTR type, bool always);
    void SetThumbState(UINT state);

    int m_nStep = 1;
    SIZE m_szThumb{10, 10};
    bool m_bDragging = false;
    UINT m_uThumbState = 0;
    CDuiString m_sThumbImage;
    CDuiString m_sThumbHotImage;
    CDuiString m_sThumbPushedImage;
};

}  // namespace DuiLib
