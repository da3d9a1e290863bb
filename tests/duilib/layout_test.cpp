#include <gtest/gtest.h>

#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;

constexpr const wchar_t* kLayout =
    LR"(<VerticalLayout name="root" inset="10,10,10,10" childpadding="5">
  <HorizontalLayout name="top" height="40" childpadding="4">
    <Control name="a" width="100"/>
    <Control name="b"/>
    <Control name="c" width="50" padding="2,3,4,5"/>
  </HorizontalLayout>
  <TabLayout name="tabs" inset="5,5,5,5">
    <VerticalLayout name="p0">
      <Control name="d" height="20"/>
      <Control name="e"/>
    </VerticalLayout>
    <VerticalLayout name="p1">
      <Control name="g" width="100" height="50"/>
    </VerticalLayout>
  </TabLayout>
  <Control name="f" height="30"/>
  <Control name="floater" float="true" pos="20,30,120,60"/>
  <Control name="overlay" float="true" pos="20,30,0,0"/>
</VerticalLayout>)";

class LayoutTest : public ::testing::Test {
  protected:
    void Build(int dpi, SIZE client) {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(kLayout, nullptr, nullptr, &pm_);
        ASSERT_NE(nullptr, root);
        pm_.AttachDialog(root);
        pm_.SetDPI(dpi);
        pm_.LayoutFor(client);
    }
    RECT Pos(const wchar_t* name) {
        CControlUI* control = pm_.FindControl(name);
        return control ? control->GetPos() : RECT{-1, -1, -1, -1};
    }
    CPaintManagerUI pm_;
};

TEST_F(LayoutTest, NestedLayoutsAt96Dpi) {
    Build(96, SIZE{400, 300});
    EXPECT_EQ((RECT{10, 10, 390, 50}), Pos(L"top"));
    EXPECT_EQ((RECT{10, 10, 110, 50}), Pos(L"a"));
    EXPECT_EQ((RECT{114, 10, 330, 50}), Pos(L"b"));
    EXPECT_EQ((RECT{336, 13, 386, 45}), Pos(L"c"));
    EXPECT_EQ((RECT{10, 55, 390, 255}), Pos(L"tabs"));
    EXPECT_EQ((RECT{15, 60, 385, 250}), Pos(L"p0"));
    EXPECT_EQ((RECT{15, 60, 385, 80}), Pos(L"d"));
    EXPECT_EQ((RECT{15, 80, 385, 250}), Pos(L"e"));
    EXPECT_EQ((RECT{10, 260, 390, 290}), Pos(L"f"));
    EXPECT_EQ((RECT{20, 30, 120, 60}), Pos(L"floater"));
    EXPECT_EQ((RECT{20, 30, 400, 300}), Pos(L"overlay"));

    auto* tabs = static_cast<CTabLayoutUI*>(pm_.FindControl(L"tabs"));
    ASSERT_TRUE(tabs->SelectItem(1));
    pm_.UpdateLayout();
    EXPECT_FALSE(pm_.FindControl(L"p0")->IsVisible());
    EXPECT_FALSE(pm_.FindControl(L"d")->IsVisible());
    EXPECT_EQ((RECT{15, 60, 385, 250}), Pos(L"p1"));
    EXPECT_EQ((RECT{15, 60, 115, 110}), Pos(L"g"));
}

TEST_F(LayoutTest, NestedLayoutsAt144Dpi) {
    Build(144, SIZE{600, 450});
    EXPECT_EQ((RECT{15, 15, 585, 75}), Pos(L"top"));
    EXPECT_EQ((RECT{15, 15, 165, 75}), Pos(L"a"));
    EXPECT_EQ((RECT{171, 15, 495, 75}), Pos(L"b"));
    EXPECT_EQ((RECT{504, 20, 579, 67}), Pos(L"c"));
    EXPECT_EQ((RECT{15, 83, 585, 382}), Pos(L"tabs"));
    EXPECT_EQ((RECT{23, 91, 577, 121}), Pos(L"d"));
    EXPECT_EQ((RECT{23, 121, 577, 374}), Pos(L"e"));
    EXPECT_EQ((RECT{15, 390, 585, 435}), Pos(L"f"));
    EXPECT_EQ((RECT{30, 45, 180, 90}), Pos(L"floater"));
    EXPECT_EQ((RECT{30, 45, 600, 450}), Pos(L"overlay"));
}

TEST_F(LayoutTest, HiddenChildrenTakeNoSpaceAndTooSmallWindowsNeverInvert) {
    Build(96, SIZE{400, 300});
    // A control has one owner.
    auto* tabs = static_cast<CContainerUI*>(pm_.FindControl(L"tabs"));
    EXPECT_FALSE(tabs->Add(pm_.FindControl(L"a")));
    EXPECT_FALSE(tabs->Add(tabs));
    pm_.FindControl(L"top")->SetVisible(false);
    pm_.UpdateLayout();
    EXPECT_EQ((RECT{10, 10, 390, 255}), Pos(L"tabs"));
    pm_.LayoutFor(SIZE{30, 20});
    for (const wchar_t* name : {L"root", L"tabs", L"d", L"e", L"f"}) {
        const RECT rc = Pos(name);
        EXPECT_LE(rc.left, rc.right) << name;
        EXPECT_LE(rc.top, rc.bottom) << name;
    }
}

// A child without its own size on the cross axis fills it only up to its maximum, as a
// caption's close button with maxheight does.
TEST(LayoutLimitsTest, MaximaHoldOnTheCrossAxis) {
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        LR"(<VerticalLayout>
  <HorizontalLayout height="34">
    <Control />
    <Button name="close" width="42" maxheight="18" padding="0,2,0,0" />
  </HorizontalLayout>
  <VerticalLayout height="40"><Control name="narrow" maxwidth="60" minheight="10" /></VerticalLayout>
  <Container height="50"><Control name="held" maxwidth="70" maxheight="20" /></Container>
</VerticalLayout>)",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    pm.LayoutFor(SIZE{306, 200});
    EXPECT_EQ((RECT{264, 2, 306, 20}), pm.FindControl(L"close")->GetPos());
    EXPECT_EQ((RECT{0, 34, 60, 74}), pm.FindControl(L"narrow")->GetPos());
    EXPECT_EQ((RECT{0, 74, 70, 94}), pm.FindControl(L"held")->GetPos());
}

}  // namespace
