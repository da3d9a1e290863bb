#pragma once
// Folder device/keyboard: the keyboard family: its device class and page, key map and
// layout, light block, light tables and effects, custom lighting and key reactions.
//
// The keyboard kind of the device family, and the keyboard's page. It reads the
// keyboard's capability block, key-code table and LED table when the keyboard starts and
// maps the program's 126 layout positions onto them; it reads and writes the light
// block, writes key assignments and uploads macros; a light thread animates the page and
// a sync thread follows the keyboard's input interface.
//
// The light effects, the custom lighting and the page itself override the hooks marked
// below in their own files.

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "device/keyboard/custom_light.h"
#include "device/keyboard/effect_state.h"
#include "device/keyboard/key_map.h"
#include "device/keyboard/light_block.h"
#include "device/lighting/area_effects.h"
#include "device/lighting/custom_effect_player.h"
#include "device/page/control_cache.h"
#include "device/vornalix_usb_device.h"
#include "profile/keyboard_profiledata.h"

class CVornalixKeyboardDevice : public CVornalixUSBDevice {
  public:
    static constexpr UINT kResyncDelayMs = 100;
    // The picture of the keyboard: its key buttons, over which keys are chosen.
    static constexpr const wchar_t* kKeyPictureName = L"keyboard_device_key_light";
    // Groups of per-key colours: as many as the keyboard holds per-key colour tables.
    static constexpr int kCustomLightGroupCount = 8;

    // The light state the keyboard reported or the profile set.
    struct LightState {
        uint8_t activeSlot = 0;
        LightRecord light;  // mode..blue, qrvmMode, customGroup
    };

    CVornalixKeyboardDevice();
    ~CVornalixKeyboardDevice() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    // Overrides of the shared operations.
    void InitPage() override;
    int ApplyProfileLight() override;
    int PushLightFrame() override;
    // The keyboard draws its own modes: a frame only paints the page.
    bool FramesReachDevice() const override { return false; }
    uint32_t GetLedColor(int index) override;
    void StartDevice() override;
    void ReadDeviceSettings() override;
    int LoadProfile() override;
    void LoadDefaultProfile() override;
    int WriteKeyAssignments(int bank, std::vector<KeyAssignRecord> assignments) override;
    int ApplyKeyAssignments(int bank) override;
    int UploadMacros() override;
    int WriteDeviceSettings(int first, int second, int third, int fourth, int fifth) override;
    void SetPageFunction(int function) override;
    void BuildProfilePath() override;
    DuiLib::CDuiString GetProfilePath() override;
    void SaveProfile() override;
    void SetDeviceIndex(int index) override;
    void SetLightParams(uint32_t first, uint32_t second, uint32_t third, uint8_t slot) override;
    void SelectKey(int key) override;

    // The open sequence: capability block, key-code table and LED table, then the maps.
    void ReadDeviceInfo();
    // Reads the active slot's light block into the light state and the profile. Returns
    // 1, or 0 (nothing changed) when the channel is closed or a read fails.
    int ReadLightSettings(uint8_t* activeSlot, int unused);
    void SetSystemStages(uint32_t first, uint32_t second, uint32_t third);
    KeyboardSystemStages GetSystemStages();
    std::vector<KeyAssignRecord> GetKeyAssignments() const { return keyAssignments_; }
    void SetKeyAssignments(std::vector<KeyAssignRecord> assignments);
    void SetSelectedKeyAssignment(uint32_t first, uint32_t second, uint32_t third);

    // The input interface and the threads.
    void StartLightThread();
    void StopLightThread();
    void StartSyncThread() override;
    void StopSyncThread() override;
    // One input report of the sync thread.
    void HandleNotifyReport(const std::vector<uint8_t>& report);

    // Read by the effects, the custom lighting and the page.
    device::KeyboardKeyMaps KeyMaps() const;
    const std::array<uint8_t, device::kKeyboardTableBytes>& KeyCodeTable() const {
        return keyCodeTable_;
    }
    LightState GetLightState() const;
    CKeyboardProfiledata& Profile() { return profile_; }
    const DeviceInfoBlock& Capabilities() const { return capabilities_; }
    int GetSelectedKey() const { return selectedKey_; }

    // The light effects. Custom lighting overrides the custom player's and the overlay
    // hooks, which do nothing here.
    virtual void ResetLightAnimation();
    virtual void RunModeInit(int mode);
    // Ticks between two steps of `mode` at `speed`; negative for a mode without a step.
    virtual int ModeStepTicks(int mode, int speed);
    // `now`: the tick the step belongs to.
    virtual void RunModeStep(int mode, uint32_t now);
    // Modes the custom light player drives, on every pass of the light thread.
    virtual void CustomLightStep();
    virtual void ApplyOverlayLayers(uint32_t now);
    // Reloads the per-key overlay layers and the custom effect list from the profile.
    virtual void ReloadCustomLighting();
    // `position` is the key-code position the keyboard reported; `action` 1 press,
    // 2 release.
    virtual void OnKeyEvent(int position, int action);
    virtual void ReactiveEffect(int key, int action);
    virtual void PaintKeyColor(int key);

