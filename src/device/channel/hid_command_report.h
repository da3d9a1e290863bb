#pragma once
// The 64-byte report of the device protocol, in both directions. Multi-byte fields are
// little-endian.
//
//   byte 0     report id (0x04 in requests)
//   bytes 1-2  checksum of bytes 3..63 as sent
//   byte 3     command code (echoed by the reply)
//   byte 4     payload bytes in this report (at most 56)
//   bytes 5-6  offset in the memory or table the command addresses
//   byte 7     0 in requests; status in replies (0xFF and 0xFE are errors)
//   bytes 8-63 payload

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class HidCommandCode : uint8_t {
    BeginSession = 0x01,
    EndSession = 0x02,
    ReadDeviceInfo = 0x03,
    ReadMemory = 0x05,
    WriteMemory = 0x06,
    ReadKeyCodeTable = 0x07,
    WriteKeyCodeTable = 0x09,
    WriteKeyColorTable = 0x0B,
    SendLightFrame = 0x12,
    WriteMacroImage = 0x15,
    WriteShootImage = 0x17,
    ReadPowerStatus = 0x1A,
    ReadKeyLightTable = 0x1B,
    TakeLightControl = 0x1C,
    QueryDeviceStatus = 0xAA,
};

inline constexpr size_t kHidReportSize = 64;
inline constexpr size_t kHidPayloadOffset = 8;
inline constexpr size_t kHidPayloadSize = 56;
inline constexpr uint8_t kHidCommandReportId = 0x04;
inline constexpr uint8_t kHidStatusErrorFF = 0xFF;
inline constexpr uint8_t kHidStatusErrorFE = 0xFE;

struct HidCommandReport {
    std::array<uint8_t, kHidReportSize> bytes{};

    // A cleared request for `code`.
    static HidCommandReport Request(HidCommandCode code);

    // Sets the piece length and offset fields; the payload stays as it is.
    void SetPiece(uint8_t length, uint16_t offset);
    // Copies at most 56 bytes into the payload, leaving the bytes behind them unchanged.
    void SetPayload(std::span<const uint8_t> data);
    // Writes the checksum; call after everything else is in place.
    void Seal();

    uint8_t ReportId() const { return bytes[0]; }
    uint16_t Checksum() const { return ReadU16(1); }
    uint8_t Command() const { return bytes[3]; }
    uint8_t Length() const { return bytes[4]; }
    uint16_t Offset() const { return ReadU16(5); }
    uint8_t Status() const { return bytes[7]; }
    std::span<const uint8_t, kHidPayloadSize> Payload() const {
        return std::span<const uint8_t, kHidPayloadSize>(bytes.data() + kHidPayloadOffset,
                                                         kHidPayloadSize);
    }

  private:
    uint16_t ReadU16(size_t at) const {
        return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
};

// Whether `code` addresses a piece of memory or of a table, so that its requests carry a
// length and an offset (bytes 4 to 6) that the reply echoes.
bool CommandCarriesPiece(uint8_t code);
// Whether `reply` (the bytes received) answers `request`: it holds the status byte, echoes
// the command code and, for a command that carries a piece, is long enough to carry the
// piece and carries in bytes 4 to 6 either the piece's length and offset or zeros (some
// keyboards do not echo them). A late reply that echoes an earlier piece of the same
// command thus never answers a later one; a late reply without the echo cannot be told
// apart, which is why the channel drops what is waiting before each request.
bool IsReplyTo(std::span<const uint8_t> request, std::span<const uint8_t> reply);

// Sum of bytes 3..63 modulo 65536; shorter input counts the missing bytes as zero.
uint16_t ComputeReportChecksum(std::span<const uint8_t> report);

// One trace line: 32 bytes as hexadecimal pairs in eight groups of four. Missing bytes
// print as 00.
std::wstring FormatReportTraceLine(std::span<const uint8_t> bytes32);
