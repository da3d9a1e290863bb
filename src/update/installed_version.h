#pragma once
// The installed version of the program as the uninstall entry records it, and the
// versions the settings and about windows show.

#include <cstdint>
#include <string>
#include <string_view>

// The uninstall key of a product: "Software\Microsoft\Windows\CurrentVersion\Uninstall\<name>".
std::wstring UninstallKeyName(std::wstring_view productName);

// "DisplayVersion" of the product's uninstall key with its dots removed, as a number
// ("1.0.3" gives 103); 0 when the value is missing or holds anything but digits and dots.
int32_t GetInstalledVersion();
int32_t ParseDisplayVersion(std::wstring_view text);

// This build's version ("1.0.0").
std::wstring ProgramVersionText();
// Records this build's version as the product's "DisplayVersion", as an installer does
// elsewhere: the running program is the installed one. False when it cannot be stored.
bool RecordInstalledVersion();
// "DisplayVersion" as recorded ("1.0.0"); empty when none is.
std::wstring InstalledVersionText();
// A device's release number as it shows it: binary-coded decimal, 0x0105 is "1.05".
std::wstring DeviceVersionText(int32_t release);
