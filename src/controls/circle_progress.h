#pragma once
// A progress value drawn as an arc (battery and upload progress).

#include "duilib/ui_progress.h"

class CCircleProgressUI : public DuiLib::CProgressUI {
  public:
    static constexpr const wchar_t* kClassName = L"CircleProgress";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    // The arc the value covers, 0..360 degrees.
    int GetSweepDegrees() const;
};
