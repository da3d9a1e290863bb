// The headset's light frame as twelve output reports, checked on the wire of the
// simulated headset.

#include <gtest/gtest.h>

#include <memory>

#include "device/lighting/base_light_effects.h"
#include "device/onboard/headset_led_reports.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/sim_headset.h"

namespace {

using Report = std::vector<uint8_t>;

class HeadsetFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(headset_);
        device_->SetLedCount(13);
        const std::wstring path = bus_.PathOf(*headset_, sim::kLightAccessoryInterface, 2);
        ASSERT_TRUE(device_->CommandChannel().OpenInterface(path.c_str(), false));
    }

    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimHeadset> headset_ = std::make_shared<sim::SimHeadset>();
    std::unique_ptr<CVornalixTamselDevice> device_ = std::make_unique<CVornalixTamselDevice>();
};

TEST_F(HeadsetFrameTest, TwelveReportsPerFrameInChannelGroupHalfOrder) {
    for (int led = 0; led < 13; ++led) {
        device_->SetLedColor(
            led, device::MakeLedColour({static_cast<uint8_t>(10 * led), 100, 200}, 128));
    }
    EXPECT_NE(device_->PushLightFrame(), 0);
    ASSERT_TRUE(device_->CommandChannel().WaitLightFramesSent(5000));

    const std::vector<Report> reports = headset_->LedReports();
    ASSERT_EQ(reports.size(), 12u);
    const uint8_t order[12][2] = {{0x22, 0xAA}, {0x22, 0xAD}, {0x44, 0xAA}, {0x44, 0xAD},
                                  {0x22, 0xAB}, {0x22, 0xAE}, {0x44, 0xAB}, {0x44, 0xAE},
                                  {0x22, 0xAC}, {0x22, 0xAF}, {0x44, 0xAC}, {0x44, 0xAF}};
    for (size_t i = 0; i < reports.size(); ++i) {
        ASSERT_EQ(reports[i].size(), 17u);
        EXPECT_EQ(reports[i][0], 0xFF);
        EXPECT_EQ(reports[i][1], order[i][0]) << i;
        EXPECT_EQ(reports[i][2], order[i][1]) << i;
        EXPECT_EQ(reports[i][3], 0);
        EXPECT_EQ(Report(reports[i].begin() + 11, reports[i].end()), Report(6, 0));
    }
    // Report 1: R[0..6]; report 2: R[7..12], with R[6] left in byte 10.
    EXPECT_EQ(Report(reports[0].begin() + 4, reports[0].begin() + 11),
              (Report{0, 5, 10, 15, 20, 25, 30}));
    EXPECT_EQ(Report(reports[1].begin() + 4, reports[1].begin() + 11),
              (Report{35, 40, 45, 50, 55, 60, 30}));
    EXPECT_EQ(reports[4][4], 50);
    EXPECT_EQ(reports[8][4], 100);
    EXPECT_EQ(headset_->GroupColours(0x44), headset_->GroupColours(0x22));
    EXPECT_EQ(headset_->CommandCount(0x12), 0u) << "no frame goes through the commands";
}

TEST_F(HeadsetFrameTest, ChannelsAreCappedAndFollowTheLevel) {
    device::LedColourVector leds;
    leds.Resize(13);
    leds.Set(0, device::MakeLedColour({255, 255, 255}, 255));
    leds.Set(1, device::MakeLedColour({255, 40, 7}, 0));
    const device::HeadsetChannels channels = device::ScaleHeadsetChannels(leds);
    EXPECT_EQ(channels.red[0], 247) << "254 is capped";
    EXPECT_EQ(channels.blue[0], 247);
    EXPECT_EQ(channels.red[1], 0);
    EXPECT_EQ(channels.green[1], 0);
}

TEST_F(HeadsetFrameTest, NothingIsSentWithoutLightControlAndAClosedInterfaceFails) {
    device_->SetLightControl(0);
    EXPECT_EQ(device_->PushLightFrame(), 0);
    EXPECT_TRUE(headset_->LedReports().empty());

    device_->SetLightControl(1);
    device_->CommandChannel().CloseInterface();
    EXPECT_EQ(device_->PushLightFrame(), 0);
    EXPECT_TRUE(headset_->LedReports().empty());
}

TEST_F(HeadsetFrameTest, LedReportsLeaveTheCommandExchangeClean) {
    device_->PushLightFrame();
    device_->PushLightFrame();
    // The light reports get no reply, so the next command reads its own.
    DeviceInfoBlock info;
    EXPECT_EQ(device_->CommandChannel().ReadDeviceInfo(info), 1);
    EXPECT_EQ(info.LedCount(), 13u);
}

}  // namespace
