// Capabilities worked out by hand from the descriptors, and reports read back from them.

#include <gtest/gtest.h>

#include <vector>

#include "platform/hid/hid_report_descriptor.h"
#include "sim/keyboard_descriptors.h"

namespace {

using platform::hid::HidPreparsedData;
using platform::hid::HidReportDescriptor;

std::vector<HidPreparsedData> ParseOk(const std::vector<uint8_t>& descriptor) {
    std::vector<HidPreparsedData> collections;
    EXPECT_EQ(HidReportDescriptor::Parse(descriptor, &collections), HIDP_STATUS_SUCCESS);
    return collections;
}

HidpStatus ParseStatus(const std::vector<uint8_t>& descriptor) {
    std::vector<HidPreparsedData> collections;
    return HidReportDescriptor::Parse(descriptor, &collections);
}

// Three buttons, X, Y and wheel, relative, inside a physical collection.
const std::vector<uint8_t> kMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

// Report 7: a range of four 16-bit values, a two-slot button array (logical 1..8) and a
// value with a physical range; report 8: a feature value array of two bytes.
const std::vector<uint8_t> kRangesAndArrays = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,                    // vendor page, application
    0x85, 0x07,                                                  // report id 7
    0x19, 0x10, 0x29, 0x13, 0x15, 0x00, 0x26, 0xE8, 0x03,        // usages 0x10..0x13, 0..1000
    0x75, 0x10, 0x95, 0x04, 0x81, 0x02,                          // 4 x 16 bits
    0x05, 0x09, 0x19, 0x01, 0x29, 0x08, 0x15, 0x01, 0x25, 0x08,  // buttons 1..8, 1..8
    0x75, 0x08, 0x95, 0x02, 0x81, 0x00,                          // 2 x 8 bits, array
    0x06, 0x00, 0xFF, 0x09, 0x20, 0x15, 0x00, 0x26, 0xFF, 0x00,  // usage 0x20, 0..255
    0x35, 0x00, 0x46, 0xE8, 0x03,                                // physical 0..1000
    0x75, 0x08, 0x95, 0x01, 0x81, 0x02,                          // 1 x 8 bits
    0x85, 0x08, 0x09, 0x30, 0x35, 0x00, 0x45, 0x00, 0x95, 0x02, 0xB1, 0x02,  // feature 8
    0xC0};

TEST(HidReportDescriptorTest, KeyboardVendorInterfaceHasFourCollections) {
    const auto collections = ParseOk(sim::KeyboardVendorDescriptor());
    ASSERT_EQ(collections.size(), 4u);

    const HIDP_CAPS& system = collections[0].Caps();
    EXPECT_EQ(system.UsagePage, 0x0001);
    EXPECT_EQ(system.Usage, 0x0080);
    EXPECT_EQ(system.InputReportByteLength, 2);
    EXPECT_EQ(system.OutputReportByteLength, 0);
    ASSERT_EQ(collections[0].ButtonCaps(HidP_Input).size(), 1u);
    EXPECT_EQ(collections[0].ButtonCaps(HidP_Input)[0].UsageMin, 0x81);
    EXPECT_EQ(collections[0].ButtonCaps(HidP_Input)[0].UsageMax, 0x83);

    const HIDP_CAPS& keys = collections[1].Caps();
    EXPECT_EQ(keys.Usage, 0x0006);
    EXPECT_EQ(keys.InputReportByteLength, 17);
    EXPECT_EQ(keys.NumberInputButtonCaps, 2);
    EXPECT_EQ(collections[1].MaxUsageListLength(HidP_Input, 0x07), 128u);

    const HIDP_CAPS& notify = collections[2].Caps();
    EXPECT_EQ(notify.UsagePage, 0x000C);
    EXPECT_EQ(notify.Usage, 0x0001);
    EXPECT_EQ(notify.InputReportByteLength, 3);
    EXPECT_EQ(notify.NumberInputButtonCaps, 0);
    ASSERT_EQ(notify.NumberInputValueCaps, 1);
    const HIDP_VALUE_CAPS& value = collections[2].ValueCaps(HidP_Input)[0];
    EXPECT_EQ(value.ReportID, 3);
    EXPECT_EQ(value.BitSize, 16);
    EXPECT_EQ(value.LogicalMin, 0);
    EXPECT_EQ(value.LogicalMax, 0xFFFF);

    const HIDP_CAPS& command = collections[3].Caps();
    EXPECT_EQ(command.UsagePage, 0xFF1C);
    EXPECT_EQ(command.Usage, 0x0092);
    EXPECT_EQ(command.InputReportByteLength, 64);
    EXPECT_EQ(command.OutputReportByteLength, 64);
    ASSERT_EQ(command.NumberOutputValueCaps, 1);
    EXPECT_EQ(collections[3].ValueCaps(HidP_Output)[0].ReportCount, 63);
    EXPECT_EQ(collections[3].ValueCaps(HidP_Output)[0].UsageMin, 0x02);
}

