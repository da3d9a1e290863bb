#pragma once
// The scroll bar of a container whose children do not fit: a rail with a thumb whose
// length shows how much of the content is in view, and optional arrow buttons at both
// ends. A drag on the thumb, a press on the rail (a page) or on a button (a line) and the
// wheel move the container's content. Its look comes from a style attribute list such
// as vscrollbarstyle="width=&quot;10&quot; thumbnormalimage=&quot;...&quot;".

#include "duilib/ui_control.h"

namespace DuiLib {

class CContainerUI;

class CScrollBarUI : public CControlUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal) { m_bHorizontal = bHorizontal; }

    // Positions run from 0 to the range: how far the content lies past the view.
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int nRange);
    int GetScrollPos() const { return m_nPos; }
    void SetScrollPos(int nPos);
    int GetLineSize() const;
    // Across the bar, scaled: the room the owner gives it.
    int GetThickness() const;

    bool IsShowButton1() const { return m_bShowButton1; }
    bool IsShowButton2() const { return m_bShowButton2; }
    RECT GetButton1Rect() const;
    RECT GetButton2Rect() const;
    RECT GetThumbRect() const;
    // UISTATE_HOT / UISTATE_PUSHED of the thumb.
    UINT GetThumbState() const { return m_uThumbState; }
    CDuiString GetThumbImage() const;
    CDuiString GetRailImage() const { return m_sRailImage; }
    CDuiString GetButton1Image() const { return m_sButton1Image; }
    CDuiString GetButton2Image() const { return m_sButton2Image; }

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  private:
    // The part between the buttons, along the bar's axis.
    RECT TrackRect() const;
    int Along(POINT pt) const { return m_bHorizontal ? pt.x : pt.y; }
    int PageSize() const;
    void Press(POINT pt);
    void Drag(POINT pt);
    // Asks the owner to show its content from `nPos` on.
    void ScrollTo(int nPos);

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 0;
    int m_nPos = 0;
    int m_nLineSize = 0;  // 0: the default, at 96 DPI
    bool m_bShowButton1 = false;
    bool m_bShowButton2 = false;
    UINT m_uThumbState = 0;
    bool m_bDragging = false;
    int m_nDragFrom = 0;     // where along the axis the thumb was taken
    int m_nDragFromPos = 0;  // the position then
    CDuiString m_sThumbImage;
    CDuiString m_sThumbHotImage;
    CDuiString m_sThumbPushedImage;
    CDuiString m_sRailImage;
    CDuiString m_sButton1Image;
    CDuiString m_sButton2Image;
};

}  // namespace DuiLib
