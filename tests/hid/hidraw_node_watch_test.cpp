// The hidraw backend's change stamp over a fixture's device folder, and the reading of
// inotify records that feeds it.

#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/hid/hidraw_bus.h"
#include "sim/keyboard_descriptors.h"
#include "support/sysfs_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace platform::hid;

fs::path AddKeyboardNode(testing_support::SysfsFixture& sys, const std::string& node) {
    return sys.AddNode(node, "1-2", 1, "0003:320F:505B.0002", &sim::KeyboardVendorDescriptor(),
                       "0003:0000320F:0000505B");
}

TEST(HidrawChangeStampTest, MovesWhenANodeComesChangesRightsOrGoesAndOnlyThen) {
    testing_support::SysfsFixture sys;
    HidrawBus bus = sys.Bus();
    const std::optional<uint64_t> first = bus.ChangeStamp();
    ASSERT_TRUE(first.has_value());
    const fs::path node = AddKeyboardNode(sys, "hidraw1");
    std::optional<uint64_t> seen = bus.ChangeStamp();
    EXPECT_NE(seen, first) << "a node came";
    EXPECT_EQ(bus.ChangeStamp(), seen) << "a quiet folder";
    // Other nodes, and the traffic of a node, tell nothing.
    testing_support::WriteBinaryFile(node.parent_path() / "ttyS0", "x");
    testing_support::WriteBinaryFile(node, "report");
    std::vector<std::wstring> paths;
    ASSERT_TRUE(bus.Enumerate(&paths));
    EXPECT_NE(bus.Open(paths[0], {true, true, false}), nullptr);
    EXPECT_EQ(bus.ChangeStamp(), seen);
    // udev applies its rule.
    fs::permissions(node, fs::perms::group_read | fs::perms::group_write, fs::perm_options::add);
    EXPECT_NE(bus.ChangeStamp(), seen);
    seen = bus.ChangeStamp();
    fs::remove(node);
    EXPECT_NE(bus.ChangeStamp(), seen) << "a node went";
}

TEST(HidrawChangeStampTest, AFolderThatCannotBeWatchedCannotTell) {
    HidrawBus nowhere("/sys", "/nonexistent-velkaro-dev");
    EXPECT_FALSE(nowhere.ChangeStamp().has_value());
    testing_support::SysfsFixture sys;
    HidrawBus bus = sys.Bus();
    const fs::path node = AddKeyboardNode(sys, "hidraw0");
    ASSERT_TRUE(bus.ChangeStamp().has_value());
    fs::remove_all(node.parent_path());
    EXPECT_FALSE(bus.ChangeStamp().has_value());
    EXPECT_FALSE(bus.ChangeStamp().has_value()) << "for good";
}

// Appends one inotify record naming `name` (padded as the kernel pads it).
void AddRecord(std::vector<std::byte>* bytes, uint32_t mask, const char* name) {
    inotify_event event{};
    event.mask = mask;
    event.len = name[0] != '\0' ? 16 : 0;
    const size_t at = bytes->size();
    bytes->resize(at + sizeof event + event.len);
    std::memcpy(bytes->data() + at, &event, sizeof event);
    std::memcpy(bytes->data() + at + sizeof event, name, std::strlen(name));
}

TEST(HidrawChangeStampTest, RecordsTellHidrawNodesLostEventsAndAnEndedWatch) {
    std::vector<std::byte> bytes;
    AddRecord(&bytes, IN_CREATE, "ttyUSB0");
    AddRecord(&bytes, IN_ATTRIB, "input");
    HidrawNodeEvents read = ReadHidrawNodeEvents(bytes);
    EXPECT_FALSE(read.changed);
    AddRecord(&bytes, IN_ATTRIB, "hidraw3");
    EXPECT_TRUE(ReadHidrawNodeEvents(bytes).changed);

    bytes.clear();
    AddRecord(&bytes, IN_Q_OVERFLOW, "");
    read = ReadHidrawNodeEvents(bytes);
    EXPECT_TRUE(read.changed);
    EXPECT_FALSE(read.broken);

    bytes.clear();
    AddRecord(&bytes, IN_IGNORED, "");
    read = ReadHidrawNodeEvents(bytes);
    EXPECT_TRUE(read.changed && read.broken);

    // A record whose name runs past the bytes read is not trusted to say nothing.
    bytes.clear();
    AddRecord(&bytes, IN_CREATE, "ttyUSB0");
    bytes.resize(bytes.size() - 4);
    EXPECT_TRUE(ReadHidrawNodeEvents(bytes).changed);
}

}  // namespace
