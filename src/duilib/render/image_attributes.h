#pragma once
// What a skin's image attribute asks for: either a bare file name or a list such as
// "file='a.png' source='0,0,30,30' corner='4,4,4,4' dest='2,2,18,18' fade='128'".
// Rectangles are in 96-DPI pixels (source and corner in the image's own pixels).

#include <string_view>

#include "duilib/dui_string.h"
#include "platform/win_types.h"

namespace DuiLib {

struct TImageAttributes {
    CDuiString file;
    RECT source{};
    bool hasSource = false;
    RECT dest{};
    bool hasDest = false;
    RECT corner{};
    BYTE fade = 255;
    DWORD mask = 0;
    bool hole = false;
};

// False when the text names no file (an empty attribute clears an image).
bool ParseImageAttributes(std::wstring_view text, TImageAttributes* attrs);

}  // namespace DuiLib
