#include "update/installed_version.h"

#include <cwchar>
#include <limits>
#include <string>

#include "platform/registry.h"
#include "platform/text_convert.h"
#include "update/product_name.h"

namespace {

constexpr wchar_t kDisplayVersion[] = L"DisplayVersion";

}  // namespace

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
    return ParseDisplayVersion(InstalledVersionText());
}

std::wstring ProgramVersionText() {
    return platform::Utf8Decode(VELKARO_VERSION);
}

bool RecordInstalledVersion() {
    const std::wstring version = ProgramVersionText();
    if (InstalledVersionText() == version) {
        return true;
    }
    return platform::Registry::SetString(UninstallKeyName(kProductName), kDisplayVersion, version);
}

std::wstring InstalledVersionText() {
    return platform::Registry::GetString(UninstallKeyName(kProductName), kDisplayVersion)
        .value_or(std::wstring());
}

std::wstring DeviceVersionText(int32_t release) {
    const auto bcd = static_cast<uint32_t>(release) & 0xFFFF;
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%x.%02x", bcd >> 8, bcd & 0xFF);
    return text;
}
