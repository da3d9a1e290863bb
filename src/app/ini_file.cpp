#include "app/ini_file.h"

#include <sstream>
#include <vector>

#include "duilib/dui_string.h"
#include "platform/file_io.h"
#include "platform/text_convert.h"

namespace {

std::wstring Trim(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(L" \t\r");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return DuiLib::CDuiString(a).CompareNoCase(b) == 0;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstringstream stream(text);
    std::wstring line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

bool IsSectionHeader(const std::wstring& line) {
    const std::wstring t = Trim(line);
    return t.size() >= 2 && t.front() == L'[' && t.back() == L']';
}

}  // namespace

bool WriteIniValue(const std::string& path, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) {
    if (section.empty() || key.empty() || key.find(L'=') != std::wstring::npos ||
        value.find_first_of(L"\r\n") != std::wstring::npos) {
        return false;
    }
    auto existing = platform::ReadWholeFile(path);
    std::vector<std::wstring> lines = SplitLines(existing ? platform::Utf8Decode(*existing) : L"");
    const std::wstring entry = key + L"=" + value;

    size_t sectionStart = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsSectionHeader(lines[i]) &&
            SameName(Trim(lines[i]).substr(1, Trim(lines[i]).size() - 2), section)) {
            sectionStart = i;
            break;
        }
    }
    if (sectionStart == lines.size()) {
        lines.push_back(L"[" + section + L"]");
        lines.push_back(entry);
    } else {
        size_t insertAt = sectionStart + 1;
        bool replaced = false;
        for (size_t i = sectionStart + 1; i < lines.size() && !IsSectionHeader(lines[i]); ++i) {
            const auto eq = lines[i].find(L'=');
            if (eq != std::wstring::npos && SameName(Trim(lines[i].substr(0, eq)), key)) {
                lines[i] = entry;
                replaced = true;
                break;
            }
            if (!Trim(lines[i]).empty()) {
                insertAt = i + 1;
            }
        }
        if (!replaced) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        }
    }
    std::wstring text;
    for (const auto& line : lines) {
        text += line + L"\r\n";
    }
    return platform::WriteFileAtomic(path, platform::Utf8Encode(text));
}
