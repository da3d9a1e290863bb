#pragma once
// The program's single top-level window: it builds one page per supported device kind,
// owns the device objects, keeps the device list, runs the main window's two worker
// threads and stops them in order when it closes.

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/skin_observer.h"
#include "device/device_capture_thread.h"
#include "device/device_tables.h"
#include "device/hid_live_list.h"
#include "duilib/tray_icon.h"
#include "duilib/window_impl_base.h"
#include "platform/event.h"
#include "platform/worker_thread.h"
#include "profile/json_file.h"

class CVornalixUSBDevice;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class CMainWnd;

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
    const std::vector<DeviceIdentityRecord>& GetUpdateCandidates() const {
        return updateCandidates_;
    }

    // Languages and fonts.
    int GetStoredLanguageIndex();
    void ApplyLanguage(int index);
    void SaveLanguageId(int64_t id);
    void RebuildFonts(LPCTSTR face);
    int GetCurrentLanguage() const { return currentLanguage_; }

    // Child windows.
    void OpenSettingsWindow(bool forUpdate);
    void OpenAboutWindow();
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
    bool IsWorkerRunning(int slot) const;
    int GetDPI() const { return dpi_; }
    int GetEntryIndex(CDeviceOptionUI* entry);

  private:
    int BuildDevicePage(int liveIndex, int subKind, bool isMouse);
    void RemovePageOfKind(std::vector<CVornalixUSBDevice*>& list, int liveIndex);
    void OnCommandInterfaceArrived(std::vector<CVornalixUSBDevice*>& list, size_t index,
                                   bool isMouse);
    void OnCommandInterfaceRemoved(std::vector<CVornalixUSBDevice*>& list, size_t index);
    DuiLib::CControlUI* BuildFromXml(LPCTSTR xml, DuiLib::IDialogBuilderCallback* callback);
    std::vector<CDeviceOptionUI*> Entries();
    DuiLib::CContainerUI* FindContainer(LPCTSTR name);
    void StartWorkerThreads();
    void ShowNoDeviceNotice(bool show);
    void ForEachDevice(const std::function<void(CVornalixUSBDevice*)>& action);

    int currentLanguage_ = -1;
    std::array<std::unique_ptr<platform::WorkerThread>, kWorkerSlotCount> workers_;
    std::array<std::unique_ptr<platform::Event>, kWorkerSlotCount> stopEvents_;
    std::array<std::unique_ptr<WorkerThreadParam>, kWorkerSlotCount> workerParams_;
    CJsonFile jsonFile_;
    int lightControl_ = 1;
    std::array<DuiLib::CControlUI*, 9> captionButtons_{};
    DuiLib::CTrayIcon trayIcon_;
    bool initialised_ = false;
    std::vector<CVornalixUSBDevice*> mousePads_;
    std::vector<CVornalixUSBDevice*> mice_;
    std::vector<CVornalixUSBDevice*> keyboards_;
    std::vector<CVornalixUSBDevice*> headsets_;
    std::vector<CMpDevicePowerUI*> powerItems_;
    std::vector<DeviceIdentityRecord> updateCandidates_;
    std::unique_ptr<HidLiveList> liveRecords_ = std::make_unique<HidLiveList>();
    std::unique_ptr<DeviceCaptureThread> captureThread_;
    HWND settingsWnd_ = nullptr;
    HWND aboutWnd_ = nullptr;
    int dpi_ = 96;
};

// The process-wide screen size stored at "windowinit", passed to the devices' settings writes.
int MainScreenWidth();
int MainScreenHeight();
