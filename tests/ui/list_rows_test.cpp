// Lists as a person reads them: rows one line high in the skin's colours, however many
// there are, and a list that scrolls when they do not all fit.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "duilib/ui_list.h"
#include "duilib/ui_scrollbar.h"
#include "ui/driver/ui_driver.h"

namespace {

using DuiLib::CControlUI;
using DuiLib::CListUI;

CListUI* ListNamed(ui::UiDriver& ui, const wchar_t* name) {
    CControlUI* control = ui.Find(name);
    return control != nullptr ? static_cast<CListUI*>(control->GetInterface(L"List")) : nullptr;
}

// The page settles as the keyboard's settings arrive and may show its first tab again:
// a person clicks the tab again until its page stays.
void OpenTab(ui::UiDriver& ui, const wchar_t* tab, const wchar_t* onPage) {
    ASSERT_TRUE(ui.WaitFor([&] {
        if (!ui.IsShown(ui.Find(onPage)) && ui.IsShown(ui.Find(tab))) {
            ui.Click(tab);
        }
        return ui.IsShown(ui.Find(onPage));
    }));
}

int HeightOf(CControlUI* control) {
    return control->GetPos().bottom - control->GetPos().top;
}

// Pixels of `rect` light enough to be the skin's pale text on its dark rows.
int LightPixels(ui::UiDriver& ui, HWND hwnd, const RECT& rect) {
    SDL_Surface* pixels = ui.Pixels(hwnd);
    if (pixels == nullptr) {
        return 0;
    }
    int light = 0;
    for (LONG y = std::max<LONG>(0, rect.top); y < std::min<LONG>(pixels->h, rect.bottom); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(pixels->pixels) + y * pixels->pitch);
        for (LONG x = std::max<LONG>(0, rect.left); x < std::min<LONG>(pixels->w, rect.right);
             ++x) {
            const uint32_t p = row[x];
            if (((p >> 16) & 0xFF) > 0xB0 && ((p >> 8) & 0xFF) > 0xB0 && (p & 0xFF) > 0xB0) {
                ++light;
            }
        }
    }
    return light;
}

TEST(ListUi, RowsStayOneLineHighInTheSkinsColoursAndTheListScrolls) {
    ui::UiDriver ui;
    OpenTab(ui, L"macro_Op_tab", L"macro_btn_name_add");
    CListUI* list = ListNamed(ui, L"macro_name_list");
    ASSERT_NE(list, nullptr);
    ui.Click(L"macro_btn_name_add");
    ASSERT_EQ(list->GetCount(), 1);
    const int rowHeight = HeightOf(list->GetItemAt(0));
    EXPECT_LT(rowHeight, HeightOf(list) / 3) << "one row fills the list";
    // Pale text on the dark list, as the skin says, not black.
    ui.Settle();
    const RECT first = ui.VisibleRect(list->GetItemAt(0));
    EXPECT_GT(LightPixels(ui, ui.MainHwnd(), first), 20);

    for (int i = 0; i < 15; ++i) {
        ui.Click(L"macro_btn_name_add");
    }
    ASSERT_EQ(list->GetCount(), 16);
    for (int i = 0; i < list->GetCount(); ++i) {
        EXPECT_EQ(HeightOf(list->GetItemAt(i)), rowHeight) << "row " << i;
    }
    EXPECT_TRUE(ui.IsShown(list->GetVerticalScrollBar()));
    // The newest macro is selected and in view; the wheel brings the first back.
    EXPECT_TRUE(ui.IsShown(list->GetItemAt(15)));
    EXPECT_FALSE(ui.IsShown(list->GetItemAt(0)));
    ui.Wheel(list, 20);
    EXPECT_TRUE(ui.IsShown(list->GetItemAt(0)));
    EXPECT_FALSE(ui.IsShown(list->GetItemAt(15)));
}

}  // namespace

namespace {

// How bright the brightest tenth of the control's pixels are: its text and marks, which a
// disabled control shows dimmed.
double PeakBrightness(ui::UiDriver& ui, CControlUI* control) {
    SDL_Surface* pixels = ui.Pixels(ui.WindowOf(control));
    const RECT rc = ui.VisibleRect(control);
    std::vector<double> values;
    for (LONG y = std::max<LONG>(0, rc.top); y < std::min<LONG>(pixels->h, rc.bottom); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(pixels->pixels) + y * pixels->pitch);
        for (LONG x = std::max<LONG>(0, rc.left); x < std::min<LONG>(pixels->w, rc.right); ++x) {
            const uint32_t p = row[x];
            values.push_back((((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3.0);
        }
    }
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end(), std::greater<>());
    const size_t tenth = std::max<size_t>(1, values.size() / 10);
    double sum = 0;
    for (size_t i = 0; i < tenth; ++i) {
        sum += values[i];
    }
    return sum / static_cast<double>(tenth);
}

// While a macro records, the page takes no input but for its Stop button: the device
// list and the rest of the page look it, and neither the pointer nor the wheel reach them.
TEST(DisabledUi, WhileAMacroRecordsTheRestOfThePageLooksOffAndTakesNoInput) {
    ui::UiDriver ui({.devices = "keyboard,mouse"});
    OpenTab(ui, L"macro_Op_tab", L"macro_btn_name_add");
    CListUI* list = ListNamed(ui, L"macro_name_list");
    for (int i = 0; i < 12; ++i) {
        ui.Click(L"macro_btn_name_add");
    }
    ASSERT_FALSE(ui.IsShown(list->GetItemAt(0))) << "the list is scrolled to its last row";
    CControlUI* otherEntry = nullptr;
    for (CControlUI* entry : ui.FindAll(L"device_select")) {
        if (ui.IsShown(entry) && !ui.IsChecked(entry)) {
            otherEntry = entry;
        }
    }
    ASSERT_NE(otherEntry, nullptr);
    CControlUI* add = ui.Find(L"macro_btn_name_add");
    ui.MoveTo(ui.Find(L"app_title"));  // nothing is hot
    const double entryOn = PeakBrightness(ui, otherEntry);
    const double addOn = PeakBrightness(ui, add);

    ui.Click(L"macro_btn_starredio");
    EXPECT_LT(PeakBrightness(ui, otherEntry), entryOn * 0.8);
    EXPECT_LT(PeakBrightness(ui, add), addOn * 0.8);
    ui.Wheel(list, 20);
    EXPECT_FALSE(ui.IsShown(list->GetItemAt(0))) << "the wheel does not reach the list";
    ui.Click(otherEntry);
    EXPECT_TRUE(ui.IsShown(ui.Find(L"keyboard_device_page")));

    CControlUI* stop = ui.Find(L"macro_btn_stopredio");
    ui.MoveTo(stop);
    ui.Press(ui.MainHwnd(), ui::UiDriver::CentreOf(stop));
    ui.Settle();
    ui.Release(ui.MainHwnd(), ui::UiDriver::CentreOf(stop));
    ui.MoveTo(ui.Find(L"app_title"));
    ui.Settle();
    EXPECT_NEAR(PeakBrightness(ui, otherEntry), entryOn, 1.0);
    EXPECT_NEAR(PeakBrightness(ui, add), addOn, 1.0);
    ui.Wheel(list, 20);
    EXPECT_TRUE(ui.IsShown(list->GetItemAt(0)));
}

}  // namespace
