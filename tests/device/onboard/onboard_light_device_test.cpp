// The mouse pad and the headset against their simulated firmware: the light block, the
// power state, the start sequence and the two worker threads.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <thread>

#include "device/onboard/light_block.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "platform/file_io.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/paths.h"
#include "sim/sim_headset.h"
#include "sim/sim_mousepad.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

class RecordingPowerView : public IDevicePowerView {
  public:
    void ShowPowerLayout(bool) override {}
    void UpdatePowerReport(const uint8_t* block, uint32_t length) override {
        last.assign(block, block + length);
        ++updates;
    }
    Bytes last;
    int updates = 0;
};

class RecordingPad : public CVornalixMousePadDevice {
  public:
    ~RecordingPad() override { StopSyncThread(); }
    using CVornalixMousePadDevice::LightPass;
    void OnResyncRequest() override { ++resyncs; }
    std::atomic<int> resyncs{0};
};

// Polls `done` for up to two seconds; the threads run on a loaded machine.
template <class Predicate>
bool Eventually(Predicate done) {
    for (int i = 0; i < 400 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

class MousePadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(pad_);
        device_->SetDeviceFileName(L"MousePad");
        device_->SetDeviceString1(L"profile1");
        device_->SetLedCount(15);
        ASSERT_TRUE(device_->CommandChannel().OpenInterface(CommandPath().c_str(), false));
    }
    std::wstring CommandPath() { return bus_.PathOf(*pad_, sim::kLightAccessoryInterface, 2); }
    std::wstring NotifyPath() { return bus_.PathOf(*pad_, sim::kLightAccessoryInterface, 1); }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimMousePad> pad_ = std::make_shared<sim::SimMousePad>();
    std::unique_ptr<RecordingPad> device_ = std::make_unique<RecordingPad>();
};

TEST_F(MousePadTest, LightBlockReadsWithTheSpeedTurnedAndWritesBack) {
    const uint8_t slotBlock[] = {0, 12, 3, 7, 0, 0, 1, 2, 3, 0x55};
    pad_->SetMemory(sim::LightAccessoryMemory::kSettings, 2 * 25, slotBlock);
    const uint8_t active[] = {2};
    pad_->SetMemory(sim::LightAccessoryMemory::kSettings, 0, active);

    uint8_t slot = 0;
    EXPECT_EQ(device_->ReadLightBlock(&slot, 10), 1);
    EXPECT_EQ(slot, 2);
    const device::OnboardLightBlock held = device_->GetLightBlock();
    EXPECT_EQ(held[device::kBlockSlot], 2);
    EXPECT_EQ(held[device::kBlockSpeed], 2) << "the device holds 9 - speed";
    EXPECT_EQ(held[9], 0x55);

    EXPECT_EQ(device_->WriteDeviceSettings(2, 0, 0, 0, 0), 1);
    const Bytes memory = pad_->Memory(sim::LightAccessoryMemory::kSettings);
    const Bytes written(memory.begin() + 128, memory.begin() + 128 + 21);
    EXPECT_EQ(written[1], 0) << "mode 12 is played in software";
    EXPECT_EQ(written[3], 7);
    EXPECT_EQ(written[9], 0x55);
    EXPECT_EQ(device_->GetLightBlock()[device::kBlockSpeed], 2) << "restored after the write";
    const std::vector<uint8_t> commands = pad_->ReceivedCommands();
    EXPECT_EQ(Bytes(commands.end() - 3, commands.end()), (Bytes{0x01, 0x06, 0x02}));
    EXPECT_FALSE(pad_->SessionOpen());
}

// A write the device refused, or one that never left, is not reported as done; the
// session closes all the same.
void ExpectRefusedSettingsWritesFail(COnboardLightDevice& device, sim::SimCommandDevice& sim) {
    ASSERT_EQ(device.WriteDeviceSettings(1, 0, 0, 0, 0), 1);
    sim.InjectFault({sim::FaultKind::kStatusFF, 0x06});
    EXPECT_EQ(device.WriteDeviceSettings(1, 0, 0, 0, 0), 0);
    EXPECT_FALSE(sim.SessionOpen());
    device.CommandChannel().CloseInterface();
    EXPECT_EQ(device.WriteDeviceSettings(1, 0, 0, 0, 0), 0);
}

TEST_F(MousePadTest, ARefusedOrUnsentSettingsWriteIsNotDone) {
    ExpectRefusedSettingsWritesFail(*device_, *pad_);
}

TEST_F(MousePadTest, AFailedReadKeepsTheBlockHeld) {
    uint8_t slot = 0;
    device_->ReadLightBlock(&slot, 10);
    const device::OnboardLightBlock before = device_->GetLightBlock();
    pad_->InjectFault({sim::FaultKind::kStatusFF, 0x05, 1});
    EXPECT_EQ(device_->ReadLightBlock(&slot, 10), 1);
    EXPECT_EQ(device_->GetLightBlock(), before);

    device_->CommandChannel().CloseInterface();
    EXPECT_EQ(device_->ReadLightBlock(&slot, 10), 1);
    EXPECT_EQ(device_->GetLightBlock(), before);
    EXPECT_EQ(device_->WriteDeviceSettings(-1, 0, 0, 0, 0), 0);
}

