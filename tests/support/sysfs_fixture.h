#pragma once
// A sysfs tree laid out like the kernel's, for the hidraw backend:
// <root>/devices/.../<usb device>/<usb interface>/<hid device>/hidraw/<node>, linked from
// <root>/class/hidraw/<node>, with the node's "device" link to its HID device, and a plain
// file <dev>/<node> standing in for the device node.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/hid/hidraw_bus.h"
#include "support/temp_dir.h"

namespace testing_support {

void WriteBinaryFile(const std::filesystem::path& path, const std::string& bytes);

class SysfsFixture {
  public:
    SysfsFixture();

    // `usbDevice` empty: a node that does not hang off USB. `descriptor` null: none.
    // Returns the stand-in device node.
    std::filesystem::path AddNode(const std::string& node, const std::string& usbDevice,
                                  int interfaceNumber, const std::string& hidName,
                                  const std::vector<uint8_t>* descriptor, const std::string& hidId);
    // The HID device folder of a node added before.
    std::filesystem::path HidDir(const std::string& node) const;
    const std::filesystem::path& Root() const { return root_; }
    platform::hid::HidrawBus Bus() const;

  private:
    TempDir dir_;
    std::filesystem::path root_;
    std::filesystem::path dev_;
};

// A tree kept for the whole process with one node, "hidraw0": a keyboard's USB interface,
// or a Bluetooth device whose ids come from its uevent alone. Fuzz targets rewrite its
// files for each input.
SysfsFixture& SingleNodeTree(bool onUsb);

}  // namespace testing_support
