#pragma once
// Writes one value of an INI-style file the way WritePrivateProfileString does: the file,
// section and key are created when missing, other lines are kept as they are.

#include <string>

bool WriteIniValue(const std::string& path, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value);
