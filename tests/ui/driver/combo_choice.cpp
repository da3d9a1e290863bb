#include "ui/driver/combo_choice.h"

#include <gtest/gtest.h>

#include "duilib/paint_manager.h"
#include "duilib/ui_container.h"
#include "ui/driver/ui_driver.h"

namespace ui {

namespace {

constexpr int kMaxWheelNotches = 100;

bool WhollyShown(UiDriver& ui, DuiLib::CControlUI* row) {
    const RECT shown = ui.VisibleRect(row);
    const RECT rc = row->GetPos();
    return ui.IsShown(row) && shown.top == rc.top && shown.bottom == rc.bottom;
}

}  // namespace

bool ChooseComboRow(UiDriver& ui, DuiLib::CControlUI* combo, int row) {
    ui.Click(combo);
    const HWND drop = ui.WaitForWindow(L"ComboDropWnd");
    if (drop == nullptr) {
        ADD_FAILURE() << "the combo's list did not drop";
        return false;
    }
    DuiLib::CPaintManagerUI* manager = ui.ManagerOf(drop);
    auto* list =
        manager != nullptr && manager->GetRoot() != nullptr
            ? static_cast<DuiLib::CContainerUI*>(manager->GetRoot()->GetInterface(L"Container"))
            : nullptr;
    DuiLib::CControlUI* item = list != nullptr ? list->GetItemAt(row) : nullptr;
    // A long list shows a part of its rows: it is wheeled until the row is wholly in view.
    for (int notch = 0; item != nullptr && notch < kMaxWheelNotches && !WhollyShown(ui, item);
         ++notch) {
        ui.Wheel(list, item->GetPos().top >= ui.VisibleRect(list).top ? -1 : 1);
    }
    if (!ui.IsShown(item)) {
        ADD_FAILURE() << "row " << row << " is not shown in the combo's list";
        return false;
    }
    ui.Click(item);
    return true;
}

}  // namespace ui
