#pragma once
// A page that takes no input but for one control: everything beside the path from the page
// down to that control is disabled, so the control and its parents stay usable. Unlock
// enables again only what Lock disabled, so controls that were off for reasons of their
// own stay off.

#include <vector>

namespace DuiLib {
class CControlUI;
}

class InputLock {
  public:
    // Without `keep`, or with one outside `page`, the whole page is disabled. A lock
    // already held is released first.
    void Lock(DuiLib::CControlUI* page, DuiLib::CControlUI* keep);
    void Unlock();
    bool IsLocked() const { return locked_; }

  private:
    void Disable(DuiLib::CControlUI* control);

    std::vector<DuiLib::CControlUI*> disabled_;
    bool locked_ = false;
};
