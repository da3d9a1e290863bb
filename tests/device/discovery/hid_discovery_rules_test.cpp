#include <gtest/gtest.h>

#include "device/discovery/device_tables.h"
#include "device/discovery/hid_live_list.h"
#include "device/discovery/hid_path_parsers.h"

namespace {

constexpr const wchar_t* kCommandPath = L"hid#vid_320f&pid_505b&mi_01&col04#sim-1";
constexpr const wchar_t* kInputPath = L"hid#vid_320f&pid_505b&mi_01&col03#sim-1";

HidIdRecord ProbeFor(const wchar_t* path, uint16_t usagePage, uint16_t usage) {
    HidIdRecord probe;
    probe.vendorId = ParseVidFromPath(path);
    probe.productId = ParsePidFromPath(path);
    probe.interfaceNumber = ParseMiFromPath(path);
    probe.collectionNumber = ParseColFromPath(path);
    probe.usagePage = usagePage;
    probe.usage = usage;
    probe.devicePath = path;
    return probe;
}

TEST(HidPathParsers, ReadTheFourKeysInAnyCase) {
    for (const wchar_t* path :
         {L"hid#vid_320f&pid_505b&mi_01&col04#node", L"HID#VID_320F&PID_505B&MI_01&COL04#NODE"}) {
        EXPECT_EQ(ParseVidFromPath(path), 0x320F);
        EXPECT_EQ(ParsePidFromPath(path), 0x505B);
        EXPECT_EQ(ParseMiFromPath(path), 1);
        EXPECT_EQ(ParseColFromPath(path), 4);
    }
}

TEST(HidPathParsers, MissingKeyOrNumberGivesZeroAndLongNumbersKeepLowBits) {
    EXPECT_EQ(ParseMiFromPath(L"hid#vid_320f&pid_505b#node"), 0);
    EXPECT_EQ(ParseColFromPath(L"hid#vid_320f&pid_505b&mi_01#node"), 0);
    EXPECT_EQ(ParseVidFromPath(L"hid#vid_&pid_1"), 0);
    EXPECT_EQ(ParseVidFromPath(L"vid_"), 0);
    EXPECT_EQ(ParseVidFromPath(L""), 0);
    EXPECT_EQ(ParseVidFromPath(L"vid_123456789abcdef"), 0xCDEF);
    EXPECT_EQ(ParseColFromPath(L"x&col0x1f#"), 0x1F);
}

TEST(HidIdRecord, SameInterfaceIgnoresStateOnly) {
    HidIdRecord a = HidIdTable[0];
    HidIdRecord b = a;
    b.connected = 1;
    b.devicePath = L"somewhere";
    EXPECT_TRUE(a.IsSameInterface(b));
    b.usage ^= 1;
    EXPECT_FALSE(a.IsSameInterface(b));
    EXPECT_FALSE(HidIdTable[0].IsSameInterface(HidIdTable[1]));
}

TEST(DeviceTables, LookupsFindTheKeyboardRows) {
    EXPECT_EQ(FindHidIdIndex(0x320F, 0x505B, 1, kCommandInterface), 0);
    EXPECT_EQ(FindHidIdIndex(0x320F, 0x505B, 1, kInputInterface), 1);
    EXPECT_EQ(FindHidIdIndex(0x320F, 0x505B, 2, 0), -1);
    EXPECT_EQ(FindDeviceOptionIndex(0x320F, 0x505B, 1, 0), 1);
    EXPECT_EQ(FindDeviceOptionIndex(0, 0, 7, 0), 3);
    EXPECT_EQ(FindDeviceOptionIndex(0x320F, 0x505B, 1, kInputInterface), -1);
}

TEST(HidLiveList, ClaimsEachInterfaceOnceAndReleasesIt) {
    HidLiveList list = HidLiveList::FromHidIdTable();
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_FALSE(list.AllHidRecordsClaimed());

    HidIdRecord input = ProbeFor(kInputPath, 0x000C, 0x0001);
    ASSERT_TRUE(list.MatchHidCandidate(input));
    size_t index = 99;
    ASSERT_TRUE(list.ClaimHidRecord(input, index));
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(input.deviceKind, 1);
    EXPECT_EQ(input.subKind, kInputInterface);
    EXPECT_EQ(list.Get(1)->devicePath, DuiLib::CDuiString(kInputPath));
    EXPECT_EQ(list.Get(1)->connected, 1);

    // The same interface again finds no free record.
    EXPECT_FALSE(list.MatchHidCandidate(input));
    EXPECT_FALSE(list.ClaimHidRecord(input, index));

    HidIdRecord command = ProbeFor(kCommandPath, 0xFF1C, 0x0092);
    ASSERT_TRUE(list.ClaimHidRecord(command, index));
    EXPECT_EQ(index, 0u);
    EXPECT_TRUE(list.AllHidRecordsClaimed());
    EXPECT_EQ(list.ConnectedIndexes(), (std::vector<size_t>{0, 1}));

    EXPECT_TRUE(list.Release(0));
    EXPECT_FALSE(list.Release(2));
    EXPECT_FALSE(list.AllHidRecordsClaimed());
    EXPECT_TRUE(list.Get(0)->devicePath.IsEmpty());
    EXPECT_FALSE(list.Get(2).has_value());
}

TEST(HidLiveList, RejectsInterfacesOutsideTheTable) {
    HidLiveList list = HidLiveList::FromHidIdTable();
    // Right location, wrong usage: a candidate, but not claimable.
    HidIdRecord wrongUsage = ProbeFor(kCommandPath, 0x0001, 0x0006);
    EXPECT_TRUE(list.MatchHidCandidate(wrongUsage));
    size_t index = 0;
    EXPECT_FALSE(list.ClaimHidRecord(wrongUsage, index));
    EXPECT_FALSE(list.MatchHidCandidate(ProbeFor(L"hid#vid_320f&pid_505b&mi_00#x", 1, 6)));
    EXPECT_FALSE(list.MatchHidCandidate(ProbeFor(L"hid#vid_046d&pid_c52b&mi_01&col04#x", 0, 0)));
    EXPECT_FALSE(list.AllHidRecordsClaimed());
}

}  // namespace
