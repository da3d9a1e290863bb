#pragma once
// The lit mouse pad: lights only, its stored settings in the shared profile record, its
// light frames through the command protocol like the base device, a capability block read
// when it starts.

#include "device/onboard/light_device.h"
#include "profile/basic_profiledata.h"

class CVornalixMousePadDevice : public COnboardLightDevice {
  public:
    static constexpr int kMousePadKind = 3;

    CVornalixMousePadDevice();
    ~CVornalixMousePadDevice() override;

    LPCTSTR GetClass() const override;

    void InitPage() override;
    void StartDevice() override;
    int LoadProfile() override;

    // Reads the capability block between the session commands; nothing while closed.
    void ReadCapabilities(int unused);
    const DeviceInfoBlock& Capabilities() const { return capabilities_; }
    CBasicProfiledata& Profile() override { return profile_; }

    // The page's controls are bound by the page builder.
    virtual void BuildDevicePage();

  private:
    CBasicProfiledata profile_;
};

DuiLib::CControlUI* CreateMousePadDevice();
