#include "ui/driver/ui_driver.h"

#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "app/control_registration.h"
#include "app/file_choosers.h"
#include "app/main_wnd/main_wnd.h"
#include "app/private_font_set.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/paint_manager.h"
#include "duilib/render/desktop_tray.h"
#include "duilib/render/sdl/display_layout.h"
#include "duilib/render/sdl/sdl_input_router.h"
#include "duilib/render/sdl/sdl_render_backend.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_list.h"
#include "platform/desktop.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "platform/window_observer.h"
#include "sim/command_device.h"
#include "sim/scenario.h"
#include "support/message_pump.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace ui {
namespace {

using DuiLib::CControlUI;
using DuiLib::CPaintManagerUI;
using testing_support::ScopedEnv;

std::string LocaleFor(const UiOptions& options) {
    if (!options.locale.empty()) {
        return options.locale;
    }
    return options.language == "zh" ? "zh_CN.UTF-8" : "en_US.UTF-8";
}

RECT Intersection(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

std::string MadeFolder(const std::string& path) {
    platform::EnsureDirectory(path);
    return path;
}

bool IsEmpty(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// SDL starts before the first window and ends after the last one has gone.
class SdlVideo {
  public:
    SdlVideo() {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        video_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        TTF_Init();
        IMG_Init(IMG_INIT_PNG);
    }
    ~SdlVideo() {
        IMG_Quit();
        TTF_Quit();
        if (video_) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        SDL_Quit();
    }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
    bool HasVideo() const { return video_; }

  private:
    bool video_ = false;
};

}  // namespace

struct UiDriver::Impl {
    explicit Impl(const UiOptions& opts)
        : options(opts),
          runtimeEnv("XDG_RUNTIME_DIR", runtime.path()),
          homeEnv("HOME", MadeFolder(folders.dir().path() + "home/")),
          hidEnv("VELKARO_HID", "sim"),
          locale("LC_ALL", LocaleFor(opts)),
          fonts(platform::InstancePath() + "Font/") {}

    UiOptions options;
    testing_support::ScopedUserFolders folders;
    testing_support::TempDir runtime;
    ScopedEnv runtimeEnv;
    // The file chooser opens in the home folder: a private one, not the user's.
    ScopedEnv homeEnv;
    ScopedEnv hidEnv;
    ScopedEnv locale;
    PrivateFontSet fonts;
    SdlVideo video;
    DuiLib::sdl::SdlRenderBackend backend{true};
    DuiLib::sdl::InputRouter router{backend};
    CPaintManagerUI* previousBackendOwner = nullptr;
    DuiLib::IRenderBackend* previousBackend = nullptr;
    platform::hid::SimHidBus bus;
    std::unique_ptr<platform::hid::ScopedHidBus> useBus;
    std::unique_ptr<sim::SimScenario> scenario;
    std::unique_ptr<CMainWnd> window;
    // No session bus: the tray icon shows in its stand-in window.
    std::optional<ScopedEnv> noSessionBus;
    std::unique_ptr<DuiLib::CDesktopTray> trays;
    std::mutex dirtyMutex;
    std::set<HWND> dirty;
    // What each paint drew, newest last (a bounded record).
    struct PaintRecord {
        HWND hwnd = nullptr;
        std::vector<RECT> parts;
    };
    static constexpr size_t kPaintRecordLimit = 8192;
    std::deque<PaintRecord> paints;
    HWND pointerWindow = nullptr;

    // Desktop windows follow the window layer's state, as the renderer's session does.
    void SyncDirtyWindows() {
        std::set<HWND> changed;
        {
            std::lock_guard lock(dirtyMutex);
            changed.swap(dirty);
        }
        for (HWND hwnd : changed) {
            backend.SyncWindow(hwnd);
        }
        if (trays) {
            trays->Sync();
        }
    }

    // One round of the message loop; false when nothing was waiting.
    bool PumpOnce() {
        SyncDirtyWindows();
        return testing_support::PumpOneMessage();
    }

    Uint32 SdlIdOf(HWND hwnd) {
        SyncDirtyWindows();
        SDL_Window* desktop = hwnd != nullptr ? backend.DesktopWindowOf(hwnd) : nullptr;
        return desktop != nullptr ? SDL_GetWindowID(desktop) : 0;
    }

    void Route(const SDL_Event& event) { router.Route(event); }

    void RouteWindowEvent(HWND hwnd, Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SdlIdOf(hwnd);
        event.window.event = what;
        if (event.window.windowID != 0) {
            Route(event);
        }
    }

    // The desktop tells a window the pointer came in or went out, as it crosses edges.
    void PointerInto(HWND hwnd) {
        if (hwnd == pointerWindow) {
            return;
        }
        if (pointerWindow != nullptr && platform::IsWindow(pointerWindow)) {
            RouteWindowEvent(pointerWindow, SDL_WINDOWEVENT_LEAVE);
        }
        pointerWindow = hwnd;
        RouteWindowEvent(hwnd, SDL_WINDOWEVENT_ENTER);
    }

    HWND KeyTarget() {
        const HWND active = platform::GetActiveWindow();
        return active != nullptr ? active : window->GetHWND();
    }
};

UiDriver::UiDriver(UiOptions options) : impl_(std::make_unique<Impl>(options)) {
    if (!impl_->video.HasVideo()) {
        ADD_FAILURE() << "SDL's off-screen video driver is not available: " << SDL_GetError();
        return;
    }
    platform::SetScreenSize(options.screen);
    impl_->previousBackend = CPaintManagerUI::GetRenderBackend();
    CPaintManagerUI::SetRenderBackend(&impl_->backend);
    impl_->backend.SetPaintListener([impl = impl_.get()](CPaintManagerUI& manager) {
        if (impl->paints.size() >= Impl::kPaintRecordLimit) {
            impl->paints.pop_front();
        }
        impl->paints.push_back({manager.GetPaintWindow(), impl->backend.LastPaintedRects(manager)});
    });
    platform::SetWindowStateObserver([impl = impl_.get()](HWND hwnd) {
        std::lock_guard lock(impl->dirtyMutex);
        impl->dirty.insert(hwnd);
    });
    if (options.tray) {
        impl_->noSessionBus.emplace("DBUS_SESSION_BUS_ADDRESS",
                                    "unix:path=" + impl_->runtime.path() + "no-bus");
        impl_->trays = std::make_unique<DuiLib::CDesktopTray>();
    }
    impl_->useBus = std::make_unique<platform::hid::ScopedHidBus>(impl_->bus);
    std::vector<sim::ScenarioEntry> entries;
    if (!sim::ParseScenario(options.devices, &entries)) {
        ADD_FAILURE() << "not a device list: " << options.devices;
    }
    impl_->scenario = std::make_unique<sim::SimScenario>(impl_->bus, entries);

    DuiLib::CPaintManagerUI::SetResourcePath(L"skin");
    if (!DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml")) {
        ADD_FAILURE() << "the skin cannot be read";
        return;
    }
    RegisterControlClasses();
    impl_->window = std::make_unique<CMainWnd>();
    window_ = impl_->window.get();
    window_->UseDeviceTables(DeviceTablesForBus(platform::hid::CurrentHidBus()));
    if (window_->Create(nullptr, L"Velkaro", 0x96CA0000, 0, 0, 0, 800, 572) == nullptr) {
        ADD_FAILURE() << "the main window cannot be built: "
                      << window_->GetLastBuildError().ToUtf8();
        return;
    }
    InstallFileChoosers(*window_);
    window_->CenterWindow();
    if (!WaitFor([this] { return window_->IsInitialised(); })) {
        ADD_FAILURE() << "the main window never initialised";
    }
    // The window shows itself once the first look at the bus is done.
    if (!WaitFor([this] { return platform::IsWindowVisible(window_->GetHWND()) != 0; })) {
        ADD_FAILURE() << "the main window never appeared";
    }
    if (options.waitForDevice && !entries.empty() &&
        !WaitFor([this] { return !IsShown(Find(L"No_device_Link")); })) {
        ADD_FAILURE() << "no device page came for " << options.devices;
    }
    // A moment after it shows, the page's device starts and its profile is loaded: the
    // page takes input from then on.
    if (options.waitForDevice && !entries.empty() && !WaitFor([this] {
            CVornalixUSBDevice* device = window_->GetCurrentDevice();
            return device != nullptr && !device->GetProfilePath().IsEmpty() && device->IsEnabled();
        })) {
        ADD_FAILURE() << "the device of the page shown never started";
    }
    Settle();
}

UiDriver::~UiDriver() {
    if (impl_->window) {
        platform::PostMessage(window_->GetHWND(), WM_CLOSE, 0, 0);
        WaitFor([this] {
            return !window_->IsWorkerRunning(kCaptureThreadSlot) &&
                   !window_->IsWorkerRunning(kLightSyncThreadSlot);
        });
        impl_->trays.reset();
        // Windows left open (menus, lists, child windows) go before the main one. A menu
        // takes its open submenus with it: the handles are gathered first.
        std::vector<HWND> open;
        for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
            open.push_back(manager->GetPaintWindow());
        }
        for (HWND hwnd : open) {
            if (hwnd != nullptr && hwnd != window_->GetHWND() && platform::IsWindow(hwnd) &&
                platform::IsWindowOnCurrentThread(hwnd)) {
                platform::DestroyWindow(hwnd);
            }
        }
        impl_->window.reset();
    }
    RemoveFileChoosers();
    impl_->bus.UnplugAll();
    impl_->scenario.reset();
    impl_->useBus.reset();
    platform::SetWindowStateObserver(nullptr);
    CPaintManagerUI::SetRenderBackend(impl_->previousBackend);
}

HWND UiDriver::MainHwnd() const {
    return window_ != nullptr ? window_->GetHWND() : nullptr;
}

std::string UiDriver::DataFolder() const {
    return impl_->folders.DataHome() + "Velkaro/";
}

std::string UiDriver::HomeFolder() const {
    return impl_->folders.dir().path() + "home/";
}

std::string UiDriver::ConfigFolder() const {
    return impl_->folders.ConfigHome() + "Velkaro/";
}

const std::vector<std::shared_ptr<platform::hid::SimHidDevice>>& UiDriver::Devices() const {
    return impl_->scenario->Devices();
}

sim::SimCommandDevice* UiDriver::Device(std::string_view model) const {
    std::vector<sim::ScenarioEntry> entries;
    sim::ParseScenario(impl_->options.devices, &entries);
    const auto& devices = Devices();
    for (size_t i = 0; i < entries.size() && i < devices.size(); ++i) {
        if (entries[i].model == model) {
            return dynamic_cast<sim::SimCommandDevice*>(devices[i].get());
        }
    }
    return nullptr;
}

std::string UiDriver::ReadDataFile(const std::string& relative) const {
    return testing_support::ReadTextFile(DataFolder() + relative);
}

bool UiDriver::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        if (!impl_->PumpOnce()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return true;
}

void UiDriver::Settle() {
    // Idle: several rounds in a row found nothing to handle. Timers keep firing (frames
    // every 50 ms), so the loop also ends after a bounded number of rounds.
    int quiet = 0;
    for (int round = 0; round < 20000 && quiet < 3; ++round) {
        if (impl_->PumpOnce()) {
            quiet = 0;
        } else {
            ++quiet;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Whatever is invalid gets drawn now, as the next frame on the desktop would.
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        const HWND hwnd = manager->GetPaintWindow();
        if (hwnd != nullptr && platform::IsWindowVisible(hwnd) &&
            platform::IsWindowOnCurrentThread(hwnd)) {
            platform::SendMessage(hwnd, WM_PAINT, 0, 0);
        }
    }
    impl_->SyncDirtyWindows();
}

std::vector<HWND> UiDriver::ShownWindows() const {
    std::vector<HWND> shown;
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        const HWND hwnd = manager->GetPaintWindow();
        if (hwnd != nullptr && platform::IsWindowVisible(hwnd) &&
            std::find(shown.begin(), shown.end(), hwnd) == shown.end()) {
            shown.push_back(hwnd);
        }
    }
    const HWND main = MainHwnd();
    std::stable_partition(shown.begin(), shown.end(), [main](HWND h) { return h == main; });
    return shown;
}

HWND UiDriver::ShownWindowOfClass(std::wstring_view className) const {
    for (HWND hwnd : ShownWindows()) {
        if (platform::GetWindowClassName(hwnd) == className) {
            return hwnd;
        }
    }
    return nullptr;
}

HWND UiDriver::WaitForWindow(std::wstring_view className, int timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            found = ShownWindowOfClass(className);
            return found != nullptr;
        },
        timeoutMs);
    if (found != nullptr) {
        Settle();
    }
    return found;
}

