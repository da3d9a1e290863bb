#include "sim/sim_headset.h"

namespace sim {
namespace {

constexpr uint8_t kFirstGroup = 0x22;
constexpr uint8_t kSecondGroup = 0x44;
constexpr uint8_t kFirstRegister = 0xAA;
constexpr uint8_t kLastRegister = 0xAF;
constexpr size_t kFirstHalf = 7;
constexpr size_t kDataOffset = 4;
// The log keeps the newest reports only, so a long simulated run stays small.
constexpr size_t kLedReportLimit = 4096;

// Output report 0xFF: 16 bytes after the id.
const std::vector<uint8_t> kLedOutputItems = {
    0x85, kHeadsetLedReportId,  // report id 0xFF
    0x09, 0x03,
    0x75, 0x08,
    0x95, 0x10,
    0x91, 0x02,  // 16 bytes out
};

}  // namespace

SimHeadset::SimHeadset()
    : SimLightAccessory(kHeadsetProductId, kHeadsetLedCount, kLedOutputItems) {}

bool SimHeadset::TakeOtherReport(int, std::span<const uint8_t> report, bool) {
    if (report.empty() || report[0] != kHeadsetLedReportId) {
        return false;
    }
    std::lock_guard<std::mutex> lock(ledMutex_);
    if (ledReports_.size() >= kLedReportLimit) {
        ledReports_.erase(ledReports_.begin());
    }
    ledReports_.emplace_back(report.begin(), report.end());
    if (report.size() < kHeadsetLedReportSize ||
        (report[1] != kFirstGroup && report[1] != kSecondGroup) || report[2] < kFirstRegister ||
        report[2] > kLastRegister) {
        return true;  // ignored, as the headset ignores what it does not know
    }
    LedColours& colours = groups_[report[1] == kFirstGroup ? 0 : 1];
    const size_t channel = (report[2] - kFirstRegister) % 3;
    const bool secondHalf = report[2] - kFirstRegister >= 3;
    const size_t first = secondHalf ? kFirstHalf : 0;
    const size_t count = secondHalf ? kHeadsetLedCount - kFirstHalf : kFirstHalf;
    for (size_t i = 0; i < count; ++i) {
        colours[first + i][channel] = report[kDataOffset + i];
    }
    return true;
}

std::vector<std::vector<uint8_t>> SimHeadset::LedReports() const {
    std::lock_guard<std::mutex> lock(ledMutex_);
    return ledReports_;
}

void SimHeadset::ClearLedReports() {
    std::lock_guard<std::mutex> lock(ledMutex_);
    ledReports_.clear();
}

SimHeadset::LedColours SimHeadset::GroupColours(uint8_t group) const {
    std::lock_guard<std::mutex> lock(ledMutex_);
    if (group == kFirstGroup) {
        return groups_[0];
    }
    return group == kSecondGroup ? groups_[1] : LedColours{};
}

}  // namespace sim
