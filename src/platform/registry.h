#pragma once
// The current-user registry stand-in: keys with string and DWORD values, kept in
// $XDG_CONFIG_HOME/Velkaro/registry.json. Key names are compared without regard to case,
// as the registry does.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class Registry {
  public:
    // The file that backs the registry; tests point it elsewhere through XDG_CONFIG_HOME.
    static std::string StorePath();

    static std::optional<std::wstring> GetString(const std::wstring& key, const std::wstring& name);
    static std::optional<uint32_t> GetDword(const std::wstring& key, const std::wstring& name);
    static bool SetString(const std::wstring& key, const std::wstring& name,
                          const std::wstring& value);
    static bool SetDword(const std::wstring& key, const std::wstring& name, uint32_t value);
    static bool DeleteValue(const std::wstring& key, const std::wstring& name);
};

}  // namespace platform
