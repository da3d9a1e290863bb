#pragma once
// Folder app/main_wnd: the main window, one file per job: lifecycle and messages,
// dispatch, the device list and pages, arrival, relays to the current device, timers,
// workers and light synchronisation.
//
// The program's single top-level window: it builds one page per supported device kind,
// owns the device objects, keeps the device list, runs the main window's two worker
// threads and stops them in order when it closes.

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_wnd/input_lock.h"
#include "app/skin_observer.h"
#include "device/discovery/device_capture_thread.h"
#include "device/discovery/device_tables.h"
#include "device/discovery/hid_live_list.h"
#include "duilib/tray_icon.h"
#include "duilib/window_impl_base.h"
#include "pages/device_hook.h"
#include "pages/device_hook_filter.h"
#include "platform/critical_section.h"
#include "platform/event.h"
#include "platform/peer_courier.h"
#include "platform/worker_thread.h"
#include "profile/json_file.h"

class CVornalixUSBDevice;
class CVornalixKeyboardDevice;
class CVornalixMouseDevice;
class CVornalixTamselDevice;
struct MouseSystemStages;
struct KeyboardSystemStages;
class CDeviceOptionUI;
class CKeySetControlUI;
class CMacroControlUI;
class CLightControlUI;
namespace DuiLib {
class CMenuWnd;
}
class CMpDevicePowerUI;
class CMainWnd;
class WindowNoticeSink;

// What a worker thread of the main window is started with.
struct WorkerThreadParam {
    CMainWnd* owner = nullptr;
    platform::Event* stopEvent = nullptr;
};

inline constexpr int kWorkerSlotCount = 20;
inline constexpr int kCaptureThreadSlot = 0;
inline constexpr int kLightSyncThreadSlot = 8;

class CMainWnd : public DuiLib::WindowImplBase, public SkinReceiver {
  public:
    CMainWnd();
    ~CMainWnd() override;

    LPCTSTR GetWindowClassName() const override { return L"MainWnd"; }
    UINT GetClassStyle() const override { return 8; }  // CS_DBLCLKS
    DuiLib::CDuiString GetSkinFile() override { return L"XML_MAIN"; }
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    DuiLib::CControlUI* CreateControl(LPCTSTR pstrClass) override;
    int Receive(SkinChangedParam param) override;

    // Lifecycle.
    void OnWindowInit();
    void StopWorkerThreads();
    void BringToFront();
    bool IsInitialised() const { return initialised_; }
    const DuiLib::CTrayIcon& TrayIcon() const { return trayIcon_; }

    // Device pages and the device list.
    void BuildDevicePages();
    void RemoveDevicePages();
    int BuildKeyboardPage(int liveIndex, int subKind);
    int BuildMousePage(int liveIndex, int subKind);
    int BuildMousePadPage(int liveIndex, int subKind);
    int BuildHeadsetPage(int liveIndex, int subKind);
    void RemoveKeyboardPage(int liveIndex, int subKind);
    void RemoveMousePage(int liveIndex, int subKind);
    void RemoveMousePadPage(int liveIndex, int subKind);
    void RemoveHeadsetPage(int liveIndex, int subKind);
    void RemoveDevicePage(int powerIndex, int pageIndex);
    CVornalixUSBDevice* GetCurrentDevice();
    void OnDeviceSelected();
    void SetDeviceEntryState(int index, bool show, bool select);
    void ReleaseDeviceEntry(int index);
    void SelectPreviousDevice();
    void SelectNextDevice();
    bool CountShownEntries(int* first, int* count);
    void ShowSyncOptions(bool show);
    void CloseChildWindows();
    void BuildUpdateDeviceList();
    void OnMouseKeyLightSelectEnd(DuiLib::CControlUI* panel);
    void OnKeyLightSelectEnd(DuiLib::CControlUI* panel);

