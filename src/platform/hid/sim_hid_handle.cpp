#include "platform/hid/sim_hid_handle.h"

#include <poll.h>

#include <algorithm>

#include "platform/hid/sim_bus_core.h"

namespace platform::hid {

SimHidHandle::SimHidHandle(std::shared_ptr<SimBusCore> core, std::shared_ptr<SimHidDevice> device,
                           size_t interfaceIndex, size_t collectionIndex, uint64_t generation,
                           HidOpenFlags flags)
    : core_(std::move(core)),
      device_(std::move(device)),
      interfaceIndex_(interfaceIndex),
      collectionIndex_(collectionIndex),
      generation_(generation),
      flags_(flags) {
    attributes_.VendorID = device_->VendorId();
    attributes_.ProductID = device_->ProductId();
    attributes_.VersionNumber = device_->Version();
}

SimHidHandle::~SimHidHandle() {
    Close();
}

const HidPreparsedData& SimHidHandle::PreparsedData() const {
    return device_->Collections(interfaceIndex_)[collectionIndex_];
}

void SimHidHandle::Close() {
    gate_.Close();
    std::call_once(unregistered_, [this] { core_->Unregister(this); });
}

bool SimHidHandle::Accepts(const SimHidDevice* device, uint64_t generation, size_t interfaceIndex,
                           uint8_t reportId) const {
    return flags_.read && device == device_.get() && generation == generation_ &&
           interfaceIndex == interfaceIndex_ &&
           PreparsedData().ReportByteLength(HidP_Input, reportId) != 0;
}

void SimHidHandle::Push(const std::vector<uint8_t>& report) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (queue_.size() >= kQueueLimit) {
            queue_.pop_front();
        }
        queue_.push_back(report);
    }
    // Told once the lock is let go, as a reader takes it first thing when it wakes.
    available_.Set();
}

void SimHidHandle::MarkGone() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        gone_ = true;
    }
    available_.Set();
}

HidIoResult SimHidHandle::Read(std::span<uint8_t> buffer, uint32_t timeoutMs,
                               HidCancelEvent* cancel) {
    HidTransferGate::Ticket ticket(gate_);
    if (!ticket || !flags_.read) {
        return {HidIoStatus::kFailed, 0};
    }
    const HidDeadline deadline(timeoutMs);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (gone_) {
                return {HidIoStatus::kFailed, 0};
            }
            if (!queue_.empty()) {
                const std::vector<uint8_t> report = std::move(queue_.front());
                queue_.pop_front();
                const size_t n = std::min(report.size(), buffer.size());
                std::copy_n(report.begin(), n, buffer.begin());
                return {HidIoStatus::kOk, n};
            }
        }
        const HidTransferGate::Wake wake = gate_.Wait(available_.fd(), POLLIN, cancel, deadline);
        if (wake != HidTransferGate::Wake::kReady) {
            return UnreadyResult(wake);
        }
        available_.TryConsume();
    }
}

bool SimHidHandle::SendOutput(std::span<const uint8_t> report, bool viaControl, size_t* sent) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (gone_) {
            return false;
        }
    }
    const std::span<const uint8_t> output = PreparsedData().OutputReport(report);
    if (!flags_.write || output.empty() || device_->FailsWrites()) {
        return false;
    }
    device_->ReceiveOutputReport(device_->Interfaces()[interfaceIndex_].number, output, viaControl);
    *sent = output.size();
    return true;
}

HidIoResult SimHidHandle::Write(std::span<const uint8_t> report, uint32_t /*timeoutMs*/,
                                HidCancelEvent* cancel) {
    HidTransferGate::Ticket ticket(gate_);
    if (!ticket) {
        return {HidIoStatus::kFailed, 0};
    }
    // The simulated device takes a report at once; only a cancel already signalled can
    // end the write first.
    switch (gate_.Wait(-1, 0, cancel, HidDeadline(0))) {
        case HidTransferGate::Wake::kCancelled:
            return {HidIoStatus::kCancelled, 0};
        case HidTransferGate::Wake::kTimeout:
            break;
        default:
            return {HidIoStatus::kFailed, 0};
    }
    size_t sent = 0;
    if (!SendOutput(report, false, &sent)) {
        return {HidIoStatus::kFailed, 0};
    }
    return {HidIoStatus::kOk, sent};
}

bool SimHidHandle::SetOutputReport(std::span<const uint8_t> report) {
    HidTransferGate::Ticket ticket(gate_);
    size_t sent = 0;
    return ticket && SendOutput(report, true, &sent);
}

}  // namespace platform::hid
