#include "device/channel/hid_command_report.h"

#include <algorithm>

HidCommandReport HidCommandReport::Request(HidCommandCode code) {
    HidCommandReport report;
    report.bytes[0] = kHidCommandReportId;
    report.bytes[3] = static_cast<uint8_t>(code);
    report.bytes[7] = 0;
    return report;
}

void HidCommandReport::SetPiece(uint8_t length, uint16_t offset) {
    bytes[4] = length;
    bytes[5] = static_cast<uint8_t>(offset & 0xFF);
    bytes[6] = static_cast<uint8_t>(offset >> 8);
}

void HidCommandReport::SetPayload(std::span<const uint8_t> data) {
    const size_t count = std::min(data.size(), kHidPayloadSize);
    std::copy_n(data.begin(), count, bytes.begin() + kHidPayloadOffset);
}

void HidCommandReport::Seal() {
    const uint16_t sum = ComputeReportChecksum(bytes);
    bytes[1] = static_cast<uint8_t>(sum & 0xFF);
    bytes[2] = static_cast<uint8_t>(sum >> 8);
}

bool CommandCarriesPiece(uint8_t code) {
    switch (static_cast<HidCommandCode>(code)) {
        case HidCommandCode::ReadDeviceInfo:
        case HidCommandCode::ReadMemory:
        case HidCommandCode::WriteMemory:
        case HidCommandCode::ReadKeyCodeTable:
        case HidCommandCode::WriteKeyCodeTable:
        case HidCommandCode::WriteKeyColorTable:
        case HidCommandCode::SendLightFrame:
        case HidCommandCode::WriteMacroImage:
        case HidCommandCode::WriteShootImage:
        case HidCommandCode::ReadPowerStatus:
        case HidCommandCode::ReadKeyLightTable:
            return true;
        default:
            return false;
    }
}

bool IsReplyTo(std::span<const uint8_t> request, std::span<const uint8_t> reply) {
    constexpr size_t kCommand = 3;
    constexpr size_t kPieceLength = 4;
    constexpr size_t kPieceEnd = 7;  // length and offset: bytes 4 to 6
    // Every reply carries its status byte; a piece's reply carries the piece as well, or
    // its missing bytes would be taken for data.
    if (request.size() < kPieceEnd || reply.size() < kHidPayloadOffset ||
        reply[kCommand] != request[kCommand]) {
        return false;
    }
    if (!CommandCarriesPiece(request[kCommand]))
        return true;
    if (reply.size() < kHidPayloadOffset + request[kPieceLength])
        return false;
    // Keyboards that echo the piece tell a late reply to another piece from this one's;
    // others leave those bytes zero, and then only the command code can tell.
    const auto echo = reply.subspan(kCommand + 1, kPieceEnd - kCommand - 1);
    return std::equal(echo.begin(), echo.end(), request.begin() + kCommand + 1) ||
           std::all_of(echo.begin(), echo.end(), [](uint8_t b) { return b == 0; });
}

uint16_t ComputeReportChecksum(std::span<const uint8_t> report) {
    uint32_t sum = 0;
    for (size_t i = 3; i < std::min(report.size(), kHidReportSize); ++i)
        sum += report[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

std::wstring FormatReportTraceLine(std::span<const uint8_t> bytes32) {
    std::wstring line;
    line.reserve(32 * 3 + 8);
    for (size_t i = 0; i < 32; ++i) {
        if (i > 0) {
            // Three blanks between the first four groups, two between the rest.
            if (i % 4 != 0) {
                line += L' ';
            } else {
                line += (i <= 12) ? L"   " : L"  ";
            }
        }
        static constexpr wchar_t kDigits[] = L"0123456789abcdef";
        const unsigned value = i < bytes32.size() ? bytes32[i] : 0u;
        line += kDigits[value >> 4];
        line += kDigits[value & 0xF];
    }
    return line;
}