CPaintManagerUI* UiDriver::ManagerOf(HWND hwnd) const {
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (manager->GetPaintWindow() == hwnd) {
            return manager;
        }
    }
    return nullptr;
}

RECT UiDriver::ScreenRectOf(HWND hwnd) const {
    RECT rc{};
    platform::GetWindowRect(hwnd, &rc);
    return rc;
}

bool UiDriver::InsideScreen(HWND hwnd) const {
    const RECT rc = ScreenRectOf(hwnd);
    for (const platform::MonitorArea& monitor : platform::GetMonitors()) {
        const RECT& b = monitor.bounds;
        if (rc.left >= b.left && rc.top >= b.top && rc.right <= b.right && rc.bottom <= b.bottom) {
            return true;
        }
    }
    return false;
}

namespace {

struct NameSearch {
    std::wstring_view name;
    std::vector<CControlUI*> found;
};

CControlUI* CollectByName(CControlUI* control, LPVOID data) {
    auto* search = static_cast<NameSearch*>(data);
    const DuiLib::CDuiString ownName = control->GetName();
    const std::wstring& own = ownName.str();
    if (own.size() == search->name.size() &&
        std::equal(own.begin(), own.end(), search->name.begin(),
                   [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); })) {
        search->found.push_back(control);
    }
    return nullptr;  // go on: every match is wanted
}

