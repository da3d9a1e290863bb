#pragma once
// Folder device/mouse: the mouse family: its device class and page, settings block, key
// codes and light effects.
//
// The mouse kind of the device family, and the mouse's page. It reads the mouse's
// capability block and key-code table when the mouse starts, finds its ten keys in that
// table, writes and reads the mouse's settings area, writes key assignments, uploads
// macros and shoot data, and runs a light thread that animates the page and a sync
// thread that follows the mouse's input interface.
//
// The page (its controls, key list and settings tabs) overrides the page hooks below in
// its own file.

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <vector>

#include "device/lighting/area_effects.h"
#include "device/lighting/custom_effect_player.h"
#include "device/mouse/key_codes.h"
#include "device/mouse/settings_block.h"
#include "device/page/control_cache.h"
#include "device/vornalix_usb_device.h"
#include "profile/mouse_profiledata.h"

class CVornalixMouseDevice : public CVornalixUSBDevice {
  public:
    static constexpr UINT kResyncDelayMs = 500;

    CVornalixMouseDevice();
    ~CVornalixMouseDevice() override;

    // Overrides of the shared operations.
    void InitPage() override;  // builds the mouse page
    int ApplyProfileLight() override;
    int PushLightFrame() override;
    uint32_t GetLedColor(int index) override;
    void ShowLedPreview() override;
    void StartDevice() override;
    void ReadDeviceSettings() override;
    int LoadProfile() override;
    void RefreshPageControls() override;
    void RefreshKeyPage(int deletedMacro = kNoDeletedMacro) override;
    void LoadDefaultProfile() override;
    int WriteKeyAssignments(int bank, std::vector<KeyAssignRecord> assignments) override;
    int ApplyKeyAssignments(int bank) override;
    int UploadMacros() override;
    // (profile index, byte 0, byte 59, screen width, screen height); 1 written, 0 not.
    int WriteDeviceSettings(int profile, int firstByte, int constantByte, int screenWidth,
                            int screenHeight) override;
    void SetPageFunction(int function) override;
    void BuildProfilePath() override;
    DuiLib::CDuiString GetProfilePath() override;
    void SaveProfile() override;
    void SetDeviceIndex(int index) override;
    void SetLightParams(uint32_t first, uint32_t second, uint32_t third, uint8_t slot) override;
    void SelectKey(int key) override;

    // The mouse's own light effects (modes 0 and 5).
    virtual void EffectWave();
    virtual void EffectTrail();
    // Timed by the tick of the step under way (RunModeStep).
    void EffectFlash() override;
    void EffectFlashColors() override;

    // The start sequence's capability block and key-code table, and the key positions
    // and DPI ranges built from them.
    void ReadDpiLimits();
    // Reads the active profile's settings area into the settings state, the light
    // parameters and the profile. 1, or 0 (nothing changed) when the channel is closed or
    // a read fails.
    int ReadDeviceProfile(uint8_t* activeProfile);
    void UploadShootData();

    std::vector<DpiStageRecord> GetDpiStages() const { return dpiStages_; }
    void SetDpiStages(std::vector<DpiStageRecord> stages);
    void SetSystemStages(MouseSystemStages stages);
    MouseSystemStages GetSystemStages() const { return systemStages_; }
    void SetLogoLedIndex(int index) { logoLedIndex_ = index; }
    int GetLogoLedIndex() const { return logoLedIndex_; }
    void SetLogoButton(DuiLib::CControlUI* button) { logoButton_ = button; }
    // The light tab's button of key k, which shows LED k and tells what key k does.
    DuiLib::CControlUI* GetMouseKeyButton(int key) const;
    std::vector<KeyAssignRecord> GetKeyAssignments() const { return keyAssignments_; }
    void SetKeyAssignments(std::vector<KeyAssignRecord> assignments);
    void SetSelectedKeyAssignment(uint32_t first, uint32_t second, uint32_t third);

    // The input interface and the threads.
    void ReopenNotifyChannel(const wchar_t* path);
    void StartLightThread();
    void StopLightThread();
    void StartSyncThread() override;
    void StopSyncThread() override;
    bool IsLightThreadRunning() const { return IsLightWorkerStarted(); }
    bool IsSyncThreadRunning() const { return IsInputWorkerStarted(); }
    // One input report of the sync thread.
    void HandleNotifyReport(const std::vector<uint8_t>& report);
    // One step of a light mode the mouse runs itself (0..8); the program's own modes (9
    // and above) are drawn by the custom player, one pass at a time. `now`: the tick the
    // step belongs to (the present one when not given).
    void RunModeStep(uint8_t mode);
    void RunModeStep(uint8_t mode, uint32_t now);
    void PlayCustomStep();
    static bool IsCustomMode(uint8_t mode);

