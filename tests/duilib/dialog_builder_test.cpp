#include "duilib/dialog_builder.h"

#include <gtest/gtest.h>

#include "duilib/attribute_values.h"
#include "platform/debug_trace.h"
#include "toolkit_fixtures.h"

namespace {

using namespace DuiLib;
using toolkit_test::SkinFolder;

class CBadgeUI : public CLabelUI {
  public:
    LPCTSTR GetClass() const override { return L"Badge"; }
};

class CGaugeUI : public CControlUI {
  public:
    LPCTSTR GetClass() const override { return L"Gauge"; }
};

class BadgeCallback : public IDialogBuilderCallback {
  public:
    CControlUI* CreateControl(LPCTSTR pstrClass) override {
        ++asked;
        return EqualsNoCase(pstrClass, L"badge") ? new CBadgeUI() : nullptr;
    }
    int asked = 0;
};

constexpr const char* kMain = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="800,572" caption="0,0,0,30">
  <Font id="3" name="Verdana" size="30" bold="true"/>
  <Default name="Button" value="textcolor=&quot;#FF112233&quot;"/>
  <VerticalLayout name="root" bkcolor="#FF101010">
    <Include source="XML\parts\header.xml"/>
    <Badge name="Badge_One" text="新"/>
    <Gauge name="gauge"/>
    <Button name="okbtn" text="ok"/>
  </VerticalLayout>
</Window>)";

constexpr const char* kHeader = R"(<HorizontalLayout name="header" height="30">
  <Label name="Title_Label" text="Velkaro"/>
</HorizontalLayout>)";

TEST(DialogBuilder, BuildsAWindowWithIncludeCallbackAndFactoryClasses) {
    SkinFolder skin;
    skin.Write("main.xml", kMain);
    skin.Write("XML/parts/header.xml", kHeader);
    CControlFactory::GetInstance()->RegisterControl(L"Gauge", [] { return new CGaugeUI(); });

    CPaintManagerUI pm;
    BadgeCallback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"main.xml", nullptr, &callback, &pm);
    ASSERT_NE(nullptr, root) << builder.GetLastErrorMessage().ToUtf8();
    pm.AttachDialog(root);

    EXPECT_EQ(SIZE({800, 572}), pm.GetInitSize());
    EXPECT_EQ(30, pm.GetFontInfo(3)->iSize);
    EXPECT_TRUE(pm.GetFontInfo(3)->bBold);
    // Names are found without regard to case, wherever they were built.
    ASSERT_NE(nullptr, pm.FindControl(L"title_label"));
    EXPECT_EQ(L"Velkaro", pm.FindControl(L"TITLE_LABEL")->GetText());
    EXPECT_STREQ(L"Badge", pm.FindControl(L"badge_one")->GetClass());
    EXPECT_STREQ(L"Gauge", pm.FindControl(L"GAUGE")->GetClass());
    EXPECT_EQ(pm.FindControl(L"header"), pm.FindSubControlByName(root, L"Header"));
    EXPECT_GT(callback.asked, 0);
    auto* ok = static_cast<CLabelUI*>(pm.FindControl(L"okbtn"));
    EXPECT_EQ(0xFF112233u, ok->GetTextColor());

    // A removed control is never returned.
    auto* layout = static_cast<CContainerUI*>(root);
    EXPECT_TRUE(layout->Remove(pm.FindControl(L"gauge")));
    EXPECT_EQ(nullptr, pm.FindControl(L"gauge"));
    CControlFactory::GetInstance()->UnregisterControl(L"gauge");
}

TEST(DialogBuilder, ResolvesNamedLayoutsOfResXmlAndBackslashPaths) {
    SkinFolder skin;
    skin.Write("res.xml", R"(<Res><Xml name="XML_MAIN" path="layouts\main.xml"/>
        <Font id="7" name="Noto Sans Thai" size="14" default="true"/>
        <Default name="Label" value="textcolor=&quot;#FF445566&quot;"/>
        <Image name="BK" path="images\bk.png"/></Res>)");
    skin.Write("layouts/main.xml", R"(<Window><Label name="l"/></Window>)");
    ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource(L"res.xml"));
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"XML_MAIN", nullptr, nullptr, &pm);
    ASSERT_NE(nullptr, root);
    pm.AttachDialog(root);
    EXPECT_EQ(0xFF445566u, static_cast<CLabelUI*>(root)->GetTextColor());
    EXPECT_EQ(L"Noto Sans Thai", pm.GetFontInfo(7)->sFontName);
    // Declaring an image resolves its file through the resource manager itself.
    EXPECT_NE(nullptr, pm.GetImage(L"images\\bk.png"));
    // Fonts the program rebuilds later are not put back by the next layout.
    pm.RemoveAllFonts(true);
    pm.AddFont(7, L"Verdana Unicode MS", 14, false, false, false, true);
    CDialogBuilder next;
    delete next.Create(L"XML_MAIN", nullptr, nullptr, &pm);
    EXPECT_EQ(L"Verdana Unicode MS", pm.GetFontInfo(7)->sFontName);
    pm.RemoveAllFonts(true);
    pm.RemoveAllDefaultAttributeList(true);
    pm.RemoveAllImages(true);
    CResourceManager::GetInstance()->Release();
}

