// Windows-shaped interface paths: built by the backends, read by everyone.

#include <cwctype>

#include "platform/hid/hid_bus.h"

namespace platform::hid {
namespace {

wchar_t Lower(wchar_t c) {
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

size_t FindNoCase(std::wstring_view text, std::wstring_view key) {
    if (key.empty() || key.size() > text.size()) {
        return std::wstring_view::npos;
    }
    for (size_t i = 0; i + key.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < key.size() && Lower(text[i + k]) == Lower(key[k])) {
            ++k;
        }
        if (k == key.size()) {
            return i;
        }
    }
    return std::wstring_view::npos;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    c = Lower(c);
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    return -1;
}

void AppendHex(std::wstring* out, unsigned value, int digits) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out->push_back(kDigits[(value >> shift) & 0xF]);
    }
}

}  // namespace

std::wstring MakeHidPath(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                         uint32_t collection, std::wstring_view node) {
    std::wstring path = L"\\\\?\\hid#vid_";
    AppendHex(&path, vendorId, 4);
    path += L"&pid_";
    AppendHex(&path, productId, 4);
    if (interfaceNumber >= 0) {
        path += L"&mi_";
        AppendHex(&path, static_cast<unsigned>(interfaceNumber) & 0xFF, 2);
    }
    if (collection > 0) {
        path += L"&col";
        AppendHex(&path, collection & 0xFF, 2);
    }
    path += L'#';
    path += node;
    path += L'&';
    AppendHex(&path, collection > 0 ? collection - 1 : 0, 4);
    return path;
}

long ParseHidPathNumber(std::wstring_view path, std::wstring_view key) {
    const size_t at = FindNoCase(path, key);
    if (at == std::wstring_view::npos) {
        return -1;
    }
    // Read the way a "%x" conversion reads: leading blanks, an optional "0x", then the
    // digits; an overlong number keeps its low 32 bits rather than overflowing.
    size_t i = at + key.size();
    while (i < path.size() && std::iswspace(static_cast<wint_t>(path[i]))) {
        ++i;
    }
    if (i + 2 < path.size() && path[i] == L'0' && Lower(path[i + 1]) == L'x' &&
        HexDigit(path[i + 2]) >= 0) {
        i += 2;
    }
    const size_t start = i;
    uint32_t value = 0;
    for (; i < path.size() && HexDigit(path[i]) >= 0; ++i) {
        value = value << 4 | static_cast<uint32_t>(HexDigit(path[i]));
    }
    return i == start ? -1 : static_cast<long>(value);
}

std::wstring HidPathNode(std::wstring_view path) {
    const size_t hash = path.rfind(L'#');
    if (hash == std::wstring_view::npos) {
        return {};
    }
    std::wstring_view node = path.substr(hash + 1);
    return std::wstring(node.substr(0, node.find(L'&')));
}

bool SameHidPath(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace platform::hid