TEST(HidReportDescriptorTest, BootKeyboardCountsArrayAsButtons) {
    const auto collections = ParseOk(sim::KeyboardBootDescriptor());
    ASSERT_EQ(collections.size(), 1u);
    const HidPreparsedData& kb = collections[0];
    EXPECT_EQ(kb.Caps().InputReportByteLength, 9);  // 8 bytes and the (absent) id
    EXPECT_EQ(kb.Caps().OutputReportByteLength, 2);
    EXPECT_EQ(kb.Caps().NumberInputButtonCaps, 2);
    EXPECT_EQ(kb.Caps().NumberInputValueCaps, 0);
    EXPECT_EQ(kb.MaxUsageListLength(HidP_Input, 0x07), 14u);  // 8 modifiers + 6 slots
    EXPECT_EQ(kb.MaxUsageListLength(HidP_Output, 0x08), 5u);
    EXPECT_EQ(kb.ReportIds(), std::vector<uint8_t>{0});

    const std::vector<uint8_t> report = {0, 0x02, 0, 0x04, 0x05, 0, 0, 0, 0};
    USAGE usages[14];
    uint32_t count = 14;
    ASSERT_EQ(kb.GetUsages(HidP_Input, 0x07, 0, usages, &count, report), HIDP_STATUS_SUCCESS);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(usages[0], 0xE1);
    EXPECT_EQ(usages[1], 0x04);
    EXPECT_EQ(usages[2], 0x05);

    count = 2;
    EXPECT_EQ(kb.GetUsages(HidP_Input, 0x07, 0, usages, &count, report),
              HIDP_STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, 2u);
    count = 14;
    EXPECT_EQ(kb.GetUsages(HidP_Input, 0x07, 0, usages, &count,
                           std::vector<uint8_t>(report.begin(), report.begin() + 5)),
              HIDP_STATUS_INVALID_REPORT_LENGTH);
}

