#pragma once
// A drop-down choice. Its rows are held like a container's children but are not laid out
// inside the combo; the text shown is the selected row's.

#include "duilib/ui_list.h"

namespace DuiLib {

class CComboUI : public CListOwnerBaseUI<CContainerUI> {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    CDuiString GetText() const override;
    // Selects row iIndex ("itemselect" when bTriggerEvent); -1 clears the selection.
    bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) override;
    bool Activate() override;

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    SIZE GetDropBoxSize() const { return m_szDropBox; }
    CDuiString GetNormalImage() const { return m_sNormalImage; }
    // The look of the shown text and of the dropped rows, for a renderer.
    struct TextLook {
        DWORD textColor = 0;
        int font = -1;
        RECT textPadding{};  // at 96 DPI
        DWORD itemTextColor = 0;
        DWORD itemBkColor = 0;
        DWORD itemHotBkColor = 0;
        DWORD itemSelectedBkColor = 0;
    };
    const TextLook& GetTextLook() const { return m_look; }

  private:
    // The next enabled row from the current one in `step` direction; -1 when none.
    int NextSelectable(int step) const;

    SIZE m_szDropBox{0, 150};
    CDuiString m_sNormalImage;
    TextLook m_look;
};

}  // namespace DuiLib
