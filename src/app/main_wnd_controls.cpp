// The main window's control factory: the program's own controls by class name, and the
// composite panels built from their layouts.

#include <functional>
#include <utility>

#include "app/main_wnd.h"
#include "controls/circle_progress.h"
#include "controls/combo_edit_container_element.h"
#include "controls/device_key_button.h"
#include "controls/hand_buttons.h"
#include "controls/redio_macro_button.h"
#include "controls/select_panel.h"
#include "device/vornalix_keyboard_device.h"
#include "device/vornalix_mouse_device.h"
#include "device/vornalix_mousepad_device.h"
#include "device/vornalix_tamsel_device.h"
#include "device/vornalix_usb_device.h"
#include "duilib/dialog_builder.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/magic_control_ui.h"
#include "pages/shoot_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"

using namespace DuiLib;

namespace {

template <typename T>
CControlUI* Make() {
    return new T();
}

struct ClassEntry {
    LPCTSTR name;
    CControlUI* (*create)();
};

constexpr ClassEntry kClasses[] = {
    {L"CircleProgress", &Make<CCircleProgressUI>},
    {L"SelectPanel", &Make<CSelectPanelUI>},
    {L"DeviceKeyButton", &Make<CDeviceKeyButtonUI>},
    {L"HandImgButton", &Make<CHandImgButtonUI>},
    {L"HandImgSelectButton", &Make<CHandImgSelectButtonUI>},
    {L"RedioMacroButton", &Make<CRedioMacroButtonUI>},
    {L"ComboEditContainerElement", &Make<CComboEditContainerElementUI>},
    {L"VornalixMousePadDevice", &CreateMousePadDevice},
    {L"VornalixTamselDevice", &CreateTamselDevice},
    {L"VornalixMouseDevice", &CreateMouseDevice},
    {L"VornalixKeyboardDevice", &CreateKeyboardDevice},
    {L"DeviceProfile", &Make<CDeviceProfileUI>},
    {L"LightControl", &Make<CLightControlUI>},
    {L"MagicControl", &Make<CMagicControlUI>},
    {L"VoiceTamselControl", &Make<CVoiceTamselControlUI>},
    {L"KeySetControl", &Make<CKeySetControlUI>},
    {L"ShootControl", &Make<CShootControlUI>},
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
    for (const ClassEntry& entry : kClasses) {
        if (name.CompareNoCase(entry.name) == 0) {
            return entry.create();
        }
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
