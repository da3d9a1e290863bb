#pragma once
// What a device needs of the battery display of its page: the display lives with the
// application shell, which builds on the device layer, so the device reaches it through
// this interface only.

#include <cstdint>

class IDevicePowerView {
  public:
    virtual void ShowPowerLayout(bool show) = 0;
    // Shows one power state block (at most 64 bytes are looked at).
    virtual void UpdatePowerReport(const uint8_t* block, uint32_t length) = 0;

  protected:
    ~IDevicePowerView() = default;
};
