// The keyboard device against the simulated keyboard: the bytes it puts on the wire and
// the state it keeps from the replies.

#include "device/keyboard/vornalix_keyboard_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "device/keyboard/layout_table.h"
#include "device/macro_image.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/text_convert.h"
#include "profile/json_file.h"
#include "sim/sim_keyboard.h"
#include "support/temp_dir.h"

namespace {

using Commands = std::vector<uint8_t>;

// Records the key events that reach the effects.
class RecordingKeyboard : public CVornalixKeyboardDevice {
  public:
    void ReactiveEffect(int key, int action) override {
        lastKey.store(key);
        lastAction.store(action);
        ++events;
    }
    std::atomic<int> lastKey{-1};
    std::atomic<int> lastAction{0};
    std::atomic<int> events{0};
};

class KeyboardDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(keyboard_);
        device_ = std::make_unique<RecordingKeyboard>();
        device_->SetDeviceFileName(L"keyboard");
        device_->SetLedCount(126);
        device_->SetKeyCount(126);
        const std::wstring path = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4);
        ASSERT_TRUE(device_->CommandChannel().OpenInterface(path.c_str(), false));
    }

    // The commands received since the last call.
    Commands TakeCommands() {
        const Commands all = keyboard_->ReceivedCommands();
        Commands fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        return fresh;
    }

    std::string UserFolder() const { return folders_.DataHome() + "Velkaro/keyboard/"; }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    std::unique_ptr<RecordingKeyboard> device_;
    size_t seen_ = 0;
};

TEST_F(KeyboardDeviceTest, StartReadsTheTablesInOneSessionThenTheLightBlock) {
    // Esc and F1 swapped on the keyboard, with LEDs of their own numbering.
    const uint8_t swapped[] = {0x20, 0x00, 0x3A, 0x20, 0x00, 0x29};
    keyboard_->SetMemory(sim::KeyboardMemory::kKeyCodes, 0, swapped);
    const uint8_t leds[] = {90, 91};
    keyboard_->SetMemory(sim::KeyboardMemory::kKeyLeds, 0, leds);

    device_->StartDevice();

    // 378 code bytes in 7 pieces, 126 LED bytes in 3, one slot byte and one 26-byte block.
    const Commands expected = {0x01, 0x03, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
                               0x07, 0x1B, 0x1B, 0x1B, 0x02, 0x05, 0x05};
    EXPECT_EQ(TakeCommands(), expected);
    const device::KeyboardKeyMaps maps = device_->KeyMaps();
    EXPECT_EQ(maps.keyPosition[0], 1);
    EXPECT_EQ(maps.keyPosition[1], 0);
    EXPECT_EQ(maps.led[0], 91);
    EXPECT_EQ(maps.led[125], 125);
    EXPECT_EQ(device_->CommandChannel().GetTableLength(), 378);

    // The simulated keyboard's block: mode 1, brightness 4, speed byte 4, red.
    const CVornalixKeyboardDevice::LightState state = device_->GetLightState();
    EXPECT_EQ(state.light.mode, 1);
    EXPECT_EQ(state.light.brightness, 4);
    EXPECT_EQ(state.light.speed, 5);
    EXPECT_EQ(state.light.red, 0xFF);
    EXPECT_EQ(device_->GetSystemStages().key6Flag, 0) << "byte 20 is 1";
}

TEST_F(KeyboardDeviceTest, TooManyLedsEndTheOpenAfterTheCapabilityBlock) {
    keyboard_->SetLedCount(171);
    device_->ReadDeviceInfo();
    EXPECT_EQ(TakeCommands(), (Commands{0x01, 0x03, 0x02}));
    EXPECT_EQ(device_->KeyMaps().keyPosition[0], device::kNoKeyPosition);
}

