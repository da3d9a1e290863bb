#pragma once
// Folder device/: the base device class with its worker threads, macro image and record
// packing. Families (keyboard/, mouse/, onboard/) build on it; it builds on page/,
// lighting/ and discovery/, which build on channel/. No arrow points back up.
//
// The base of every device object: at once the model of one device (its command and input
// channels, capability block, LED colours and light parameters, identity) and its page in
// the main window. The device classes override the virtual operations; the main window,
// the device-list entry's timers and the light synchronisation reach a device only
// through them.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "device/channel/device_info_block.h"
#include "device/channel/hid_command_channel.h"
#include "device/device_threads.h"
#include "device/discovery/device_kind.h"
#include "device/discovery/hid_id_record.h"
#include "device/lighting/base_light_effects.h"
#include "device/lighting/led_colour_vector.h"
#include "device/page/device_power_view.h"
#include "device/page/name_lists.h"
#include "duilib/ui_layouts.h"
#include "platform/critical_section.h"
#include "profile/json_file.h"
#include "profile/key_function_record.h"
#include "profile/light_record.h"

class CLightControlUI;
class CDeviceProfileUI;
class CKeySetControlUI;

// One per-LED light record (13 bytes of the profile's light record layout).
using LedLightRecord = std::array<uint8_t, 13>;
using DeviceAuxMap = std::map<int, int>;

class CVornalixUSBDevice : public DuiLib::CHorizontalLayoutUI {
  public:
    static constexpr int kKeyboardKind = device::kKeyboardDevice;
    static constexpr int kMouseKind = device::kMouseDevice;

    CVornalixUSBDevice();
    ~CVornalixUSBDevice() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    // Virtual operations, in slot order.
    virtual void InitPage();
    virtual int ApplyProfileLight();
    virtual void EffectBreathing();
    virtual void EffectBreathingColors();
    virtual void EffectStatic();
    virtual void EffectSpectrum();
    virtual void EffectFlash();
    virtual void EffectFlashColors();
    virtual void EffectOff();
    virtual int PushLightFrame();
    virtual void SetLedColor(int index, uint32_t colour);
    virtual uint32_t GetLedColor(int index);
    virtual void StartDevice();
    virtual void ReadDeviceSettings();
    virtual void OnListTimer1003();
    virtual void OnListTimer1004();
    virtual void QueryPowerStatus();
    virtual int LoadProfile();
    virtual void RefreshPageControls();
    // `deletedMacro`: the macro just deleted from the list, whose later macros moved up by
    // one (kNoDeletedMacro when none was).
    static constexpr int kNoDeletedMacro = -1;
    virtual void RefreshKeyPage(int deletedMacro = kNoDeletedMacro);
    virtual void LoadDefaultProfile();
    virtual int WriteKeyAssignments(int bank, std::vector<KeyAssignRecord> assignments);
    virtual int ApplyKeyAssignments(int bank);
    virtual int UploadMacros();
    virtual int WriteDeviceSettings(int first, int second, int third, int fourth, int fifth);
    // Reads the page's name lists (macros, light modes, areas, custom lights) for the
    // device index; see device::ReadPageNameLists for what a poor document leaves.
    virtual void LoadMacroAndLightLists();
    virtual void SetAuxMap(DeviceAuxMap map);
    virtual void DecayKeyLevels(int key, int mode);
    // The notify channel on the device's input interface: opened unless it is open, then
    // the sync thread starts (also after a failed open: it idles until it is stopped);
    // closed after the sync thread stopped.
    void OpenNotifyChannel(const wchar_t* path);
    void CloseNotifyChannel();
    virtual void StartSyncThread() {}
    virtual void StopSyncThread() { StopInputWorker(); }
    virtual void MarkRingKeys();
    virtual void RotateRing(int direction);
    virtual void ClearKeyLevels();
    virtual void SetPageFunction(int function);
    virtual int GetPageFunction();
    virtual void BuildProfilePath();
    virtual DuiLib::CDuiString GetProfilePath();
    virtual void SaveProfile();
    virtual void SetDeviceIndex(int index);
    virtual int GetDeviceIndex();
    virtual void SetLightParams(uint32_t first, uint32_t second, uint32_t third, uint8_t slot);
    virtual void SelectKey(int key);
    // The key being assigned shows its function in the profile just loaded, so that the
    // panel's cancel or next change does not store the previous profile's function.
    void ReselectKey();

    int GetDeviceType() const { return deviceKind_; }
    void SetDeviceType(int kind, int subKind);
    int GetSubType() const { return subKind_; }
    void SetSubType(int subKind);
    void SetKeyCount(int count);
    int GetKeyCount() const { return keyCount_; }
    void SetLedCount(int count);
    int GetLedCount() const { return ledCount_.load(); }

