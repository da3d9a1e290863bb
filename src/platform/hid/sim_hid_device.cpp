#include "platform/hid/sim_hid_device.h"

#include "platform/hid/sim_bus_core.h"

namespace platform::hid {

SimHidDevice::SimHidDevice(uint16_t vendorId, uint16_t productId, uint16_t version,
                           std::vector<SimHidInterface> interfaces)
    : vendorId_(vendorId),
      productId_(productId),
      version_(version),
      interfaces_(std::move(interfaces)) {
    for (const SimHidInterface& iface : interfaces_) {
        std::vector<HidPreparsedData> parsed;
        if (HidReportDescriptor::Parse(iface.descriptor, &parsed) != HIDP_STATUS_SUCCESS) {
            parsed.clear();  // a model with a broken descriptor shows no collection
        }
        collections_.push_back(std::move(parsed));
    }
}

SimHidDevice::~SimHidDevice() = default;

const std::vector<HidPreparsedData>& SimHidDevice::Collections(size_t index) const {
    static const std::vector<HidPreparsedData> kNone;
    return index < collections_.size() ? collections_[index] : kNone;
}

bool SimHidDevice::IsPlugged() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !bus_.expired();
}

void SimHidDevice::SetRefuseOpen(bool refuse) {
    std::shared_ptr<SimBusCore> bus;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        refuseOpen_ = refuse;
        bus = bus_.lock();
    }
    // After the change, so that whoever sees the stamp move sees the new refusal.
    if (bus) {
        bus->NoteChange();
    }
}

bool SimHidDevice::RefusesOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return refuseOpen_;
}

void SimHidDevice::SetFailWrites(bool fail) {
    std::lock_guard<std::mutex> lock(mutex_);
    failWrites_ = fail;
}

bool SimHidDevice::FailsWrites() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failWrites_;
}

bool SimHidDevice::SendInputReport(int interfaceNumber, std::vector<uint8_t> report,
                                   uint32_t delayMs) {
    std::shared_ptr<SimBusCore> bus;
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bus = bus_.lock();
        generation = generation_;
    }
    if (!bus) {
        return false;
    }
    bus->Deliver(this, generation, interfaceNumber, std::move(report), delayMs);
    return true;
}

void SimHidDevice::UnplugSelf(uint32_t delayMs) {
    std::shared_ptr<SimBusCore> bus;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bus = bus_.lock();
    }
    if (bus) {
        bus->Unplug(this, delayMs);
    }
}

std::vector<SimReceivedReport> SimHidDevice::ReceivedReports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {log_.begin(), log_.end()};
}

size_t SimHidDevice::ReceivedCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return receivedCount_;
}

void SimHidDevice::ClearReceivedReports() {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
    receivedCount_ = 0;
}

bool SimHidDevice::WaitForReceivedCount(size_t count, uint32_t timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return received_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return receivedCount_ >= count; });
}

void SimHidDevice::ReceiveOutputReport(int interfaceNumber, std::span<const uint8_t> report,
                                       bool viaControl) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (log_.size() >= kReceivedLogLimit) {
            log_.pop_front();
        }
        log_.push_back({interfaceNumber, viaControl, {report.begin(), report.end()}});
        ++receivedCount_;
        received_.notify_all();
    }
    OnOutputReport(interfaceNumber, report, viaControl);
}

}  // namespace platform::hid
