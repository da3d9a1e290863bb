#pragma once
// "Language.config" of the default-data folder: the languages the program offers. The
// position of an entry is the language index used everywhere in the program.

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LanguageEntry {
    std::wstring name;  // "Language_name"
    std::wstring file;  // "Language_file"
    int64_t id = 0;     // "Language_ID"
    std::wstring text;  // "Language_text", shown by the settings window
};

inline constexpr char kLanguageConfigFile[] = "Language.config";

// The entries of {"Language": [...]}. An entry whose fields have the wrong types reads
// those fields as empty or 0, so that the indexes of the entries after it stay right.
std::vector<LanguageEntry> ParseLanguageList(const Json::Value& document);
// Reads "Language.config" from `defaultDataFolder` (ending in a separator); empty when the
// file is missing or does not parse.
std::vector<LanguageEntry> LoadLanguageList(const std::string& defaultDataFolder);
// The first index whose id equals `id`, or nothing.
std::optional<int> FindLanguageIndexById(const std::vector<LanguageEntry>& list, int64_t id);
