#pragma once
// Folder device/page: helpers the device pages share: control lookup and caching, the
// function tabs, name lists and texts, key-function names and LED button tints.
//
// The controls a device page works with, found by name below the page on first use and
// kept. A page is built before it joins a window, so the search walks the page's own
// tree rather than asking a paint manager. A name not found is looked up again on its
// next use; callers test every result for null, since a skin may leave a control out.

#include <map>
#include <string>
#include <string_view>

#include "duilib/ui_control.h"

namespace device {

class PageControlCache {
  public:
    explicit PageControlCache(DuiLib::CControlUI* page) : page_(page) {}

    // Names compare without regard to case.
    DuiLib::CControlUI* Find(std::wstring_view name);
    // The control named prefix + decimal n ("polling_rate_option_2").
    DuiLib::CControlUI* FindIndexed(std::wstring_view prefix, int n);

    // The control as class T, or null when it is missing or of another class.
    template <class T>
    T* FindAs(std::wstring_view name) {
        return dynamic_cast<T*>(Find(name));
    }
    template <class T>
    T* FindIndexedAs(std::wstring_view prefix, int n) {
        return dynamic_cast<T*>(FindIndexed(prefix, n));
    }

  private:
    DuiLib::CControlUI* page_;
    std::map<std::wstring, DuiLib::CControlUI*> found_;
};

}  // namespace device
