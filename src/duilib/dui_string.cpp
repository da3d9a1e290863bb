#include "duilib/dui_string.h"

#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "platform/text_convert.h"

namespace DuiLib {
namespace {

// Windows wide printf reads %s as a wide string; glibc reads it as narrow. Rewrite the
// conversions so callers keep the Windows meaning: %s -> %ls, %c -> %lc, %S -> %s.
std::wstring ToGlibcFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        out.push_back(*p);
        if (*p != L'%')
            continue;
        ++p;
        if (*p == L'%') {
            out.push_back(*p);
            continue;
        }
        while (*p != L'\0' && std::wcschr(L"-+ #0123456789.*", *p) != nullptr) {
            out.push_back(*p++);
        }
        bool sized = false;
        while (*p != L'\0' && std::wcschr(L"hlLqjzt", *p) != nullptr) {
            sized = true;
            out.push_back(*p++);
        }
        if (*p == L'\0')
            break;
        if (!sized && (*p == L's' || *p == L'c')) {
            out.push_back(L'l');
            out.push_back(*p);
        } else if (!sized && (*p == L'S' || *p == L'C')) {
            out.push_back(static_cast<wchar_t>(std::towlower(*p)));
        } else {
            out.push_back(*p);
        }
    }
    return out;
}

std::wstring FormatV(const wchar_t* format, va_list args) {
    if (format == nullptr)
        return {};
    const std::wstring glibcFormat = ToGlibcFormat(format);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int written = std::vswprintf(buffer.data(), buffer.size(), glibcFormat.c_str(), copy);
        va_end(copy);
        if (written >= 0)
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        // vswprintf reports truncation and encoding errors alike; stop growing at 1 MiB.
        if (buffer.size() >= (1u << 20))
            return {};
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace

CDuiString::CDuiString(const wchar_t* text, int length) {
    Assign(text ? text : L"", length);
}

CDuiString CDuiString::FromUtf8(std::string_view utf8) {
    return platform::Utf8Decode(utf8);
}

std::string CDuiString::ToUtf8() const {
    return platform::Utf8Encode(text_);
}

CDuiString CDuiString::FormatText(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    CDuiString result(FormatV(format, args));
    va_end(args);
    return result;
}

int CDuiString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    text_ = FormatV(format, args);
    va_end(args);
    return GetLength();
}

int CDuiString::SmallFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    text_ = FormatV(format, args);
    va_end(args);
    return GetLength();
}

wchar_t CDuiString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? text_[static_cast<size_t>(index)] : L'\0';
}

void CDuiString::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength())
        text_[static_cast<size_t>(index)] = ch;
}

void CDuiString::Assign(std::wstring_view text, int length) {
    if (length >= 0 && static_cast<size_t>(length) < text.size())
        text = text.substr(0, length);
    text_.assign(text);
}

int CDuiString::Compare(std::wstring_view other) const {
    const int c = std::wstring_view(text_).compare(other);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CDuiString::CompareNoCase(std::wstring_view other) const {
    const size_t n = std::min(text_.size(), other.size());
    for (size_t i = 0; i < n; ++i) {
        const wint_t a = std::towlower(text_[i]);
        const wint_t b = std::towlower(other[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (text_.size() == other.size())
        return 0;
    return text_.size() < other.size() ? -1 : 1;
}

void CDuiString::MakeUpper() {
    for (auto& ch : text_)
        ch = static_cast<wchar_t>(std::towupper(ch));
}

void CDuiString::MakeLower() {
    for (auto& ch : text_)
        ch = static_cast<wchar_t>(std::towlower(ch));
}

CDuiString CDuiString::Left(int length) const {
    return Mid(0, length);
}

CDuiString CDuiString::Mid(int position, int length) const {
    if (position < 0)
        position = 0;
    if (position >= GetLength())
        return {};
    const size_t count = length < 0 ? std::wstring::npos : static_cast<size_t>(length);
    return text_.substr(static_cast<size_t>(position), count);
}

CDuiString CDuiString::Right(int length) const {
    if (length <= 0)
        return {};
    if (length >= GetLength())
        return *this;
    return text_.substr(text_.size() - static_cast<size_t>(length));
}

int CDuiString::Find(wchar_t ch, int position) const {
    if (position < 0 || position > GetLength())
        return -1;
    const size_t at = text_.find(ch, static_cast<size_t>(position));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CDuiString::Find(std::wstring_view text, int position) const {
    if (position < 0 || position > GetLength())
        return -1;
    const size_t at = text_.find(text, static_cast<size_t>(position));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CDuiString::ReverseFind(wchar_t ch) const {
    const size_t at = text_.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CDuiString::Replace(std::wstring_view from, std::wstring_view to) {
    if (from.empty())
        return 0;
    int count = 0;
    size_t at = 0;
    while ((at = text_.find(from, at)) != std::wstring::npos) {
        text_.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

}  // namespace DuiLib
