#include "device/page/control_lookup.h"

#include <string>

#include "duilib/ui_container.h"

namespace device {

DuiLib::IContainerUI* AsContainer(DuiLib::CControlUI* control) {
    return control ? static_cast<DuiLib::IContainerUI*>(control->GetInterface(L"IContainer"))
                   : nullptr;
}

DuiLib::CControlUI* FindControlByName(DuiLib::CControlUI* root, std::wstring_view name) {
    DuiLib::IContainerUI* container = AsContainer(root);
    if (!container) {
        return nullptr;
    }
    for (int i = 0; i < container->GetCount(); ++i) {
        DuiLib::CControlUI* child = container->GetItemAt(i);
        if (child->GetName().CompareNoCase(name) == 0) {
            return child;
        }
        if (DuiLib::CControlUI* found = FindControlByName(child, name)) {
            return found;
        }
    }
    return nullptr;
}

bool IsControlClass(DuiLib::CControlUI* control, std::wstring_view className) {
    if (!control || !control->GetClass()) {
        return false;
    }
    const DuiLib::CDuiString actual = control->GetClass();
    return actual.CompareNoCase(className) == 0 ||
           actual.CompareNoCase(std::wstring(className) + L"UI") == 0;
}

}  // namespace device
