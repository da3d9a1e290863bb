#include <gtest/gtest.h>

#include "controls/circle_progress.h"
#include "controls/combo_edit_container_element.h"
#include "controls/redio_macro_button.h"
#include "duilib/control_factory.h"
#include "pages/page_controls.h"

TEST(PageControls, EveryOwnClassIsCreatedByNameWithoutRegardToCase) {
    const wchar_t* names[] = {
        L"CircleProgress",      L"SelectPanel",      L"DeviceKeyButton",           L"HandImgButton",
        L"HandImgSelectButton", L"RedioMacroButton", L"ComboEditContainerElement", L"DeviceProfile",
        L"LightControl",        L"MagicControl",     L"VoiceTamselControl",        L"KeySetControl",
        L"ShootControl",        L"MacroControl",
    };
    RegisterPageControls();
    for (const wchar_t* name : names) {
        std::unique_ptr<DuiLib::CControlUI> control(CreatePageControl(name));
        ASSERT_NE(control, nullptr) << DuiLib::CDuiString(name).ToUtf8();
        EXPECT_EQ(DuiLib::CDuiString(control->GetClass()).CompareNoCase(name), 0);
        std::unique_ptr<DuiLib::CControlUI> upper(
            DuiLib::CControlFactory::GetInstance()->CreateControl(
                DuiLib::CDuiString(name).view().data()));
        EXPECT_NE(upper, nullptr);
    }
    std::unique_ptr<DuiLib::CControlUI> lower(CreatePageControl(L"circleprogress"));
    EXPECT_NE(dynamic_cast<CCircleProgressUI*>(lower.get()), nullptr);
    EXPECT_EQ(CreatePageControl(L"Button"), nullptr);
    EXPECT_EQ(CreatePageControl(nullptr), nullptr);
}

TEST(OwnControls, CircleRecordAndComboEditBehaviour) {
    CCircleProgressUI circle;
    circle.SetMinValue(0);
    circle.SetMaxValue(200);
    circle.SetValue(50);
    EXPECT_EQ(circle.GetSweepDegrees(), 90);
    circle.SetMaxValue(0);
    EXPECT_EQ(circle.GetSweepDegrees(), 0) << "an empty range draws nothing";

    CRedioMacroButtonUI record;
    record.SetAttribute(L"normalimage", L"rec.png");
    record.SetAttribute(L"recordingimage", L"recording.png");
    EXPECT_EQ(record.GetStateImage(), DuiLib::CDuiString(L"rec.png"));
    record.SetRecording(true);
    EXPECT_EQ(record.GetStateImage(), DuiLib::CDuiString(L"recording.png"));

    CComboEditContainerElementUI row;
    row.SetText(L"plain");
    EXPECT_EQ(row.GetText(), DuiLib::CDuiString(L"plain"));
    auto* edit = new DuiLib::CEditUI();
    row.Add(edit);
    row.SetText(L"typed name");
    EXPECT_EQ(edit->GetText(), DuiLib::CDuiString(L"typed name"));
    EXPECT_EQ(row.GetText(), DuiLib::CDuiString(L"typed name"));
}
