#include <gtest/gtest.h>

#include "device/device_info_block.h"
#include "device/hid_command_report.h"

namespace {

TEST(HidCommandReport, BeginSessionChecksumCoversOnlyTheCommand) {
    HidCommandReport report = HidCommandReport::Request(HidCommandCode::BeginSession);
    report.Seal();
    EXPECT_EQ(report.bytes[0], 0x04);
    EXPECT_EQ(report.bytes[1], 0x01);
    EXPECT_EQ(report.bytes[2], 0x00);
    EXPECT_EQ(report.Command(), 0x01);
}

TEST(HidCommandReport, PieceFieldsAreLittleEndianAndChecksumWraps) {
    HidCommandReport report = HidCommandReport::Request(HidCommandCode::WriteMemory);
    std::vector<uint8_t> payload(60, 0xFF);
    report.SetPayload(payload);  // only 56 fit
    report.SetPiece(56, 0x1234);
    report.Seal();
    EXPECT_EQ(report.bytes[5], 0x34);
    EXPECT_EQ(report.bytes[6], 0x12);
    EXPECT_EQ(report.Offset(), 0x1234);
    const uint32_t sum = 0x06 + 56 + 0x34 + 0x12 + 56 * 0xFF;
    EXPECT_EQ(report.Checksum(), sum & 0xFFFF);
    EXPECT_EQ(ComputeReportChecksum(report.bytes), report.Checksum());
}

TEST(HidCommandReport, TraceLineGroupsBytesInFours) {
    std::vector<uint8_t> bytes(32);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 9);
    EXPECT_EQ(FormatReportTraceLine(bytes),
              L"00 09 12 1b   24 2d 36 3f   48 51 5a 63   6c 75 7e 87  90 99 a2 ab  b4 bd c6 cf  "
              L"d8 e1 ea f3  fc 05 0e 17");
    // A short reply pads with zeros.
    EXPECT_EQ(FormatReportTraceLine(std::span<const uint8_t>()).substr(0, 14), L"00 00 00 00   ");
}

TEST(DeviceInfoBlock, NamedFieldsReadTheirBytes) {
    DeviceInfoBlock block;
    block.bytes[5] = 126;
    block.bytes[6] = 32;
    block.bytes[12] = 0x70;
    block.bytes[13] = 0x17;
    block.bytes[14] = 50;
    EXPECT_EQ(block.LedCount(), 126);
    EXPECT_EQ(block.MacroMemoryUnits(), 32);
    EXPECT_EQ(block.MaxDpiSliderValue(), 6000);
    EXPECT_EQ(block.MinDpiValue(), 50);
}

}  // namespace
