// Grouped options of one layout built for several pages of a tab layout: each page keeps
// its own choice, while options outside any page still share one group.

#include <gtest/gtest.h>

#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;

constexpr const wchar_t* kPages =
    LR"(<VerticalLayout>
  <HorizontalLayout height="20">
    <Option name="entry_0" group="entries" width="20"/>
    <Option name="entry_1" group="entries" width="20"/>
  </HorizontalLayout>
  <TabLayout name="pages">
    <VerticalLayout name="page_a">
      <HorizontalLayout>
        <Option name="left_a" group="direction" width="20"/>
        <Option name="right_a" group="direction" width="20"/>
      </HorizontalLayout>
    </VerticalLayout>
    <VerticalLayout name="page_b">
      <Option name="left_b" group="direction" width="20"/>
      <Option name="right_b" group="direction" width="20"/>
    </VerticalLayout>
  </TabLayout>
</VerticalLayout>)";

TEST(OptionGroupPage, AChoiceOnOnePageLeavesTheSameGroupOnAnotherPageAlone) {
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(kPages, nullptr, nullptr, &pm);
    ASSERT_NE(nullptr, root);
    pm.AttachDialog(root);
    const auto option = [&](const wchar_t* name) {
        return static_cast<COptionUI*>(pm.FindControl(name));
    };

    option(L"left_a")->Selected(true);
    option(L"right_b")->Selected(true);
    EXPECT_TRUE(option(L"left_a")->IsSelected());
    EXPECT_TRUE(option(L"right_b")->IsSelected());

    // Within a page the group still holds one choice.
    option(L"right_a")->Selected(true);
    EXPECT_FALSE(option(L"left_a")->IsSelected());
    EXPECT_TRUE(option(L"right_b")->IsSelected());

    // Options on no page share the group across the window.
    option(L"entry_0")->Selected(true);
    option(L"entry_1")->Selected(true);
    EXPECT_FALSE(option(L"entry_0")->IsSelected());
}

}  // namespace