    // Arrival and removal of the interfaces the capture thread reports by live index.
    void OnDeviceArrived(size_t index);
    void OnDeviceRemoved(size_t index);
    void OnKeyboardArrived(size_t index);
    void OnMouseArrived(size_t index);
    void OnMousePadArrived(size_t index);
    void OnHeadsetArrived(size_t index);
    void OnKeyboardRemoved(size_t index);
    void OnMouseRemoved(size_t index);
    void OnMousePadRemoved(size_t index);
    void OnHeadsetRemoved(size_t index);
    void AttachDevicePath(size_t index, int kind);
    void DetachDevicePath(size_t index, int kind);
    // The mouse reachable through two command interfaces (a cable and a receiver).
    bool HasConnectedPartner(size_t index);
    void SwitchMouseInterface(size_t index);
    const std::vector<DeviceIdentityRecord>& GetUpdateCandidates() const {
        return updateCandidates_;
    }

    // User notices: the window's sink lives from "windowinit" until the window goes;
    // ShowPendingNotices runs on WM_USER_NOTICE.
    void InstallNoticeSink();
    void RemoveNoticeSink();
    void ShowPendingNotices();

    // Languages and fonts.
    int GetStoredLanguageIndex();
    void ApplyLanguage(int index);
    void SaveLanguageId(int64_t id);
    void RebuildFonts(LPCTSTR face);
    int GetCurrentLanguage() const { return currentLanguage_; }

    // Child windows.
    void OpenSettingsWindow(bool forUpdate);
    void OpenAboutWindow();
    // "windowdeviceset_" n: 0 the desktop's keyboard settings, 1 its mouse settings.
    void OpenDesktopSettings(int page);
    HWND GetSettingsWindow() const { return settingsWnd_; }
    HWND GetAboutWindow() const { return aboutWnd_; }

    // Folders.
    DuiLib::CDuiString GetDefaultDataFolder() const;
    DuiLib::CDuiString GetAppDataFolder() const;

    // Read by the worker threads: the four device lists and the live interface list.
    std::vector<CVornalixUSBDevice*>& MousePads() { return mousePads_; }
    std::vector<CVornalixUSBDevice*>& Mice() { return mice_; }
    std::vector<CVornalixUSBDevice*>& Keyboards() { return keyboards_; }
    std::vector<CVornalixUSBDevice*>& Headsets() { return headsets_; }
    HidLiveList& LiveRecords() { return *liveRecords_; }
    // The device tables the window reads for its life: given before it is created (the
    // shipped tables unless told otherwise).
    void UseDeviceTables(const DeviceTableSet& tables) { tables_ = &tables; }
    const DeviceTableSet& Tables() const { return *tables_; }
    bool IsWorkerRunning(int slot) const;
    int GetDPI() const { return dpi_; }
    int GetEntryIndex(CDeviceOptionUI* entry);
    // Held around every change of the four device lists and every walk of them off the
    // window's thread.
    platform::CriticalSection& DeviceListLock() { return deviceListLock_; }

