#pragma once
// The X display connection behind the desktop windows, and what becomes of the program
// when it breaks (the X server ended, the session was logged out). Every use of Xlib stays
// in display_connection.cpp: the X headers define many short macro names.
//
// Xlib's own answer to a broken connection is exit(1) from inside whichever call noticed,
// on the UI thread, with the worker threads still running: static objects are destroyed
// under them and the devices are never handed back. Xlib can instead let that call return
// (an I/O error exit handler, libX11 1.7 and later) and fail every later call at once; but
// SDL does not check what Xlib answers: a failed call leaves its results unset and SDL goes
// on with them (the window framebuffer is made from an unset visual), and showing or hiding
// a window waits without a time-out for an answer that never comes.
//
// So the loss is noticed, where possible, before SDL notices it: the UI thread looks at
// the connection (without reading) before it hands the desktop windows to SDL, and the
// display watcher wakes it when the server hangs up. The owner is then told, calls nothing
// of SDL's video again and closes the way it always closes. Inside SDL, only a framebuffer
// update (which reads nothing back) may come back from the loss; a loss noticed in any
// other display call ends the process at once with _exit(1), which runs no destructors,
// after one line on stderr. So does one on a connection not guarded (before the first
// desktop window exists, or one that SDL opened for itself).

#include <SDL.h>

#include <functional>
#include <string>

struct _XDisplay;  // Xlib's Display

namespace DuiLib::sdl {

// The descriptor of the display connection behind a desktop window (X11), or -1.
int DisplayConnectionFd(SDL_Window* window);

// Marks, on the UI thread, a display call that reads nothing back from the server: a loss
// noticed inside it lets it return.
class SurvivableDisplayCall {
  public:
    SurvivableDisplayCall();
    ~SurvivableDisplayCall();
    SurvivableDisplayCall(const SurvivableDisplayCall&) = delete;
    SurvivableDisplayCall& operator=(const SurvivableDisplayCall&) = delete;
};

class DisplayLossGuard {
  public:
    // Runs once, on the UI thread, with the display's name; maybe inside a display call,
    // so it may change the renderer's own state and post messages, nothing more.
    using LostHandler = std::function<void(const std::string& display)>;

    // Takes Xlib's process-wide I/O error handler for the guard's lifetime (one guard at a
    // time). Create it once SDL has opened its connection.
    explicit DisplayLossGuard(LostHandler lost);
    // Destroy it before SDL closes a connection still alive.
    ~DisplayLossGuard();
    DisplayLossGuard(const DisplayLossGuard&) = delete;
    DisplayLossGuard& operator=(const DisplayLossGuard&) = delete;

    // Guards the connection behind `window`; false when there is none (not X11).
    bool Guard(SDL_Window* window);
    bool IsGuarding() const { return m_display != nullptr; }
    // Whether the connection is lost: known already, or hung up by the server now.
    bool CheckLost();
    bool IsLost() const { return m_lost; }

  private:
    friend struct XlibHandlers;
    void Lost();

    LostHandler m_onLost;
    _XDisplay* m_display = nullptr;
    bool m_lost = false;
};

}  // namespace DuiLib::sdl