TEST_F(KeyboardDeviceTest, FailedLightReadLeavesStateAndProfileAlone) {
    keyboard_->InjectFault({sim::FaultKind::kStatusFF, 0x05, 1});
    uint8_t slot = 7;
    EXPECT_EQ(device_->ReadLightSettings(&slot, 0), 0);
    EXPECT_EQ(slot, 7);
    EXPECT_EQ(device_->GetLightState().light.mode, 0);
    EXPECT_EQ(device_->Profile().GetLightInfo().mode, 0);

    TakeCommands();
    device_->CommandChannel().CloseInterface();
    EXPECT_EQ(device_->ReadLightSettings(&slot, 0), 0);
    EXPECT_TRUE(TakeCommands().empty()) << "nothing is sent while closed";
}

TEST_F(KeyboardDeviceTest, SettingsWriteSendsTheBlockOfSlotZeroInASession) {
    LightRecord light;
    light.mode = 24;
    light.brightness = 2;
    light.speed = 9;
    light.direction = 1;
    light.multiColour = 1;
    light.green = 0x80;
    light.qrvmMode = 3;
    light.customGroup = 4;
    device_->Profile().SetLightInfo(light);
    // Repeat 7 and delay 8 stay off the block; Key6Flag 1, polling rate 2, WFlag and
    // WinFlag 1.
    device_->SetSystemStages(7 | 8 << 16, 1 | 2 << 16, 1 | 1 << 16);
    TakeCommands();

    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    EXPECT_EQ(TakeCommands(), (Commands{0x01, 0x06, 0x02}));
    const std::vector<uint8_t> memory = keyboard_->Memory(sim::KeyboardMemory::kSettings);
    const std::vector<uint8_t> expected = {0, 0, 2, 0, 1, 1, 0, 0x80, 0, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 3, 1, 0,    1, 2, 0, 0, 4};
    EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 26), expected)
        << "mode 24 is the program's own and is sent as 0";

    // Read back, it restores the speed and follows the keyboard's mode.
    uint8_t slot = 9;
    EXPECT_EQ(device_->ReadLightSettings(&slot, 0), 1);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(device_->GetLightState().light.speed, 9);
    EXPECT_EQ(device_->Profile().GetLightInfo().mode, 0);
    EXPECT_EQ(device_->GetSystemStages().key6Flag, 1);

    // A write the keyboard refused, or one that never left, is not reported as done.
    keyboard_->InjectFault({sim::FaultKind::kStatusFF, 0x06});
    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 0);
    EXPECT_FALSE(keyboard_->SessionOpen());
    device_->CommandChannel().CloseInterface();
    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 0);
}

TEST_F(KeyboardDeviceTest, StoredSystemSettingsPastWhatThePageOffersReachTheKeyboardAsShown) {
    std::filesystem::create_directories(UserFolder());
    ASSERT_TRUE(testing_support::WriteTextFile(UserFolder() + "odd.Json", R"({"Device": [{
        "SystemStages": {"Key6Flag": 0, "PollingRate": 7, "WFlag": 5, "WinFlag": 2}}]})"));
    device_->SetDeviceString1(L"odd");
    device_->LoadProfile();
    ASSERT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    const std::vector<uint8_t> memory = keyboard_->Memory(sim::KeyboardMemory::kSettings);
    EXPECT_EQ(memory[19], 1) << "a set flag is 1";
    EXPECT_EQ(memory[21], 1);
    EXPECT_EQ(memory[22], 0) << "the page shows a polling rate it has no option for as 0";
}

TEST_F(KeyboardDeviceTest, AProfilesKeyOnAMacroNoLongerListedTakesItsDefaultAndKeepsIt) {
    std::filesystem::create_directories(UserFolder());
    const KeyFunctionRecord esc{0, 0x20, 0x00, 0x29, 0};
    ASSERT_TRUE(testing_support::WriteTextFile(
        UserFolder() + "m.Json",
        R"({"Device": [{"KeyList": [{"Assignment": )" +
            std::to_string(PackKeyFunction({0, KeyFunctionType::kMacroRepeat, 2, 0, 0})) +
            R"(, "DefaultAssignment": )" + std::to_string(PackKeyFunction(esc)) + "}]}]}"));
    device_->SetDeviceString1(L"m");
    device_->LoadProfile();
    EXPECT_EQ(device_->GetKeyAssignments().at(0).current, esc);
    CKeyboardProfiledata stored;
    stored.Load(device_->GetProfilePath());
    EXPECT_EQ(stored.GetKeyList().at(0).current, esc)
        << "a macro added later must not take the key over";
}