    // Read by the page and the tests.
    device::MouseSettingsState GetSettingsState() const;
    device::MouseSettingsBlock GetRawSettingsBlock() const;
    std::map<int, int> GetKeyPositions() const;
    const std::array<uint8_t, device::kMouseKeyTableBytes>& KeyCodeTable() const {
        return keyCodeTable_;
    }
    const DeviceInfoBlock& Capabilities() const { return capabilities_; }
    CMouseProfiledata& Profile() { return profile_; }
    // Highest value of the DPI edits (slider maximum x multiplier).
    int GetDpiEditMaximum() const { return dpiEditMaximum_; }

    // The mouse page (vornalix_mouse_device_page.cpp and _settings_ui.cpp).
    virtual void BuildDevicePage();
    virtual void ShowKeyAssignment(int key);
    virtual void RefreshKeySetInfoList();
    // The light parameters onto the lighting panel.
    virtual void ShowLightSettings();
    // Shows the first `count` DPI stages (at most five) and hides the others: a profile's
    // stage count is what the page offers.
    virtual void ShowDpiStageCount(int count);
    virtual void EnableDpiStage(int stage, int enabled);
    virtual void SetDpiStageValue(int stage, int dpi);
    virtual void SetPointerSpeed(int speed);
    virtual void SetPointerPrecision(int precision);
    virtual void SetDoubleClickSpeed(int time);
    virtual void SetScrollSettings(int page, int lines);
    virtual void SelectPollingRateOption(int option);
    virtual void SelectSettingTab(int tab);
    // What the page's controls hold; 0 or false where a control is missing.
    bool IsDpiStageEnabled(int stage);
    int GetDpiStageValue(int stage);
    // The DPI typed into stage n's edit, held within the mouse's lowest DPI and the
    // edit's highest value.
    int GetDpiEditValue(int stage);
    int GetPointerSpeed();
    bool IsPointerPrecisionChecked();
    bool IsScrollPageChecked();
    int GetScrollSpeed();
    int GetDoubleClickSpeed();
    int GetDoubleClickSpeedMax();
    void SetKeyInfoRow(int key, DuiLib::CDuiString text);
    void UpdateLogoToolTip();

  private:
    void SetSettingsState(const device::MouseSettingsState& state);
    // The key buttons and the logo in their LEDs' colours; nothing while the page's window
    // is hidden.
    void TintPage();
    void TakeProfileSettings();
    // Key levels cleared and the trail's head put back at the ring's start.
    void ResetTrail();
    void ReloadLightLists(uint8_t mode);
    // The settings state's light into the light parameters and the profile; the
    // direction stays.
    void TakeStateIntoLight(const device::MouseSettingsState& state);
    // On a wireless channel every step is preceded by a status probe.
    bool ProbeIfSlow();
    void ReadKeyTable();
    void SetDpiRanges();
    int SendKeyCodeTable(const std::vector<KeyAssignRecord>& assignments, int bank);
    int SendMacroImage(const std::vector<uint8_t>& image);
    void SendShootImage(const std::vector<uint8_t>& image);

    std::vector<DpiStageRecord> dpiStages_;
    MouseSystemStages systemStages_;
    CMouseProfiledata profile_;
    // Guards the settings state and the key positions between the UI thread and the
    // light and sync threads.
    mutable platform::CriticalSection stateLock_;
    device::MouseSettingsState previousState_{};
    device::MouseSettingsState settingsState_{};
    device::MouseSettingsBlock rawSettings_{};
    std::map<int, int> keyPositions_;
    std::array<uint8_t, device::kMouseKeyTableBytes> keyCodeTable_{};
    bool keyTableRead_ = false;
    int logoLedIndex_ = -1;
    int dpiEditMaximum_ = 0;
    int shownDpiStages_ = 5;  // UI thread only
    DuiLib::CControlUI* logoButton_ = nullptr;
    // The "light_0_" buttons; the base class's key buttons are the "key_" ones.
    std::vector<DuiLib::CControlUI*> mouseKeyButtons_;
    uint8_t huePosition_ = 0;               // guarded by animationLock_
    std::atomic<uint32_t> stepTick_{0};     // the tick of the step under way
    std::vector<LightRecord> areaRecords_;  // guarded by overlayLock_
    device::AreaEffectState areaState_;     // guarded by overlayLock_
    device::CustomEffectList customEffects_{lightLock_};
    device::CustomPlayerState customPlayer_;  // light thread only
    // The page's controls; UI thread only.
    device::PageControlCache pageControls_{this};

    // The page's helpers.
    void BindPanelButtons(DuiLib::CControlUI* panel);
    void SetupPagePanels();
    // The lighting panel's mode rows from the page lists, custom lights included.
    void FillLightModes();
    DuiLib::CDuiString TranslateText(const wchar_t* key);
    void RestoreDpiChecks();
    // The stage's slider as the stage is: off, the current stage, or another one on.
    void ShowDpiSliderLook(int stage);
};

DuiLib::CControlUI* CreateMouseDevice();
