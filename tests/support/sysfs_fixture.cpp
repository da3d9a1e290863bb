#include "support/sysfs_fixture.h"

#include <fstream>

#include "sim/keyboard_descriptors.h"

namespace testing_support {
namespace fs = std::filesystem;

void WriteBinaryFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

SysfsFixture::SysfsFixture() : root_(dir_.path() + "sys"), dev_(dir_.path() + "dev") {
    fs::create_directories(root_ / "class" / "hidraw");
    fs::create_directories(dev_);
}

fs::path SysfsFixture::AddNode(const std::string& node, const std::string& usbDevice,
                               int interfaceNumber, const std::string& hidName,
                               const std::vector<uint8_t>* descriptor, const std::string& hidId) {
    fs::path parent = root_ / "devices" / "pci0000:00" / "usb1";
    if (!usbDevice.empty()) {
        parent /= usbDevice;
        WriteBinaryFile(parent / "idVendor", "320f\n");
        WriteBinaryFile(parent / "idProduct", "505b\n");
        WriteBinaryFile(parent / "bcdDevice", "0105\n");
        parent /= usbDevice + ":1." + std::to_string(interfaceNumber);
        WriteBinaryFile(parent / "bInterfaceNumber", "0" + std::to_string(interfaceNumber) + "\n");
    }
    const fs::path hid = parent / hidName;
    if (descriptor != nullptr) {
        WriteBinaryFile(hid / "report_descriptor",
                        std::string(descriptor->begin(), descriptor->end()));
    }
    WriteBinaryFile(hid / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=kb\n");
    const fs::path nodeDir = hid / "hidraw" / node;
    fs::create_directories(nodeDir);
    fs::create_directory_symlink(hid, nodeDir / "device");
    fs::create_directory_symlink(nodeDir, root_ / "class" / "hidraw" / node);
    WriteBinaryFile(dev_ / node, "");
    return dev_ / node;
}

fs::path SysfsFixture::HidDir(const std::string& node) const {
    std::error_code ec;
    return fs::canonical(root_ / "class" / "hidraw" / node / "device", ec);
}

platform::hid::HidrawBus SysfsFixture::Bus() const {
    return platform::hid::HidrawBus(root_.string(), dev_.string());
}

SysfsFixture& SingleNodeTree(bool onUsb) {
    struct Tree {
        explicit Tree(bool usb) {
            if (usb) {
                sys.AddNode("hidraw0", "1-1", 1, "0003:320F:505B.0001",
                            &sim::KeyboardVendorDescriptor(), "0003:0000320F:0000505B");
            } else {
                sys.AddNode("hidraw0", "", 0, "0005:046D:B01A.0001", &sim::KeyboardBootDescriptor(),
                            "0005:0000046D:0000B01A");
            }
        }
        SysfsFixture sys;
    };
    if (onUsb) {
        static Tree usb(true);
        return usb.sys;
    }
    static Tree bluetooth(false);
    return bluetooth.sys;
}

}  // namespace testing_support
