#include "pages/safe_file_name.h"

#include "platform/paths.h"

bool IsSafeFileId(std::string_view id) {
    if (id.empty() || id.size() > kMaxFileIdLength || id == "." ||
        id.find("..") != std::string_view::npos) {
        return false;
    }
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::string FolderWithSeparator(std::string folder) {
    folder = platform::NormalizePath(std::move(folder));
    if (!folder.empty() && folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}
