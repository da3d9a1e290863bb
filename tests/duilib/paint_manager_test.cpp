#include "duilib/paint_manager.h"

#include <gtest/gtest.h>

#include <vector>

#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;
using toolkit_test::NotifyRecorder;

class PaintManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CDialogBuilder builder;
        root_ = builder.Create(
            LR"(<VerticalLayout name="root"><Label name="one"/><Label name="two"/>
                <HorizontalLayout name="row"><Button name="go"/><Label name="three"/></HorizontalLayout>
                </VerticalLayout>)",
            nullptr, nullptr, &pm_);
        ASSERT_NE(nullptr, root_);
        pm_.AttachDialog(root_);
    }
    CPaintManagerUI pm_;
    CControlUI* root_ = nullptr;
};

TEST_F(PaintManagerTest, FindsControlsByClassUnderAParent) {
    EXPECT_EQ(3u, pm_.FindSubControlsByClass(root_, L"labelui").size());
    CControlUI* row = pm_.FindControl(L"row");
    EXPECT_EQ(pm_.FindControl(L"three"), pm_.FindSubControlByClass(row, L"LabelUI"));
    EXPECT_EQ(nullptr, pm_.FindSubControlByClass(row, L"LabelUI", 1));
    EXPECT_EQ(nullptr, pm_.FindSubControlByName(row, L"one"));
    EXPECT_EQ(nullptr, pm_.FindControl(L""));
    EXPECT_EQ(nullptr, pm_.FindSubControlByName(nullptr, L"one"));
}

TEST_F(PaintManagerTest, FocusMovesWithNotificationsAndLeavesRemovedControls) {
    NotifyRecorder recorder;
    pm_.AddNotifier(&recorder);
    CControlUI* one = pm_.FindControl(L"one");
    CControlUI* two = pm_.FindControl(L"two");
    pm_.SetFocus(one);
    pm_.SetFocus(two);
    EXPECT_EQ(two, pm_.GetFocus());
    EXPECT_FALSE(one->IsFocused());
    EXPECT_TRUE(two->IsFocused());
    EXPECT_EQ(1, recorder.Count(L"killfocus", L"one"));
    EXPECT_EQ(1, recorder.Count(L"setfocus", L"two"));
    static_cast<CContainerUI*>(root_)->Remove(two);
    EXPECT_EQ(nullptr, pm_.GetFocus());

    // A control that is not part of this manager's tree never takes the focus.
    CLabelUI stray;
    pm_.SetFocus(&stray);
    EXPECT_EQ(nullptr, pm_.GetFocus());
    pm_.RemoveNotifier(&recorder);
}

TEST_F(PaintManagerTest, NotifiersAndFiltersCanLeaveWhileTheyAreCalled) {
    struct Leaver : INotifyUI {
        void Notify(TNotifyUI&) override {
            ++calls;
            pm->RemoveNotifier(other);
            pm->RemoveNotifier(this);
        }
        CPaintManagerUI* pm = nullptr;
        INotifyUI* other = nullptr;
        int calls = 0;
    } first, second;
    first.pm = second.pm = &pm_;
    first.other = &second;
    second.other = &first;
    EXPECT_TRUE(pm_.AddNotifier(&first));
    EXPECT_FALSE(pm_.AddNotifier(&first));
    EXPECT_TRUE(pm_.AddNotifier(&second));
    pm_.SendNotify(root_, L"click");
    pm_.SendNotify(root_, L"click");
    EXPECT_EQ(1, first.calls);
    EXPECT_EQ(0, second.calls);

    struct Swallow : IMessageFilterUI {
        LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override {
            bHandled = uMsg == WM_USER;
            return 5;
        }
    } swallow;
    pm_.AddMessageFilter(&swallow);
    LRESULT result = 0;
    EXPECT_TRUE(pm_.MessageHandler(WM_USER, 0, 0, result));
    EXPECT_EQ(5, result);
    EXPECT_FALSE(pm_.MessageHandler(WM_USER + 1, 0, 0, result));
    pm_.RemoveMessageFilter(&swallow);
    EXPECT_FALSE(pm_.MessageHandler(WM_USER, 0, 0, result));
}