std::vector<CControlUI*> AllNamed(CPaintManagerUI* manager, std::wstring_view name) {
    NameSearch search{name, {}};
    if (manager != nullptr && manager->GetRoot() != nullptr) {
        manager->GetRoot()->FindControl(CollectByName, &search, DuiLib::UIFIND_ALL);
    }
    return search.found;
}

}  // namespace

CControlUI* UiDriver::FindIn(HWND hwnd, std::wstring_view name) const {
    const auto all = AllNamed(ManagerOf(hwnd), name);
    for (CControlUI* control : all) {
        if (IsShown(control)) {
            return control;
        }
    }
    return all.empty() ? nullptr : all.front();
}

CControlUI* UiDriver::Find(std::wstring_view name) const {
    std::vector<HWND> windows = ShownWindows();
    // The newest window lies on top: a menu or child window before the main window.
    std::reverse(windows.begin(), windows.end());
    CControlUI* hidden = nullptr;
    for (HWND hwnd : windows) {
        for (CControlUI* control : AllNamed(ManagerOf(hwnd), name)) {
            if (IsShown(control)) {
                return control;
            }
            if (hidden == nullptr) {
                hidden = control;
            }
        }
    }
    return hidden;
}

std::vector<CControlUI*> UiDriver::FindAll(std::wstring_view name) const {
    std::vector<CControlUI*> all;
    for (HWND hwnd : ShownWindows()) {
        for (CControlUI* control : AllNamed(ManagerOf(hwnd), name)) {
            all.push_back(control);
        }
    }
    return all;
}

