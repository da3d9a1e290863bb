#include "usb_gadget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kernel_test {
namespace {

namespace fs = std::filesystem;

const fs::path kGadgets = "/sys/kernel/config/usb_gadget";

fs::path GadgetDir() {
    return kGadgets / UsbGadget::kName;
}

bool WriteAttribute(const fs::path& path, const std::string& value) {
    std::ofstream out(path, std::ios::binary);
    out << value;
    out.flush();
    if (!out) {
        std::fprintf(stderr, "gadget: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%04x", value);
    return text;
}

bool MakeDir(const fs::path& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) {
        std::fprintf(stderr, "gadget: cannot create %s: %s\n", path.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

bool AddFunction(const fs::path& gadget, size_t index, const GadgetInterface& interface) {
    const fs::path function = gadget / "functions" / ("hid.usb" + std::to_string(index));
    if (!MakeDir(function) ||
        !WriteAttribute(function / "protocol", std::to_string(interface.protocol)) ||
        !WriteAttribute(function / "subclass", std::to_string(interface.subclass)) ||
        !WriteAttribute(function / "report_length", std::to_string(interface.reportLength)) ||
        !WriteAttribute(function / "report_desc",
                        std::string(interface.descriptor.begin(), interface.descriptor.end()))) {
        return false;
    }
    // Linked in order, the functions become interfaces 0, 1, ...
    std::error_code ec;
    fs::create_directory_symlink(function, gadget / "configs/c.1" / function.filename(), ec);
    return !ec;
}

}  // namespace

bool UsbGadget::Create(uint16_t vendorId, uint16_t productId, uint16_t version,
                       const std::vector<GadgetInterface>& interfaces, uid_t owner, gid_t group) {
    const fs::path gadget = GadgetDir();
    if (!MakeDir(gadget) || !WriteAttribute(gadget / "idVendor", Hex(vendorId)) ||
        !WriteAttribute(gadget / "idProduct", Hex(productId)) ||
        !WriteAttribute(gadget / "bcdDevice", Hex(version)) ||
        !WriteAttribute(gadget / "bcdUSB", "0x0200") || !MakeDir(gadget / "strings/0x409") ||
        !WriteAttribute(gadget / "strings/0x409/manufacturer", "Velkaro kernel test") ||
        !WriteAttribute(gadget / "strings/0x409/product", "Emulated keyboard") ||
        !WriteAttribute(gadget / "strings/0x409/serialnumber", "0001") ||
        !MakeDir(gadget / "configs/c.1")) {
        return false;
    }
    for (size_t i = 0; i < interfaces.size(); ++i) {
        if (!AddFunction(gadget, i, interfaces[i])) {
            return false;
        }
    }
    return chown((gadget / "UDC").c_str(), owner, group) == 0;
}

std::vector<std::string> UsbGadget::Controllers() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/sys/class/udc", ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool UsbGadget::Bind(const std::string& udc) {
    // The kernel takes an empty line as "unbind".
    return WriteAttribute(GadgetDir() / "UDC", udc + "\n");
}

std::string UsbGadget::InterfaceNode(size_t index) {
    std::ifstream in(GadgetDir() / "functions" / ("hid.usb" + std::to_string(index)) / "dev");
    unsigned major = 0;
    unsigned minor = 0;
    char colon = 0;
    if (!(in >> major >> colon >> minor) || colon != ':') {
        return {};
    }
    return "/dev/hidg" + std::to_string(minor);
}

}  // namespace kernel_test