// Each round of filters walks a copy of the list, kept apart for a short list and a long
// one: every filter is asked in order until one handles the message, however many there are.
TEST_F(PaintManagerTest, EveryFilterIsAskedInOrderUntilOneHandlesTheMessage) {
    struct Counter : IMessageFilterUI {
        LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override {
            order->push_back(this);
            bHandled = handles && uMsg == WM_USER;
            return 7;
        }
        std::vector<Counter*>* order = nullptr;
        bool handles = false;
    };
    for (const size_t count : {size_t{3}, size_t{8}, size_t{9}, size_t{20}}) {
        std::vector<Counter*> order;
        std::vector<Counter> filters(count);
        for (Counter& filter : filters) {
            filter.order = &order;
            pm_.AddPreMessageFilter(&filter);
        }
        filters.back().handles = true;
        LRESULT result = 0;
        EXPECT_TRUE(pm_.PreMessageHandler(WM_USER, 0, 0, result)) << count;
        EXPECT_EQ(7, result);
        ASSERT_EQ(order.size(), count);
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(order[i], &filters[i]) << count << " filters, filter " << i;
        }
        filters[count / 2].handles = true;  // one in the middle ends the round there
        order.clear();
        EXPECT_TRUE(pm_.PreMessageHandler(WM_USER, 0, 0, result));
        EXPECT_EQ(order.size(), count / 2 + 1);
        for (Counter& filter : filters) {
            pm_.RemovePreMessageFilter(&filter);
        }
    }
}

TEST_F(PaintManagerTest, FontsAreSharedOrOwnAndCanBeRebuilt) {
    CPaintManagerUI other;
    pm_.AddFont(0, L"Verdana", 15, false, false, false, true);
    pm_.AddFont(50, L"Verdana", 18, true, false, false, false);
    EXPECT_EQ(15, other.GetFontInfo(0)->iSize);  // shared
    EXPECT_TRUE(pm_.GetFontInfo(50)->bBold);
    EXPECT_NE(18, other.GetFontInfo(50)->iSize);  // own: the other manager has its default
    EXPECT_EQ(nullptr, pm_.AddFont(-1, L"x", 10, false, false, false));
    EXPECT_EQ(1, pm_.AddFont(1, L"x", -5, false, false, false)->iSize);

    pm_.SetDefaultFont(L"Noto Sans Thai", 13, false, false, false, true);
    EXPECT_EQ(L"Noto Sans Thai", other.GetDefaultFontInfo()->sFontName);
    pm_.RemoveAllFonts(true);
    pm_.RemoveAllFonts(false);
    EXPECT_EQ(pm_.GetDefaultFontInfo(), pm_.GetFontInfo(0));
    EXPECT_EQ(pm_.GetDefaultFontInfo(), pm_.GetFontInfo(50));
}

TEST_F(PaintManagerTest, DefaultAttributesAndImagesAreKeptByName) {
    pm_.AddDefaultAttributeList(L"Button", L"textcolor=\"#FF010203\"");
    EXPECT_EQ(L"textcolor=\"#FF010203\"", pm_.GetDefaultAttributeList(L"BUTTON"));
    EXPECT_TRUE(pm_.GetDefaultAttributeList(L"Label").IsEmpty());
    const TImageInfo* image = pm_.AddImage(L"common\\bk.png");
    ASSERT_NE(nullptr, image);
    EXPECT_NE(std::wstring::npos, image->sPath.str().find(L"common/bk.png"));
    EXPECT_EQ(image, pm_.GetImage(L"common\\bk.png"));
    pm_.RemoveAllImages();
    EXPECT_EQ(nullptr, pm_.GetImage(L"common\\bk.png"));
}

TEST(PaintManagerLifetime, ControlsMayOutliveTheManagerTheyWereBuiltFor) {
    CControlUI* orphan = nullptr;
    {
        CPaintManagerUI pm;
        CDialogBuilder builder;
        orphan = builder.Create(L"<HorizontalLayout><Option group='g'/></HorizontalLayout>",
                                nullptr, nullptr, &pm);
        ASSERT_NE(nullptr, orphan);
    }
    delete orphan;  // must not touch the gone manager
}

TEST_F(PaintManagerTest, DpiScalesWithRounding) {
    EXPECT_EQ(10, pm_.Scale(10));
    pm_.SetDPI(144);
    EXPECT_EQ(15, pm_.Scale(10));
    EXPECT_EQ(2, pm_.Scale(1));  // 1.5 rounds away from zero
    EXPECT_EQ(-2, pm_.Scale(-1));
    pm_.SetDPI(120);
    EXPECT_EQ(13, pm_.Scale(10));  // 12.5
    pm_.SetDPI(0);
    EXPECT_EQ(120, pm_.GetDPI());  // ignored
    EXPECT_EQ((RECT{13, 25, 38, 50}), pm_.Scale(RECT{10, 20, 30, 40}));
}