TEST_F(KeyboardDeviceTest, KeyAssignmentsOverwriteOnlyMappedPositions) {
    // The keyboard lacks F1 (layout row 1): its position keeps the keyboard's own code.
    const uint8_t odd[] = {0x99, 0x98, 0x97};
    keyboard_->SetMemory(sim::KeyboardMemory::kKeyCodes, 3, odd);
    device_->ReadDeviceInfo();
    const std::vector<uint8_t> before = keyboard_->Memory(sim::KeyboardMemory::kKeyCodes);
    TakeCommands();

    std::vector<KeyAssignRecord> assignments(126);
    for (size_t k = 0; k < assignments.size(); ++k) {
        const device::KeyCode& code = device::KeyboardLayoutTable[k];
        assignments[k].current = {static_cast<uint16_t>(k), code.category, code.modifier,
                                  code.usage, 0};
    }
    EXPECT_EQ(device_->WriteKeyAssignments(0, assignments), 1);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyCodes), before)
        << "an unchanged vector sends back what the keyboard reported";

    assignments[0].current = {0, 0x70, 0x02, 0x00, 0};  // Esc plays macro 2
    assignments[1].current = {1, 0x30, 0x00, 0xE9, 0};  // F1 is not on this keyboard
    EXPECT_EQ(device_->WriteKeyAssignments(0, assignments), 1);
    // Per write: the capability block outside the session, then 378 bytes in 7 pieces.
    const Commands oneWrite = {0x03, 0x01, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x02};
    Commands twoWrites = oneWrite;
    twoWrites.insert(twoWrites.end(), oneWrite.begin(), oneWrite.end());
    EXPECT_EQ(TakeCommands(), twoWrites);
    const std::vector<uint8_t> after = keyboard_->Memory(sim::KeyboardMemory::kKeyCodes);
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 6),
              (std::vector<uint8_t>{0x70, 0x02, 0x00, 0x99, 0x98, 0x97}));

    // A profile listing fewer keys than the layout changes only those.
    EXPECT_EQ(device_->WriteKeyAssignments(0, {}), 1);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyCodes)[0], 0x20);

    // A table the keyboard refused is not reported as written: the window says so.
    keyboard_->InjectFault({sim::FaultKind::kStatusFF, 0x09});
    EXPECT_EQ(device_->WriteKeyAssignments(0, assignments), 0);
    EXPECT_FALSE(keyboard_->SessionOpen());
    device_->CommandChannel().CloseInterface();
    EXPECT_EQ(device_->WriteKeyAssignments(0, assignments), 0);
}

TEST_F(KeyboardDeviceTest, KeyAssignmentsWaitForTheKeyboardsOwnTable) {
    // The table did not come at open: a write then would send a table of zeros and leave
    // the keyboard without a working key.
    keyboard_->InjectFault({sim::FaultKind::kNoReply, 0x07});
    device_->ReadDeviceInfo();
    const std::vector<uint8_t> before = keyboard_->Memory(sim::KeyboardMemory::kKeyCodes);
    TakeCommands();

    EXPECT_EQ(device_->WriteKeyAssignments(0, std::vector<KeyAssignRecord>(126)), 0);
    EXPECT_EQ(keyboard_->CommandCount(0x09), 0u);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyCodes), before);

    // Once the table has been read, the write goes out.
    device_->ReadDeviceInfo();
    EXPECT_EQ(device_->WriteKeyAssignments(0, {}), 1);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyCodes), before);

    // A capability block that later names fewer keys does not cut the table read at open
    // down to zeros behind them.
    keyboard_->SetLedCount(0);
    EXPECT_EQ(device_->WriteKeyAssignments(0, {}), 1);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kKeyCodes), before);
}