TEST(DialogBuilder, MissingOrMalformedLayoutsGiveAnErrorAndNoRoot) {
    SkinFolder skin;
    skin.Write("broken.xml", "<Window><VerticalLayout><Label></VerticalLayout>");
    skin.Write("empty.xml", "<Window size=\"10,10\"/>");
    skin.Write(
        "selfinclude.xml",
        R"(<VerticalLayout><Include source="selfinclude.xml" count="64"/></VerticalLayout>)");
    platform::TraceCapture trace;
    CPaintManagerUI pm;
    for (const wchar_t* file : {L"missing.xml", L"broken.xml", L"empty.xml", L""}) {
        CDialogBuilder builder;
        EXPECT_EQ(nullptr, builder.Create(file, nullptr, nullptr, &pm))
            << CDuiString(file).ToUtf8();
        EXPECT_FALSE(builder.GetLastErrorMessage().IsEmpty());
    }
    EXPECT_TRUE(trace.Contains(L"missing.xml"));
    EXPECT_TRUE(trace.Contains(L"malformed XML"));

    // Unknown classes are skipped; runaway includes stop at their bounds.
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create(L"<VerticalLayout><NoSuchThing/><Label name='x'/></VerticalLayout>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(1, static_cast<CContainerUI*>(root)->GetCount());
    delete root;
    CDialogBuilder runaway;
    root = runaway.Create(L"selfinclude.xml");
    ASSERT_NE(nullptr, root);
    EXPECT_NE(std::wstring::npos, runaway.GetLastErrorMessage().str().find(L"deeply"));
    delete root;
}

TEST(DialogBuilder, OwnAttributesOverrideDefaultsAndIncludesRepeat) {
    SkinFolder skin;
    skin.Write("row.xml", R"(<Option group="rows" name="row_option"/>)");
    skin.Write("page.xml", R"(<Window>
      <Default name="Label" value="textcolor=&quot;#FF000001&quot; font=&quot;2&quot;"/>
      <VerticalLayout name="root">
        <Label name="plain"/>
        <Label name="own" textcolor="#FF000002"/>
        <HorizontalLayout name="rows"><Include source="row.xml" count="3"/></HorizontalLayout>
        <TabLayout name="tabs" selectedid="2"><Control/><Control/><Control name="third"/></TabLayout>
      </VerticalLayout></Window>)");
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"page.xml", nullptr, nullptr, &pm);
    ASSERT_NE(nullptr, root);
    pm.AttachDialog(root);
    auto* plain = static_cast<CLabelUI*>(pm.FindControl(L"plain"));
    auto* own = static_cast<CLabelUI*>(pm.FindControl(L"own"));
    EXPECT_EQ(0xFF000001u, plain->GetTextColor());
    EXPECT_EQ(2, plain->GetFont());
    EXPECT_EQ(0xFF000002u, own->GetTextColor());
    EXPECT_EQ(2, own->GetFont());
    EXPECT_EQ(3, static_cast<CContainerUI*>(pm.FindControl(L"rows"))->GetCount());
    EXPECT_EQ(3u, pm.GetOptionGroup(L"rows").size());
    auto* tabs = static_cast<CTabLayoutUI*>(pm.FindControl(L"tabs"));
    EXPECT_EQ(2, tabs->GetCurSel());
    EXPECT_TRUE(pm.FindControl(L"third")->IsVisible());
}

TEST(DialogBuilder, BuildsIntoAGivenParentAndAgainFromTheSameMarkup) {
    CPaintManagerUI pm;
    CDialogBuilder root;
    CControlUI* page = root.Create(L"<VerticalLayout name='page'/>", nullptr, nullptr, &pm);
    ASSERT_NE(nullptr, page);
    pm.AttachDialog(page);
    CDialogBuilder rows;
    CControlUI* first = rows.Create(L"<Window><Label name='a'/><Label name='b'/></Window>", nullptr,
                                    nullptr, &pm, page);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(L"a", first->GetName());
    EXPECT_EQ(2, static_cast<CContainerUI*>(page)->GetCount());
    EXPECT_NE(nullptr, rows.Create(nullptr, &pm, page));
    EXPECT_EQ(4, static_cast<CContainerUI*>(page)->GetCount());
    CDialogBuilder unused;
    EXPECT_EQ(nullptr, unused.Create(nullptr, &pm, page));
}

}  // namespace
