#include "profile/stored_file_id.h"

#include "duilib/string_utils.h"
#include "platform/paths.h"
#include "profile/json_file.h"

bool IsSafeStoredFileId(std::string_view id) {
    if (id.empty() || id.size() > kMaxStoredFileIdLength || id == "." ||
        id.find("..") != std::string_view::npos)
        return false;
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

std::string NewTimestampId(const std::function<bool(const std::string&)>& taken) {
    CJsonFile json;
    const std::string base = json.MakeTimestampName();
    std::string id = base;
    for (int n = 1; taken(id); ++n) {
        id = base + "_" + std::to_string(n);
    }
    return id;
}

std::wstring FolderOfPath(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"/\\");
    if (slash == std::wstring_view::npos)
        return {};
    return std::wstring(path.substr(0, slash + 1));
}

std::wstring StoredFilePath(std::wstring_view folder, std::string_view id,
                            std::wstring_view extension) {
    if (!IsSafeStoredFileId(id))
        return {};
    std::wstring path(folder);
    path += Utf8ToWide(std::string(id).c_str());
    path += extension;
    return path;
}

std::string FolderWithSeparator(std::string folder) {
    folder = platform::NormalizePath(std::move(folder));
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder;
}