HWND UiDriver::WindowOf(CControlUI* control) const {
    return control != nullptr && control->GetManager() != nullptr
               ? control->GetManager()->GetPaintWindow()
               : nullptr;
}

RECT UiDriver::VisibleRect(CControlUI* control) const {
    RECT rc = control->GetPos();
    for (CControlUI* parent = control->GetParent(); parent != nullptr;
         parent = parent->GetParent()) {
        rc = Intersection(rc, parent->GetPos());
    }
    RECT client{};
    platform::GetClientRect(WindowOf(control), &client);
    return Intersection(rc, client);
}

bool UiDriver::IsShown(CControlUI* control) const {
    if (control == nullptr || !control->IsVisible()) {
        return false;
    }
    const HWND hwnd = WindowOf(control);
    return hwnd != nullptr && platform::IsWindowVisible(hwnd) && !IsEmpty(VisibleRect(control));
}

bool UiDriver::IsEnabled(CControlUI* control) const {
    if (control == nullptr) {
        return false;
    }
    // A control inside a disabled container takes no input either.
    for (CControlUI* c = control; c != nullptr; c = c->GetParent()) {
        if (!c->IsEnabled()) {
            return false;
        }
    }
    const HWND hwnd = WindowOf(control);
    return hwnd != nullptr && platform::IsWindowEnabled(hwnd);
}

std::wstring UiDriver::Text(CControlUI* control) const {
    return control != nullptr ? control->GetText().str() : std::wstring();
}

int UiDriver::SelectedRow(CControlUI* control) const {
    if (control == nullptr) {
        return -1;
    }
    if (auto* combo = static_cast<DuiLib::CComboUI*>(control->GetInterface(L"Combo"))) {
        return combo->GetCurSel();
    }
    if (auto* list = static_cast<DuiLib::CListUI*>(control->GetInterface(L"List"))) {
        return list->GetCurSel();
    }
    return -1;
}

