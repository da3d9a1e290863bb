#include "device/page/control_cache.h"

#include <cwctype>

#include "device/page/control_lookup.h"

namespace device {

namespace {

std::wstring FoldedName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return folded;
}

}  // namespace

DuiLib::CControlUI* PageControlCache::Find(std::wstring_view name) {
    std::wstring key = FoldedName(name);
    if (auto it = found_.find(key); it != found_.end()) {
        return it->second;
    }
    DuiLib::CControlUI* control = FindControlByName(page_, name);
    if (control) {
        found_.emplace(std::move(key), control);
    }
    return control;
}

DuiLib::CControlUI* PageControlCache::FindIndexed(std::wstring_view prefix, int n) {
    return Find(std::wstring(prefix) + std::to_wstring(n));
}

}  // namespace device
