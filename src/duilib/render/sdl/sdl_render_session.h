#pragma once
// Puts the toolkit's windows on the desktop for the life of this object: starts SDL,
// installs the SDL renderer as the paint managers' backend and feeds desktop events into
// the thread's message loop. Create it on the UI thread before the first window. Without
// a display the windows are painted off-screen (VELKARO_SCREENSHOT still works).

#include <functional>
#include <memory>
#include <string>

namespace DuiLib {

class CSdlRenderSession {
  public:
    CSdlRenderSession();
    ~CSdlRenderSession();
    CSdlRenderSession(const CSdlRenderSession&) = delete;
    CSdlRenderSession& operator=(const CSdlRenderSession&) = delete;

    // True when windows appear on a display.
    bool HasDisplay() const;
    // `lost` runs on the UI thread, from the message loop, once the display has gone away
    // (its server ended): the windows are painted off-screen from then on, and what follows
    // is the caller's to decide. Set after the loss, it runs at once.
    void SetDisplayLostHandler(std::function<void(const std::string& display)> lost);

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace DuiLib
