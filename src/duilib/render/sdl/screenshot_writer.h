#pragma once
// VELKARO_SCREENSHOT=<file>: the main window (the first window without an owner that is
// painted) is written as a PNG once its first paint has settled, and again after
// VELKARO_SCREENSHOT_MS milliseconds when that is set.

#include <string>

#include "platform/win_types.h"

namespace DuiLib {
class CPaintManagerUI;
}

namespace DuiLib::sdl {

class SdlRenderBackend;

class ScreenshotWriter {
  public:
    // `pump` is the window that receives the writer's posted message and timer.
    ScreenshotWriter(SdlRenderBackend& backend, HWND pump, std::string file, int delayMs);

    void WindowPainted(CPaintManagerUI& manager);
    // The posted message came back: every message queued before it has been handled.
    void OnSettled();
    void OnTimer();

    static constexpr UINT_PTR kTimerId = 1;

  private:
    CPaintManagerUI* Target() const;
    void Write();

    SdlRenderBackend& m_backend;
    HWND m_pump;
    std::string m_file;
    int m_delayMs;
    HWND m_target = nullptr;
    bool m_settlePosted = false;
    bool m_firstWritten = false;
};

}  // namespace DuiLib::sdl
