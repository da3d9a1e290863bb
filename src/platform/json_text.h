#pragma once
// JSON text as the program stores it and reads it back. Files come from disk, imports and
// other programs: no input makes a reader throw, however deep or broken it is.

#include <json/json.h>

#include <string>
#include <string_view>

namespace platform {

// Parses `text` with comments collected. False for a syntax error or anything the parser
// gives up on (a document nested beyond its depth limit among them); `reason`, when
// given, then says where and why in one line.
bool ParseJsonText(std::string_view text, Json::Value* root, std::string* reason = nullptr);

// The stored layout: three-space indentation, " : " between key and value, short arrays
// of plain values on one line and a final line break, with text as UTF-8 bytes. Only
// control characters, quotes and backslashes are escaped.
std::string StyledJsonText(const Json::Value& value);

}  // namespace platform
