#pragma once
// An open collection of a simulated device: its own input queue, transfers that wait
// with poll() like the hidraw ones, and Close that waits for the last transfer.

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hid_transfer_gate.h"
#include "platform/hid/sim_hid_device.h"

namespace platform::hid {

class SimBusCore;

class SimHidHandle final : public HidHandle {
  public:
    // Input reports a handle keeps before the oldest is dropped.
    static constexpr size_t kQueueLimit = 32;

    SimHidHandle(std::shared_ptr<SimBusCore> core, std::shared_ptr<SimHidDevice> device,
                 size_t interfaceIndex, size_t collectionIndex, uint64_t generation,
                 HidOpenFlags flags);
    ~SimHidHandle() override;

    const HIDD_ATTRIBUTES& Attributes() const override { return attributes_; }
    const HidPreparsedData& PreparsedData() const override;
    HidIoResult Read(std::span<uint8_t> buffer, uint32_t timeoutMs,
                     HidCancelEvent* cancel) override;
    HidIoResult Write(std::span<const uint8_t> report, uint32_t timeoutMs,
                      HidCancelEvent* cancel) override;
    bool SetOutputReport(std::span<const uint8_t> report) override;
    void Cancel() override { gate_.Cancel(); }
    void Close() override;

    // Called by the bus core, under its lock.
    const SimHidDevice* Device() const { return device_.get(); }
    size_t InterfaceIndex() const { return interfaceIndex_; }
    size_t CollectionIndex() const { return collectionIndex_; }
    const HidOpenFlags& Flags() const { return flags_; }
    bool Accepts(const SimHidDevice* device, uint64_t generation, size_t interfaceIndex,
                 uint8_t reportId) const;
    void Push(const std::vector<uint8_t>& report);
    void MarkGone();

  private:
    bool SendOutput(std::span<const uint8_t> report, bool viaControl, size_t* sent);

    std::shared_ptr<SimBusCore> core_;
    std::shared_ptr<SimHidDevice> device_;
    const size_t interfaceIndex_;
    const size_t collectionIndex_;
    const uint64_t generation_;
    const HidOpenFlags flags_;
    HIDD_ATTRIBUTES attributes_;
    HidTransferGate gate_;
    HidCancelEvent available_;
    std::mutex mutex_;
    std::deque<std::vector<uint8_t>> queue_;
    bool gone_ = false;
    std::once_flag unregistered_;
};

}  // namespace platform::hid
