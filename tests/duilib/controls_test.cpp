#include <gtest/gtest.h>

#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;
using toolkit_test::NotifyRecorder;

constexpr const wchar_t* kPage =
    LR"(<VerticalLayout name="root">
  <HorizontalLayout name="options" height="40">
    <Option name="tab_option_0" group="tabs" bindtablayoutname="pages" bindtabindex="0" selected="true" width="40"/>
    <Option name="tab_option_1" group="tabs" bindtablayoutname="pages" bindtabindex="1" width="40"/>
    <CheckBox name="sync_check" width="40"/>
  </HorizontalLayout>
  <TabLayout name="pages">
    <VerticalLayout name="page_0"/>
    <VerticalLayout name="page_1">
      <Slider name="DPI_slider_1" min="1" max="10" value="5" height="20" thumbsize="10,10"/>
      <Combo name="mode_combo" height="24">
        <ListLabelElement name="row_0" text="static"/>
        <ListLabelElement name="row_1" text="breathing" enabled="false"/>
        <ListLabelElement name="row_2" text="wave"/>
      </Combo>
      <Edit name="name_edit" maxchar="4" height="24"/>
      <Edit name="digits_edit" numberonly="true" height="24"/>
      <List name="macro_list">
        <ListContainerElement name="macro_row_0" height="20"/>
        <ListContainerElement name="macro_row_1" height="20"/>
      </List>
    </VerticalLayout>
  </TabLayout>
</VerticalLayout>)";

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CDialogBuilder builder;
        root_ = builder.Create(kPage, nullptr, nullptr, &pm_);
        ASSERT_NE(nullptr, root_);
        pm_.AttachDialog(root_);
        pm_.AddNotifier(&recorder_);
        pm_.LayoutFor(SIZE{400, 300});
    }
    template <typename T>
    T* Find(const wchar_t* name) {
        return static_cast<T*>(pm_.FindControl(name));
    }
    // A click with the mouse at the centre of a control.
    void Click(CControlUI* control, UINT down = WM_LBUTTONDOWN) {
        const RECT rc = control->GetPos();
        const LPARAM at = MAKELPARAM(static_cast<WORD>((rc.left + rc.right) / 2),
                                     static_cast<WORD>((rc.top + rc.bottom) / 2));
        LRESULT result = 0;
        pm_.MessageHandler(down, 0, at, result);
        pm_.MessageHandler(WM_LBUTTONUP, 0, at, result);
    }

    CPaintManagerUI pm_;
    CControlUI* root_ = nullptr;
    NotifyRecorder recorder_;
};

TEST_F(ControlsTest, GroupedOptionsSelectOneAtATimeAndShowTheirTab) {
    auto* first = Find<COptionUI>(L"tab_option_0");
    auto* second = Find<COptionUI>(L"tab_option_1");
    auto* pages = Find<CTabLayoutUI>(L"pages");
    EXPECT_TRUE(first->IsSelected());
    EXPECT_EQ(0, pages->GetCurSel());

    Click(second);
    EXPECT_TRUE(second->IsSelected());
    EXPECT_FALSE(first->IsSelected());
    EXPECT_EQ(1, pages->GetCurSel());
    EXPECT_TRUE(Find<CControlUI>(L"page_1")->IsVisible());
    EXPECT_FALSE(Find<CControlUI>(L"page_0")->IsVisible());
    EXPECT_EQ(1, recorder_.Count(L"click", L"tab_option_1"));
    EXPECT_EQ(1, recorder_.Count(L"selectchanged", L"tab_option_1"));
    EXPECT_EQ(1, recorder_.Count(L"selectchanged", L"tab_option_0"));
    EXPECT_EQ(1, recorder_.Count(L"tabselect", L"pages"));

    // A programmatic change without notify raises nothing but still moves the tab.
    recorder_.notices.clear();
    first->Selected(true, false);
    EXPECT_FALSE(second->IsSelected());
    EXPECT_EQ(0, pages->GetCurSel());
    EXPECT_EQ(0, recorder_.Count(L"selectchanged"));
    first->Selected(true);  // no change: no notification
    EXPECT_EQ(0, recorder_.Count(L"selectchanged"));

    auto* check = Find<CCheckBoxUI>(L"sync_check");
    check->SetCheck(true);
    check->SetCheck(false);
    EXPECT_EQ(2, recorder_.Count(L"selectchanged", L"sync_check"));
    EXPECT_TRUE(first->IsSelected());  // not in the group
}

