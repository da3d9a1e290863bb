// The hidraw backend on this machine (which may have no hidraw node at all) and on
// sysfs fixture trees laid out like the kernel's.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/hid/hidraw_bus.h"
#include "sim/keyboard_descriptors.h"
#include "support/sysfs_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace platform::hid;

using testing_support::SysfsFixture;

TEST(HidrawBusTest, EnumerationSucceedsWithoutHidrawNodes) {
    HidrawBus system;
    std::vector<std::wstring> paths{L"stale"};
    EXPECT_TRUE(system.Enumerate(&paths));
    for (const std::wstring& path : paths) {
        EXPECT_NE(path.find(L"hid#vid_"), std::wstring::npos);
    }
    SysfsFixture empty;
    EXPECT_TRUE(empty.Bus().Enumerate(&paths));
    EXPECT_TRUE(paths.empty());
}

TEST(HidrawBusTest, NodesAreDescribedFromSysfs) {
    SysfsFixture sys;
    sys.AddNode("hidraw1", "1-2", 1, "0003:320F:505B.0002", &sim::KeyboardVendorDescriptor(),
                "0003:0000320F:0000505B");
    HidrawBus bus = sys.Bus();
    std::vector<std::wstring> paths;
    ASSERT_TRUE(bus.Enumerate(&paths));
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[3], L"\\\\?\\hid#vid_320f&pid_505b&mi_01&col04#hidraw1&0003");

    auto handle = bus.Open(paths[3], {true, true, false});
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->Attributes().VersionNumber, 0x0105);
    EXPECT_EQ(handle->PreparsedData().Caps().UsagePage, 0xFF1C);
    EXPECT_NE(bus.Open(paths[2], {}), nullptr);
    EXPECT_TRUE(bus.IsPresent(paths[2]));
    // A path whose ids do not match what the node now is opens nothing and is not there.
    const std::wstring other = L"\\\\?\\hid#vid_1234&pid_505b&mi_01&col04#hidraw1&0003";
    EXPECT_EQ(bus.Open(other, {}), nullptr);
    EXPECT_FALSE(bus.IsPresent(other));
    EXPECT_EQ(bus.Open(L"\\\\?\\hid#vid_320f&pid_505b&mi_01&col04#../../etc&0003", {}), nullptr);
    EXPECT_FALSE(bus.IsPresent(L"\\\\?\\hid#vid_320f&pid_505b&mi_01&col04#../../etc&0003"));
}

TEST(HidrawBusTest, UnreadableNodeHidesNothingAfterIt) {
    SysfsFixture sys;
    sys.AddNode("hidraw0", "1-1", 0, "0003:320F:505B.0001", nullptr, "0003:0000320F:0000505B");
    const std::vector<uint8_t> broken = {0xA1, 0x01};
    sys.AddNode("hidraw1", "1-1", 1, "0003:320F:505B.0002", &broken, "0003:0000320F:0000505B");
    // Not on USB: ids from HID_ID, no interface number, version 0.
    sys.AddNode("hidraw2", "", 0, "0005:046D:B01A.0003", &sim::KeyboardBootDescriptor(),
                "0005:0000046D:0000B01A");
    std::vector<std::wstring> paths;
    ASSERT_TRUE(sys.Bus().Enumerate(&paths));
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], L"\\\\?\\hid#vid_046d&pid_b01a#hidraw2&0000");
    HidrawBus bus = sys.Bus();
    auto handle = bus.Open(paths[0], {});
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->Attributes().VersionNumber, 0);
}

TEST(HidrawBusTest, ReadsKeepOnlyTheCollectionsReports) {
    SysfsFixture sys;
    const fs::path node = sys.AddNode("hidraw4", "1-3", 1, "0003:320F:505B.0004",
                                      &sim::KeyboardVendorDescriptor(), "0003:0000320F:0000505B");
    HidrawBus bus = sys.Bus();
    std::vector<std::wstring> paths;
    ASSERT_TRUE(bus.Enumerate(&paths));
    // The fixture node is a plain file: one read returns its bytes as one report.
    testing_support::WriteBinaryFile(node, std::string("\x03\x01\x04", 3));
    auto notify = bus.Open(paths[2], {true, false, false});
    uint8_t report[8] = {};
    const HidIoResult got = notify->Read(report, 100, nullptr);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.bytes, 3u);
    EXPECT_EQ(report[2], 0x04);
    auto command = bus.Open(paths[3], {true, false, false});
    EXPECT_FALSE(command->Read(report, 100, nullptr).ok());  // only report 3, then end
}

TEST(HidrawBusTest, WritesCarryTheReportIdFirst) {
    SysfsFixture sys;
    const fs::path node = sys.AddNode("hidraw5", "1-4", 0, "0003:320F:505B.0005",
                                      &sim::KeyboardBootDescriptor(), "0003:0000320F:0000505B");
    HidrawBus bus = sys.Bus();
    std::vector<std::wstring> paths;
    ASSERT_TRUE(bus.Enumerate(&paths));
    ASSERT_EQ(paths.size(), 1u);
    auto handle = bus.Open(paths[0], {true, true, false});
    ASSERT_NE(handle, nullptr);
    // Unnumbered output report: 0 then the LED byte, as the kernel expects it.
    const uint8_t leds[2] = {0, 0x05};
    const HidIoResult put = handle->Write(leds, 100, nullptr);
    ASSERT_TRUE(put.ok());
    EXPECT_EQ(put.bytes, 2u);
    std::ifstream in(node, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(written, std::string("\x00\x05", 2));
    const uint8_t wrongId[2] = {1, 0x05};
    EXPECT_FALSE(handle->Write(wrongId, 100, nullptr).ok());
}

TEST(HidrawSysfsTest, NodeNamesAreChecked) {
    EXPECT_TRUE(IsHidrawNodeName("hidraw12"));
    EXPECT_FALSE(IsHidrawNodeName("hidraw"));
    EXPECT_FALSE(IsHidrawNodeName("hidraw1/../x"));
    EXPECT_FALSE(IsHidrawNodeName("mouse0"));
    EXPECT_EQ(HidPathNode(L"\\\\?\\hid#vid_320f&pid_505b&mi_01&col04#hidraw7&0003"), L"hidraw7");
}

TEST(HidrawSysfsTest, UeventIdsComeFromTheirOwnLineAndMustFitSixteenBits) {
    uint16_t vendor = 0;
    uint16_t product = 0;
    EXPECT_TRUE(
        ParseHidUeventIds("HID_NAME=x HID_ID=0003:00001234:00005678\n"
                          "HID_ID=0005:0000046D:0000B01A\nHID_UNIQ=\n",
                          &vendor, &product));
    EXPECT_EQ(vendor, 0x046D);
    EXPECT_EQ(product, 0xB01A);
    EXPECT_FALSE(ParseHidUeventIds("HID_ID=0003:0000320F\n", &vendor, &product));
    EXPECT_FALSE(ParseHidUeventIds("HID_ID=0003:0000320Fz:0000505B\n", &vendor, &product));
    EXPECT_FALSE(ParseHidUeventIds("HID_IDX=0003:0000320F:0000505B\n", &vendor, &product));

    // A virtual device may carry 32-bit ids: cut to 16 bits this one would pass for ours.
    SysfsFixture sys;
    sys.AddNode("hidraw3", "", 0, "0006:1320F:505B.0007", &sim::KeyboardBootDescriptor(),
                "0006:0001320F:0000505B");
    std::vector<std::wstring> paths;
    ASSERT_TRUE(sys.Bus().Enumerate(&paths));
    EXPECT_TRUE(paths.empty());
}

}  // namespace
