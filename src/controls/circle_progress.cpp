#include "controls/circle_progress.h"

#include "duilib/own_interface.h"

LPCTSTR CCircleProgressUI::GetClass() const {
    return kClassName;
}

LPVOID CCircleProgressUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CProgressUI>(this, pstrName);
}

int CCircleProgressUI::GetSweepDegrees() const {
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    if (range <= 0) {
        return 0;
    }
    const long long done = static_cast<long long>(m_nValue) - m_nMin;
    return static_cast<int>(done * 360 / range);
}
