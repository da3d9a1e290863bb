#pragma once
// Parsing of attribute texts from layout files. Layout files are data from disk: every
// parser accepts any text, never reads past it, and clamps numbers to sane ranges.

#include <string_view>

#include "duilib/dui_string.h"
#include "platform/win_types.h"

namespace DuiLib {

// Sizes and positions are kept within this range so that layout sums never overflow.
inline constexpr int kMaxCoordinate = 100000;

// A decimal (or 0x hexadecimal) integer; `fallback` when the text holds no number.
int ParseInt(std::wstring_view text, int fallback = 0);
int ParseCoordinate(std::wstring_view text);
bool ParseBool(std::wstring_view text);
// "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB"; 0 for anything else.
DWORD ParseColor(std::wstring_view text);
// "left,top,right,bottom"; missing parts are 0.
RECT ParseRect(std::wstring_view text);
// "cx,cy"; missing parts are 0.
SIZE ParseSize(std::wstring_view text);
// Splits "name=\"value\" name2=\"value2\"" attribute lists; calls `apply` per pair.
template <typename Apply>
void ForEachAttribute(std::wstring_view list, Apply apply);

// "align"/"valign" words ("left", "center", "right", "top", "vcenter", "bottom", in any
// order, separated by commas or spaces) applied to a DT_ text style.
UINT ParseAlign(std::wstring_view value, UINT style);

bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// The same for two terminated names (null reads as empty), stopping at the first
// difference: interface and class names are compared this way many times per paint.
bool EqualsNoCase(const wchar_t* a, const wchar_t* b);

// Implementation of the template above.
bool NextAttribute(std::wstring_view& rest, CDuiString* name, CDuiString* value);
template <typename Apply>
void ForEachAttribute(std::wstring_view list, Apply apply) {
    CDuiString name;
    CDuiString value;
    while (NextAttribute(list, &name, &value)) {
        apply(name, value);
    }
}

}  // namespace DuiLib
