#pragma once
// The program as a person meets it, for tests: the real main window, painted off-screen by
// the SDL renderer, over a simulated bus, with private per-user, configuration and runtime
// folders. A test acts only through the input a person gives (pointer moves, presses,
// releases, double clicks, drags, the wheel, keys and typed text), delivered as desktop
// events to the window under the pointer or holding the focus, and reads back what a
// person would see: which windows and controls are shown, their texts, their places on the
// screen, their pixels; and what the devices received and the files hold.
//
//   ui::UiDriver ui({.devices = "keyboard,mouse"});
//   ui.Click(ui.Find(L"keyboard_lightset_tab"));
//   EXPECT_TRUE(ui.IsShown(ui.Find(L"light_combo_custommodeSelect")));

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

class CMainWnd;
namespace DuiLib {
class CControlUI;
class CPaintManagerUI;
}  // namespace DuiLib
namespace platform::hid {
class SimHidDevice;
}
namespace sim {
class SimCommandDevice;
}

namespace ui {

struct UiOptions {
    // What the simulated bus has plugged in, as VELKARO_SIM says it ("none" for nothing).
    std::string devices = "keyboard";
    // "en" or "zh": the language of a first start.
    std::string language = "en";
    // The locale a first start finds in LC_ALL instead of the language's ("C.UTF-8").
    std::string locale = "";
    // The one monitor of the desktop.
    SIZE screen{1280, 800};
    // Waits for the first device's page before the constructor returns.
    bool waitForDevice = true;
    // The program's tray icon as a desktop without a notification area shows it: in the
    // stand-in window (class DuiLib::kTrayStandInClass) in the screen's bottom-right corner.
    bool tray = false;
};

class UiDriver {
  public:
    explicit UiDriver(UiOptions options = {});
    // Closes the window as the desktop does and waits for its threads.
    ~UiDriver();
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

    // ---- the program and its surroundings
    CMainWnd& Window() { return *window_; }
    HWND MainHwnd() const;
    // The program's per-user folder ($XDG_DATA_HOME/Velkaro/), with a trailing '/'.
    std::string DataFolder() const;
    std::string ConfigFolder() const;
    // $HOME, where the file chooser starts: a private folder, with a trailing '/'.
    std::string HomeFolder() const;
    // The simulated devices, in the order of `UiOptions::devices`.
    const std::vector<std::shared_ptr<platform::hid::SimHidDevice>>& Devices() const;
    // The first plugged device of that model ("keyboard", "mouse", "mousepad", "headset").
    sim::SimCommandDevice* Device(std::string_view model) const;
    // Reads a file of the per-user folder ("" when it cannot be read).
    std::string ReadDataFile(const std::string& relative) const;

    // ---- time
    // Handles messages until `done` holds (true) or `timeoutMs` passed (false).
    bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000);
    // Handles messages until none is waiting and every changed window has been drawn.
    void Settle();

    // ---- windows
    // The shown top-level and child windows of the program, the main window first.
    std::vector<HWND> ShownWindows() const;
    // A shown window of that class (first created first), or null.
    HWND ShownWindowOfClass(std::wstring_view className) const;
    // Waits until a window of that class is shown; null when none came.
    HWND WaitForWindow(std::wstring_view className, int timeoutMs = 10000);
    DuiLib::CPaintManagerUI* ManagerOf(HWND hwnd) const;
    // The window's rectangle on the screen.
    RECT ScreenRectOf(HWND hwnd) const;
    bool InsideScreen(HWND hwnd) const;

