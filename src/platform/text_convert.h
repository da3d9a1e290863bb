#pragma once
// UTF-8 <-> wide text. Invalid UTF-8 decodes to U+FFFD; a wide character that is not a
// Unicode scalar value encodes as U+FFFD.

#include <string>
#include <string_view>

namespace platform {

std::wstring Utf8Decode(std::string_view utf8);
std::string Utf8Encode(std::wstring_view wide);

}  // namespace platform
