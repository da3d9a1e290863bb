// The two sets of device tables: the shipped one for real hardware, and the one over the
// simulated bus, whose rows must claim every interface the simulated firmware shows.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/discovery/device_kind.h"
#include "device/discovery/device_tables.h"
#include "device/discovery/hid_live_list.h"
#include "device/discovery/hid_path_parsers.h"
#include "platform/hid/hid_report_descriptor.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/scenario.h"

namespace {

// Claims every interface of the bus that the list's table names, as the capture thread
// does; returns the kinds and sub-kinds claimed.
std::set<std::pair<int, int>> ClaimAll(platform::hid::HidBus& bus, HidLiveList& list) {
    std::set<std::pair<int, int>> claimed;
    std::vector<std::wstring> paths;
    EXPECT_TRUE(bus.Enumerate(&paths));
    for (const std::wstring& path : paths) {
        HidIdRecord probe;
        probe.vendorId = ParseVidFromPath(path.c_str());
        probe.productId = ParsePidFromPath(path.c_str());
        probe.collectionNumber = ParseColFromPath(path.c_str());
        probe.interfaceNumber = ParseMiFromPath(path.c_str());
        probe.devicePath = path.c_str();
        if (!list.MatchHidCandidate(probe)) {
            continue;
        }
        std::unique_ptr<platform::hid::HidHandle> handle = bus.Open(path, {.read = true});
        if (!handle) {
            ADD_FAILURE() << "a listed interface does not open";
            continue;
        }
        probe.vendorId = handle->Attributes().VendorID;
        probe.productId = handle->Attributes().ProductID;
        probe.usagePage = handle->PreparsedData().Caps().UsagePage;
        probe.usage = handle->PreparsedData().Caps().Usage;
        size_t index = 0;
        if (list.ClaimHidRecord(probe, index)) {
            claimed.insert({probe.deviceKind, probe.subKind});
        }
    }
    return claimed;
}

HidLiveList LiveListOf(const DeviceTableSet& tables) {
    return HidLiveList(
        std::vector<HidIdRecord>(tables.interfaces.begin(), tables.interfaces.end()));
}

class DeviceTableSetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<sim::ScenarioEntry> entries;
        ASSERT_TRUE(sim::ParseScenario("keyboard,mouse,mousepad,headset", &entries));
        scenario_ = std::make_unique<sim::SimScenario>(bus_, entries);
    }

    platform::hid::SimHidBus bus_;
    std::unique_ptr<sim::SimScenario> scenario_;
};

TEST_F(DeviceTableSetsTest, TheSimulatedSetClaimsEveryInterfaceOfEverySimulatedDevice) {
    const DeviceTableSet& tables = SimulatedDeviceTables();
    HidLiveList list = LiveListOf(tables);
    const std::set<std::pair<int, int>> claimed = ClaimAll(bus_, list);
    EXPECT_TRUE(list.AllHidRecordsClaimed()) << "a row names an interface no model shows";
    for (int kind : {device::kKeyboardDevice, device::kMouseDevice, device::kMousePadDevice,
                     device::kHeadsetDevice}) {
        EXPECT_TRUE(claimed.count({kind, kCommandInterface})) << "command, kind " << kind;
        EXPECT_TRUE(claimed.count({kind, kInputInterface})) << "input, kind " << kind;
    }
    // Every page is backed by a command interface, and a page's layout row exists.
    ASSERT_EQ(tables.options.size(), tables.layouts.size());
    for (const DeviceOptionRecord& option : tables.options) {
        const int row = tables.FindHidIdIndex(
            static_cast<uint16_t>(option.vendorId), static_cast<uint16_t>(option.productId),
            static_cast<uint16_t>(option.deviceKind), static_cast<uint16_t>(option.subKind));
        EXPECT_GE(row, 0) << option.kindName.ToUtf8() << " has no interface";
    }
    // The mouse's key-code table holds all ten keys.
    const int mouse = tables.FindDeviceOptionIndex(0x320F, 0x5064, device::kMouseDevice, 0);
    ASSERT_EQ(mouse, 0);
    EXPECT_GE(tables.layouts[0].ledCount, 10);
    EXPECT_EQ(tables.layouts[0].deviceXml, DeviceXmlTable[0].deviceXml);
}

TEST_F(DeviceTableSetsTest, TheHardwareSetIsTheShippedTablesAndKnowsOnlyTheKeyboard) {
    const DeviceTableSet& tables = HardwareDeviceTables();
    EXPECT_EQ(tables.interfaces.data(), HidIdTable);
    EXPECT_EQ(tables.interfaces.size(), 2u);
    EXPECT_EQ(tables.options.data(), DeviceOptionTable);
    EXPECT_EQ(tables.layouts.data(), DeviceXmlTable);
    EXPECT_EQ(tables.identities.data(), DeviceIdentityTable);
    EXPECT_EQ(tables.FindDeviceOptionIndex(0, 0, device::kMouseDevice, 0), 0);

    HidLiveList list = LiveListOf(tables);
    const std::set<std::pair<int, int>> claimed = ClaimAll(bus_, list);
    const std::set<std::pair<int, int>> keyboard = {{device::kKeyboardDevice, kCommandInterface},
                                                    {device::kKeyboardDevice, kInputInterface}};
    EXPECT_EQ(claimed, keyboard);
}

TEST(DeviceTablesForBus, TheSimulatedBusGetsTheSimulatedSet) {
    platform::hid::SimHidBus bus;
    EXPECT_EQ(&DeviceTablesForBus(bus), &SimulatedDeviceTables());
    // Any other bus is real hardware.
    class OtherBus final : public platform::hid::HidBus {
      public:
        bool Enumerate(std::vector<std::wstring>*) override { return false; }
        std::unique_ptr<platform::hid::HidHandle> Open(std::wstring_view,
                                                       platform::hid::HidOpenFlags) override {
            return nullptr;
        }
    } other;
    EXPECT_EQ(&DeviceTablesForBus(other), &HardwareDeviceTables());
}

}  // namespace
