#pragma once
// A drop-down choice. Its rows are held like a container's children but are not laid out
// inside the combo; the text shown is the selected row's.

#include "duilib/ui_list.h"

namespace DuiLib {

class CComboUI : public CContainerUI, public IListOwnerUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override { return AddAt(pControl, GetCount()); }
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    CDuiString GetText() const override;
    int GetCurSel() const override { return m_selection.Current(); }
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
    void Renumber();
    // The next enabled row from the current one in `step` direction; -1 when none.
    int NextSelectable(int step) const;

    CListSelection m_selection;
    SIZE m_szDropBox{0, 150};
    CDuiString m_sNormalImage;
    TextLook m_look;
};

}  // namespace DuiLib
