#include "controls/redio_macro_button.h"

#include "duilib/own_interface.h"

LPCTSTR CRedioMacroButtonUI::GetClass() const {
    return kClassName;
}

LPVOID CRedioMacroButtonUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CButtonUI>(this, pstrName);
}

void CRedioMacroButtonUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (pstrName != nullptr && DuiLib::CDuiString(pstrName).CompareNoCase(L"recordingimage") == 0) {
        m_recordingImage = pstrValue;
        Invalidate();
        return;
    }
    CButtonUI::SetAttribute(pstrName, pstrValue);
}

const DuiLib::CDuiString& CRedioMacroButtonUI::GetStateImage() const {
    if (m_recording && !m_recordingImage.IsEmpty()) {
        return m_recordingImage;
    }
    return CButtonUI::GetStateImage();
}

void CRedioMacroButtonUI::SetRecording(bool recording) {
    if (m_recording != recording) {
        m_recording = recording;
        Invalidate();
    }
}