TEST(HidReportDescriptorTest, MouseValuesAreSignedAndRelative) {
    const auto collections = ParseOk(kMouse);
    ASSERT_EQ(collections.size(), 1u);
    const HidPreparsedData& mouse = collections[0];
    EXPECT_EQ(mouse.Caps().NumberLinkCollectionNodes, 2);
    EXPECT_EQ(mouse.Caps().InputReportByteLength, 5);
    ASSERT_EQ(mouse.ButtonCaps(HidP_Input).size(), 1u);
    EXPECT_EQ(mouse.ButtonCaps(HidP_Input)[0].LinkCollection, 1);
    EXPECT_EQ(mouse.ButtonCaps(HidP_Input)[0].LinkUsage, 0x01);
    ASSERT_EQ(mouse.ValueCaps(HidP_Input).size(), 3u);
    const HIDP_VALUE_CAPS& wheel = mouse.ValueCaps(HidP_Input)[2];
    EXPECT_EQ(wheel.UsageMin, 0x38);
    EXPECT_EQ(wheel.LogicalMin, -127);
    EXPECT_EQ(wheel.LogicalMax, 127);
    EXPECT_FALSE(wheel.IsAbsolute);
    EXPECT_EQ(wheel.ReportCount, 1);

    const std::vector<uint8_t> report = {0, 0x05, 0xFE, 0x03, 0x01};
    uint32_t raw = 0;
    int32_t scaled = 0;
    ASSERT_EQ(mouse.GetUsageValue(HidP_Input, 0x01, 0, 0x30, &raw, report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 0xFEu);
    ASSERT_EQ(mouse.GetScaledUsageValue(HidP_Input, 0x01, 0, 0x30, &scaled, report),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(scaled, -2);
    USAGE usages[3];
    uint32_t count = 3;
    ASSERT_EQ(mouse.GetUsages(HidP_Input, 0x09, 0, usages, &count, report), HIDP_STATUS_SUCCESS);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(usages[1], 3);
    EXPECT_EQ(mouse.GetUsageValue(HidP_Input, 0x01, 0, 0x32, &raw, report),
              HIDP_STATUS_USAGE_NOT_FOUND);
}

TEST(HidReportDescriptorTest, RangesArraysAndScaling) {
    const auto collections = ParseOk(kRangesAndArrays);
    ASSERT_EQ(collections.size(), 1u);
    const HidPreparsedData& data = collections[0];
    EXPECT_EQ(data.Caps().InputReportByteLength, 12);
    EXPECT_EQ(data.Caps().FeatureReportByteLength, 3);
    ASSERT_EQ(data.ValueCaps(HidP_Input).size(), 2u);
    const HIDP_VALUE_CAPS& range = data.ValueCaps(HidP_Input)[0];
    EXPECT_TRUE(range.IsRange);
    EXPECT_EQ(range.UsageMin, 0x10);
    EXPECT_EQ(range.UsageMax, 0x13);
    EXPECT_EQ(range.ReportCount, 4);
    EXPECT_EQ(range.DataIndexMin, 0);
    EXPECT_EQ(range.DataIndexMax, 3);
    ASSERT_EQ(data.ButtonCaps(HidP_Input).size(), 1u);
    EXPECT_EQ(data.MaxUsageListLength(HidP_Input, 0x09), 2u);
    ASSERT_EQ(data.ValueCaps(HidP_Feature).size(), 1u);
    EXPECT_EQ(data.ValueCaps(HidP_Feature)[0].ReportCount, 2);

    // 100, 200, 300, 1000; array slots 3 and 9 (9 lies outside 1..8); physical 51.
    const std::vector<uint8_t> report = {7, 100, 0, 200, 0, 0x2C, 0x01, 0xE8, 0x03, 3, 9, 51};
    uint32_t raw = 0;
    ASSERT_EQ(data.GetUsageValue(HidP_Input, 0xFF00, 0, 0x12, &raw, report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 300u);
    int32_t scaled = 0;
    ASSERT_EQ(data.GetScaledUsageValue(HidP_Input, 0xFF00, 0, 0x20, &scaled, report),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(scaled, 200);
    USAGE usages[2];
    uint32_t count = 2;
    ASSERT_EQ(data.GetUsages(HidP_Input, 0x09, 0, usages, &count, report), HIDP_STATUS_SUCCESS);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(usages[0], 3);

    std::vector<uint8_t> other = report;
    other[0] = 8;
    EXPECT_EQ(data.GetUsageValue(HidP_Input, 0xFF00, 0, 0x12, &raw, other),
              HIDP_STATUS_INCOMPATIBLE_REPORT_ID);
    std::vector<uint8_t> outOfRange = report;
    outOfRange[7] = 0xE9;  // 1001 > logical maximum 1000
    EXPECT_EQ(data.GetScaledUsageValue(HidP_Input, 0xFF00, 0, 0x13, &scaled, outOfRange),
              HIDP_STATUS_VALUE_OUT_OF_RANGE);
}

TEST(HidReportDescriptorTest, MalformedDescriptorsAreRefused) {
    EXPECT_EQ(ParseStatus({0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x26, 0xFF}),  // truncated
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xC0}), HIDP_STATUS_INVALID_PREPARSED_DATA);  // stray end
    EXPECT_EQ(ParseStatus({0x75, 0x08, 0x95, 0x01, 0x81, 0x02}),         // outside a collection
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xA1, 0x01, 0x85, 0x00, 0xC0}),  // report id 0
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xA1, 0x01}), HIDP_STATUS_INVALID_PREPARSED_DATA);  // never closed
    // Items wider than 256 bits and counts above 12288, as the Linux HID core refuses them.
    EXPECT_EQ(ParseStatus({0xA1, 0x01, 0x76, 0x01, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0}),
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xA1, 0x01, 0x75, 0x01, 0x96, 0x01, 0x30, 0x81, 0x02, 0xC0}),
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    // 512 items of 256 bits and the id byte are one byte more than a report may hold.
    EXPECT_EQ(ParseStatus({0xA1, 0x01, 0x76, 0x00, 0x01, 0x96, 0x00, 0x02, 0x81, 0x02, 0xC0}),
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xA1, 0x01, 0xA9, 0x01, 0xA9, 0x01, 0xC0}),  // nested delimiters
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xA1, 0x01, 0xC0, 0xA9, 0x01}),  // a set left open
              HIDP_STATUS_INVALID_PREPARSED_DATA);
    EXPECT_EQ(ParseStatus({0xB4}), HIDP_STATUS_INVALID_PREPARSED_DATA);  // pop without push
    std::vector<HidPreparsedData> none;
    EXPECT_EQ(HidReportDescriptor::Parse({}, &none), HIDP_STATUS_SUCCESS);
    EXPECT_TRUE(none.empty());
}

