// The stored layout is the one JsonCpp's StyledWriter has always given these files; this
// writer keeps it, byte for byte for ASCII documents, but writes text as UTF-8 and keys
// whole (StyledWriter escapes everything beyond ASCII and cuts a key at a NUL, so a
// hand-edited file could lose a value on its next save).

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/json_text.h"

namespace platform {
namespace {

constexpr size_t kIndent = 3;
// Short arrays of plain values go on one line when it stays shorter than this.
constexpr size_t kRightMargin = 74;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
    return c >= low && c <= high;
}

// The length of the well-formed UTF-8 sequence at text[at], or 0 when there is none.
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
    };
    const unsigned char lead = byte(0);
    auto tail = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            if (!InRange(byte(i), 0x80, 0xBF))
                return false;
        return true;
    };
    if (lead < 0x80)
        return 1;
    if (InRange(lead, 0xC2, 0xDF))
        return tail(1, 2) ? 2 : 0;
    if (InRange(lead, 0xE0, 0xEF)) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        return InRange(byte(1), low, high) && tail(2, 3) ? 3 : 0;
    }
    if (InRange(lead, 0xF0, 0xF4)) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return InRange(byte(1), low, high) && tail(2, 4) ? 4 : 0;
    }
    return 0;
}

// A low surrogate encoded on its own as three bytes, as a "\udc00" escape in a file
// reads: not UTF-8, but kept as the escape it came from. A lone high surrogate has no
// escape the reader takes back and is replaced like any other stray byte. -1 for
// anything else.
int EncodedLowSurrogate(std::string_view text, size_t at) {
    if (at + 2 >= text.size() || static_cast<unsigned char>(text[at]) != 0xED)
        return -1;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const auto third = static_cast<unsigned char>(text[at + 2]);
    if (!InRange(second, 0xB0, 0xBF) || !InRange(third, 0x80, 0xBF))
        return -1;
    return 0xD000 | (second & 0x3F) << 6 | (third & 0x3F);
}

void AppendEscape(std::string& out, unsigned unit) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(unit >> shift) & 0xF];
}

// Quotes, backslashes and control characters escaped as StyledWriter escapes them; other
// text as UTF-8, a byte that starts no well-formed character as U+FFFD.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    AppendEscape(out, c);
                } else if (const size_t length = Utf8SequenceLength(text, i); length != 0) {
                    out.append(text.substr(i, length));
                    i += length;
                    continue;
                } else if (const int unit = EncodedLowSurrogate(text, i); unit >= 0) {
                    AppendEscape(out, static_cast<unsigned>(unit));
                    i += 3;
                    continue;
                } else {
                    out += kReplacement;
                }
        }
        ++i;
    }
    return out + "\"";
}

std::string PlainText(const Json::Value& value) {
    switch (value.type()) {
        case Json::intValue:
            return Json::valueToString(value.asLargestInt());
        case Json::uintValue:
            return Json::valueToString(value.asLargestUInt());
        case Json::realValue:
            return Json::valueToString(value.asDouble());
        case Json::booleanValue:
            return Json::valueToString(value.asBool());
        case Json::stringValue: {
            const char* begin = nullptr;
            const char* end = nullptr;
            return value.getString(&begin, &end)
                       ? Quoted(std::string_view(begin, static_cast<size_t>(end - begin)))
                       : std::string();
        }
        default:
            return "null";
    }
}

bool HasComment(const Json::Value& value) {
    return value.hasComment(Json::commentBefore) ||
           value.hasComment(Json::commentAfterOnSameLine) || value.hasComment(Json::commentAfter);
}

class StyledText {
  public:
    std::string Write(const Json::Value& root) {
        CommentBefore(root);
        Value(root);
        CommentAfter(root);
        text_ += '\n';
        return std::move(text_);
    }

  private:
    void Push(std::string value) {
        if (collecting_)
            children_.push_back(std::move(value));
        else
            text_ += value;
    }

