#pragma once
// Feeds the key and mouse-button messages of a window to the keyboard hook. The window
// adds it to its paint manager's pre-message filters; it never consumes a message.

#include "duilib/ui_defs.h"
#include "pages/device_hook.h"

class CDeviceHookFilter final : public DuiLib::IMessageFilterUI {
  public:
    explicit CDeviceHookFilter(CDeviceHook& hook) : hook_(hook) {}

    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override {
        hook_.FeedWindowMessage(uMsg, wParam, lParam);
        bHandled = false;
        return 0;
    }

  private:
    CDeviceHook& hook_;
};
