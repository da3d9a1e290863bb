// Descriptors of real devices, read from the descriptor fuzzer's seed corpus, against the
// report lengths hid-tools' parser gives for them and the usages their reports carry.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/hid/hid_report_descriptor.h"

namespace {

using platform::hid::HidPreparsedData;
using platform::hid::HidReportDescriptor;

std::vector<uint8_t> Seed(const std::string& name) {
    std::ifstream in(std::string(VELKARO_HID_DESCRIPTOR_CORPUS) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

const HidPreparsedData* FindCollection(const std::vector<HidPreparsedData>& collections, USAGE page,
                                       USAGE usage) {
    for (const HidPreparsedData& c : collections) {
        if (c.Caps().UsagePage == page && c.Caps().Usage == usage) {
            return &c;
        }
    }
    return nullptr;
}

struct ReportLength {
    HIDP_REPORT_TYPE type;
    uint8_t id;
    uint32_t bytes;  // the id byte included
};

// Every report of the descriptor has the length hid-tools gives it, in whichever
// collection declares it.
void ExpectReportLengths(const std::vector<HidPreparsedData>& collections,
                         const std::vector<ReportLength>& expected) {
    for (const ReportLength& report : expected) {
        uint32_t found = 0;
        for (const HidPreparsedData& c : collections) {
            found = std::max(found, c.ReportByteLength(report.type, report.id));
        }
        EXPECT_EQ(found, report.bytes) << "type " << int{report.type} << " id " << int{report.id};
    }
}

std::vector<USAGE> Pressed(const HidPreparsedData& data, USAGE page,
                           const std::vector<uint8_t>& report) {
    std::vector<USAGE> usages(32);
    uint32_t count = static_cast<uint32_t>(usages.size());
    EXPECT_EQ(data.GetUsages(HidP_Input, page, 0, usages.data(), &count, report),
              HIDP_STATUS_SUCCESS);
    usages.resize(count);
    return usages;
}

// An I2C touch screen with a USI pen (04F3:2A49), from hid-tools' kernel tests
// (tests_kernel/test_tablet.py, TestElan_04f3_2A49; the same bytes are in the Linux
// kernel's tools/testing/selftests/hid/tests/test_tablet.py). The pen's transducer serial
// number and two feature values are 64-bit items.
TEST(RealDescriptorTest, SixtyFourBitItemsLeaveEveryCollectionUsable) {
    std::vector<HidPreparsedData> collections;
    ASSERT_EQ(HidReportDescriptor::Parse(Seed("usi_pen_touch_screen"), &collections),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(collections.size(), 7u);
    ExpectReportLengths(collections,
                        {{HidP_Input, 1, 42},    {HidP_Input, 2, 65},     {HidP_Input, 4, 20},
                         {HidP_Input, 7, 23},    {HidP_Input, 23, 32},    {HidP_Input, 96, 3},
                         {HidP_Output, 3, 33},   {HidP_Output, 6, 19},    {HidP_Feature, 6, 4},
                         {HidP_Feature, 10, 2},  {HidP_Feature, 68, 257}, {HidP_Feature, 97, 4},
                         {HidP_Feature, 98, 4},  {HidP_Feature, 99, 4},   {HidP_Feature, 100, 9},
                         {HidP_Feature, 101, 5}, {HidP_Feature, 102, 14}, {HidP_Feature, 103, 4},
                         {HidP_Feature, 104, 4}, {HidP_Feature, 105, 2}});

    const HidPreparsedData* pen = FindCollection(collections, 0x0D, 0x02);
    ASSERT_NE(pen, nullptr);
    const auto& values = pen->ValueCaps(HidP_Input);
    const auto serialCaps = std::find_if(values.begin(), values.end(), [](const auto& caps) {
        return caps.UsagePage == 0x0D && caps.UsageMin == 0x5B;
    });
    ASSERT_NE(serialCaps, values.end());
    EXPECT_EQ(serialCaps->BitSize, 64);
    EXPECT_EQ(serialCaps->ReportID, 7);

    // Report 7: buttons, X, Y, pressure, five bytes, the serial number at bytes 13..20.
    std::vector<uint8_t> report(23, 0);
    report[0] = 7;
    report[1] = 0x03;  // in range, tip
    report[2] = 0x34;
    report[3] = 0x12;  // X
    report[13] = 0x2A;
    uint32_t raw = 0;
    ASSERT_EQ(pen->GetUsageValue(HidP_Input, 0x0D, 0, 0x5B, &raw, report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 0x2Au);
    // A serial number wider than 32 bits is the one value that cannot be read.
    report[17] = 0x01;
    EXPECT_EQ(pen->GetUsageValue(HidP_Input, 0x0D, 0, 0x5B, &raw, report),
              HIDP_STATUS_BUFFER_TOO_SMALL);
    int32_t scaled = 0;
    EXPECT_EQ(pen->GetScaledUsageValue(HidP_Input, 0x0D, 0, 0x5B, &scaled, report),
              HIDP_STATUS_VALUE_OUT_OF_RANGE);
    ASSERT_EQ(pen->GetUsageValue(HidP_Input, 0x01, 0, 0x30, &raw, report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 0x1234u);
    EXPECT_EQ(Pressed(*pen, 0x0D, report), (std::vector<USAGE>{0x32, 0x42}));

    const HidPreparsedData* touch = FindCollection(collections, 0x0D, 0x04);
    ASSERT_NE(touch, nullptr);
    EXPECT_EQ(touch->Caps().InputReportByteLength, 42);
}

// A gamepad (18D1:2C40) from hid-tools (hidtools/device/base_gamepad.py, AsusGamepad).
// Its button item declares nine Button usages, then the Consumer page and two usages of
// it; its stick item declares X, Y, Z and Rz, then the Simulation Controls page, Brake and
// Accelerator.
TEST(RealDescriptorTest, UsagesKeepThePageTheyWereDeclaredUnder) {
    std::vector<HidPreparsedData> collections;
    ASSERT_EQ(HidReportDescriptor::Parse(Seed("gamepad_paged_usages"), &collections),
              HIDP_STATUS_SUCCESS);
    ASSERT_EQ(collections.size(), 2u);
    ExpectReportLengths(collections, {{HidP_Input, 1, 9}, {HidP_Input, 3, 8}, {HidP_Output, 2, 2}});
    const HidPreparsedData& pad = collections[0];
    EXPECT_EQ(pad.Caps().Usage, 0x05);
    EXPECT_EQ(pad.MaxUsageListLength(HidP_Input, 0x09), 9u);
    EXPECT_EQ(pad.MaxUsageListLength(HidP_Input, 0x0C), 2u);

    // Every button pressed; sticks at 0x10, 0x20, 0x30, 0x40, brake 0x50, accelerator 0x60.
    const std::vector<uint8_t> report = {1, 0xFF, 0x07, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    EXPECT_EQ(Pressed(pad, 0x09, report),
              (std::vector<USAGE>{0x01, 0x02, 0x04, 0x05, 0x07, 0x08, 0x0E, 0x0F, 0x0D}));
    EXPECT_EQ(Pressed(pad, 0x0C, report), (std::vector<USAGE>{0x224, 0x223}));
    uint32_t raw = 0;
    ASSERT_EQ(pad.GetUsageValue(HidP_Input, 0x01, 0, 0x35, &raw, report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 0x40u);
    ASSERT_EQ(pad.GetUsageValue(HidP_Input, 0x02, 0, 0xC4, &raw, report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 0x60u);
    EXPECT_EQ(pad.GetUsageValue(HidP_Input, 0x02, 0, 0x30, &raw, report),
              HIDP_STATUS_USAGE_NOT_FOUND);
}

}  // namespace
