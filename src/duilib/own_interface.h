#pragma once
// GetInterface of a control class that answers to its own class name: the control itself
// for that name (compared without regard to case), else what its base class answers.
//
//   LPVOID CShootControlUI::GetInterface(LPCTSTR name) {
//       return DuiLib::OwnInterface<CVerticalLayoutUI>(this, name);
//   }

#include "duilib/attribute_values.h"
#include "platform/win_types.h"

namespace DuiLib {

template <class Base, class Self>
LPVOID OwnInterface(Self* self, LPCTSTR name) {
    if (name != nullptr && EqualsNoCase(name, Self::kClassName)) {
        return self;
    }
    return self->Base::GetInterface(name);
}

}  // namespace DuiLib
