#pragma once
// One entry of the device list: the option that selects the device's page, the option
// that marks it for light synchronisation and its name. The entry is also its device's
// clock on the UI thread: starting it, streaming its LED frames, re-reading its settings
// and polling its power state all run as one-shot timers of the entry that re-arm
// themselves.

#include "duilib/ui_layouts.h"

class CVornalixUSBDevice;

namespace DuiLib {
class COptionUI;
class CLabelUI;
}  // namespace DuiLib

class CDeviceOptionUI : public DuiLib::CHorizontalLayoutUI, public DuiLib::IMessageFilterUI {
  public:
    static constexpr UINT kFrameTimer = 1000;
    static constexpr UINT kStartTimer = 1001;
    static constexpr UINT kResyncTimer = 1002;
    static constexpr UINT kSpareTimer1003 = 1003;
    static constexpr UINT kSpareTimer1004 = 1004;
    static constexpr UINT kPowerTimer = 1005;
    static constexpr UINT kFramePeriodMs = 50;
    static constexpr UINT kFirstFrameDelayMs = 5;
    static constexpr UINT kStartDelayMs = 500;
    static constexpr UINT kPowerPeriodMs = 5000;

    CDeviceOptionUI();
    ~CDeviceOptionUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    bool Activate() override;
    void SetVisible(bool bVisible = true) override;
    void DoEvent(DuiLib::TEventUI& event) override;

    void SetDeviceKind(int kind, int subKind);
    int GetDeviceKind() const { return deviceKind_; }
    int GetDeviceSubKind() const { return subKind_; }
    void ShowSyncOption(bool show);
    void SetSyncSelected(bool selected);
    bool IsSyncSelected();
    void SetSelected(bool selected);
    bool IsSelected();
    void SetOptionGroup(LPCTSTR group);
    void BindTab(LPCTSTR layoutName, int index);
    int GetBindTabIndex();
    // Empty when the page option is missing.
    DuiLib::CDuiString GetBindTabName();
    void SetPowerSwitch(LPCTSTR name, int index);
    DuiLib::CDuiString GetPowerSwitchName() const { return powerSwitchName_; }
    int GetPowerSwitchIndex() const { return powerSwitchIndex_; }
    void SetNameText(LPCTSTR text);
    void SetDevice(CVornalixUSBDevice* device);
    CVornalixUSBDevice* GetDevice() const { return device_; }
    void SetPreviewControl(DuiLib::CControlUI* control) { previewControl_ = control; }
    bool IsShown() const { return shown_; }
    void ArmStartTimer();
    // The window being shown again or restored: the device's page takes the LED colours
    // of now before the window is drawn (its frames left a page out of sight alone).
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

  private:
    // Once per coming into sight: the preview of now and the frames that rested.
    void WindowSightChanged();
    void OnDeviceTimer(UINT id);
    void OnFrameTimer();
    void OnStartTimer();
    void OnPowerTimer();
    bool Arm(UINT id, UINT elapseMs);
    bool DeviceChannelOpen() const;
    void ReimagePageOption(bool sync);
    DuiLib::COptionUI* SyncOption();
    DuiLib::COptionUI* PageOption();
    DuiLib::CLabelUI* NameLabel();

    DuiLib::CControlUI* previewControl_ = nullptr;
    // The paint manager this entry listens to for the window's showing.
    DuiLib::CPaintManagerUI* listenedTo_ = nullptr;
    CVornalixUSBDevice* device_ = nullptr;
    DuiLib::COptionUI* syncOption_ = nullptr;
    DuiLib::COptionUI* pageOption_ = nullptr;
    DuiLib::CLabelUI* nameLabel_ = nullptr;
    int deviceKind_ = 0;
    int subKind_ = 0;
    DuiLib::CDuiString syncSelectedImage_;
    DuiLib::CDuiString syncNormalImage_;
    DuiLib::CDuiString selectedImage_;
    DuiLib::CDuiString normalImage_;
    DuiLib::CDuiString powerSwitchName_;
    int powerSwitchIndex_ = -1;
    bool shown_ = true;
    // The frame timer left unarmed while its frames would do nothing (FramesIdle).
    bool framesResting_ = false;
    // Whether the window was shown and not minimised when last told of a change.
    bool windowSeen_ = false;
};

DuiLib::CControlUI* CreateDeviceOptionUI();