TEST_F(KeyboardDeviceTest, MacrosAreUploadedAsOneImageWhenTheyFit) {
    EXPECT_EQ(device_->UploadMacros(), 0) << "no list: nothing to write";
    EXPECT_EQ(keyboard_->CommandCount(0x15), 0u);

    ASSERT_TRUE(testing_support::WriteTextFile(UserFolder() + "macro.config",
                                               R"({"MacroInfo":[{"MacroName":"m","Guid":"g"}]})"));
    ASSERT_TRUE(testing_support::WriteTextFile(
        UserFolder() + "g.mac", R"({"Events":[{"Action":"down","Button":4,"Type":10,"Delay":"50"},)"
                                R"({"Action":"up","Button":4,"Type":10,"Delay":"0"}]})"));
    TakeCommands();
    EXPECT_EQ(device_->UploadMacros(), 0);
    EXPECT_EQ(TakeCommands(), (Commands{0x03, 0x01, 0x15, 0x02}));
    const std::vector<uint8_t> memory = keyboard_->Memory(sim::KeyboardMemory::kMacro);
    const std::vector<uint8_t> image = {0xAA, 0x55, 0x1E, 0, 1,    0, 0,    0, 0,    0,
                                        0,    0,    0,    0, 0,    0, 0x12, 0, 2,    0,
                                        0,    0,    0x32, 0, 0x8A, 4, 0,    0, 0x0A, 4};
    EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 30), image);

    // A refused image is said, and the session is closed all the same.
    keyboard_->InjectFault({sim::FaultKind::kStatusFF, 0x15});
    TakeCommands();
    EXPECT_EQ(device_->UploadMacros(), device::kMacroWriteRefused);
    EXPECT_EQ(TakeCommands(), (Commands{0x03, 0x01, 0x15, 0x02}));

    // One macro of 1017 events is 16 + 6 + 4068 = 4090 bytes: it fits 4096; 1019 does not.
    std::string events;
    for (int i = 0; i < 1019; ++i) {
        events += std::string(i ? "," : "") + R"({"Action":"up","Button":1,"Type":1,"Delay":"1"})";
    }
    ASSERT_TRUE(
        testing_support::WriteTextFile(UserFolder() + "g.mac", "{\"Events\":[" + events + "]}"));
    TakeCommands();
    EXPECT_EQ(device_->UploadMacros(), ((4098 - 4096) >> 2) + 1);
    EXPECT_EQ(TakeCommands(), (Commands{0x03})) << "an image that does not fit is not sent";
}

TEST_F(KeyboardDeviceTest, KeyPressesOnTheInputInterfaceReachTheEffectsByLayoutPosition) {
    device_->ReadDeviceInfo();
    device_->OpenNotifyChannel(bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 3).c_str());
    ASSERT_TRUE(device_->InputChannel().IsOpen());

    keyboard_->SendNotification(0x0404);
    keyboard_->PressKey(200);  // no layout position holds it
    keyboard_->PressKey(5);
    keyboard_->ReleaseKey(5);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (device_->events.load() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(device_->events.load(), 2);
    EXPECT_EQ(device_->lastKey.load(), 5);
    EXPECT_EQ(device_->lastAction.load(), 2);

    device_->CloseNotifyChannel();
    EXPECT_FALSE(device_->InputChannel().IsOpen());
}

