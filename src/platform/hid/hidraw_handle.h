#pragma once
// An open collection of a hidraw node. The node carries every collection of its
// interface, so reads drop the reports whose id belongs to another collection.

#include <mutex>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hid_transfer_gate.h"

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
    bool SetOutputReport(std::span<const uint8_t> report) override;
    void Cancel() override { gate_.Cancel(); }
    void Close() override;

  private:
    bool Numbered() const;

    int fd_;
    HIDD_ATTRIBUTES attributes_;
    HidPreparsedData preparsed_;
    HidOpenFlags flags_;
    HidTransferGate gate_;
    std::once_flag closed_;
};

}  // namespace platform::hid
