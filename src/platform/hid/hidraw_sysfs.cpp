#include "platform/hid/hidraw_sysfs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

namespace platform::hid {
namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxAttributeSize = 4096;

bool ReadSmallFile(const fs::path& path, size_t limit, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out->clear();
    char chunk[512];
    while (in.read(chunk, sizeof(chunk)) || in.gcount() > 0) {
        out->append(chunk, static_cast<size_t>(in.gcount()));
        if (out->size() > limit) {
            return false;
        }
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool ReadHexAttribute(const fs::path& path, unsigned long max, unsigned long* value) {
    std::string text;
    return ReadSmallFile(path, kMaxAttributeSize, &text) && ParseSysfsHex(text, max, value);
}

// The value of `key` on a KEY=value line of uevent text.
std::optional<std::string_view> UeventValue(std::string_view uevent, std::string_view key) {
    size_t start = 0;
    while (start < uevent.size()) {
        size_t end = uevent.find('\n', start);
        if (end == std::string_view::npos) {
            end = uevent.size();
        }
        const std::string_view line = uevent.substr(start, end - start);
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == '=') {
            return line.substr(key.size() + 1);
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool ReadHidId(const fs::path& hidDir, uint16_t* vendorId, uint16_t* productId) {
    std::string uevent;
    return ReadSmallFile(hidDir / "uevent", kMaxAttributeSize, &uevent) &&
           ParseHidUeventIds(uevent, vendorId, productId);
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// Walks from the HID device towards the root: the first folder with bInterfaceNumber is
// the USB interface, the first with idVendor the USB device.
void ReadUsbParents(const fs::path& root, fs::path dir, HidrawNodeInfo* info) {
    bool interfaceSeen = false;
    for (int depth = 0; depth < 32 && dir.has_parent_path() && dir != root; ++depth) {
        dir = dir.parent_path();
        unsigned long value = 0;
        if (!interfaceSeen && Exists(dir / "bInterfaceNumber")) {
            interfaceSeen = true;
            if (ReadHexAttribute(dir / "bInterfaceNumber", 0xFF, &value)) {
                info->interfaceNumber = static_cast<int>(value);
            }
            continue;
        }
        if (Exists(dir / "idVendor")) {
            unsigned long vendor = 0;
            unsigned long product = 0;
            if (ReadHexAttribute(dir / "idVendor", 0xFFFF, &vendor) &&
                ReadHexAttribute(dir / "idProduct", 0xFFFF, &product)) {
                info->vendorId = static_cast<uint16_t>(vendor);
                info->productId = static_cast<uint16_t>(product);
            }
            if (ReadHexAttribute(dir / "bcdDevice", 0xFFFF, &value)) {
                info->version = static_cast<uint16_t>(value);
            }
            return;
        }
    }
}

}  // namespace

bool ParseSysfsHex(std::string_view text, unsigned long max, unsigned long* value) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    size_t end = start;
    while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    if (end == start || end - start > 8 ||
        !std::all_of(text.begin() + static_cast<long>(end), text.end(), IsBlank)) {
        return false;
    }
    const std::string digits(text.substr(start, end - start));
    const unsigned long parsed = std::strtoul(digits.c_str(), nullptr, 16);
    if (parsed > max) {
        return false;
    }
    *value = parsed;
    return true;
}

bool ParseHidUeventIds(std::string_view uevent, uint16_t* vendorId, uint16_t* productId) {
    const std::optional<std::string_view> id = UeventValue(uevent, "HID_ID");
    if (!id) {
        return false;
    }
    const size_t first = id->find(':');
    const size_t second = first == std::string_view::npos ? first : id->find(':', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    // The kernel keeps 32-bit ids; one that does not fit the USB id's 16 bits names no
    // device of ours and must not be cut down until it does.
    unsigned long bus = 0;
    unsigned long vendor = 0;
    unsigned long product = 0;
    if (!ParseSysfsHex(id->substr(0, first), 0xFFFF, &bus) ||
        !ParseSysfsHex(id->substr(first + 1, second - first - 1), 0xFFFF, &vendor) ||
        !ParseSysfsHex(id->substr(second + 1), 0xFFFF, &product)) {
        return false;
    }
    *vendorId = static_cast<uint16_t>(vendor);
    *productId = static_cast<uint16_t>(product);
    return true;
}

bool IsHidrawNodeName(const std::string& name) {
    const std::string prefix = "hidraw";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 6 ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool ReadHidrawNode(const std::string& sysfsRoot, const std::string& name, HidrawNodeInfo* info) {
    if (!IsHidrawNodeName(name)) {
        return false;
    }
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(sysfsRoot, ec);
    if (ec) {
        return false;
    }
    const fs::path node = fs::canonical(root / "class" / "hidraw" / name, ec);
    if (ec) {
        return false;
    }
    const fs::path hidDir = fs::canonical(node / "device", ec);
    if (ec) {
        return false;
    }
    HidrawNodeInfo result;
    result.name = name;
    std::string descriptor;
    if (!ReadSmallFile(hidDir / "report_descriptor", kMaxReportDescriptorSize, &descriptor) ||
        !ReadHidId(hidDir, &result.vendorId, &result.productId)) {
        return false;
    }
    result.descriptor.assign(descriptor.begin(), descriptor.end());
    ReadUsbParents(root, hidDir, &result);
    *info = std::move(result);
    return true;
}

std::vector<std::string> ListHidrawNodeNames(const std::string& sysfsRoot) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(sysfsRoot) / "class" / "hidraw", ec);
    if (ec) {
        return names;
    }
    // Nodes come and go while the folder is listed: a failed step ends the listing rather
    // than throwing.
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsHidrawNodeName(name)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

}  // namespace platform::hid
