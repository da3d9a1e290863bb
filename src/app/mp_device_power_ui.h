#pragma once
// The battery panel of a device that reports power: level as a bar and a percentage, the
// charge state, the wireless mark and, on the mouse pad, the phone lying on it. It only
// displays what the device's power poll hands it.

#include <cstdint>

#include "device/page/device_power_view.h"
#include "duilib/ui_layouts.h"

namespace DuiLib {
class CLabelUI;
class CProgressUI;
}  // namespace DuiLib

class CMpDevicePowerUI : public DuiLib::CHorizontalLayoutUI, public IDevicePowerView {
  public:
    static constexpr uint32_t kBlockBufferSize = 64;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    bool Activate() override;
    void DoEvent(DuiLib::TEventUI& event) override;

    void SetDeviceKind(int kind, int subKind);
    int GetDeviceKind() const { return deviceKind_; }
    void ShowPowerLayout(bool show) override;
    void UpdatePowerReport(const uint8_t* block, uint32_t length) override;

  private:
    DuiLib::CControlUI* Child(DuiLib::CControlUI*& cache, const wchar_t* name);
    void ShowChargeState(uint8_t state, bool wireless, DuiLib::CControlUI* status,
                         DuiLib::CControlUI* progress);
    void ShowPhoneType(uint8_t phoneType, DuiLib::CControlUI* phone);

    DuiLib::CControlUI* powerLayout_ = nullptr;
    DuiLib::CControlUI* powerValue_ = nullptr;
    DuiLib::CControlUI* wirelessLogo_ = nullptr;
    DuiLib::CControlUI* powerStatus_ = nullptr;
    DuiLib::CControlUI* powerProgress_ = nullptr;
    DuiLib::CControlUI* phoneType_ = nullptr;
    int deviceKind_ = 0;
    int subKind_ = 0;
};

DuiLib::CControlUI* CreateMpDevicePowerUI();
