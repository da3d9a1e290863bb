#pragma once
// Image buttons that show the hand cursor: a plain one and one that stays selected.

#include "duilib/ui_button.h"

class CHandImgButtonUI : public DuiLib::CButtonUI {
  public:
    static constexpr const wchar_t* kClassName = L"HandImgButton";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    // The renderer shows the hand cursor over an enabled button.
    bool WantsHandCursor() const { return IsEnabled(); }
};

class CHandImgSelectButtonUI : public DuiLib::COptionUI {
  public:
    static constexpr const wchar_t* kClassName = L"HandImgSelectButton";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    bool WantsHandCursor() const { return IsEnabled(); }
};
