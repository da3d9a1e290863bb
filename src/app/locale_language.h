#pragma once
// The language a user's locale asks for, as a "Language_ID" of "Language.config": what an
// installer would have stored for a user who never chose one.

#include <cstdint>
#include <optional>
#include <string_view>

// 2052 for a Chinese locale ("zh", "zh_CN.UTF-8", ...), 1033 for an English one, nothing
// for any other.
std::optional<int64_t> LanguageIdOfLocale(std::string_view locale);

// The locale of messages as the C library picks it: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty; then its language id.
std::optional<int64_t> UserLocaleLanguageId();
