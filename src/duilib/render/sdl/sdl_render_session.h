#pragma once
// Puts the toolkit's windows on the desktop for the life of this object: starts SDL,
// installs the SDL renderer as the paint managers' backend and feeds desktop events into
// the thread's message loop. Create it on the UI thread before the first window. Without
// a display the windows are painted off-screen (VELKARO_SCREENSHOT still works).

#include <memory>

namespace DuiLib {

class CSdlRenderSession {
  public:
    CSdlRenderSession();
    ~CSdlRenderSession();
    CSdlRenderSession(const CSdlRenderSession&) = delete;
    CSdlRenderSession& operator=(const CSdlRenderSession&) = delete;

    // True when windows appear on a display.
    bool HasDisplay() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace DuiLib
