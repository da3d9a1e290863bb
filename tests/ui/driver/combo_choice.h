#pragma once
// Choosing a row of a combo as a person does: a click on the combo drops its list (a
// window of its own), a click on the row chooses it; a long list is wheeled until the
// row is in view.

namespace DuiLib {
class CControlUI;
}

namespace ui {

class UiDriver;

// False (and the test fails) when the list did not drop or the row is not shown in it.
bool ChooseComboRow(UiDriver& ui, DuiLib::CControlUI* combo, int row);

}  // namespace ui
