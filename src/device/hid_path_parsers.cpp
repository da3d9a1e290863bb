#include "device/hid_path_parsers.h"

#include <cwctype>

namespace {

bool EqualNoCase(wchar_t a, wchar_t b) {
    return std::towlower(a) == std::towlower(b);
}

// Position just behind the first occurrence of `key`, or npos.
size_t FindAfterKey(std::wstring_view path, std::wstring_view key) {
    if (path.size() < key.size())
        return std::wstring_view::npos;
    for (size_t start = 0; start + key.size() <= path.size(); ++start) {
        bool match = true;
        for (size_t i = 0; i < key.size() && match; ++i) {
            match = EqualNoCase(path[start + i], key[i]);
        }
        if (match)
            return start + key.size();
    }
    return std::wstring_view::npos;
}

int HexDigit(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    return -1;
}

// Reads a number the way a "%x" conversion does (leading blanks, an optional "0x"),
// keeping only the low bits so that an overlong number cannot overflow.
uint16_t ScanHex(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    if (i + 2 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
        HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    uint32_t value = 0;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        value = (value << 4) | static_cast<uint32_t>(HexDigit(text[i]));
    }
    return static_cast<uint16_t>(value & 0xFFFFu);
}

uint16_t ParseKey(std::wstring_view path, std::wstring_view key) {
    const size_t at = FindAfterKey(path, key);
    if (at == std::wstring_view::npos)
        return 0;
    return ScanHex(path.substr(at));
}

}  // namespace

uint16_t ParseVidFromPath(std::wstring_view path) {
    return ParseKey(path, L"vid_");
}
uint16_t ParsePidFromPath(std::wstring_view path) {
    return ParseKey(path, L"pid_");
}
uint16_t ParseMiFromPath(std::wstring_view path) {
    return ParseKey(path, L"&mi_");
}
uint16_t ParseColFromPath(std::wstring_view path) {
    return ParseKey(path, L"&col");
}
