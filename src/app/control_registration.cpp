#include "app/control_registration.h"

#include "app/device_option_ui.h"
#include "app/mp_device_power_ui.h"
#include "controls/circle_progress.h"
#include "controls/combo_edit_container_element.h"
#include "controls/device_key_button.h"
#include "controls/hand_buttons.h"
#include "controls/redio_macro_button.h"
#include "controls/select_panel.h"
#include "device/vornalix_usb_device.h"
#include "duilib/control_factory.h"
#include "pages/device_profile_ui.h"
#include "pages/light_control_ui.h"

using namespace DuiLib;

namespace {

template <typename T>
CControlUI* Make() {
    return new T();
}

}  // namespace

void RegisterControlClasses() {
    CControlFactory* factory = CControlFactory::GetInstance();
    factory->RegisterControl(L"CVornalixUSBDevice", &CreateUSBDevice);
    factory->RegisterControl(L"CDeviceOptionUI", &CreateDeviceOptionUI);
    factory->RegisterControl(L"CMpDevicePowerUI", &CreateMpDevicePowerUI);
    factory->RegisterControl(L"CircleProgress", &Make<CCircleProgressUI>);
    factory->RegisterControl(L"SelectPanel", &Make<CSelectPanelUI>);
    factory->RegisterControl(L"DeviceKeyButton", &Make<CDeviceKeyButtonUI>);
    factory->RegisterControl(L"HandImgButton", &Make<CHandImgButtonUI>);
    factory->RegisterControl(L"HandImgSelectButton", &Make<CHandImgSelectButtonUI>);
    factory->RegisterControl(L"RedioMacroButton", &Make<CRedioMacroButtonUI>);
    factory->RegisterControl(L"ComboEditContainerElement", &Make<CComboEditContainerElementUI>);
    factory->RegisterControl(L"DeviceProfile", &Make<CDeviceProfileUI>);
    factory->RegisterControl(L"LightControl", &Make<CLightControlUI>);
}
