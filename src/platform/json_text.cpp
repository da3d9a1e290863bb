#include "platform/json_text.h"

#include <algorithm>
#include <cstdint>
#include <exception>

namespace platform {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The code unit of the "\uXXXX" starting at text[at], or -1 when there is none.
int EscapedUnit(std::string_view text, size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u')
        return -1;
    int unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsHighSurrogate(int unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(int unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The styled writer escapes every character beyond ASCII (a pair of surrogates beyond the
// basic plane). Its layout is what the stored files have always had, so it is kept and
// only those escapes become UTF-8 bytes again. Outside strings a "\u" can only stand in a
// comment, where the same change is harmless. A surrogate without its partner stays
// escaped, so the text stays valid UTF-8.
std::string WithUtf8Text(std::string_view escaped) {
    std::string out;
    out.reserve(escaped.size());
    size_t i = 0;
    while (i < escaped.size()) {
        if (escaped[i] != '\\' || i + 1 == escaped.size()) {
            out += escaped[i++];
            continue;
        }
        const int unit = EscapedUnit(escaped, i);
        if (unit < 0x80 || IsLowSurrogate(unit)) {
            // "\\", "\"", "\n", a control character: the escape and its next character.
            const size_t length = unit < 0 ? 2 : 6;
            out.append(escaped.substr(i, length));
            i += length;
        } else if (!IsHighSurrogate(unit)) {
            AppendUtf8(out, static_cast<uint32_t>(unit));
            i += 6;
        } else if (const int low = EscapedUnit(escaped, i + 6); IsLowSurrogate(low)) {
            AppendUtf8(out, 0x10000 + ((static_cast<uint32_t>(unit) - 0xD800) << 10) +
                                (static_cast<uint32_t>(low) - 0xDC00));
            i += 12;
        } else {
            out.append(escaped.substr(i, 6));
            i += 6;
        }
    }
    return out;
}

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

std::string StyledJsonText(const Json::Value& value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::StyledWriter writer;
#pragma GCC diagnostic pop
    return WithUtf8Text(writer.write(value));
}

}  // namespace platform
