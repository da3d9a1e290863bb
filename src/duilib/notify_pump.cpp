#include "duilib/notify_pump.h"

#include "duilib/attribute_values.h"
#include "duilib/ui_control.h"

namespace DuiLib {

bool CNotifyPump::AddVirtualWnd(CDuiString strName, CNotifyPump* pObject) {
    if (strName.IsEmpty() || pObject == nullptr || m_VirtualWndMap.count(strName) != 0) {
        return false;
    }
    m_VirtualWndMap[strName] = pObject;
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(CDuiString strName) {
    return m_VirtualWndMap.erase(strName) != 0;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.sVirtualWnd.IsEmpty()) {
        auto it = m_VirtualWndMap.find(msg.sVirtualWnd);
        if (it != m_VirtualWndMap.end() && it->second != nullptr) {
            it->second->NotifyPump(msg);
            return;
        }
    }
    LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
    const CDuiString senderName = msg.pSender != nullptr ? msg.pSender->GetName() : CDuiString();
    for (const DUI_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const DUI_MSGMAP_ENTRY& entry : map->entries) {
            if (msg.sType != entry.sMsgType) {
                continue;
            }
            const std::wstring_view control = entry.sCtrlName != nullptr ? entry.sCtrlName : L"";
            if (!control.empty() && !EqualsNoCase(control, senderName.view())) {
                continue;
            }
            entry.pfn(this, msg);
            return true;
        }
    }
    return false;
}

const DUI_MSGMAP* CNotifyPump::GetThisMessageMap() {
    static const DUI_MSGMAP messageMap{nullptr, {}};
    return &messageMap;
}

const DUI_MSGMAP* CNotifyPump::GetMessageMap() const {
    return GetThisMessageMap();
}

}  // namespace DuiLib
