#include "app/locale_language.h"

#include <cstdlib>

namespace {

constexpr int64_t kChineseId = 2052;
constexpr int64_t kEnglishId = 1033;

}  // namespace

int64_t LanguageIdOfLocale(std::string_view locale) {
    // The language part ends at the territory, the code set or the modifier.
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    // Whoever reads neither shipped language is more likely to read English.
    return language == "zh" ? kChineseId : kEnglishId;
}

int64_t UserLocaleLanguageId() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0) {
            return LanguageIdOfLocale(value);
        }
    }
    return LanguageIdOfLocale("C");
}
