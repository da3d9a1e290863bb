#include "platform/private_fonts.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <mutex>

#include "platform/file_io.h"

namespace platform {
namespace {

struct FontTable {
    std::mutex mutex;
    int nextHandle = 1;
    std::multimap<int, PrivateFont> fonts;  // by handle
};

FontTable& Table() {
    static FontTable table;
    return table;
}

bool SameFamily(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

}  // namespace

int AddPrivateFont(const std::string& file, const std::vector<std::wstring>& families, bool bold) {
    auto content = ReadWholeFile(file);
    if (!content || content->empty() || families.empty()) {
        return 0;
    }
    auto bytes = std::make_shared<const std::vector<uint8_t>>(content->begin(), content->end());
    FontTable& table = Table();
    std::lock_guard lock(table.mutex);
    const int handle = table.nextHandle++;
    for (const auto& family : families) {
        table.fonts.emplace(handle, PrivateFont{family, bold, file, bytes});
    }
    return handle;
}

bool RemovePrivateFont(int handle) {
    FontTable& table = Table();
    std::lock_guard lock(table.mutex);
    return table.fonts.erase(handle) > 0;
}

std::optional<PrivateFont> FindPrivateFont(std::wstring_view family, bool bold) {
    FontTable& table = Table();
    std::lock_guard lock(table.mutex);
    std::optional<PrivateFont> other;
    for (const auto& [handle, font] : table.fonts) {
        if (!SameFamily(font.family, family)) {
            continue;
        }
        if (font.bold == bold) {
            return font;
        }
        if (!other) {
            other = font;
        }
    }
    return other;
}

}  // namespace platform