    // ---- controls
    // The control of that name that a person sees: the first shown one of any shown window
    // (windows opened last first); when none is shown, the first one at all; else null.
    DuiLib::CControlUI* Find(std::wstring_view name) const;
    DuiLib::CControlUI* FindIn(HWND hwnd, std::wstring_view name) const;
    // Every control of that name in shown windows.
    std::vector<DuiLib::CControlUI*> FindAll(std::wstring_view name) const;
    // Shown: itself and every parent visible, its window shown, and some of it on screen.
    bool IsShown(DuiLib::CControlUI* control) const;
    // Itself, every parent and its window enabled.
    bool IsEnabled(DuiLib::CControlUI* control) const;
    std::wstring Text(DuiLib::CControlUI* control) const;
    // Selected row of a list or combo, checked state of an option or check box.
    int SelectedRow(DuiLib::CControlUI* control) const;
    bool IsChecked(DuiLib::CControlUI* control) const;
    HWND WindowOf(DuiLib::CControlUI* control) const;
    // The control's rectangle within its window's client area, clipped by its parents.
    RECT VisibleRect(DuiLib::CControlUI* control) const;
    // Wholly inside its window's client area.
    bool InsideItsWindow(DuiLib::CControlUI* control) const;

    // ---- pointer (positions are client coordinates of the window named, or of the control)
    void MoveTo(HWND hwnd, POINT at);
    void MoveTo(DuiLib::CControlUI* control);
    // The pointer leaves the program's windows for the bare desktop.
    void MoveToDesktop();
    void Press(HWND hwnd, POINT at, Uint8 button = SDL_BUTTON_LEFT, Uint8 clicks = 1);
    void Release(HWND hwnd, POINT at, Uint8 button = SDL_BUTTON_LEFT, Uint8 clicks = 1);
    // Move there, press, release, settle.
    void ClickAt(HWND hwnd, POINT at, Uint8 button = SDL_BUTTON_LEFT);
    // At the middle of the control's visible part; the test fails when it is not shown.
    void Click(DuiLib::CControlUI* control, Uint8 button = SDL_BUTTON_LEFT);
    void Click(std::wstring_view name, Uint8 button = SDL_BUTTON_LEFT);
    void DoubleClick(DuiLib::CControlUI* control);
    // Press at `from`, move in steps to `to`, release there.
    void Drag(HWND hwnd, POINT from, POINT to, int steps = 8);
    // Notches away from the user (positive) or towards (negative), over the control.
    void Wheel(DuiLib::CControlUI* control, int notches);
    // Points of a control, in its window's client coordinates.
    static POINT CentreOf(DuiLib::CControlUI* control);

    // ---- keyboard (to the window holding the focus)
    void KeyDown(SDL_Keycode key, Uint16 mods = KMOD_NONE,
                 SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN);
    void KeyUp(SDL_Keycode key, Uint16 mods = KMOD_NONE,
               SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN);
    // Down and up; with the character it types, when it types one.
    void PressKey(SDL_Keycode key, Uint16 mods = KMOD_NONE);
    // The text typed (as the desktop's input method hands it over), without key events.
    void TypeText(const char* utf8);
    // Each character's key down, its text and its key up, as a person typing it gives.
    void Type(std::string_view ascii);

    // ---- the desktop
    // The desktop's task bar restores a minimised window a person clicks there.
    void RestoreFromTaskBar(HWND hwnd);
    // The primary display takes this size (a person changes its resolution): the desktop
    // tells every top-level window, as it does.
    void ChangeDisplay(SIZE size);
    // A person turns to another program: the active window of this one loses the focus.
    void FocusAnotherProgram();

    // ---- what a person sees
    // The window's pixels as last drawn (after Settle); null before its first paint.
    SDL_Surface* Pixels(HWND hwnd);
    uint32_t PixelAt(HWND hwnd, POINT at);
    // Writes the window's pixels as a PNG (for looking at them).
    bool SavePng(HWND hwnd, const std::string& file);
    // How many of the window's paints so far drew some of `part` (client coordinates): how
    // often a person saw it change. Settle and Pixels draw whole windows: count across
    // pointer moves and waits only.
    size_t PaintsOver(HWND hwnd, const RECT& part) const;
    // The texts of the shown elements of an open menu window.
    std::vector<std::wstring> MenuItems(HWND menu) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    CMainWnd* window_ = nullptr;
};

}  // namespace ui
