#pragma once
// Builds well-formed command requests for the simulated keyboard in tests.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "sim/command_report.h"

namespace hid_test {

inline std::vector<uint8_t> CommandRequest(uint8_t command, uint8_t length = 0, uint16_t offset = 0,
                                           std::initializer_list<uint8_t> payload = {}) {
    sim::CommandReport report{};
    report[0] = sim::kCommandReportId;
    report[3] = command;
    report[4] = length;
    report[5] = static_cast<uint8_t>(offset & 0xFF);
    report[6] = static_cast<uint8_t>(offset >> 8);
    size_t at = sim::kCommandPayloadOffset;
    for (uint8_t byte : payload) {
        report[at++] = byte;
    }
    sim::SealCommandReport(report);
    return {report.begin(), report.end()};
}

}  // namespace hid_test
