#include "update/installed_version.h"

#include <limits>
#include <string>

#include "platform/registry.h"
#include "update/product_name.h"

std::wstring UninstallKeyName(std::wstring_view productName) {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::wstring(productName);
}

int32_t ParseDisplayVersion(std::wstring_view text) {
    int64_t value = 0;
    bool anyDigit = false;
    for (wchar_t ch : text) {
        if (ch == L'.') {
            continue;
        }
        if (ch < L'0' || ch > L'9') {
            return 0;
        }
        value = value * 10 + (ch - L'0');
        if (value > std::numeric_limits<int32_t>::max()) {
            return 0;  // a version that does not fit is as good as none
        }
        anyDigit = true;
    }
    return anyDigit ? static_cast<int32_t>(value) : 0;
}

int32_t GetInstalledVersion() {
    auto text = platform::Registry::GetString(UninstallKeyName(kProductName), L"DisplayVersion");
    return text ? ParseDisplayVersion(*text) : 0;
}