TEST_F(ControlsTest, SliderRaisesMoveAndValueChangesOnlyForTheUser) {
    Find<CTabLayoutUI>(L"pages")->SelectItem(1);
    pm_.UpdateLayout();
    auto* slider = Find<CSliderUI>(L"DPI_slider_1");
    slider->SetValue(50);
    EXPECT_EQ(10, slider->GetValue());
    slider->SetValue(3);
    EXPECT_EQ(0, recorder_.Count(L"valuechanged"));

    const RECT rc = slider->GetPos();
    LRESULT result = 0;
    const WORD y = static_cast<WORD>((rc.top + rc.bottom) / 2);
    pm_.MessageHandler(WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(rc.left), y), result);
    pm_.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(rc.right - 1), y), result);
    pm_.MessageHandler(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(rc.right - 1), y), result);
    EXPECT_EQ(10, slider->GetValue());
    EXPECT_GE(recorder_.Count(L"movevaluechanged", L"DPI_slider_1"), 1);
    EXPECT_EQ(1, recorder_.Count(L"valuechanged", L"DPI_slider_1"));
}

TEST_F(ControlsTest, ComboSkipsDisabledRowsAndNotifiesOnRequest) {
    auto* combo = Find<CComboUI>(L"mode_combo");
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_FALSE(combo->SelectItem(1));  // disabled row
    EXPECT_FALSE(combo->SelectItem(7));
    EXPECT_TRUE(combo->SelectItem(2, false, false));
    EXPECT_EQ(0, recorder_.Count(L"itemselect"));
    EXPECT_EQ(L"wave", combo->GetText());
    EXPECT_TRUE(combo->SelectItem(0));
    ASSERT_EQ(1, recorder_.Count(L"itemselect", L"mode_combo"));
    EXPECT_EQ(0u, recorder_.notices.back().wParam);
    EXPECT_EQ(2, recorder_.notices.back().lParam);

    // Removing rows keeps the selection on its row; removing the selected one clears it.
    auto* row = new CListLabelElementUI();
    row->SetText(L"first");
    EXPECT_TRUE(combo->AddAt(row, 0));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_TRUE(combo->RemoveAt(1));
    EXPECT_EQ(-1, combo->GetCurSel());
    combo->RemoveAll();
    EXPECT_EQ(0, combo->GetCount());
    EXPECT_EQ(nullptr, pm_.FindControl(L"row_2"));
}

TEST_F(ControlsTest, EditsFilterTypingAndReportFocusAndChanges) {
    Find<CTabLayoutUI>(L"pages")->SelectItem(1);
    pm_.UpdateLayout();
    auto* name = Find<CEditUI>(L"name_edit");
    auto* digits = Find<CEditUI>(L"digits_edit");
    Click(name);
    EXPECT_EQ(name, pm_.GetFocus());
    EXPECT_EQ(1, recorder_.Count(L"setfocus", L"name_edit"));
    LRESULT result = 0;
    for (wchar_t ch : std::wstring(L"abcdef")) {
        pm_.MessageHandler(WM_CHAR, ch, 0, result);
    }
    EXPECT_EQ(L"abcd", name->GetText());
    EXPECT_EQ(4, recorder_.Count(L"textchanged", L"name_edit"));

    Click(digits);
    EXPECT_EQ(1, recorder_.Count(L"killfocus", L"name_edit"));
    for (wchar_t ch : std::wstring(L"1a2")) {
        pm_.MessageHandler(WM_CHAR, ch, 0, result);
    }
    EXPECT_EQ(L"12", digits->GetText());
    digits->SetText(L"x9y");
    EXPECT_EQ(L"9", digits->GetText());
    EXPECT_EQ(2, recorder_.Count(L"textchanged", L"digits_edit"));
}

TEST_F(ControlsTest, ListRowsRaiseClickActivateAndSelect) {
    Find<CTabLayoutUI>(L"pages")->SelectItem(1);
    pm_.UpdateLayout();
    auto* list = Find<CListUI>(L"macro_list");
    auto* row = Find<CListContainerElementUI>(L"macro_row_1");
    Click(row);
    EXPECT_EQ(1, list->GetCurSel());
    EXPECT_TRUE(row->IsSelected());
    EXPECT_EQ(1, recorder_.Count(L"itemclick", L"macro_row_1"));
    EXPECT_EQ(1, recorder_.Count(L"itemselect", L"macro_list"));
    Click(row, WM_LBUTTONDBLCLK);
    EXPECT_EQ(1, recorder_.Count(L"itemactivate", L"macro_row_1"));
    row->SetEnabled(false);
    EXPECT_TRUE(list->SelectItem(0));
    EXPECT_FALSE(list->SelectItem(1));
}

