// Lists whose rows do not fit: the scroll bar, the wheel and the keys reach every row,
// and what is hit is what is shown.

#include <gtest/gtest.h>

#include <string>

#include "duilib/ui_scrollbar.h"
#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;

constexpr int kRows = 141;  // as many as the key-function list has
constexpr int kRowHeight = 24;
constexpr int kViewHeight = 200;

class ScrollingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(
            LR"(<VerticalLayout>
  <List name="list" height="200" vscrollbar="true" vscrollbarstyle="width=&quot;10&quot;" />
  <Control />
</VerticalLayout>)",
            nullptr, nullptr, &pm_);
        ASSERT_NE(root, nullptr);
        pm_.AttachDialog(root);
        pm_.AddNotifier(&notes_);
        list_ = static_cast<CListUI*>(pm_.FindControl(L"list"));
        for (int i = 0; i < kRows; ++i) {
            auto* row = new CListLabelElementUI;
            row->SetName((L"row" + std::to_wstring(i)).c_str());
            row->SetFixedHeight(kRowHeight);
            list_->Add(row);
        }
        pm_.LayoutFor(SIZE{300, 400});
        bar_ = list_->GetVerticalScrollBar();
        ASSERT_NE(bar_, nullptr);
    }

    void Mouse(UINT message, POINT pt, WPARAM wParam = 0) {
        LRESULT result = 0;
        pm_.MessageHandler(message, wParam, MAKELPARAM(pt.x, pt.y), result);
    }
    void Click(POINT pt) {
        Mouse(WM_MOUSEMOVE, pt);
        Mouse(WM_LBUTTONDOWN, pt);
        Mouse(WM_LBUTTONUP, pt);
    }
    // One turn of the wheel towards the user (down) or away.
    void Wheel(POINT pt, bool down) {
        const auto delta = static_cast<short>(down ? -120 : 120);
        Mouse(WM_MOUSEWHEEL, pt, MAKEWPARAM(0, static_cast<WORD>(delta)));
    }
    void Key(WPARAM key) {
        LRESULT result = 0;
        pm_.MessageHandler(WM_KEYDOWN, key, 0, result);
    }
    CControlUI* Row(int index) { return list_->GetItemAt(index); }
    bool Shown(int index) {
        const RECT rc = Row(index)->GetPos();
        const RECT view = list_->GetViewRect();
        return rc.top >= view.top && rc.bottom <= view.bottom;
    }

    CPaintManagerUI pm_;
    toolkit_test::NotifyRecorder notes_;
    CListUI* list_ = nullptr;
    CScrollBarUI* bar_ = nullptr;
};

TEST_F(ScrollingTest, TheBarShowsBesideRowsThatDoNotFit) {
    EXPECT_TRUE(bar_->IsVisible());
    EXPECT_EQ(bar_->GetPos(), (RECT{290, 0, 300, kViewHeight}));
    EXPECT_EQ(list_->GetScrollRange().cy, kRows * kRowHeight - kViewHeight);
    EXPECT_EQ(Row(0)->GetPos(), (RECT{0, 0, 290, kRowHeight}));
    // A press beside the thumb pages; a drag of the thumb to the end shows the last row.
    Click(POINT{295, 190});
    EXPECT_EQ(list_->GetScrollPos().cy, kViewHeight);
    const RECT thumb = bar_->GetThumbRect();
    const POINT grip{295, (thumb.top + thumb.bottom) / 2};
    Mouse(WM_MOUSEMOVE, grip);
    Mouse(WM_LBUTTONDOWN, grip, 1);
    Mouse(WM_MOUSEMOVE, POINT{295, 1000}, 1);
    Mouse(WM_LBUTTONUP, POINT{295, 1000});
    EXPECT_EQ(list_->GetScrollPos().cy, list_->GetScrollRange().cy);
    EXPECT_TRUE(Shown(kRows - 1));
    EXPECT_EQ(bar_->GetThumbRect().bottom, kViewHeight);

    // Fewer rows: the bar goes and the rows take its room again.
    while (list_->GetCount() > 3) {
        list_->RemoveAt(list_->GetCount() - 1);
    }
    pm_.UpdateLayout();
    EXPECT_FALSE(bar_->IsVisible());
    EXPECT_EQ(list_->GetScrollPos().cy, 0);
    EXPECT_EQ(Row(0)->GetPos(), (RECT{0, 0, 300, kRowHeight}));
}