    void Indent() {
        if (!text_.empty()) {
            const char last = text_.back();
            if (last == ' ')  // already indented
                return;
            if (last != '\n')
                text_ += '\n';
        }
        text_ += indent_;
    }

    void WithIndent(std::string_view value) {
        Indent();
        text_ += value;
    }

    void Value(const Json::Value& value) {
        if (value.isArray())
            Array(value);
        else if (value.isObject())
            Object(value);
        else
            Push(PlainText(value));
    }

    void Object(const Json::Value& value) {
        const Json::Value::Members names = value.getMemberNames();
        if (names.empty()) {
            Push("{}");
            return;
        }
        WithIndent("{");
        indent_.append(kIndent, ' ');
        for (size_t i = 0; i < names.size(); ++i) {
            const Json::Value& child = value[names[i]];
            CommentBefore(child);
            WithIndent(Quoted(names[i]));
            text_ += " : ";
            Value(child);
            if (i + 1 < names.size())
                text_ += ',';
            CommentAfter(child);
        }
        indent_.resize(indent_.size() - kIndent);
        WithIndent("}");
    }

    void Array(const Json::Value& value) {
        const Json::ArrayIndex size = value.size();
        if (size == 0) {
            Push("[]");
            return;
        }
        if (!IsMultiline(value)) {
            text_ += "[ ";
            for (size_t i = 0; i < children_.size(); ++i)
                text_ += (i > 0 ? ", " : "") + children_[i];
            text_ += " ]";
            return;
        }
        WithIndent("[");
        indent_.append(kIndent, ' ');
        // Plain children were written while measuring the line; containers are written now.
        const std::vector<std::string> written = std::move(children_);
        children_.clear();
        for (Json::ArrayIndex i = 0; i < size; ++i) {
            const Json::Value& child = value[i];
            CommentBefore(child);
            if (!written.empty()) {
                WithIndent(written[i]);
            } else {
                Indent();
                Value(child);
            }
            if (i + 1 < size)
                text_ += ',';
            CommentAfter(child);
        }
        indent_.resize(indent_.size() - kIndent);
        WithIndent("]");
    }

    // One line holds an array of plain values (or empty containers) without comments
    // whose text fits the margin; the children's text is left in children_.
    bool IsMultiline(const Json::Value& value) {
        const Json::ArrayIndex size = value.size();
        children_.clear();
        if (size * 3 >= kRightMargin)
            return true;
        for (const Json::Value& child : value) {
            if ((child.isArray() || child.isObject()) && !child.empty())
                return true;
        }
        bool multiline = false;
        collecting_ = true;
        size_t length = 4 + (size - 1) * 2;  // "[ " + ", " * (n - 1) + " ]"
        for (const Json::Value& child : value) {
            multiline = multiline || HasComment(child);
            Value(child);
            length += children_.back().size();
        }
        collecting_ = false;
        return multiline || length >= kRightMargin;
    }

    void CommentBefore(const Json::Value& value) {
        if (!value.hasComment(Json::commentBefore))
            return;
        text_ += '\n';
        Indent();
        const std::string comment = value.getComment(Json::commentBefore);
        for (size_t i = 0; i < comment.size(); ++i) {
            text_ += comment[i];
            if (comment[i] == '\n' && i + 1 < comment.size() && comment[i + 1] == '/')
                Indent();
        }
        text_ += '\n';
    }

    void CommentAfter(const Json::Value& value) {
        if (value.hasComment(Json::commentAfterOnSameLine))
            text_ += " " + value.getComment(Json::commentAfterOnSameLine);
        if (value.hasComment(Json::commentAfter))
            text_ += "\n" + value.getComment(Json::commentAfter) + "\n";
    }

    std::string text_;
    std::string indent_;
    std::vector<std::string> children_;
    bool collecting_ = false;
};

}  // namespace

std::string StyledJsonText(const Json::Value& value) {
    return StyledText().Write(value);
}

}  // namespace platform
