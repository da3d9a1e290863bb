#include "platform/json_text.h"

#include <algorithm>
#include <exception>

namespace platform {
namespace {

// "line 3, column 7: Missing ',' or '}' in object declaration".
std::string FirstErrorOf(const Json::Reader& reader, std::string_view text) {
    const auto errors = reader.getStructuredErrors();
    if (errors.empty())
        return "not JSON";
    const size_t at =
        std::min<size_t>(static_cast<size_t>(errors.front().offset_start), text.size());
    const std::string_view before = text.substr(0, at);
    const size_t line = 1 + static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
    const size_t lineStart = before.rfind('\n');
    const size_t column = at - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
           errors.front().message;
}

}  // namespace

bool ParseJsonText(std::string_view text, Json::Value* root, std::string* reason) {
    Json::Reader reader;
    try {
        if (reader.parse(text.data(), text.data() + text.size(), *root, true))
            return true;
        if (reason != nullptr)
            *reason = FirstErrorOf(reader, text);
    } catch (const Json::Exception&) {
        // What the reader throws for: a document nested past its depth limit. A file
        // must not end the program.
        if (reason != nullptr)
            *reason = "nested too deeply";
    } catch (const std::exception& error) {
        if (reason != nullptr)
            *reason = error.what();
    }
    *root = Json::Value();
    return false;
}

}  // namespace platform
