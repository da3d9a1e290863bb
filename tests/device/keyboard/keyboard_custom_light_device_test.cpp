// The keyboard's custom lighting against the simulated keyboard: the per-LED colour table
// it writes and what it keeps in the profile.

#include <gtest/gtest.h>

#include <memory>

#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/lighting/base_light_effects.h"
#include "platform/fake_clock.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/sim_keyboard.h"
#include "support/temp_dir.h"

namespace {

using Commands = std::vector<uint8_t>;

class KeyboardCustomLightTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(keyboard_);
        device_ = std::make_unique<CVornalixKeyboardDevice>();
        device_->SetDeviceFileName(L"keyboard");
        device_->SetLedCount(126);
        device_->SetKeyCount(126);
        const std::wstring path = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4);
        ASSERT_TRUE(device_->CommandChannel().OpenInterface(path.c_str(), false));
        device_->StartDevice();
        device_->StopLightThread();
        seen_ = keyboard_->ReceivedCommands().size();
        ledOffset_ = 3 * size_t{device_->KeyMaps().led[0]};
        ASSERT_LT(ledOffset_ + 3, 512u);
    }

    void EnterMode(uint8_t mode) {
        LightRecord light;
        light.mode = mode;
        light.brightness = 14;
        light.red = 1;
        light.green = 2;
        light.blue = 3;
        light.customGroup = 2;
        device_->Profile().SetLightInfo(light);
        device_->ApplyProfileLight();
    }

    Commands TakeCommands() {
        const Commands all = keyboard_->ReceivedCommands();
        Commands fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        return fresh;
    }

    std::vector<uint8_t> KeyZeroColour() const {
        const std::vector<uint8_t> colours = keyboard_->Memory(sim::KeyboardMemory::kKeyColors);
        const auto first = colours.begin() + static_cast<long>(2 * 512 + ledOffset_);
        return {first, first + 3};
    }

    platform::FakeClock clock_;
    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    std::unique_ptr<CVornalixKeyboardDevice> device_;
    size_t seen_ = 0;
    size_t ledOffset_ = 0;
};

TEST_F(KeyboardCustomLightTest, ACustomLightPlaysTheFileItsConfigurationEntryNames) {
    const std::string folder = folders_.DataHome() + "Velkaro/keyboard/";
    ASSERT_TRUE(testing_support::WriteTextFile(
        folder + "zentu_light.config", R"({"LightInfo":[[{"LightName":"red","Guid":"red1"}]]})"));
    ASSERT_TRUE(testing_support::WriteTextFile(
        folder + "red1.light",
        R"({"LEDEffectList":[{"LEDREGMode":1,"LEDSpeed":5,"LEDBrightness":4,"red":200,"Time":1000}]})"));
    device_->SetDeviceString2(L"zentu_light");
    device_->LoadProfile();
    EnterMode(0);  // the custom light of entry 0
    device_->CustomLightStep();
    EXPECT_EQ(device::LedRed(device_->GetLedColor(5)), 200) << "not an empty list's dark frame";
}

TEST_F(KeyboardCustomLightTest, EnteringModeTwentyLoadsTheGroupAndWritesItScaled) {
    std::vector<uint32_t> group(126, 0);
    group[0] = 200 | 100 << 8 | 50 << 16 | 255u << 24;
    device_->Profile().SetCustomLightGroup(group, 0);
    device_->Profile().SetCustomLightGroupIndex(0);
    EnterMode(20);
    EXPECT_EQ(TakeCommands(), Commands(7, 0x0B));                     // 378 bytes in pieces
    EXPECT_EQ(KeyZeroColour(), (std::vector<uint8_t>{199, 99, 49}));  // the group's slot is 2
    EXPECT_EQ(device_->GetShownCustomLightGroup(), 0);
}

TEST_F(KeyboardCustomLightTest, AnotherProfileInTheSameModeShowsAndWritesItsOwnGroup) {
    const std::string folder = folders_.DataHome() + "Velkaro/keyboard/";
    const auto profile = [&](const char* id, const char* groups, int index) {
        ASSERT_TRUE(testing_support::WriteTextFile(
            folder + id + ".Json",
            std::string(R"({"Device":[{"LightInfo":{"SelectItem":20,"Light":14,"CustomGroup":2},
                "CustomLightMode":{"LightColorInfo":)") +
                groups + R"(,"CustomLightModeGroupIndex":)" + std::to_string(index) + "}}]}"));
    };
    profile("a", R"([[{"Red":1}],[{"Red":200,"Green":100,"Blue":50,"Alpha":255}]])", 1);
    profile("b", R"([[{"Red":10,"Green":20,"Blue":30,"Alpha":255}]])", 0);
    device_->SetDeviceString1(L"a");
    device_->LoadProfile();
    ASSERT_EQ(device_->GetShownCustomLightGroup(), 1);
    EXPECT_EQ(KeyZeroColour(), (std::vector<uint8_t>{199, 99, 49}));

    device_->SetDeviceString1(L"b");
    device_->LoadProfile();
    EXPECT_EQ(device_->GetShownCustomLightGroup(), 0) << "a paint would store into a's group";
    EXPECT_EQ(KeyZeroColour(), (std::vector<uint8_t>{9, 19, 29}));
}

TEST_F(KeyboardCustomLightTest, PaintingWritesOnlyInModeTwentyAndStoresTheShownGroup) {
    EnterMode(5);
    TakeCommands();
    device_->PaintKeyColor(0);
    EXPECT_TRUE(TakeCommands().empty());

    EnterMode(20);
    TakeCommands();
    device_->SetLightParams(20 | 14 << 8, 9 << 8 | 8 << 16 | 7 << 24, 2u << 24, 2);
    device_->PaintKeyColor(0);
    EXPECT_EQ(TakeCommands(), Commands(7, 0x0B));                 // 378 bytes in pieces
    EXPECT_EQ(KeyZeroColour(), (std::vector<uint8_t>{9, 8, 7}));  // not scaled by the level
    EXPECT_EQ(device_->Profile().GetCustomLightGroup(0, 1)[0] & 0xFFFFFF, 9u | 8 << 8 | 7 << 16);
}

TEST_F(KeyboardCustomLightTest, SavingWithNoGroupShownStillPaintsAndWrites) {
    EnterMode(20);
    device_->SetCustomLightGroup(-1);
    TakeCommands();
    device_->Profile().SetCustomLightGroup(std::vector<uint32_t>(126, 0x01020304), 0);
    device_->SaveCustomLightGroup(1);
    EXPECT_EQ(TakeCommands(), Commands(7, 0x0B));  // 378 bytes in pieces
    EXPECT_EQ(KeyZeroColour()[0], 0);              // brush 1, 2, 3 at the loaded level 0
    EXPECT_EQ(device_->Profile().GetCustomLightGroup(0, 1)[0], 0x01020304u);
}

TEST(KeyboardCustomLightClosedTest, AProfileInModeTwentyBeforeTheKeyboardIsThereDoesNotWait) {
    platform::FakeClock clock;
    testing_support::ScopedUserFolders folders;
    CVornalixKeyboardDevice device;
    device.SetDeviceFileName(L"keyboard");
    device.SetLedCount(126);
    LightRecord light;
    light.mode = 20;
    device.Profile().SetLightInfo(light);
    device.ApplyProfileLight();
    EXPECT_EQ(clock.TickCount(), 0u) << "a write that cannot happen is not waited after";
}

}  // namespace
