#pragma once
// Finding a page's controls before the page is attached to a window: a depth-first
// search of the tree under a control, names compared without regard to case.

#include <string_view>

#include "duilib/ui_container.h"
#include "duilib/ui_control.h"

namespace device {

// The first control named `name` below `root` (root itself excluded), or null.
DuiLib::CControlUI* FindControlByName(DuiLib::CControlUI* root, std::wstring_view name);
// The control named `name` below `root` as the interface `interfaceName` ("Option",
// "Label", ...), or null when it is missing or of another kind.
template <typename T>
T* FindControlAs(DuiLib::CControlUI* root, std::wstring_view name, const wchar_t* interfaceName) {
    DuiLib::CControlUI* control = FindControlByName(root, name);
    return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

// `control` as a container, or null when it is null or holds no children.
DuiLib::IContainerUI* AsContainer(DuiLib::CControlUI* control);
// Whether the control's class is `className`, with or without the toolkit's "UI" suffix.
bool IsControlClass(DuiLib::CControlUI* control, std::wstring_view className);

}  // namespace device
