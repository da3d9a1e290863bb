#pragma once
// The installed version of the program as the uninstall entry records it.

#include <cstdint>
#include <string>
#include <string_view>

// The uninstall key of a product: "Software\Microsoft\Windows\CurrentVersion\Uninstall\<name>".
std::wstring UninstallKeyName(std::wstring_view productName);

// "DisplayVersion" of the product's uninstall key with its dots removed, as a number
// ("1.0.3" gives 103); 0 when the value is missing or holds anything but digits and dots.
int32_t GetInstalledVersion();
int32_t ParseDisplayVersion(std::wstring_view text);
