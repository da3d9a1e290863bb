#pragma once
// Feeds the key and mouse-button messages of a window to the keyboard hook. The window
// adds it to its paint manager's message filters, which see every message the window
// handles, sent (as desktop input arrives) or posted. While the hook takes keys they are
// its alone: the filter consumes them; everything else goes on to the window.

#include "duilib/ui_defs.h"
#include "pages/device_hook.h"

class CDeviceHookFilter final : public DuiLib::IMessageFilterUI {
  public:
    explicit CDeviceHookFilter(CDeviceHook& hook) : hook_(hook) {}

    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
        bHandled = hook_.FeedWindowMessage(uMsg, wParam, lParam);
        return 0;
    }

  private:
    CDeviceHook& hook_;
};
