#include "duilib/string_utils.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "platform/text_convert.h"

namespace {

// _wtoi semantics: what strtol reads, clamped to int as the C runtime does on overflow.
int WideToInt(const wchar_t* text) {
    errno = 0;
    const long value = std::wcstol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::unique_ptr<char[]> CopyToBuffer(const std::string& bytes, size_t spare) {
    auto buffer = std::make_unique<char[]>(bytes.size() + spare);  // value-initialised: zeros
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    return buffer;
}

// The C library's test knows only ASCII blanks in the "C" locale; add the Unicode spaces
// a user can type (an ideographic space from a CJK input method, for one).
bool IsWhiteSpace(wchar_t ch) {
    if (std::iswspace(static_cast<wint_t>(ch)))
        return true;
    return ch == 0x85 || ch == 0x1680 || (ch >= 0x2000 && ch <= 0x200A && ch != 0x2007) ||
           ch == 0x2028 || ch == 0x2029 || ch == 0x205F || ch == 0x3000;
}

}  // namespace

bool SplitIndexedName(DuiLib::CDuiString name, DuiLib::CDuiString* prefix, int* number) {
    const int underscore = name.ReverseFind(L'_');
    if (underscore < 0)
        return false;
    if (prefix != nullptr)
        *prefix = name.Left(underscore + 1);
    if (number != nullptr)
        *number = WideToInt(name.GetData() + underscore + 1);
    return true;
}

DuiLib::CDuiString Utf8ToDuiString(std::string text) {
    return Utf8ToWide(text.c_str());
}

std::string DuiStringToUtf8(const wchar_t* text) {
    if (text == nullptr)
        return {};
    return platform::Utf8Encode(std::wstring_view(text));
}

std::wstring Utf8ToWide(const char* text) {
    if (text == nullptr)
        return {};
    return platform::Utf8Decode(std::string_view(text));
}

std::unique_ptr<char[]> WideToAnsiAlloc(const wchar_t* text) {
    if (text == nullptr)
        return nullptr;
    return CopyToBuffer(platform::Utf8Encode(std::wstring_view(text)), 2);
}

std::unique_ptr<char[]> WstringToOemAlloc(std::wstring text) {
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return CopyToBuffer(platform::Utf8Encode(text), 1);
}

void RemoveChar(char* text, char c) {
    if (text == nullptr)
        return;
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in != c)
            *out++ = *in;
    }
    *out = '\0';
}

bool IsBlankText(DuiLib::CDuiString text) {
    for (const wchar_t ch : text.view()) {
        if (!IsWhiteSpace(ch))
            return false;
    }
    return true;
}