bool UiDriver::IsChecked(CControlUI* control) const {
    auto* option = control != nullptr
                       ? static_cast<DuiLib::COptionUI*>(control->GetInterface(L"Option"))
                       : nullptr;
    return option != nullptr && option->IsSelected();
}

bool UiDriver::InsideItsWindow(CControlUI* control) const {
    RECT client{};
    platform::GetClientRect(WindowOf(control), &client);
    const RECT rc = control->GetPos();
    return rc.left >= client.left && rc.top >= client.top && rc.right <= client.right &&
           rc.bottom <= client.bottom;
}

POINT UiDriver::CentreOf(CControlUI* control) {
    const RECT rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void UiDriver::MoveTo(HWND hwnd, POINT at) {
    impl_->PointerInto(hwnd);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = impl_->SdlIdOf(hwnd);
    event.motion.x = at.x;
    event.motion.y = at.y;
    impl_->Route(event);
}

void UiDriver::MoveToDesktop() {
    impl_->PointerInto(nullptr);
}

void UiDriver::MoveTo(CControlUI* control) {
    const RECT rc = VisibleRect(control);
    MoveTo(WindowOf(control), POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

namespace {

SDL_Event ButtonEvent(Uint32 type, Uint32 windowId, POINT at, Uint8 button, Uint8 clicks) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = windowId;
    event.button.button = button;
    event.button.clicks = clicks;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = at.x;
    event.button.y = at.y;
    return event;
}

}  // namespace

void UiDriver::Press(HWND hwnd, POINT at, Uint8 button, Uint8 clicks) {
    impl_->Route(ButtonEvent(SDL_MOUSEBUTTONDOWN, impl_->SdlIdOf(hwnd), at, button, clicks));
}

void UiDriver::Release(HWND hwnd, POINT at, Uint8 button, Uint8 clicks) {
    impl_->Route(ButtonEvent(SDL_MOUSEBUTTONUP, impl_->SdlIdOf(hwnd), at, button, clicks));
}

void UiDriver::ClickAt(HWND hwnd, POINT at, Uint8 button) {
    MoveTo(hwnd, at);
    Press(hwnd, at, button);
    Release(hwnd, at, button);
    Settle();
}

void UiDriver::Click(CControlUI* control, Uint8 button) {
    if (!IsShown(control)) {
        ADD_FAILURE() << "clicking a control nobody sees: "
                      << (control != nullptr ? control->GetName().ToUtf8() : "(none)");
        return;
    }
    const RECT rc = VisibleRect(control);
    ClickAt(WindowOf(control), POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, button);
}

void UiDriver::Click(std::wstring_view name, Uint8 button) {
    CControlUI* control = Find(name);
    if (control == nullptr) {
        ADD_FAILURE() << "no control named " << platform::Utf8Encode(std::wstring(name));
        return;
    }
    Click(control, button);
}

void UiDriver::DoubleClick(CControlUI* control) {
    if (!IsShown(control)) {
        ADD_FAILURE() << "double-clicking a control nobody sees";
        return;
    }
    const HWND hwnd = WindowOf(control);
    const RECT rc = VisibleRect(control);
    const POINT at{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    MoveTo(hwnd, at);
    Press(hwnd, at, SDL_BUTTON_LEFT, 1);
    Release(hwnd, at, SDL_BUTTON_LEFT, 1);
    Press(hwnd, at, SDL_BUTTON_LEFT, 2);
    Release(hwnd, at, SDL_BUTTON_LEFT, 2);
    Settle();
}

void UiDriver::Drag(HWND hwnd, POINT from, POINT to, int steps) {
    MoveTo(hwnd, from);
    Press(hwnd, from);
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i) {
        MoveTo(hwnd,
               POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        // What the window draws while the button is held is part of what a person sees.
        impl_->PumpOnce();
    }
    Release(hwnd, to);
    Settle();
}

void UiDriver::Wheel(CControlUI* control, int notches) {
    MoveTo(control);
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = impl_->SdlIdOf(WindowOf(control));
    event.wheel.y = notches;
    impl_->Route(event);
    Settle();
}

namespace {

SDL_Event KeyEvent(Uint32 type, Uint32 windowId, SDL_Keycode key, Uint16 mods,
                   SDL_Scancode scancode) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mods;
    event.key.keysym.scancode =
        scancode != SDL_SCANCODE_UNKNOWN ? scancode : SDL_GetScancodeFromKey(key);
    return event;
}

}  // namespace

void UiDriver::KeyDown(SDL_Keycode key, Uint16 mods, SDL_Scancode scancode) {
    impl_->Route(KeyEvent(SDL_KEYDOWN, impl_->SdlIdOf(impl_->KeyTarget()), key, mods, scancode));
}

void UiDriver::KeyUp(SDL_Keycode key, Uint16 mods, SDL_Scancode scancode) {
    impl_->Route(KeyEvent(SDL_KEYUP, impl_->SdlIdOf(impl_->KeyTarget()), key, mods, scancode));
}

void UiDriver::TypeText(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = impl_->SdlIdOf(impl_->KeyTarget());
    SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
    impl_->Route(event);
}

void UiDriver::PressKey(SDL_Keycode key, Uint16 mods) {
    KeyDown(key, mods);
    const bool printable = key >= SDLK_SPACE && key < SDLK_DELETE && (mods & KMOD_CTRL) == 0;
    if (printable) {
        char text[2] = {static_cast<char>(key), 0};
        if ((mods & KMOD_SHIFT) != 0 && text[0] >= 'a' && text[0] <= 'z') {
            text[0] = static_cast<char>(text[0] - 'a' + 'A');
        }
        TypeText(text);
    }
    KeyUp(key, mods);
    Settle();
}

void UiDriver::Type(std::string_view ascii) {
    for (char ch : ascii) {
        const bool upper = ch >= 'A' && ch <= 'Z';
        const SDL_Keycode key = upper ? static_cast<SDL_Keycode>(ch - 'A' + 'a')
                                      : static_cast<SDL_Keycode>(static_cast<unsigned char>(ch));
        PressKey(key, upper ? KMOD_LSHIFT : KMOD_NONE);
    }
}

void UiDriver::RestoreFromTaskBar(HWND hwnd) {
    impl_->RouteWindowEvent(hwnd, SDL_WINDOWEVENT_RESTORED);
    Settle();
}

void UiDriver::FocusAnotherProgram() {
    if (const HWND active = platform::GetActiveWindow()) {
        impl_->RouteWindowEvent(active, SDL_WINDOWEVENT_FOCUS_LOST);
    }
    Settle();
}

SDL_Surface* UiDriver::Pixels(HWND hwnd) {
    Settle();
    CPaintManagerUI* manager = ManagerOf(hwnd);
    return manager != nullptr ? impl_->backend.PixelsOf(*manager) : nullptr;
}

uint32_t UiDriver::PixelAt(HWND hwnd, POINT at) {
    SDL_Surface* surface = Pixels(hwnd);
    if (surface == nullptr || at.x < 0 || at.y < 0 || at.x >= surface->w || at.y >= surface->h) {
        return 0;
    }
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + at.y * surface->pitch;
    return reinterpret_cast<const uint32_t*>(row)[at.x];
}

void UiDriver::ChangeDisplay(SIZE size) {
    platform::SetScreenSize(size);
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        const HWND hwnd = manager->GetPaintWindow();
        if (hwnd != nullptr && platform::GetWindowOwner(hwnd) == nullptr) {
            constexpr WPARAM kBitsPerPixel = 32;
            platform::PostMessage(
                hwnd, WM_DISPLAYCHANGE, kBitsPerPixel,
                MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
        }
    }
    Settle();
}

size_t UiDriver::PaintsOver(HWND hwnd, const RECT& part) const {
    size_t count = 0;
    for (const Impl::PaintRecord& paint : impl_->paints) {
        if (paint.hwnd == hwnd &&
            std::any_of(paint.parts.begin(), paint.parts.end(),
                        [&](const RECT& rc) { return !IsEmpty(Intersection(rc, part)); })) {
            ++count;
        }
    }
    return count;
}

bool UiDriver::SavePng(HWND hwnd, const std::string& file) {
    Settle();
    CPaintManagerUI* manager = ManagerOf(hwnd);
    return manager != nullptr && impl_->backend.SavePng(*manager, file);
}

std::vector<std::wstring> UiDriver::MenuItems(HWND menu) const {
    std::vector<std::wstring> items;
    CPaintManagerUI* manager = ManagerOf(menu);
    if (manager == nullptr || manager->GetRoot() == nullptr) {
        return items;
    }
    for (CControlUI* element :
         manager->FindSubControlsByClass(manager->GetRoot(), L"MenuElementUI")) {
        if (IsShown(element)) {
            items.push_back(element->GetText().str());
        }
    }
    return items;
}

}  // namespace ui
