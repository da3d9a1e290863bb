#pragma once
// The program's modal message window and the one call that shows it.

#include "duilib/window_impl_base.h"

class CMsgWnd : public DuiLib::WindowImplBase {
  public:
    LPCTSTR GetWindowClassName() const override { return L"MsgWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"XML_MSG"; }
    void OnFinalMessage(HWND hWnd) override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    void SetTitle(const DuiLib::CDuiString& title);
    void SetMessage(const DuiLib::CDuiString& text, bool textIsKey);
    // Grows the box for a message too long for it (the program's notices name files and
    // reasons) instead of cutting it off. Before SetDPI: sizes are in 96-DPI units.
    void FitMessage(const DuiLib::CDuiString& text);
    void SetDPI(int dpi);
    void SetButtons(int mode);
    int GetDPI() const { return dpi_; }

  private:
    int dpi_ = 96;
};

// Shows `text` (a language key when `textIsKey`) modally over `parent`; 1 when the user
// confirms, 0 when they cancel or close. `buttons` 0: confirm only; 1: confirm and cancel.
int ShowMsgBox(HWND parent, const DuiLib::CDuiString& title, const DuiLib::CDuiString& text,
               int dpi, bool textIsKey, int buttons);

// Accepted DPI values of the program's windows; any other is shown at 96.
bool IsSupportedDpi(int dpi);
