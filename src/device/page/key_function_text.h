#pragma once
// The text that tells what a key does, as the keyboard's key tips and the mouse's key
// list show it: the names of the key-function code tables, translated, or the name of
// the macro the key plays.

#include <functional>
#include <optional>
#include <vector>

#include "duilib/dui_string.h"
#include "profile/key_function_record.h"

namespace device {

// The two pages describe a few types differently.
enum class KeyTextStyle { kKeyboard, kMouse };

// A language key to the text of the current language.
using TranslateText = std::function<DuiLib::CDuiString(const wchar_t* key)>;

// The text of `function`; nullopt when the page shows nothing for it (a type without a
// description, a code no table names, a macro the list does not hold).
std::optional<DuiLib::CDuiString> KeyFunctionText(const KeyFunctionRecord& function,
                                                  const std::vector<DuiLib::CDuiString>& macros,
                                                  KeyTextStyle style,
                                                  const TranslateText& translate);

}  // namespace device
