#pragma once
// Message maps: a class binds notification types (optionally of one named control) to
// its member functions; virtual windows are further pumps that receive the
// notifications of controls whose "virtualwnd" names them.
//
//   class CMyWnd : public WindowImplBase {
//       DUI_DECLARE_MESSAGE_MAP()
//       void OnItemActivate(TNotifyUI& msg);
//   };
//   DUI_BEGIN_MESSAGE_MAP(CMyWnd, WindowImplBase)
//       DUI_ON_MSGTYPE(DUI_MSGTYPE_ITEMACTIVATE, OnItemActivate)
//   DUI_END_MESSAGE_MAP()

#include <map>
#include <vector>

#include "duilib/ui_defs.h"

namespace DuiLib {

class CNotifyPump;
// Calls one member function of the pump's own class (the map entry's class).
using DuiNotifyHandler = void (*)(CNotifyPump*, TNotifyUI&);

struct DUI_MSGMAP_ENTRY {
    const wchar_t* sMsgType;
    const wchar_t* sCtrlName;  // empty: any control
    DuiNotifyHandler pfn;
};

struct DUI_MSGMAP {
    const DUI_MSGMAP* (*pfnGetBaseMap)();
    std::vector<DUI_MSGMAP_ENTRY> entries;
};

class CNotifyPump {
  public:
    virtual ~CNotifyPump() = default;

    bool AddVirtualWnd(CDuiString strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(CDuiString strName);
    // Hands the notification to the virtual window it names, else to this pump's map.
    void NotifyPump(TNotifyUI& msg);
    // Runs the first map entry (of this class, then its bases) that matches; true if any.
    bool LoopDispatch(TNotifyUI& msg);

    static const DUI_MSGMAP* GetThisMessageMap();
    virtual const DUI_MSGMAP* GetMessageMap() const;

  private:
    std::map<CDuiString, CNotifyPump*> m_VirtualWndMap;
};

}  // namespace DuiLib

#define DUI_DECLARE_MESSAGE_MAP()                         \
  public:                                                 \
    static const DuiLib::DUI_MSGMAP* GetThisMessageMap(); \
    const DuiLib::DUI_MSGMAP* GetMessageMap() const override;

#define DUI_BEGIN_MESSAGE_MAP(theClass, baseClass)              \
    const DuiLib::DUI_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                             \
    }                                                           \
    const DuiLib::DUI_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                             \
        static const DuiLib::DUI_MSGMAP messageMap {            \
            &baseClass::GetThisMessageMap, {
#define DUI_ON_MSGTYPE(msgtype, memberFxn) DUI_ON_MSGTYPE_CTRNAME(msgtype, L"", memberFxn)

#define DUI_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn)                          \
    DuiLib::DUI_MSGMAP_ENTRY{msgtype, ctrname,                                       \
                             [](DuiLib::CNotifyPump* pump, DuiLib::TNotifyUI& msg) { \
                                 static_cast<ThisClass*>(pump)->memberFxn(msg);      \
                             }},

#define DUI_ON_CLICK_CTRNAME(ctrname, memberFxn) \
    DUI_ON_MSGTYPE_CTRNAME(DuiLib::DUI_MSGTYPE_CLICK, ctrname, memberFxn)

#define DUI_ON_SELECTCHANGED_CTRNAME(ctrname, memberFxn) \
    DUI_ON_MSGTYPE_CTRNAME(DuiLib::DUI_MSGTYPE_SELECTCHANGED, ctrname, memberFxn)

#define DUI_END_MESSAGE_MAP() \
    }                         \
    }                         \
    ;                         \
    return &messageMap;       \
    }
