#pragma once
// Text conversions between the UI's wide strings and the UTF-8 of the JSON documents,
// and the numbered control names of the skin ("DPI_slider_3").
//
// The Windows ANSI and OEM code pages have no meaning on Linux: the 8-bit forms are
// UTF-8 here.

#include <memory>
#include <string>

#include "duilib/dui_string.h"

// Splits `name` at its last underscore: prefix keeps the underscore, number is the
// decimal text after it (leading blanks and a sign allowed, 0 without digits). False,
// outputs untouched, when there is no underscore.
bool SplitIndexedName(DuiLib::CDuiString name, DuiLib::CDuiString* prefix, int* number);

DuiLib::CDuiString Utf8ToDuiString(std::string text);
// UTF-8 of the text up to its first NUL.
std::string DuiStringToUtf8(const wchar_t* text);
std::wstring Utf8ToWide(const char* text);

// The 8-bit form in a new zero-filled buffer with two spare zero bytes; null for null.
std::unique_ptr<char[]> WideToAnsiAlloc(const wchar_t* text);
// The 8-bit form, zero-terminated. The buffer holds the whole converted text, so text
// with multi-byte characters is never cut in the middle of one.
std::unique_ptr<char[]> WstringToOemAlloc(std::wstring text);

// Removes every `c` from the zero-terminated `text` in place.
void RemoveChar(char* text, char c);
// True when the text is empty or white space only.
bool IsBlankText(DuiLib::CDuiString text);
