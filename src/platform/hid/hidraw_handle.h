#pragma once
// An open collection of a hidraw node. The node carries every collection of its
// interface, so reads drop the reports whose id belongs to another collection. Output
// reports go through a writer thread (hidraw_writer.h): the kernel would hold the caller
// up to its own USB time-out, past the transfer's time-out and cancel.

#include <mutex>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hid_transfer_gate.h"
#include "platform/hid/hidraw_writer.h"

namespace platform::hid {

class HidrawHandle final : public HidHandle {
  public:
    // Takes ownership of `fd` (-1 for a presence probe).
    HidrawHandle(int fd, HIDD_ATTRIBUTES attributes, HidPreparsedData preparsed,
                 HidOpenFlags flags);
    ~HidrawHandle() override;

    const HIDD_ATTRIBUTES& Attributes() const override { return attributes_; }
    const HidPreparsedData& PreparsedData() const override { return preparsed_; }
    HidIoResult Read(std::span<uint8_t> buffer, uint32_t timeoutMs,
                     HidCancelEvent* cancel) override;
    HidIoResult Write(std::span<const uint8_t> report, uint32_t timeoutMs,
                      HidCancelEvent* cancel) override;
    // Waits at most kOutputReportTimeoutMs.
    bool SetOutputReport(std::span<const uint8_t> report) override;
    void Cancel() override { gate_.Cancel(); }
    void Close() override;

    static constexpr uint32_t kOutputReportTimeoutMs = 1000;

  private:
    bool Numbered() const;

    int fd_;
    HIDD_ATTRIBUTES attributes_;
    HidPreparsedData preparsed_;
    HidOpenFlags flags_;
    HidTransferGate gate_;
    HidrawWriter writer_;
    std::once_flag closed_;
};

}  // namespace platform::hid
