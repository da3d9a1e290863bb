#include "sim/command_report.h"

namespace sim {

uint16_t CommandChecksum(std::span<const uint8_t> report) {
    uint32_t sum = 0;
    for (size_t i = 3; i < report.size() && i < kCommandReportSize; ++i) {
        sum += report[i];
    }
    return static_cast<uint16_t>(sum);
}

void SealCommandReport(CommandReport& report) {
    const uint16_t sum = CommandChecksum(report);
    report[1] = static_cast<uint8_t>(sum & 0xFF);
    report[2] = static_cast<uint8_t>(sum >> 8);
}

bool DecodeCommandRequest(std::span<const uint8_t> report, CommandRequest* request) {
    if (report.size() < kCommandReportSize || report[0] != kCommandReportId) {
        return false;
    }
    const uint16_t sent = static_cast<uint16_t>(report[1] | (report[2] << 8));
    if (sent != CommandChecksum(report) || report[4] > kCommandPayloadSize) {
        return false;
    }
    request->command = report[3];
    request->length = report[4];
    request->offset = static_cast<uint16_t>(report[5] | (report[6] << 8));
    request->payload = report.subspan(kCommandPayloadOffset, kCommandPayloadSize);
    return true;
}

}  // namespace sim