TEST_F(ControlsTest, HiddenDisabledAndRemovedControlsDoNotActivate) {
    auto* second = Find<COptionUI>(L"tab_option_1");
    second->SetEnabled(false);
    Click(second);
    EXPECT_FALSE(second->IsSelected());
    second->SetEnabled(true);
    Find<CControlUI>(L"options")->SetEnabled(false);
    Click(second);
    EXPECT_FALSE(second->IsSelected());
    Find<CControlUI>(L"options")->SetEnabled(true);
    Find<CControlUI>(L"options")->SetVisible(false);
    EXPECT_FALSE(second->IsVisible());
    EXPECT_FALSE(second->Activate());
    EXPECT_EQ(0, recorder_.Count(L"click"));
}

TEST_F(ControlsTest, EditKeysAndReadOnlyFields) {
    auto* name = Find<CEditUI>(L"name_edit");
    name->SetFocus();
    EXPECT_EQ(nullptr, pm_.GetFocus());  // on a hidden page
    Find<CTabLayoutUI>(L"pages")->SelectItem(1, false);
    name->SetText(L"ab");
    EXPECT_EQ(L"ab", name->GetText());
    name->SetFocus();
    LRESULT result = 0;
    pm_.MessageHandler(WM_CHAR, L'\b', 0, result);
    EXPECT_EQ(L"a", name->GetText());
    pm_.MessageHandler(WM_CHAR, L'\r', 0, result);
    EXPECT_EQ(1, recorder_.Count(L"return", L"name_edit"));
    name->SetReadOnly(true);
    pm_.MessageHandler(WM_CHAR, L'z', 0, result);
    EXPECT_EQ(L"a", name->GetText());
    name->SetMaxChar(0);
    EXPECT_TRUE(name->GetText().IsEmpty());
    EXPECT_EQ(1, recorder_.Count(L"textchanged", L"name_edit"));  // the backspace only
}

TEST_F(ControlsTest, TabsKeepASelectionWhenPagesGo) {
    auto* pages = Find<CTabLayoutUI>(L"pages");
    EXPECT_TRUE(pages->SelectItem(1, false));
    EXPECT_FALSE(pages->SelectItem(2));
    EXPECT_FALSE(pages->SelectItem(-1));
    EXPECT_TRUE(pages->RemoveAt(0));
    EXPECT_EQ(0, pages->GetCurSel());
    EXPECT_TRUE(pages->GetItemAt(0)->IsVisible());
    auto* extra = new CVerticalLayoutUI();
    EXPECT_TRUE(pages->AddAt(extra, 0));
    EXPECT_EQ(1, pages->GetCurSel());
    EXPECT_FALSE(extra->IsVisible());
    EXPECT_TRUE(pages->RemoveAt(1));
    EXPECT_EQ(0, pages->GetCurSel());
    EXPECT_TRUE(extra->IsVisible());
    pages->RemoveAll();
    EXPECT_EQ(-1, pages->GetCurSel());
    EXPECT_EQ(0, recorder_.Count(L"tabselect"));
}

TEST_F(ControlsTest, ComboArrowKeysSkipDisabledRowsAndValuesStayInRange) {
    auto* combo = Find<CComboUI>(L"mode_combo");
    combo->SelectItem(0);
    TEventUI key;
    key.Type = UIEVENT_KEYDOWN;
    key.chKey = 0x28;  // down
    combo->Event(key);
    EXPECT_EQ(2, combo->GetCurSel());
    combo->Event(key);
    EXPECT_EQ(2, combo->GetCurSel());
    key.chKey = 0x26;  // up
    combo->Event(key);
    EXPECT_EQ(0, combo->GetCurSel());
    EXPECT_TRUE(combo->SelectItem(-1));
    EXPECT_EQ(-1, combo->GetCurSel());

    CProgressUI progress;
    progress.SetMaxValue(10);
    progress.SetMinValue(20);
    EXPECT_EQ(20, progress.GetMinValue());
    EXPECT_EQ(20, progress.GetMaxValue());
    progress.SetValue(-5);
    EXPECT_EQ(20, progress.GetValue());
}

}  // namespace
