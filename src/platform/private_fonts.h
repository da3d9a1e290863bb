#pragma once
// Fonts the program brings in its own folder, read into memory and known by family name
// only to this process for as long as they are registered: the stand-in for private memory
// fonts. A renderer looks a face up here before it asks the system.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct PrivateFont {
    std::wstring family;
    bool bold = false;
    std::string file;
    std::shared_ptr<const std::vector<uint8_t>> bytes;
};

// Reads `file` whole and registers it under every family in `families`. Returns a handle
// above 0, or 0 when the file cannot be read or is empty.
int AddPrivateFont(const std::string& file, const std::vector<std::wstring>& families, bool bold);
// Forgets the fonts of one handle; false for an unknown handle.
bool RemovePrivateFont(int handle);
// The registered font of that family (compared without regard to case), preferring the
// requested weight.
std::optional<PrivateFont> FindPrivateFont(std::wstring_view family, bool bold = false);

}  // namespace platform