    void SetDeviceName(DuiLib::CDuiString name) { deviceName_ = std::move(name); }
    DuiLib::CDuiString GetDeviceName() const { return deviceName_; }
    void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
    HWND GetNotifyWindow() const { return notifyWindow_; }
    void SetDeviceString1(DuiLib::CDuiString text) { deviceString1_ = std::move(text); }
    void SetDeviceString2(DuiLib::CDuiString text) { deviceString2_ = std::move(text); }
    void SetDeviceFileName(DuiLib::CDuiString name) { deviceFileName_ = std::move(name); }
    DuiLib::CDuiString GetDeviceFileName() const { return deviceFileName_; }

    // The device-list entry, kept as a plain control: the entry belongs to the application
    // shell, and the device only arms the entry's timers.
    void SetDeviceOptionItem(DuiLib::CControlUI* item) { optionItem_ = item; }
    DuiLib::CControlUI* GetDeviceOptionItem() const { return optionItem_; }
    // Arms timer `id` of the device-list entry; callable from the device's threads.
    bool ArmListTimer(UINT id, UINT elapseMs);
    void SetPowerItem(IDevicePowerView* item);
    IDevicePowerView* GetPowerItem() const { return powerItem_; }
    void SetShowPower(int show);
    int GetShowPower() const { return showPower_; }
    DuiLib::CControlUI* GetPreviewControl() const { return selectPanel_; }
    void SetSelectPanel(DuiLib::CControlUI* panel) { selectPanel_ = panel; }
    void SetLightPage(CLightControlUI* page) { lightPage_ = page; }
    CLightControlUI* GetLightPage() const { return lightPage_; }
    void SetProfilePage(CDeviceProfileUI* page) { profilePage_ = page; }
    CDeviceProfileUI* GetProfilePage() const { return profilePage_; }

    void SetLightControl(int on);
    int HasLightControl() const { return lightControl_.load(); }
    // Whether the LED frames leave the program; a device that runs its lighting itself
    // only paints its page with them.
    virtual bool FramesReachDevice() const { return true; }
    // Whether a frame would do nothing at all: none reaches the device and nothing of the
    // page is seen. Its clock may then rest until the window is shown.
    bool FramesIdle() const { return !FramesReachDevice() && !PageWindowShown(); }
    // The command channel's light synchronisation flag: while it is set the light
    // synchronisation draws the LEDs and the light thread counts no tick.
    void SetLightSync(bool on);
    // The page's window is being shown again: its LED buttons take the colours of now
    // before it is drawn, since no frame tinted them while it was hidden.
    virtual void ShowLedPreview();
    void SetWindowActive(int active) { windowActive_.store(active); }
    int IsWindowActive() const { return windowActive_.load(); }

    void SetDeviceIdentity(HidIdRecord record);
    HidIdRecord GetDeviceIdentity() const { return identity_; }

    const device::PageNameLists& PageLists() const { return pageLists_; }
    CHidCommandChannel& CommandChannel() { return commandChannel_; }
    // The command channel opened or closed for the device's interface: the light moments
    // up to now are counted first, with the channel as it was.
    bool OpenCommandChannel(const wchar_t* path, bool slow);
    void CloseCommandChannel();
    CHidCommandChannel& InputChannel() { return inputChannel_; }
    DuiLib::CControlUI* GetKeyButton(int key) const;
    DuiLib::CControlUI* GetLedButton(int led) const;

    static uint8_t StepWrap(bool up, uint8_t limit, uint8_t value, uint8_t step);

    DuiLib::CDuiString GetDefaultDataPath() const;
    DuiLib::CDuiString GetDefaultProfilePath() const;
    DuiLib::CDuiString GetUserDataPath() const;

  protected:
    // The worker-thread scheme of the device classes: a light thread driven by `hooks`
    // (the channel checks are filled in here) and an input thread that reads the input
    // channel and hands each report to `onReport`.
    void StartLightWorker(device::LightLoopHooks hooks, std::wstring exitText);
    void StopLightWorker();
    // While the light thread's work waits for its readers (LightLoopHooks::onDemand), the
    // ticks since the last count are counted and their steps run: before the colours are
    // read, and before anything the steps read or write changes. Nothing otherwise.
    void CatchUpLight() { lightTicks_.CatchUp(); }
    // Has the light thread look again at once whether its work waits for its readers.
    void WakeLightLoop() { lightWake_.Set(); }
    void StartInputWorker(std::function<void(const std::vector<uint8_t>& report)> onReport);
    void StopInputWorker();
    bool IsLightWorkerStarted() const { return lightThread_.IsStarted(); }
    bool IsInputWorkerStarted() const { return inputThread_.IsStarted(); }