    // The custom colour groups of light mode 20. The group shown is the one the lighting
    // panel's custom-mode selector shows (-1 none); these calls select it there too.
    void SetCustomLightGroup(int group);
    void ApplyCustomLightGroup();
    void SaveCustomLightGroup(int fill);
    int GetShownCustomLightGroup() const { return shownCustomGroup_; }
    // The group the keyboard plays and the page paints: shown, stored as the profile's
    // group and as its light record's, and its colours sent to the keyboard's table of
    // that number. The caller writes the light block.
    void ChooseCustomLightGroup(int group);
    // In mode 20 on the lighting page, the keys chosen on the picture (a click or a band)
    // take the brush colour, or black when `lit` is false; the group is stored and sent
    // and the picture shows it. Returns whether any key is chosen.
    bool PaintChosenKeys(bool lit);
    bool IsKeyPicture(const DuiLib::CControlUI* control);
    // In mode 20, writes the level-scaled colours into the keyboard's per-LED table.
    int WriteKeyColorFrame();

    // The keyboard page: its panels filled from the device and the profile.
    virtual void BuildDevicePage();
    virtual void ShowKeyAssignment(int key);
    void RefreshPageControls() override;
    void RefreshKeyPage(int deletedMacro = kNoDeletedMacro) override;
    void RefreshKeySetInfoList();
    void SetKeyButtonTip(int key, DuiLib::CDuiString text);

    // The system-setting controls of the page. A missing control is left alone; its
    // getter reads false or 0. Option numbers outside 0..3 count as 0.
    void SelectPollingRateOption(int n);
    void SetWinFlagOption(bool on);
    bool IsWinFlagChecked();
    void SetWFlagOption(bool on);
    bool IsWFlagChecked();
    void SetKey6FlagOption(bool on);
    bool IsKey6FlagChecked();
    void SetRepeatRate(int value);
    int GetRepeatRate();
    void SelectRepeatDelayOption(int n);
    void UpdateRepeatDelayLabel(int n);
    void ClearRepeatTestInput();
    void SetRepeatInputTip();

  protected:
    static bool IsCustomPlayerMode(int mode);
    void SetLightState(const LightState& state);

  private:
    void ReadKeyboardTables();
    void ReadKeyList();
    void SaveKeyList();
    // 1 when the keyboard took the table; 0 when it refused it or it never left.
    int SendKeyCodeTable(const std::vector<KeyAssignRecord>& assignments, int bank);
    // ApplyProfileLight for a profile just loaded.
    void TakeProfileLight();
    void ApplyModeChange(uint8_t previousMode, uint8_t mode);
    // Runs `action` on the effect context of the current light parameters, under the
    // animation lock: steps, mode changes and key events come from three threads.
    template <typename Action>
    void WithEffectContext(Action action);
    // The per-LED light records as overlay layers; under the overlay lock.
    size_t CopyOverlayLayers(std::array<LightRecord, device::kAreaLedCount>& layers);
    // Whether the light thread's pass work must run on every 1 ms pass.
    bool LightPassesCount();
    int WriteKeyColors(const device::KeyColorTable& table);
    void ShowCustomLightGroup(int group);
    // Paints positions with `colour` in mode 20, stores the shown group and sends it.
    void PaintKeys(const std::vector<size_t>& keys, device::Rgb colour);
    // Keys can be chosen on the picture only where a choice paints them.
    void UpdateKeyChoice();
    void ShowLedFrameNow();
    // The page's helpers.
    void BindKeyPanelButtons(DuiLib::CControlUI* panel);
    void SetupPagePanels();
    // A key's full name in the current language, and the legend its button shows: a short
    // one where the language has one, else the full name. Empty for a position without a
    // named key.
    struct KeyLabel {
        DuiLib::CDuiString name;
        DuiLib::CDuiString legend;
    };
    KeyLabel KeyLabelOf(int key);
    void NameKeyButtons();
    DuiLib::CDuiString TranslateText(const wchar_t* key);
    void SetOptionChecked(const wchar_t* name, bool on);
    bool IsOptionChecked(const wchar_t* name);

    std::array<uint8_t, device::kKeyboardTableBytes> keyCodeTable_{};
    std::array<uint8_t, device::kKeyboardTableBytes> ledTable_{};
    // Set once the keyboard's own key-code table has been read whole.
    bool keyTableRead_ = false;
    // Guards the light state between the UI thread and the light thread.
    mutable platform::CriticalSection stateLock_;
    LightState lightState_;
    device::KeyboardLightBlock lightBlockRead_{};
    KeyboardSystemStages systemStages_;
    CKeyboardProfiledata profile_;
    device::KeyboardKeyMaps keyMaps_;          // guarded by stateLock_
    device::KeyboardEffectState effectState_;  // guarded by animationLock_
    device::CustomEffectList customEffects_{lightLock_};
    device::CustomPlayerState customPlayer_;  // light thread only
    device::AreaEffectState overlayState_;    // guarded by overlayLock_
    int shownCustomGroup_ = -1;               // UI thread only
    uint8_t reportCounter_ = 0;               // sync thread only
    // The page's controls; UI thread only.
    device::PageControlCache pageControls_{this};
};

DuiLib::CControlUI* CreateKeyboardDevice();