TEST_F(MousePadTest, PowerStateReachesThePowerItemOnlyAfterAGoodRead) {
    RecordingPowerView view;
    device_->SetPowerItem(&view);
    const uint8_t power[] = {55, 1, 0, 9, 4};
    pad_->SetMemory(sim::LightAccessoryMemory::kPower, 0, power);

    device_->QueryPowerStatus();
    EXPECT_EQ(view.last, (Bytes{55, 1, 0, 0, 4, 0})) << "byte 3 says whether it is wireless";
    device_->CommandChannel().SetSlow(true);
    device_->QueryPowerStatus();
    EXPECT_EQ(view.last[3], 1);

    pad_->InjectFault({sim::FaultKind::kStatusFE, 0x1A, 0});
    device_->QueryPowerStatus();
    EXPECT_EQ(view.updates, 2);
    device_->SetPowerItem(nullptr);
}

TEST_F(MousePadTest, StartReadsTheCapabilityBlockInASessionThenRunsTheLights) {
    device_->StartDevice();
    const std::vector<uint8_t> commands = pad_->ReceivedCommands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(Bytes(commands.begin(), commands.begin() + 3), (Bytes{0x01, 0x03, 0x02}));
    EXPECT_EQ(device_->Capabilities().LedCount(), 15u);
    EXPECT_TRUE(device_->IsLightThreadRunning());

    // The profile's light is static red at full level; the light thread draws it.
    LightRecord light;
    light.mode = 3;
    light.brightness = 4;
    light.red = 200;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    EXPECT_TRUE(Eventually([&] { return device::LedRed(device_->GetLedColor(14)) == 200; }));

    // While the light synchronisation drives the LEDs no step runs.
    device_->CommandChannel().SetLightSync(true);
    device_->SetLedColor(14, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(device_->GetLedColor(14), 0u);
    device_->StopLightThread();
    EXPECT_FALSE(device_->IsLightThreadRunning());
}

TEST_F(MousePadTest, ModeFivePlaysTheCustomListLikeTheSoftwareModes) {
    LightRecord light;
    light.mode = 5;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    device_->SetLedColor(3, device::MakeLedColour({1, 2, 3}, 255));
    device_->StartLightThread();
    // The profile names no custom light: the empty list turns every LED off.
    EXPECT_TRUE(Eventually([&] { return device_->GetLedColor(3) == 0; }));
    device_->StopLightThread();
}

TEST_F(MousePadTest, ALongCustomRunStillLetsTheTimedModesStep) {
    LightRecord light;
    light.mode = 9;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    int passes = std::numeric_limits<int>::max() - 1;
    for (int i = 0; i < 3; ++i) {
        device_->LightPass(passes);  // no reset in a custom mode, and no overflow
    }
    light.mode = 3;  // static, speed index 0: a step every 28 passes
    light.brightness = 4;
    light.red = 200;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    device_->LightPass(passes);
    EXPECT_EQ(passes, 0) << "the step ran at once";
    EXPECT_EQ(device::LedRed(device_->GetLedColor(0)), 200);
}

TEST_F(MousePadTest, ASteadyLightIsDrawnOnceAndThenLeftAloneUntilItChanges) {
    LightRecord light;
    light.mode = 3;  // static at a fast speed: a step on every pass while it is drawn
    light.speed = 10;
    light.brightness = 14;
    light.red = 200;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    device_->StartLightThread();
    ASSERT_TRUE(Eventually([&] { return device::LedRed(device_->GetLedColor(0)) == 200; }));
    const uint32_t marker = device::MakeLedColour({1, 2, 3}, 4);
    device_->SetLedColor(0, marker);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(device_->GetLedColor(0), marker) << "no pass redrew a light that cannot change";

    light.mode = 2;  // breathing changes on every step
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    EXPECT_TRUE(Eventually([&] { return device_->GetLedColor(0) != marker; }));
    device_->StopLightThread();
}

// A static light on the whole pad, and LED 3 lit blue on its own when `perLed`.
std::string StaticProfile(bool perLed) {
    const std::string list =
        perLed ? R"([null, null, null, {"LEDREGMode": 1, "LEDBrightness": 14, "red": 0,
                   "green": 0, "blue": 250}])"
               : "[]";
    return R"({"profilename": "p", "profileUUID": "profile1", "Device": [{"LightInfo":
        {"SelectItem": 3, "Light": 14, "Speed": 10, "MultiColor": 0, "Red": 200, "Green": 0,
        "Blue": 0},
        "LightList": )" +
           list + "}]}";
}

