#pragma once
// The language a user's locale asks for, as a "Language_ID" of "Language.config": what an
// installer would have stored for a user who never chose one.

#include <cstdint>
#include <string_view>

// 2052 for a Chinese locale ("zh", "zh_CN.UTF-8", ...); 1033, English, for any other: an
// English locale, the C and POSIX locales, a language the program does not ship, none.
int64_t LanguageIdOfLocale(std::string_view locale);

// The locale of messages as the C library picks it: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty (none: the C locale); then its language id.
int64_t UserLocaleLanguageId();