TEST_F(KeyboardDeviceTest, LightThreadAnimatesTheBaseModesWhileTheChannelIsOpen) {
    LightRecord light;
    light.mode = 6;  // static
    light.brightness = 14;
    light.blue = 200;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    EXPECT_EQ(device_->ModeStepTicks(6, 3), 13 - 3);
    EXPECT_EQ(device_->ModeStepTicks(30, 0), 0);
    EXPECT_LT(device_->ModeStepTicks(0, 3), 0) << "the custom player has no timed step";
    EXPECT_LT(device_->ModeStepTicks(6, -1), 0);

    device_->StartLightThread();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (device_->GetLedColor(0) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    device_->StopLightThread();
    EXPECT_EQ(device::LedBlue(device_->GetLedColor(125)), 200);
}

TEST_F(KeyboardDeviceTest, AProfileFromBeforeKeyAssignmentTakesItsKeysFromTheDefault) {
    // The shape the shipped default had before it listed the keys; its own repeat rate.
    std::filesystem::create_directories(UserFolder());
    ASSERT_TRUE(testing_support::WriteTextFile(UserFolder() + "old.Json", R"({"Device": [{
        "LightInfo": {"SelectItem": 4, "Light": 13, "Speed": 2, "MultiColor": 1, "Red": 255},
        "LightList": [],
        "SystemStages": {"Repeat": 20, "RepeatDelay": 1, "Key6Flag": 0, "PollingRate": 3,
                         "WFlag": 0, "WinFlag": 0},
        "CustomLightMode": {"LightColorInfo": [], "CustomLightModeGroupIndex": 0}}],
        "profilename": "Old", "profileUUID": "old"})"));
    device_->SetDeviceString1(L"old");
    device_->StartDevice();
    device_->StopLightThread();
    ASSERT_EQ(device_->GetKeyAssignments().size(), device::kKeyboardLayoutKeys);

    constexpr int kEsc = 0;
    device_->SelectKey(kEsc);
    device_->SetSelectedKeyAssignment(0x20 << 16, 0x04, 0);  // the A key
    ASSERT_EQ(device_->ApplyKeyAssignments(0), 1);
    const std::vector<uint8_t> table = keyboard_->Memory(sim::KeyboardMemory::kKeyCodes);
    const size_t at = size_t{device_->KeyMaps().keyPosition[kEsc]} * 3;
    EXPECT_EQ(std::vector<uint8_t>(table.begin() + at, table.begin() + at + 3),
              (std::vector<uint8_t>{0x20, 0x00, 0x04}));
    const device::KeyCode& f1 = device::KeyboardLayoutTable[1];
    const size_t f1At = size_t{device_->KeyMaps().keyPosition[1]} * 3;
    EXPECT_EQ(table[f1At + 2], f1.usage) << "the other keys keep their factory codes";

    device_->SaveProfile();
    CJsonFile json;
    const Json::Value stored = json.LoadJsonFile(
        DuiLib::CDuiString(platform::Utf8Decode(UserFolder() + "old.Json")))["Device"][0];
    ASSERT_EQ(stored["KeyList"].size(), device::kKeyboardLayoutKeys);
    EXPECT_EQ(stored["KeyList"][kEsc]["Assignment"].asInt(), 0x20 << 16 | 0x04);
    EXPECT_EQ(stored["KeyList"][1]["Assignment"].asInt(),
              f1.category << 16 | f1.modifier << 8 | f1.usage);
    EXPECT_EQ(stored["SystemStages"]["Repeat"].asInt(), 20) << "the profile's own stays";
}

TEST_F(KeyboardDeviceTest, LightReadBackIsStoredInTheProfileTheIdNamesWithinTheFolder) {
    device_->SetDeviceString1(L"p1");
    device_->StartDevice();
    device_->StopLightThread();
    const std::string stored = testing_support::ReadTextFile(UserFolder() + "p1.Json");
    EXPECT_NE(stored.find("\"SelectItem\" : 1"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"Speed\" : 5"), std::string::npos);

    // An id that climbs out of the folder keeps the previous profile file.
    device_->SetDeviceString1(L"../p2");
    device_->LoadProfile();
    EXPECT_EQ(device_->GetProfilePath(),
              DuiLib::CDuiString(platform::Utf8Decode(UserFolder() + "p1.Json")));
}

}  // namespace