    // Messages and timers.
    LRESULT OnTimer(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void ApplyMonitorDpi();
    void ShowTrayMenu();
    void OnMenuClick(const DuiLib::CDuiString& name);
    void BroadcastLightControl(int flag);
    // The headsets are no part of the lighting control peers ask for, but they too let
    // their lights go while the computer sleeps.
    void TellHeadsetsAwake(bool awake);
    void BroadcastWindowActive(int flag);
    // Hands the configuration answer to the courier: TRUE once it is on its way (the
    // peer's own answer is not waited for).
    LRESULT SendConfigToZuzoZara();
    // Tells the user's other programs whether this one drives the lights (by the courier).
    void AnnounceLightControl(int flag);
    int GetLightControl() const { return lightControl_; }
    bool IsAwake() const;
    CDeviceHook& DeviceHook() { return deviceHook_; }

    // Light synchronisation across devices.
    bool HasSyncedOpenDevice();
    void RunSyncStep(uint8_t mode);
    void SendSyncFrame(uint8_t red, uint8_t green, uint8_t blue, uint8_t level);
    void SyncStepBreathing();
    void SyncStepStatic();
    void SyncStepFlash();
    void SyncStepSpectrum();
    void SyncStepOff();

    // Event dispatch.
    void OnNotifyClick(DuiLib::TNotifyUI& msg);
    void OnNotifySelectChanged(DuiLib::TNotifyUI& msg);
    void OnNotifyValueChanged(DuiLib::TNotifyUI& msg);
    void OnNotifyMoveValueChanged(DuiLib::TNotifyUI& msg);
    void OnNotifyItemSelect(DuiLib::TNotifyUI& msg);
    void OnNotifyKillFocus(DuiLib::TNotifyUI& msg);
    void OnNotifyWindowSize(DuiLib::TNotifyUI& msg);
    void ShowMacroActionMenu();

    // Relays: one user action each, on the current device.
    void OnRestoreDefaults();
    void OnFunctionTab(int n);
    void OnProfileAdd();
    void OnProfileDelete();
    void OnProfileCopy();
    void OnProfileRename();
    void OnProfileReset();
    void OnProfileSelect();
    void OnProfileMenuToggle();
    // A choice in the profile menu; false for a name that is none of its items.
    bool OnProfileMenuItem(const DuiLib::CDuiString& name);
    void OnProfileImport();
    void OnProfileExport();
    void OnMacroImport();
    void OnMacroExport();
    void OnShootImport();
    void OnShootExport();
    void SayImportRefused(const std::wstring& path);
    // Asks the user for a file to read (save false) or to write (save true) among the
    // files `filter` describes; nothing when they cancel. Without a chooser the import
    // and export actions do nothing.
    using FileChooser =
        std::function<std::optional<std::wstring>(bool save, const std::wstring& filter)>;
    void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
    void OnKeyButtonClick(int n);
    void OnLightModeSelect();
    void OnCustomLightModeSelect();
    void OnLightBrightnessChange();
    void OnLightSpeedChange();
    void OnQRVMModeSelect();
    void OnPaletteColorChange();
    void OnRedEdit();
    void OnGreenEdit();
    void OnBlueEdit();
    void OnLightMultiColor();
    void OnPresetColorClick(int n);
    void OnLightDirection(bool left);
    void OnCustomColorButton(bool on);
    void OnLightSyncAll();
    void OnKeyFunctionSelect();
    void OnMacroRunModeSelect();
    void OnKeyAssignSave();
    void OnKeyAssignDefault();
    void OnKeyAssignCancel();
    void OnKeyAssignSaveProfile();
    void OnModifierCheck(int n);
    void OnHookSingleKey(WPARAM wParam, LPARAM lParam);
    void StartMacroRecording(int delayMode, int insertKind);
    void SetRecordingHook(int mode, bool install, int captureKeys, int captureMouse);
    void OnStartRecordClick();
    void OnStopRecordClick();
    void StopMacroRecording();
    void OnMacroAdd();
    void OnMacroDelete();
    void OnMacroRename();
    void OnMacroSave();
    void OnMacroCancel();
    void OnMacroActionUp();
    void OnMacroActionDown();
    void OnMacroActionToTop();
    void OnMacroActionToBottom();
    void OnMacroActionDelete();
    void OnMacroActionDeleteAll();
    void OnMacroListSelect();
    void OnMacroInsertHorizontalMove(bool left);
    void OnMacroInsertVerticalMove(bool up);
    void InsertMacroMouseEvent(int button, bool down);
    // A recorded key or mouse event; insertKind is a HookMode recording value.
    void OnHookMacro(int insertKind, WPARAM wParam, LPARAM lParam);
    void EnableDeviceInput(bool applyToControls, bool enabled);
    bool IsDeviceInputEnabled() const { return deviceInputEnabled_; }

    // The current device's panels; null without a current device or such a panel.
    CLightControlUI* CurrentLightPanel();
    CKeySetControlUI* CurrentKeySetPanel();
    CMacroControlUI* CurrentMacroPanel();
    CVornalixKeyboardDevice* CurrentKeyboard();
    CVornalixMouseDevice* CurrentMouse();
    CVornalixTamselDevice* CurrentHeadset();

    // The keyboard page's system settings.
    void OnPollingRateOption(int n);
    void OnRepeatDelayOption(int n);
    void OnRepeatRate();
    void OnWinLockOption();
    void OnWFlagOption();
    void OnKey6FlagOption();
    void OnRepeatTestReset();

    // The mouse page's settings.
    void OnDpiStageEnable(int n);
    void OnDpiSliderChange(int n);
    void OnDpiSliderMove(int n);
    void OnDpiEditDone(int n);
    void OnMousePollingRate(int n);
    void OnPointerPrecision();
    // The page-scroll check and the scroll slider; the slider alone turns page scrolling
    // off.
    void OnScrollSettings(bool pageFromCheck);
    void OnPointerSpeed();
    void OnDoubleClickSpeed();
    void OnMouseSettingTab(int n);

    // The mouse's shoot panel.
    void OnGunSelect(int n);
    void OnBulletSelect(int n);
    void OnBulletStep(bool next);
    void OnBulletEdit();
    void OnBulletXCheck();
    void OnBulletYCheck();
    void OnShootSave();
    void OnShootReset();

    // The headset's audio controls.
    void OnMagicEnable();
    void OnMagicVoiceSelect(int n);
    void OnMicInOption();
    void OnMicInVolumeChange();
    void OnMicMonitorOption();
    void OnMicMonitorVolumeChange();
    void OnEqBandChange(int band);
    void OnEqPresetSelect(int n);
    void OnCustomEqSelect();
    void OnEqSaveClick();
    void OnEqDeleteClick();

  private:
    // The macros as the macro page now holds them go to the current keyboard or mouse, so
    // that the keys that play them play what the user sees; said when they do not fit.
    void UploadMacrosOfCurrentDevice();
    // An edit of the selected macro's events, saved and uploaded.
    template <typename Edit>
    void EditAndSave(Edit edit);
    int BuildDevicePage(int liveIndex, int subKind, bool isMouse);
    void RemovePageOfKind(std::vector<CVornalixUSBDevice*>& list, int liveIndex);
    void OnCommandInterfaceArrived(std::vector<CVornalixUSBDevice*>& list, size_t index,
                                   bool isMouse);
    void OnCommandInterfaceRemoved(std::vector<CVornalixUSBDevice*>& list, size_t index,
                                   bool isMouse);
    // Selects the entry's page and power item; false when either cannot be found.
    bool ShowEntryPage(CDeviceOptionUI& entry);
    // Shows the entry's power item, or hides it for an entry without one; false when the
    // item cannot be found.
    bool ShowEntryPowerSwitch(CDeviceOptionUI& entry);
    // The no-device notice, the sync options and the sync selection follow the number of
    // shown entries.
    void UpdateListForShownEntries();
    // The option row a page of the record is built from, -1 for none; `kind` becomes the
    // kind the page is built as.
    int OptionRowOf(const HidIdRecord& record, bool isMouse, int subKind, int& kind);
    // The live record at index when it is a command interface whose channel this window
    // opens or closes itself: an input interface is attached or detached instead, and a
    // mouse's move between cable and receiver is taken.
    std::optional<HidIdRecord> OwnCommandRecord(size_t index, bool isMouse, bool arrived);
    // The device list of a record's kind (a keyboard, mouse, mouse-pad or headset kind);
    // null for other kinds.
    std::vector<CVornalixUSBDevice*>* DeviceListOfKind(int kind);
    // The path the interface at `index` had when it arrived (the live record's own when it
    // was not seen arrive).
    std::wstring GonePath(size_t index) const;
    // A mouse command interface whose partner is present moves the mouse; true when so.
    bool TakePartnerPath(size_t index, int kind);
    DuiLib::CControlUI* BuildFromXml(LPCTSTR xml, DuiLib::IDialogBuilderCallback* callback);
    std::vector<CDeviceOptionUI*> Entries();
    DuiLib::CContainerUI* FindContainer(LPCTSTR name);
    void StartWorkerThreads();
    void ShowNoDeviceNotice(bool show);
    void ForEachDevice(const std::function<void(CVornalixUSBDevice*)>& action);
    void HandleWindowActivity(UINT uMsg, WPARAM wParam);
    void HandlePeerMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool HandlePowerMessage(UINT uMsg, WPARAM wParam);
    // WM_DEVICE_ARRIVED and WM_DEVICE_REMOVED, awake or not; false for other messages.
    bool HandleDeviceChange(UINT uMsg, WPARAM wParam);
    LRESULT HandleAwakeMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    bool HandleHookMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnMenuClickMessage(WPARAM wParam, BOOL& bHandled);
    void OnTrayNotify(LPARAM lParam);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void SetLightControlStatusText();
    void ApplyLightEdit();
    void WriteMouseSettings(CVornalixMouseDevice& mouse, bool toDevice);
    // Takes the primary display's size for the mouse settings; false when it is unchanged.
    bool TakeScreenSize();
    // The display changed: a new screen size reaches every present mouse.
    void OnDisplaySizeChange();
    void StoreDpiStageValue(int n, int value);
    void ChangeMouseStages(bool toDevice, const std::function<void(MouseSystemStages&)>& change);
    void RefreshKeySetInfoLists();
    void ChangeKeyboardStages(bool toDevice,
                              const std::function<void(KeyboardSystemStages&)>& change);

    int currentLanguage_ = -1;
    std::array<std::unique_ptr<platform::WorkerThread>, kWorkerSlotCount> workers_;
    std::array<std::unique_ptr<platform::Event>, kWorkerSlotCount> stopEvents_;
    std::array<std::unique_ptr<WorkerThreadParam>, kWorkerSlotCount> workerParams_;
    CJsonFile jsonFile_;
    int lightControl_ = 1;
    std::array<DuiLib::CControlUI*, 9> captionButtons_{};
    DuiLib::CTrayIcon trayIcon_;
    platform::PeerCourier peerCourier_;
    bool initialised_ = false;
    std::vector<CVornalixUSBDevice*> mousePads_;
    std::vector<CVornalixUSBDevice*> mice_;
    std::vector<CVornalixUSBDevice*> keyboards_;
    std::vector<CVornalixUSBDevice*> headsets_;
    std::vector<CMpDevicePowerUI*> powerItems_;
    std::vector<DeviceIdentityRecord> updateCandidates_;
    const DeviceTableSet* tables_ = &HardwareDeviceTables();
    std::unique_ptr<HidLiveList> liveRecords_ = std::make_unique<HidLiveList>();
    // The path of each live record as it arrived, until it is removed.
    std::map<size_t, std::wstring> arrivedPaths_;
    std::unique_ptr<DeviceCaptureThread> captureThread_;
    HWND settingsWnd_ = nullptr;
    HWND aboutWnd_ = nullptr;
    int dpi_ = 96;
    platform::CriticalSection deviceListLock_;
    bool awake_ = true;
    int windowActive_ = 0;
    int activeOrHovered_ = 0;
    bool displayChanged_ = false;
    bool deviceInputEnabled_ = true;
    // Held while the hook records: the page takes no input but for the Stop button.
    InputLock recordingLock_;
    std::unique_ptr<DuiLib::CMenuWnd> trayMenu_;
    std::unique_ptr<DuiLib::CMenuWnd> macroActionMenu_;
    std::unique_ptr<DuiLib::CMenuWnd> profileMenu_;
    // The profile menu was open when the last press began (that press closes it).
    bool profileMenuOpenAtPress_ = false;
    CDeviceHook deviceHook_;
    CDeviceHookFilter deviceHookFilter_{deviceHook_};
    FileChooser fileChooser_;
    std::unique_ptr<WindowNoticeSink> noticeSink_;
    bool showingNotices_ = false;
};

// The process-wide screen size stored at "windowinit", passed to the devices' settings writes.
int MainScreenWidth();
int MainScreenHeight();
