#include "duilib/attribute_values.h"

#include "duilib/ui_defs.h"

#include <algorithm>
#include <cwctype>

namespace DuiLib {
namespace {

std::wstring_view TrimLeft(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front()))) {
        text.remove_prefix(1);
    }
    return text;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Reads an integer from the front of `text` and consumes it; false when none is there.
bool TakeInt(std::wstring_view& text, long long* out) {
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 1 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    long long value = 0;
    bool any = false;
    while (!text.empty()) {
        const int digit = HexDigit(text.front());
        if (digit < 0 || digit >= base) {
            break;
        }
        any = true;
        value = std::min<long long>(value * base + digit, 0xFFFFFFFFLL);
        text.remove_prefix(1);
    }
    *out = negative ? -value : value;
    return any;
}

// Four comma-separated integers, each clamped to the coordinate range.
void TakeInts(std::wstring_view text, int* out, int count) {
    for (int i = 0; i < count; ++i) {
        long long value = 0;
        out[i] =
            TakeInt(text, &value)
                ? static_cast<int>(std::clamp<long long>(value, -kMaxCoordinate, kMaxCoordinate))
                : 0;
        text = TrimLeft(text);
        if (text.empty() || text.front() != L',') {
            return;
        }
        text.remove_prefix(1);
    }
}

}  // namespace

int ParseInt(std::wstring_view text, int fallback) {
    long long value = 0;
    if (!TakeInt(text, &value)) {
        return fallback;
    }
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

int ParseCoordinate(std::wstring_view text) {
    return std::clamp(ParseInt(text), -kMaxCoordinate, kMaxCoordinate);
}

bool ParseBool(std::wstring_view text) {
    return EqualsNoCase(text, L"true") || text == L"1";
}

DWORD ParseColor(std::wstring_view text) {
    text = TrimLeft(text);
    if (!text.empty() && text.front() == L'#') {
        text.remove_prefix(1);
    } else if (text.size() > 1 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        text.remove_prefix(2);
    } else {
        return 0;
    }
    DWORD value = 0;
    size_t digits = 0;
    while (digits < text.size() && digits < 8 && HexDigit(text[digits]) >= 0) {
        value = (value << 4) | static_cast<DWORD>(HexDigit(text[digits]));
        ++digits;
    }
    return digits == 6 ? (value | 0xFF000000u) : value;
}

RECT ParseRect(std::wstring_view text) {
    int v[4] = {0, 0, 0, 0};
    TakeInts(text, v, 4);
    return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSize(std::wstring_view text) {
    int v[2] = {0, 0};
    TakeInts(text, v, 2);
    return SIZE{v[0], v[1]};
}

UINT ParseAlign(std::wstring_view value, UINT style) {
    // Whole words only: "vcenter" holds "center" but says nothing of the horizontal.
    while (!value.empty()) {
        const size_t end = value.find_first_of(L", \t|");
        const std::wstring_view word = value.substr(0, end);
        value.remove_prefix(end == std::wstring_view::npos ? value.size() : end + 1);
        if (EqualsNoCase(word, L"left")) {
            style &= ~(DT_CENTER | DT_RIGHT);
        } else if (EqualsNoCase(word, L"center")) {
            style = (style & ~DT_RIGHT) | DT_CENTER;
        } else if (EqualsNoCase(word, L"right")) {
            style = (style & ~DT_CENTER) | DT_RIGHT;
        } else if (EqualsNoCase(word, L"top")) {
            style &= ~(DT_BOTTOM | DT_VCENTER);
        } else if (EqualsNoCase(word, L"vcenter")) {
            style = (style & ~DT_BOTTOM) | DT_VCENTER;
        } else if (EqualsNoCase(word, L"bottom")) {
            style = (style & ~DT_VCENTER) | DT_BOTTOM;
        }
    }
    return style;
}

namespace {

// Names are ASCII: the locale's case table is consulted only for what ASCII cannot settle.
bool SameNoCase(wchar_t x, wchar_t y) {
    if (x == y) {
        return true;
    }
    if (x < 0x80 && y < 0x80) {
        auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
        return lower(x) == lower(y);
    }
    return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
}

}  // namespace

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameNoCase);
}

bool EqualsNoCase(const wchar_t* a, const wchar_t* b) {
    a = a != nullptr ? a : L"";
    b = b != nullptr ? b : L"";
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (!SameNoCase(*a, *b)) {
            return false;
        }
    }
    return *a == *b;
}

bool NextAttribute(std::wstring_view& rest, CDuiString* name, CDuiString* value) {
    rest = TrimLeft(rest);
    const size_t eq = rest.find(L'=');
    if (rest.empty() || eq == std::wstring_view::npos) {
        return false;
    }
    std::wstring_view key = rest.substr(0, eq);
    while (!key.empty() && std::iswspace(static_cast<wint_t>(key.back()))) {
        key.remove_suffix(1);
    }
    rest.remove_prefix(eq + 1);
    rest = TrimLeft(rest);
    if (rest.empty() || (rest.front() != L'"' && rest.front() != L'\'')) {
        return false;
    }
    const wchar_t quote = rest.front();
    rest.remove_prefix(1);
    const size_t end = rest.find(quote);
    if (end == std::wstring_view::npos) {
        return false;
    }
    *name = CDuiString(key);
    *value = CDuiString(rest.substr(0, end));
    rest.remove_prefix(end + 1);
    return true;
}

}  // namespace DuiLib