TEST_F(MousePadTest, AProfileWithTheSameSteadyLightRedrawsItsOwnPerLedLights) {
    device_->BuildProfilePath();
    const std::string path = device_->GetProfilePath().ToUtf8();
    ASSERT_TRUE(testing_support::WriteTextFile(path, StaticProfile(false)));
    device_->LoadProfile();
    device_->StartLightThread();
    ASSERT_TRUE(Eventually([&] { return device::LedRed(device_->GetLedColor(3)) == 200; }));

    ASSERT_TRUE(testing_support::WriteTextFile(path, StaticProfile(true)));
    device_->LoadProfile();
    EXPECT_TRUE(Eventually([&] { return device::LedBlue(device_->GetLedColor(3)) == 250; }));
    EXPECT_EQ(device::LedRed(device_->GetLedColor(2)), 200);

    ASSERT_TRUE(testing_support::WriteTextFile(path, StaticProfile(false)));
    device_->LoadProfile();
    EXPECT_TRUE(Eventually([&] { return device::LedRed(device_->GetLedColor(3)) == 200; }))
        << "the LED takes the whole pad's light again";
    device_->StopLightThread();
}

TEST_F(MousePadTest, SyncThreadStartsEvenWhenTheInterfaceCannotBeOpened) {
    device_->OpenNotifyChannel(L"hid#nowhere");
    EXPECT_TRUE(device_->IsSyncThreadRunning());
    EXPECT_EQ(device_->InputChannel().IsOpen(), 0);

    device_->OpenNotifyChannel(NotifyPath().c_str());
    EXPECT_EQ(device_->InputChannel().IsOpen(), 1);
    // Only 0x0401 asks for a re-read; the others are passed over in order.
    pad_->SendNotification(0x0402);
    pad_->SendNotification(0x0404);
    pad_->RequestResync();
    EXPECT_TRUE(Eventually([&] { return device_->resyncs.load() == 1; }));
    device_->CloseNotifyChannel();
    EXPECT_EQ(device_->resyncs.load(), 1);
    EXPECT_FALSE(device_->IsSyncThreadRunning());
    EXPECT_EQ(device_->InputChannel().IsOpen(), 0);
}

TEST(HeadsetDevice, LightListsUseTheOptionRowWhileTheProfileKeepsElementZero) {
    testing_support::ScopedUserFolders folders;
    const std::string folder = folders.DataHome() + "Velkaro/HD/";
    ASSERT_TRUE(platform::EnsureDirectory(folder));
    ASSERT_TRUE(platform::WriteFileAtomic(
        folder + "zentu_light.config",
        R"({"LightInfo": [null, [{"LightName": "one"}], 5, [{"LightName": "three"}, 7]]})"));
    CVornalixTamselDevice device;
    device.SetDeviceFileName(L"HD");
    device.SetDeviceIndex(3);
    EXPECT_EQ(device.Profile().GetDeviceIndex(), 0);
    device.LoadMacroAndLightLists();
    EXPECT_EQ(device.PageLists().customLightNames,
              (std::vector<DuiLib::CDuiString>{L"three", L""}));

    device.SetDeviceIndex(2);  // not a list: the names stay
    device.LoadMacroAndLightLists();
    EXPECT_EQ(device.PageLists().customLightNames.size(), 2u);
    device.SetDeviceIndex(9);  // beyond the array: the names stay
    device.LoadMacroAndLightLists();
    EXPECT_EQ(device.PageLists().customLightNames.size(), 2u);
}

// A headset plugged into a bus of its own, with its device object.
class HeadsetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(headset_);
        device_->SetDeviceFileName(L"HD");
        device_->SetDeviceString1(L"p");
        device_->SetLedCount(13);
        const std::wstring command = bus_.PathOf(*headset_, sim::kLightAccessoryInterface, 2);
        ASSERT_TRUE(device_->CommandChannel().OpenInterface(command.c_str(), false));
    }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimHeadset> headset_ = std::make_shared<sim::SimHeadset>();
    std::unique_ptr<CVornalixTamselDevice> device_ = std::make_unique<CVornalixTamselDevice>();
};

TEST_F(HeadsetTest, ARefusedOrUnsentSettingsWriteIsNotDone) {
    ExpectRefusedSettingsWritesFail(*device_, *headset_);
}

TEST_F(HeadsetTest, StartsWithoutACapabilityBlockAndStopsItsThreadsOnDestruction) {
    const std::wstring notify = bus_.PathOf(*headset_, sim::kLightAccessoryInterface, 1);
    device_->StartDevice();
    device_->OpenNotifyChannel(notify.c_str());
    EXPECT_EQ(headset_->CommandCount(0x03), 0u);
    EXPECT_TRUE(device_->IsLightThreadRunning());
    EXPECT_TRUE(device_->IsSyncThreadRunning());
    device_.reset();  // joins both threads; a hang or a crash fails here
}

}  // namespace
