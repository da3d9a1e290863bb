// The main window's control factory: the program's own controls by class name, and the
// composite panels built from their layouts.

#include "app/main_wnd/main_wnd.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "device/vornalix_usb_device.h"
#include "duilib/dialog_builder.h"
#include "pages/page_controls.h"

using namespace DuiLib;

namespace {

struct ClassEntry {
    LPCTSTR name;
    CControlUI* (*create)();
};

// The device pages; every other class of the program's own comes from the pages' factory.
constexpr ClassEntry kDeviceClasses[] = {
    {L"VornalixMousePadDevice", &CreateMousePadDevice},
    {L"VornalixTamselDevice", &CreateTamselDevice},
    {L"VornalixMouseDevice", &CreateMouseDevice},
    {L"VornalixKeyboardDevice", &CreateKeyboardDevice},
};

struct CompositeEntry {
    LPCTSTR name;
    LPCTSTR xml;
};

constexpr CompositeEntry kComposites[] = {
    {L"DeviceProfileUI", L"XML\\CustomControlXML\\DeviceProfile.xml"},
    {L"LightSetControlUI", L"XML\\CustomControlXML\\LightControl.xml"},
    {L"VoiceTamselSetControlUI", L"XML\\CustomControlXML\\VoiceTamselControl.xml"},
    {L"MagicSetControlUI", L"XML\\CustomControlXML\\MagicControl.xml"},
    {L"KeySetControlUI", L"XML\\CustomControlXML\\KeySetControl.xml"},
    {L"MacroSetControlUI", L"XML\\CustomControlXML\\MacroControl.xml"},
    {L"ShootKeySetControlUI", L"XML\\CustomControlXML\\ShootControl.xml"},
    {L"VirtualSetControlUI", L"XML\\CustomControlXML\\VirtualSet.xml"},
};

}  // namespace

CControlUI* CMainWnd::CreateControl(LPCTSTR pstrClass) {
    if (pstrClass == nullptr) {
        return nullptr;
    }
    const CDuiString name(pstrClass);
    for (const ClassEntry& entry : kDeviceClasses) {
        if (name.CompareNoCase(entry.name) == 0) {
            return entry.create();
        }
    }
    if (CControlUI* control = CreatePageControl(pstrClass)) {
        return control;
    }
    for (const CompositeEntry& entry : kComposites) {
        if (name.CompareNoCase(entry.name) == 0) {
            // Built without this callback: its classes come from the control factory.
            CDialogBuilder builder;
            return builder.Create(entry.xml, nullptr, nullptr, &m_pm, nullptr);
        }
    }
    return nullptr;
}
