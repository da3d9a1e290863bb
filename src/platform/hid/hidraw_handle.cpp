#include "platform/hid/hidraw_handle.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace platform::hid {

HidrawHandle::HidrawHandle(int fd, HIDD_ATTRIBUTES attributes, HidPreparsedData preparsed,
                           HidOpenFlags flags)
    : fd_(fd),
      attributes_(attributes),
      preparsed_(std::move(preparsed)),
      flags_(flags),
      writer_(fd) {}

HidrawHandle::~HidrawHandle() {
    Close();
}

void HidrawHandle::Close() {
    gate_.Close();
    std::call_once(closed_, [this] {
        writer_.Stop();  // the node stays open until the kernel is done with its report
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    });
}

bool HidrawHandle::Numbered() const {
    return !preparsed_.UsesReportId(0);
}

HidIoResult HidrawHandle::Read(std::span<uint8_t> buffer, uint32_t timeoutMs,
                               HidCancelEvent* cancel) {
    HidTransferGate::Ticket ticket(gate_);
    if (!ticket || !flags_.read || fd_ < 0) {
        return {HidIoStatus::kFailed, 0};
    }
    const HidDeadline deadline(timeoutMs);
    std::vector<uint8_t> report(kMaxReportByteLength + 1);
    const size_t lead = Numbered() ? 0 : 1;  // unnumbered reports read with a leading 0
    for (;;) {
        const HidTransferGate::Wake wake = gate_.Wait(fd_, POLLIN, cancel, deadline);
        if (wake != HidTransferGate::Wake::kReady) {
            return UnreadyResult(wake);
        }
        const ssize_t got = read(fd_, report.data() + lead, report.size() - lead);
        if (got < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return {HidIoStatus::kFailed, 0};
        }
        if (got == 0) {
            return {HidIoStatus::kFailed, 0};  // end of file: the node went away
        }
        report[0] = lead != 0 ? 0 : report[0];
        const size_t length = static_cast<size_t>(got) + lead;
        if (preparsed_.ReportByteLength(HidP_Input, report[0]) == 0) {
            continue;  // a report of another collection of the same interface
        }
        const size_t n = std::min(length, buffer.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return {HidIoStatus::kOk, n};
    }
}

HidIoResult HidrawHandle::Write(std::span<const uint8_t> report, uint32_t timeoutMs,
                                HidCancelEvent* cancel) {
    HidTransferGate::Ticket ticket(gate_);
    // The kernel takes an output report with its id first, 0 when the collection numbers
    // no reports (only reads leave that byte out).
    const std::span<const uint8_t> wire = preparsed_.OutputReport(report);
    if (!ticket || !flags_.write || fd_ < 0 || wire.empty()) {
        return {HidIoStatus::kFailed, 0};
    }
    return writer_.Put(HidrawWriter::Path::kInterrupt, wire, gate_, cancel, HidDeadline(timeoutMs));
}

bool HidrawHandle::SetOutputReport(std::span<const uint8_t> report) {
    HidTransferGate::Ticket ticket(gate_);
    const std::span<const uint8_t> wire = preparsed_.OutputReport(report);
    if (!ticket || !flags_.write || fd_ < 0 || wire.empty()) {
        return false;
    }
    return writer_
        .Put(HidrawWriter::Path::kControl, wire, gate_, nullptr,
             HidDeadline(kOutputReportTimeoutMs))
        .ok();
}

}  // namespace platform::hid
