#include "duilib/render/image_attributes.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/string_utils.h"

namespace DuiLib {
namespace {

// Splits "name='value'" pairs; quotes may be single or double. Stops at malformed text.
template <typename Apply>
void ForEachQuotedPair(std::wstring_view text, Apply apply) {
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t')) {
            ++pos;
        }
        const size_t eq = text.find(L'=', pos);
        if (eq == std::wstring_view::npos || eq + 1 >= text.size()) {
            return;
        }
        const std::wstring_view name = text.substr(pos, eq - pos);
        const wchar_t quote = text[eq + 1];
        if (quote != L'\'' && quote != L'"') {
            return;
        }
        const size_t end = text.find(quote, eq + 2);
        if (end == std::wstring_view::npos) {
            return;
        }
        apply(name, text.substr(eq + 2, end - eq - 2));
        pos = end + 1;
    }
}

bool IsEmptyRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

void ApplyPair(std::wstring_view name, std::wstring_view value, TImageAttributes* attrs) {
    if (name == L"file" || name == L"res") {
        attrs->file = CDuiString(value);
    } else if (name == L"source") {
        attrs->source = ParseRect(value);
        attrs->hasSource = !IsEmptyRect(attrs->source);
    } else if (name == L"dest") {
        attrs->dest = ParseRect(value);
        attrs->hasDest = !IsEmptyRect(attrs->dest);
    } else if (name == L"corner") {
        const RECT corner = ParseRect(value);
        attrs->corner = RECT{std::max<LONG>(0, corner.left), std::max<LONG>(0, corner.top),
                             std::max<LONG>(0, corner.right), std::max<LONG>(0, corner.bottom)};
    } else if (name == L"fade") {
        attrs->fade = static_cast<BYTE>(std::clamp(ParseInt(value, 255), 0, 255));
    } else if (name == L"mask") {
        attrs->mask = ParseColor(value);
    } else if (name == L"hole") {
        attrs->hole = ParseBool(value);
    }
}

}  // namespace

bool ParseImageAttributes(std::wstring_view text, TImageAttributes* attrs) {
    if (attrs == nullptr) {
        return false;
    }
    *attrs = TImageAttributes{};
    if (text.find(L'=') == std::wstring_view::npos) {
        attrs->file = CDuiString(text);
    } else {
        ForEachQuotedPair(text, [attrs](std::wstring_view name, std::wstring_view value) {
            ApplyPair(name, value, attrs);
        });
    }
    return !IsBlankText(attrs->file);
}

}  // namespace DuiLib
