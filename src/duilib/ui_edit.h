#pragma once
// Text entry. Typing (UIEVENT_CHAR) edits the text within the maximum length and, for a
// digits-only field, accepts digits alone; each change raises "textchanged". Enter
// raises "return". SetText raises nothing. Focus changes raise "setfocus"/"killfocus".

#include "duilib/ui_button.h"

namespace DuiLib {

class CEditUI : public CLabelUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetText(LPCTSTR pstrText) override;
    int GetMaxChar() const { return m_uMaxChar; }
    void SetMaxChar(int uMax);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool bReadOnly);
    bool IsNumberOnly() const { return m_bDigitsOnly; }
    void SetNumberOnly(bool bNumberOnly);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordMode(bool bPasswordMode) { m_bPasswordMode = bPasswordMode; }
    void SetSel(long nStartChar, long nEndChar);
    void SetSelAll() { SetSel(0, -1); }

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  protected:
    // The text cut to the maximum length and, for digits only, stripped of other characters.
    CDuiString Filter(const CDuiString& text) const;
    void TypeChar(wchar_t ch);

    int m_uMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bDigitsOnly = false;
    bool m_bPasswordMode = false;
};

// Multi-line rich text entry; the headless toolkit keeps plain text.
class CRichEditUI : public CEditUI {
  public:
    CRichEditUI() { m_uMaxChar = 30000; }
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    bool IsMultiLine() const { return m_bMultiLine; }
    void SetMultiLine(bool bMultiLine) { m_bMultiLine = bMultiLine; }
    long GetTextLength() const { return GetText().GetLength(); }
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  private:
    bool m_bMultiLine = true;
};

}  // namespace DuiLib