TEST_F(PaintManagerTest, PathsAreTakenBelowTheInstanceFolderWithSlashes) {
    const CDuiString oldResource = CPaintManagerUI::GetResourcePath();
    CPaintManagerUI::SetInstancePath(L"/opt/velkaro");
    CPaintManagerUI::SetResourcePath(L"skin\\");
    EXPECT_EQ(L"/opt/velkaro/", CPaintManagerUI::GetInstancePath());
    EXPECT_EQ(L"/opt/velkaro/skin/", CPaintManagerUI::GetResourcePath());
    EXPECT_EQ(L"/opt/velkaro/skin/XML/DeviceXml/keyboarddevice.xml",
              CPaintManagerUI::ResolveResourceFile(L"XML\\DeviceXml\\keyboarddevice.xml"));
    EXPECT_EQ(L"/abs/file.xml", CPaintManagerUI::ResolveResourceFile(L"/abs/file.xml"));
    CPaintManagerUI::SetInstancePath(nullptr);
    CPaintManagerUI::SetResourcePath(oldResource);
}

TEST(PaintManagerWindow, AsyncNotificationsWaitForTheLoopAndSkipRemovedSenders) {
    CPaintManagerUI pm;
    platform::WindowCreateParams params;
    params.className = L"Host";
    const HWND hwnd =
        platform::CreateWindowHandle(params, [&pm](HWND h, UINT m, WPARAM w, LPARAM l) {
            LRESULT result = 0;
            return pm.MessageHandler(m, w, l, result) ? result
                                                      : platform::DefWindowProc(h, m, w, l);
        });
    pm.Init(hwnd);
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create(L"<VerticalLayout><Label name='a'/><Label name='b'/></VerticalLayout>",
                       nullptr, nullptr, &pm);
    ASSERT_NE(nullptr, root);
    pm.AttachDialog(root);
    NotifyRecorder recorder;
    pm.AddNotifier(&recorder);
    pm.SendNotify(pm.FindControl(L"a"), L"later", 0, 0, true);
    pm.SendNotify(pm.FindControl(L"b"), L"later", 0, 0, true);
    EXPECT_EQ(0, recorder.Count(L"later"));
    static_cast<CContainerUI*>(root)->Remove(pm.FindControl(L"b"));
    toolkit_test::PumpPending();
    EXPECT_EQ(1, recorder.Count(L"later", L"a"));
    EXPECT_EQ(0, recorder.Count(L"later", L"b"));
    EXPECT_EQ(1, recorder.Count(L"windowinit"));
    platform::DestroyWindow(hwnd);
}

}  // namespace

namespace {

TEST(PaintRegionTest, TouchingPartsMergeFarOnesStayApartAndAllIsClippedToTheClient) {
    DuiLib::CPaintRegion region;
    EXPECT_TRUE(region.IsEmpty());
    region.Add(RECT{10, 10, 20, 20});
    region.Add(RECT{20, 10, 30, 20});  // shares an edge
    region.Add(RECT{50, 50, 60, 60});
    region.Add(RECT{5, 5, 5, 40});  // empty
    EXPECT_EQ(region.Take(SIZE{100, 100}),
              (std::vector<RECT>{RECT{10, 10, 30, 20}, RECT{50, 50, 60, 60}}));
    EXPECT_TRUE(region.IsEmpty());

    // A part that bridges two others joins all three.
    region.Add(RECT{0, 0, 10, 10});
    region.Add(RECT{30, 0, 40, 10});
    region.Add(RECT{10, 5, 30, 8});
    region.Add(RECT{90, 90, 120, 120});  // partly outside the client area
    EXPECT_EQ(region.Take(SIZE{100, 100}),
              (std::vector<RECT>{RECT{0, 0, 40, 10}, RECT{90, 90, 100, 100}}));

    // Too many parts become their bounding rectangle; all is the client area.
    for (int i = 0; i <= static_cast<int>(DuiLib::CPaintRegion::kMaxRects); ++i) {
        region.Add(RECT{3 * i, 0, 3 * i + 1, 1});
    }
    const int last = 3 * static_cast<int>(DuiLib::CPaintRegion::kMaxRects) + 1;
    EXPECT_EQ(region.Take(SIZE{1000, 100}), (std::vector<RECT>{RECT{0, 0, last, 1}}));
    region.Add(RECT{1, 1, 2, 2});
    region.AddAll();
    EXPECT_EQ(region.Take(SIZE{30, 20}), (std::vector<RECT>{RECT{0, 0, 30, 20}}));
    region.AddAll();
    EXPECT_TRUE(region.Take(SIZE{0, 20}).empty());
}

}  // namespace
