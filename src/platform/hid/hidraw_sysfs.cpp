#include "platform/hid/hidraw_sysfs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

bool ParseHex(const std::string& text, unsigned long max, unsigned long* value) {
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
        ++start;
    }
    size_t end = start;
    while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    if (end == start || end - start > 8) {
        return false;
    }
    const unsigned long parsed = std::strtoul(text.substr(start, end - start).c_str(), nullptr, 16);
    if (parsed > max) {
        return false;
    }
    *value = parsed;
    return true;
}

bool ReadHexAttribute(const fs::path& path, unsigned long max, unsigned long* value) {
    std::string text;
    return ReadSmallFile(path, kMaxAttributeSize, &text) && ParseHex(text, max, value);
}

// HID_ID=0003:0000320F:0000505B in the HID device's uevent.
bool ReadHidId(const fs::path& hidDir, uint16_t* vendorId, uint16_t* productId) {
    std::string uevent;
    if (!ReadSmallFile(hidDir / "uevent", kMaxAttributeSize, &uevent)) {
        return false;
    }
    const std::string key = "HID_ID=";
    size_t at = uevent.find(key);
    if (at == std::string::npos || (at != 0 && uevent[at - 1] != '\n')) {
        return false;
    }
    const std::string id = uevent.substr(at + key.size(), uevent.find('\n', at) - at - key.size());
    const size_t first = id.find(':');
    const size_t second = id.find(':', first == std::string::npos ? 0 : first + 1);
    unsigned long vendor = 0;
    unsigned long product = 0;
    if (first == std::string::npos || second == std::string::npos ||
        !ParseHex(id.substr(first + 1, second - first - 1), 0xFFFFFFFF, &vendor) ||
        !ParseHex(id.substr(second + 1), 0xFFFFFFFF, &product)) {
        return false;
    }
    *vendorId = static_cast<uint16_t>(vendor);
    *productId = static_cast<uint16_t>(product);
    return true;
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
