#include "app/mp_device_power_ui.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "duilib/ui_button.h"
#include "duilib/ui_progress.h"

namespace {

using DuiLib::CControlUI;

template <typename T>
T* AddNamed(DuiLib::CContainerUI* parent, const wchar_t* name) {
    auto* control = new T();
    control->SetName(name);
    parent->Add(control);
    return control;
}

// The item as its layout builds it; `withPhone` false leaves out the phone image.
struct PowerItem {
    explicit PowerItem(int kind, bool withPhone = true) {
        item->SetDeviceKind(kind, 0);
        layout = AddNamed<DuiLib::CHorizontalLayoutUI>(item.get(), L"device_power_Layout");
        value = AddNamed<DuiLib::CLabelUI>(layout, L"device_power_value");
        wireless = AddNamed<CControlUI>(layout, L"device_wuxian_logo");
        status = AddNamed<CControlUI>(layout, L"device_power_status");
        progress = AddNamed<DuiLib::CProgressUI>(layout, L"device_Power_progress");
        if (withPhone) {
            phone = AddNamed<CControlUI>(layout, L"device_phone_type");
        }
    }
    void Show(std::array<uint8_t, 6> block) { item->UpdatePowerReport(block.data(), 6); }

    std::unique_ptr<CMpDevicePowerUI> item = std::make_unique<CMpDevicePowerUI>();
    DuiLib::CHorizontalLayoutUI* layout = nullptr;
    DuiLib::CLabelUI* value = nullptr;
    CControlUI* wireless = nullptr;
    CControlUI* status = nullptr;
    DuiLib::CProgressUI* progress = nullptr;
    CControlUI* phone = nullptr;
};

TEST(MpDevicePowerTest, LevelShowsAsInvertedBarAndPercentText) {
    PowerItem mouse(2);
    mouse.Show({100, 2, 0, 0, 0, 0});
    EXPECT_EQ(mouse.progress->GetValue(), 0);
    EXPECT_EQ(mouse.value->GetText(), L"100%");
    EXPECT_EQ(mouse.status->GetBkImage(), L"file='power/power.png'");
    mouse.Show({37, 0, 0, 0, 0, 0});
    EXPECT_EQ(mouse.progress->GetValue(), 63);
    EXPECT_EQ(mouse.value->GetText(), L"37%");
    EXPECT_EQ(mouse.status->GetBkImage(), L"file='power/powered.png'");
    // A level past full from a faulty device shows as full.
    mouse.Show({250, 2, 0, 0, 0, 0});
    EXPECT_EQ(mouse.progress->GetValue(), 0);
    EXPECT_EQ(mouse.value->GetText(), L"100%");
}

TEST(MpDevicePowerTest, ChargingHidesTheBarOnlyOverTheWirelessLink) {
    PowerItem mouse(2);
    mouse.Show({50, 1, 0, 1, 0, 0});
    EXPECT_FALSE(mouse.progress->IsVisible());
    EXPECT_TRUE(mouse.wireless->IsVisible());
    EXPECT_EQ(mouse.status->GetBkImage(), L"file='power/wuxian_powering.png'");
    mouse.Show({50, 1, 0, 0, 0, 0});
    EXPECT_TRUE(mouse.progress->IsVisible());
    EXPECT_FALSE(mouse.wireless->IsVisible());
    EXPECT_EQ(mouse.status->GetBkImage(), L"file='power/powering.png'");
    mouse.Show({50, 9, 0, 0, 0, 0});  // unknown state: unchanged
    EXPECT_EQ(mouse.status->GetBkImage(), L"file='power/powering.png'");
}

TEST(MpDevicePowerTest, EachKindTouchesOnlyItsOwnMarks) {
    PowerItem mouse(2);
    mouse.Show({50, 2, 0, 1, 0, 2});
    EXPECT_TRUE(mouse.phone->GetBkImage().IsEmpty());
    EXPECT_TRUE(mouse.phone->GetToolTip().IsEmpty());

    PowerItem pad(3);
    pad.wireless->SetVisible(false);
    pad.Show({50, 2, 0, 1, 0, 2});
    EXPECT_FALSE(pad.wireless->IsVisible());
    EXPECT_EQ(pad.phone->GetBkImage(), L"file='power/Phone_type_samsung.png'");
    EXPECT_EQ(pad.phone->GetToolTip(), L"Phone_type_samsung");
    pad.Show({50, 2, 0, 1, 0, 7});
    EXPECT_EQ(pad.phone->GetBkImage(), L"file='power/Phone_type_no_device.png'");
}

TEST(MpDevicePowerTest, MissingControlShowsNothingAndShortBlocksReadAsZeros) {
    PowerItem pad(3, false);
    pad.progress->SetValue(55);
    pad.Show({80, 0, 0, 0, 0, 1});
    EXPECT_TRUE(pad.value->GetText().IsEmpty());
    EXPECT_EQ(pad.progress->GetValue(), 55);

    PowerItem mouse(2);
    const uint8_t shortBlock[] = {40};
    mouse.item->UpdatePowerReport(shortBlock, 1);
    EXPECT_EQ(mouse.value->GetText(), L"40%");
    EXPECT_EQ(mouse.status->GetBkImage(), L"file='power/powered.png'");
    mouse.item->UpdatePowerReport(nullptr, 0);
    EXPECT_EQ(mouse.value->GetText(), L"0%");

    mouse.item->ShowPowerLayout(false);
    EXPECT_FALSE(mouse.layout->IsVisible());
}

}  // namespace
