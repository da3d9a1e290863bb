#pragma once
// The base of every simulated device on the sim bus: its identity, its interfaces with
// their report descriptors, the log of every report written to it, and the way it sends
// input reports back. Models (sim/) derive from it and answer OnOutputReport.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/hid/hid_report_descriptor.h"

namespace platform::hid {

class SimBusCore;

struct SimHidInterface {
    int number = 0;  // the USB interface number; -1 for a device without interfaces
    std::vector<uint8_t> descriptor;
};

struct SimReceivedReport {
    int interfaceNumber = 0;
    bool viaControl = false;  // SetOutputReport rather than Write
    std::vector<uint8_t> bytes;
};

class SimHidDevice {
  public:
    SimHidDevice(uint16_t vendorId, uint16_t productId, uint16_t version,
                 std::vector<SimHidInterface> interfaces);
    virtual ~SimHidDevice();
    SimHidDevice(const SimHidDevice&) = delete;
    SimHidDevice& operator=(const SimHidDevice&) = delete;

    uint16_t VendorId() const { return vendorId_; }
    uint16_t ProductId() const { return productId_; }
    uint16_t Version() const { return version_; }
    const std::vector<SimHidInterface>& Interfaces() const { return interfaces_; }
    // The top-level collections of interface `index` (position in Interfaces()).
    const std::vector<HidPreparsedData>& Collections(size_t index) const;

    bool IsPlugged() const;
    // Every open for reading or writing is refused while set (the device is held
    // elsewhere); a presence probe with no access still finds it.
    void SetRefuseOpen(bool refuse);
    bool RefusesOpen() const;
    // Every Write and SetOutputReport fails while set.
    void SetFailWrites(bool fail);
    bool FailsWrites() const;

    // Sends an input report (report id first) on `interfaceNumber`, now or after
    // `delayMs`. False when the device is not plugged in.
    bool SendInputReport(int interfaceNumber, std::vector<uint8_t> report, uint32_t delayMs = 0);
    // Pulls the device out of its bus, now or after `delayMs`.
    void UnplugSelf(uint32_t delayMs = 0);

    // The reports received, oldest first; only the newest kReceivedLogLimit are kept, so
    // that a long run on the simulated bus does not grow without bound.
    static constexpr size_t kReceivedLogLimit = 8192;
    std::vector<SimReceivedReport> ReceivedReports() const;
    // Every report received since the last clearing, including those no longer kept.
    size_t ReceivedCount() const;
    void ClearReceivedReports();
    // True once at least `count` reports were received, false after `timeoutMs`.
    bool WaitForReceivedCount(size_t count, uint32_t timeoutMs) const;

    // Called by the bus for every report written to the device, on the writer's thread.
    void ReceiveOutputReport(int interfaceNumber, std::span<const uint8_t> report, bool viaControl);

  protected:
    // The model's answer to one received report. Runs with no bus lock held.
    virtual void OnOutputReport(int interfaceNumber, std::span<const uint8_t> report,
                                bool viaControl) = 0;

  private:
    friend class SimBusCore;

    const uint16_t vendorId_;
    const uint16_t productId_;
    const uint16_t version_;
    const std::vector<SimHidInterface> interfaces_;
    std::vector<std::vector<HidPreparsedData>> collections_;

    mutable std::mutex mutex_;
    mutable std::condition_variable received_;
    std::deque<SimReceivedReport> log_;
    size_t receivedCount_ = 0;
    std::weak_ptr<SimBusCore> bus_;
    uint64_t generation_ = 0;
    bool refuseOpen_ = false;
    bool failWrites_ = false;
};

}  // namespace platform::hid
