#pragma once
// Classes other libraries add to the toolkit by name, so layout files can name them.

#include <functional>
#include <map>
#include <mutex>

#include "duilib/ui_defs.h"

namespace DuiLib {

using CreateClass = std::function<CControlUI*()>;

class CControlFactory {
  public:
    static CControlFactory* GetInstance();

    // Registers (or replaces) the create function of a class name; names are compared
    // without regard to case. False for an empty name or no function.
    bool RegisterControl(LPCTSTR pstrClassName, CreateClass create);
    bool UnregisterControl(LPCTSTR pstrClassName);
    // A new control of that class, or null when the name is not registered.
    CControlUI* CreateControl(LPCTSTR pstrClassName) const;

  private:
    mutable std::mutex m_mutex;
    std::map<CDuiString, CreateClass> m_classes;
};

// The standard controls by their layout names ("Button", "HorizontalLayout", ...).
CControlUI* CreateStandardControl(LPCTSTR pstrClassName);

}  // namespace DuiLib
