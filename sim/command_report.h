#pragma once
// The 64-byte command report as the simulated firmware reads and answers it:
// [0] report id 4, [1..2] checksum (sum of bytes 3..63, little-endian), [3] command,
// [4] payload length (at most 56), [5..6] offset, [7] status in replies, [8..63] payload.

#include <array>
#include <cstdint>
#include <span>

namespace sim {

inline constexpr uint8_t kCommandReportId = 0x04;
inline constexpr size_t kCommandReportSize = 64;
inline constexpr size_t kCommandPayloadOffset = 8;
inline constexpr size_t kCommandPayloadSize = 56;

inline constexpr uint8_t kStatusOk = 0x00;
inline constexpr uint8_t kStatusErrorFF = 0xFF;
inline constexpr uint8_t kStatusErrorFE = 0xFE;

using CommandReport = std::array<uint8_t, kCommandReportSize>;

uint16_t CommandChecksum(std::span<const uint8_t> report);
// Writes the checksum of bytes 3..63 into bytes 1..2.
void SealCommandReport(CommandReport& report);

struct CommandRequest {
    uint8_t command = 0;
    uint8_t length = 0;
    uint16_t offset = 0;
    std::span<const uint8_t> payload;  // the 56 payload bytes as sent
};

// False when the report is not a well-formed request (size, id, checksum, length).
bool DecodeCommandRequest(std::span<const uint8_t> report, CommandRequest* request);

}  // namespace sim