// Where items interact, the rules are the Linux HID core's.
TEST(HidReportDescriptorTest, ItemsInteractAsTheLinuxHidCoreReadsThem) {
    const std::vector<uint8_t> d = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // vendor application
        // X declared on the vendor page, AC Pan with its own page, then Generic Desktop:
        // the page after the last usage pages X, not AC Pan.
        0x09, 0x30, 0x0B, 0x38, 0x02, 0x0C, 0x00, 0x05, 0x01,        //
        0x15, 0x00, 0x25, 0xFF, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02,  // 0..255 (0xFF unsigned)
        // Rx under a negative minimum: the maximum keeps the sign it was read with.
        0x09, 0x33, 0x15, 0x81, 0x95, 0x01, 0x81, 0x02,  //
        // Rz, an alternative set naming Slider, then Dial: only the first set counts.
        0xA9, 0x01, 0x09, 0x35, 0xA9, 0x00, 0xA9, 0x01, 0x09, 0x36, 0xA9, 0x00, 0x09, 0x37,  //
        0x95, 0x02, 0x81, 0x02, 0xC0};
    const auto collections = ParseOk(d);
    ASSERT_EQ(collections.size(), 1u);
    const auto& caps = collections[0].ValueCaps(HidP_Input);
    ASSERT_EQ(caps.size(), 4u);
    EXPECT_EQ(caps[0].UsagePage, 0x01);
    EXPECT_EQ(caps[0].UsageMin, 0x30);
    EXPECT_EQ(caps[0].LogicalMax, 255);
    EXPECT_EQ(caps[1].UsagePage, 0x0C);
    EXPECT_EQ(caps[1].UsageMin, 0x238);
    EXPECT_EQ(caps[2].UsageMin, 0x33);
    EXPECT_EQ(caps[2].LogicalMin, -127);
    EXPECT_EQ(caps[2].LogicalMax, 255);
    EXPECT_EQ(caps[3].UsageMin, 0x35);
    EXPECT_EQ(caps[3].ReportCount, 2);
    EXPECT_EQ(collections[0].Caps().InputReportByteLength, 6);
}