TEST_F(ScrollingTest, TheWheelReachesTheLastRowAndAClickThereSelectsIt) {
    const POINT inside{100, 100};
    Wheel(inside, true);
    Wheel(inside, true);
    EXPECT_EQ(list_->GetScrollPos().cy, 2 * bar_->GetLineSize());
    for (int i = 0; i < 3; ++i) {  // more than there is to scroll back
        Wheel(inside, false);
    }
    EXPECT_EQ(list_->GetScrollPos().cy, 0);
    for (int i = 0; i < kRows; ++i) {
        Wheel(inside, true);
    }
    EXPECT_EQ(list_->GetScrollPos().cy, list_->GetScrollRange().cy);
    Click(POINT{100, kViewHeight - kRowHeight / 2});
    EXPECT_EQ(list_->GetCurSel(), kRows - 1);
    EXPECT_EQ(notes_.Count(L"itemselect", L"list"), 1);
    // The wheel over a list without room to scroll goes on to what holds it.
    Wheel(POINT{100, 300}, false);
    EXPECT_EQ(list_->GetScrollPos().cy, list_->GetScrollRange().cy);
}

TEST_F(ScrollingTest, KeysWalkTheRowsAndKeepTheSelectedOneInView) {
    Click(POINT{100, kRowHeight / 2});
    ASSERT_EQ(list_->GetCurSel(), 0);
    Row(1)->SetEnabled(false);
    Key(VK_DOWN);
    EXPECT_EQ(list_->GetCurSel(), 2);  // the disabled row is passed over
    Key(VK_END);
    EXPECT_EQ(list_->GetCurSel(), kRows - 1);
    EXPECT_TRUE(Shown(kRows - 1));
    Key(VK_DOWN);
    EXPECT_EQ(list_->GetCurSel(), kRows - 1);
    Key(VK_PRIOR);
    const int page = kViewHeight / kRowHeight;
    EXPECT_EQ(list_->GetCurSel(), kRows - 1 - page);
    EXPECT_TRUE(Shown(kRows - 1 - page));
    Key(VK_HOME);
    EXPECT_EQ(list_->GetCurSel(), 0);
    EXPECT_EQ(list_->GetScrollPos().cy, 0);
    Key(VK_NEXT);
    EXPECT_EQ(list_->GetCurSel(), page);
    EXPECT_TRUE(Shown(page));

    // A row selected before the list was laid out again is in view once it is.
    auto* first = new CListLabelElementUI;
    first->SetFixedHeight(kRowHeight);
    list_->AddAt(first, 0);
    list_->SelectItem(kRows, false, false);
    pm_.UpdateLayout();
    EXPECT_TRUE(Shown(kRows));
}

TEST(HorizontalScrollingTest, ARowWiderThanItsPlaceScrollsSideways) {
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        LR"(<HorizontalLayout name="row" hscrollbar="true">
  <Control name="a" width="60" /><Control name="b" width="60" /><Control name="c" width="60" />
</HorizontalLayout>)",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    pm.LayoutFor(SIZE{100, 50});
    auto* row = static_cast<CContainerUI*>(root);
    CScrollBarUI* bar = row->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetPos(), (RECT{0, 38, 100, 50}));
    EXPECT_EQ(row->GetScrollRange().cx, 80);
    row->SetScrollPos(SIZE{80, 0});
    EXPECT_EQ(pm.FindControl(L"c")->GetPos(), (RECT{40, 0, 100, 38}));
}

}  // namespace
