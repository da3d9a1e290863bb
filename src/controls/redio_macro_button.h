#pragma once
// The macro panel's record button: it shows whether a recording runs ("recordingimage"
// replaces the normal image meanwhile).

#include "duilib/ui_button.h"

class CRedioMacroButtonUI : public DuiLib::CButtonUI {
  public:
    static constexpr const wchar_t* kClassName = L"RedioMacroButton";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    const DuiLib::CDuiString& GetStateImage() const override;

    void SetRecording(bool recording);
    bool IsRecording() const { return m_recording; }

  private:
    bool m_recording = false;
    DuiLib::CDuiString m_recordingImage;
};