    device::LightParams CurrentLightParams() const;
    // The base light parameters from a stored light record (bytes 0..11) and `slot`;
    // no override sees them.
    void PublishLightRecord(const LightRecord& light, uint8_t slot);
    // Tints every visible LED button of the page with its LED's colour; nothing while the
    // page's window is hidden.
    void PaintLedButtons();
    // Whether the page's window is shown: neither hidden to the tray nor minimised. A page
    // in no window is.
    bool PageWindowShown() const;
    // Opens the key-set panel on the assignment of `key`; nothing without a panel, and no
    // record for a key the assignments do not hold.
    void ShowKeyAssignmentIn(CKeySetControlUI* keySet, int key);
    // Fills the lighting panel's mode rows from the page lists (LightModeRowsOf): the row
    // a user picks is the mode the device plays, custom lights included.
    void ShowLightModes(CLightControlUI* panel, int maxBrightness, int maxSpeed);
    // Rereads the name lists; keys that play a macro the list no longer holds, or a gun the
    // shoot image does not hold, go back to their own function, and after the deletion of macro
    // `deletedMacro` keys on later macros follow them to their new numbers, in this profile and in
    // the stored others. True when any key changed: the caller then writes the profile at once,
    // since a key left naming a macro's old number would play whichever macro takes that number.
    bool RevertKeysOfDeletedMacros(int deletedMacro = kNoDeletedMacro);
    // The macro image of the user's macro list for the macro memory the capability block
    // names; the upload's result when there is no image to send (PrepareMacroImage).
    int PrepareMacroUpload(std::vector<uint8_t>* image);
    // Reads the capability block afresh; a block that did not come leaves the one held.
    bool RefreshCapabilities();
    // Writes `bytes` at `offset` of the device's memory inside a session: 1 only when the
    // channel is open and the device took the write, 0 otherwise. `ready` (a slow link's
    // probe), when given, is asked before each exchange; a refusal ends the write with 0.
    int WriteMemoryInSession(std::span<const uint8_t> bytes, uint16_t offset,
                             const std::function<bool()>& ready = {});
    uint8_t ActiveSlot() const { return activeSlot_.load(); }
    device::LedColourVector& LedColours() { return ledColours_; }

    CHidCommandChannel commandChannel_;
    CHidCommandChannel inputChannel_;
    // Serialises the notify channel's open and close.
    platform::CriticalSection notifyLock_;
    DeviceInfoBlock capabilities_;
    CLightControlUI* lightPage_ = nullptr;
    CDeviceProfileUI* profilePage_ = nullptr;
    DuiLib::CControlUI* selectPanel_ = nullptr;
    DuiLib::CControlUI* optionItem_ = nullptr;
    IDevicePowerView* powerItem_ = nullptr;
    DuiLib::CControlUI* functionTab_ = nullptr;
    DuiLib::CControlUI* keyFunctionTab_ = nullptr;
    DuiLib::CDuiString deviceName_;
    HWND notifyWindow_ = nullptr;
    DuiLib::CDuiString deviceString1_;
    DuiLib::CDuiString deviceString2_;
    DuiLib::CDuiString deviceFileName_;
    int deviceKind_ = 0;
    int subKind_ = 0;
    int keyCount_ = 0;
    // Read by the light synchronisation thread through SetLedColor.
    std::atomic<int> ledCount_{0};
    int selectedKey_ = -1;
    int pageFunction_ = 1;
    std::vector<DuiLib::CControlUI*> keyButtons_;
    std::vector<DuiLib::CControlUI*> ledButtons_;
    std::vector<KeyAssignRecord> keyAssignments_;
    std::vector<uint8_t> ledKeyCodes_;
    DeviceAuxMap auxMap_;
    device::LedColourVector ledColours_;
    // The 12 light parameter bytes as three words, read by the light thread.
    std::array<std::atomic<uint32_t>, 3> lightParamWords_{};
    std::atomic<uint8_t> activeSlot_{0};
    CJsonFile jsonFile_;
    platform::CriticalSection lightLock_;
    platform::CriticalSection overlayLock_;
    // Guards the animation state between the light thread's steps and the UI thread's
    // resets.
    platform::CriticalSection animationLock_;
    std::vector<std::vector<uint8_t>> customEffectList_;
    std::vector<LedLightRecord> ledLightRecords_;
    int customEffectStep_ = 0;
    std::atomic<int> lightControl_{1};
    std::atomic<int> windowActive_{1};
    device::LightAnimationState animation_;
    std::array<uint8_t, device::kKeyLevelCount> keyEffectState_{};
    // The lists the page's panels show (LoadMacroAndLightLists), and the macro list they
    // are read from.
    device::PageNameLists pageLists_;
    const wchar_t* macroListName_ = L"macro.config";
    int showPower_ = 0;
    HidIdRecord identity_;
    int deviceIndex_ = 0;

  private:
    void BindPageButton(DuiLib::CControlUI* button);
    // Marks the selected key's button while the key-assignment panel is the page's
    // function; every other key button is unmarked.
    void MarkSelectedKey();
    bool ReadInputReport(std::vector<uint8_t>& report);

    device::DeviceThread lightThread_{"light"};
    device::DeviceThread inputThread_{"sync"};
    // The light thread's hooks and tick count, shared with the readers that catch it up.
    device::LightLoopHooks lightHooks_;
    device::LightTicks lightTicks_;
    platform::Event lightWake_{false, false};
};

DuiLib::CControlUI* CreateUSBDevice();
