#pragma once
// The name lists a device page hands its panels: the macros of the device's user data
// folder, the built-in light modes with their visibility, the light areas, and the
// custom lights of the light configuration document. The light lists are kept per
// device index in their documents. One reader serves every device kind.

#include <string>
#include <vector>

#include "duilib/dui_string.h"

namespace device {

inline constexpr const wchar_t* kDefaultLightFileName = L"default_light.json";
inline constexpr const wchar_t* kLightConfigFileName = L"zentu_light.config";

struct PageNameLists {
    std::vector<DuiLib::CDuiString> macroNames;
    // One entry per built-in mode in mode order; the flags run parallel to the names.
    std::vector<DuiLib::CDuiString> defaultLightNames;
    std::vector<int> defaultLightVisible;
    std::vector<DuiLib::CDuiString> areaLightNames;
    std::vector<DuiLib::CDuiString> customLightNames;
};

struct PageNameSources {
    std::wstring userFolder;     // with a trailing separator
    std::wstring defaultFolder;  // with a trailing separator
    const wchar_t* macroListName = L"macro.config";
    int deviceIndex = 0;
};

// Reads the lists into `lists`. The macro names are read afresh (none for a missing or
// unreadable macro list). A light list whose document is missing or unreadable, or has
// no list for the device index, is left as it was: a damaged or absent document must not
// empty the page's combos. Entries keep their positions (a mode's row is its number): an
// entry without a usable name reads as an empty name. A "visible" flag is a boolean or
// a number (nonzero: offered); anything else hides the mode.
void ReadPageNameLists(const PageNameSources& sources, PageNameLists& lists);

}  // namespace device
