#include "pages/page_controls.h"

#include <functional>
#include <iterator>

#include "controls/circle_progress.h"
#include "controls/color_palette.h"
#include "controls/combo_edit_container_element.h"
#include "controls/device_key_button.h"
#include "controls/hand_buttons.h"
#include "controls/redio_macro_button.h"
#include "controls/select_panel.h"
#include "duilib/control_factory.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/magic_control_ui.h"
#include "pages/shoot_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"

namespace {

struct PageControlClass {
    const wchar_t* name;
    DuiLib::CControlUI* (*create)();
};

template <class T>
DuiLib::CControlUI* Make() {
    return new T();
}

constexpr PageControlClass kClasses[] = {
    {L"CircleProgress", &Make<CCircleProgressUI>},
    {L"ColorPalette", &Make<CColorPaletteUI>},
    {L"SelectPanel", &Make<CSelectPanelUI>},
    {L"DeviceKeyButton", &Make<CDeviceKeyButtonUI>},
    {L"HandImgButton", &Make<CHandImgButtonUI>},
    {L"HandImgSelectButton", &Make<CHandImgSelectButtonUI>},
    {L"RedioMacroButton", &Make<CRedioMacroButtonUI>},
    {L"ComboEditContainerElement", &Make<CComboEditContainerElementUI>},
    {L"DeviceProfile", &Make<CDeviceProfileUI>},
    {L"LightControl", &Make<CLightControlUI>},
    {L"MagicControl", &Make<CMagicControlUI>},
    {L"VoiceTamselControl", &Make<CVoiceTamselControlUI>},
    {L"KeySetControl", &Make<CKeySetControlUI>},
    {L"ShootControl", &Make<CShootControlUI>},
    {L"MacroControl", &Make<CMacroControlUI>},
};

}  // namespace

DuiLib::CControlUI* CreatePageControl(LPCTSTR className) {
    if (className == nullptr) {
        return nullptr;
    }
    const DuiLib::CDuiString name(className);
    for (const PageControlClass& entry : kClasses) {
        if (name.CompareNoCase(entry.name) == 0) {
            return entry.create();
        }
    }
    return nullptr;
}

void RegisterPageControls() {
    DuiLib::CControlFactory* factory = DuiLib::CControlFactory::GetInstance();
    for (const PageControlClass& entry : kClasses) {
        factory->RegisterControl(entry.name, entry.create);
    }
}
