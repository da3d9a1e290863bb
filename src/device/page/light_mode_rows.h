#pragma once
// The rows of a lighting panel's mode combo, row n standing for light mode n: the kind's
// built-in modes, then, on the kinds that number their custom lights after them, one row
// per custom light, so that the row a user picks is the mode that plays that light.

#include <vector>

#include "device/page/name_lists.h"
#include "duilib/dui_string.h"

namespace device {

struct LightModeRows {
    std::vector<DuiLib::CDuiString> names;  // language keys
    std::vector<int> enabled;
    std::vector<DuiLib::CDuiString> customNames;  // as the user named them
};

// Built-in rows past the first custom mode are left out (those modes play custom lights),
// and missing ones up to it are blank and disabled, so custom light n stays at its mode.
LightModeRows LightModeRowsOf(const PageNameLists& lists, int deviceKind);

}  // namespace device