// Items up to 256 bits wide: a value is read when it fits the reader's type, and only the
// value that does not fit is refused.
TEST(HidReportDescriptorTest, WideValuesReadWhenTheyFit) {
    const std::vector<uint8_t> d = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01,                    //
        0x09, 0x10, 0x15, 0xFF, 0x25, 0x01, 0x75, 0x3F, 0x95, 0x01, 0x81, 0x02,  // 63 bits, -1..1
        0x09, 0x11, 0x15, 0x00, 0x27, 0xFF, 0xFF, 0xFF, 0x7F, 0x75, 0x28, 0x81, 0x02,  // 40 bits
        0x75, 0x01, 0x81, 0x03, 0xC0};
    const auto collections = ParseOk(d);
    ASSERT_EQ(collections.size(), 1u);
    const HidPreparsedData& data = collections[0];
    EXPECT_EQ(data.Caps().InputReportByteLength, 14);
    auto report = [](uint64_t first, uint64_t second) {
        std::vector<uint8_t> bytes(14, 0);
        bytes[0] = 1;
        for (int bit = 0; bit < 103; ++bit) {
            const uint64_t value = bit < 63 ? first >> bit : second >> (bit - 63);
            bytes[1 + bit / 8] |= static_cast<uint8_t>((value & 1) << (bit % 8));
        }
        return bytes;
    };
    uint32_t raw = 0;
    int32_t scaled = 0;
    const auto minusOne = report(~uint64_t{0}, 5);
    ASSERT_EQ(data.GetScaledUsageValue(HidP_Input, 0xFF00, 0, 0x10, &scaled, minusOne),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(scaled, -1);
    EXPECT_EQ(data.GetUsageValue(HidP_Input, 0xFF00, 0, 0x10, &raw, minusOne),
              HIDP_STATUS_BUFFER_TOO_SMALL);
    ASSERT_EQ(data.GetUsageValue(HidP_Input, 0xFF00, 0, 0x11, &raw, minusOne), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 5u);
    const auto wide = report(1, uint64_t{1} << 35);
    EXPECT_EQ(data.GetUsageValue(HidP_Input, 0xFF00, 0, 0x11, &raw, wide),
              HIDP_STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(data.GetScaledUsageValue(HidP_Input, 0xFF00, 0, 0x11, &scaled, wide),
              HIDP_STATUS_VALUE_OUT_OF_RANGE);
    ASSERT_EQ(data.GetUsageValue(HidP_Input, 0xFF00, 0, 0x10, &raw, wide), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 1u);
}

TEST(HidReportDescriptorTest, PushPopRestoresGlobals) {
    // Push, change page and size, pop: the second field uses page 0xFF00 and 8 bits again.
    const std::vector<uint8_t> d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,
                                    0x95, 0x01, 0xA4, 0x05, 0x09, 0x75, 0x01, 0x09, 0x01,
                                    0x81, 0x02, 0xB4, 0x09, 0x05, 0x81, 0x02, 0xC0};
    const auto collections = ParseOk(d);
    ASSERT_EQ(collections.size(), 1u);
    ASSERT_EQ(collections[0].ValueCaps(HidP_Input).size(), 1u);
    EXPECT_EQ(collections[0].ValueCaps(HidP_Input)[0].UsagePage, 0xFF00);
    EXPECT_EQ(collections[0].ValueCaps(HidP_Input)[0].BitSize, 8);
    EXPECT_EQ(collections[0].ButtonCaps(HidP_Input)[0].UsagePage, 0x09);
    EXPECT_EQ(collections[0].Caps().InputReportByteLength, 3);  // 1 + 8 bits + id byte
}

}  // namespace
