// The mouse device against the simulated mouse: the bytes it puts on the wire and the
// state it keeps from the replies.

#include "device/mouse/vornalix_mouse_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "device/lighting/base_light_effects.h"
#include "platform/debug_trace.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/text_convert.h"
#include "sim/mouse_descriptors.h"
#include "sim/sim_mouse.h"
#include "support/temp_dir.h"

namespace {

using Commands = std::vector<uint8_t>;
using Bytes = std::vector<uint8_t>;

// A profile with a light of the program's own (mode 12), three DPI stages, the second
// current, polling option 3 and two selected correction entries.
constexpr char kProfile[] = R"({"Device":[{
  "LightInfo":{"SelectItem":12,"Light":3,"Speed":2,"Fx":1,"MultiColor":0,
               "Red":10,"Green":20,"Blue":30},
  "DPIStages":{"StageActive":1,"StageDPIs":[
    {"StageActive":1,"StageXY":0,"StageDPIX":16,"StageDPIY":16,"StageColorR":255},
    {"StageActive":1,"StageXY":1,"StageDPIX":32,"StageDPIY":300,"StageColorG":255},
    {"StageActive":0,"StageXY":0,"StageDPIX":64,"StageDPIY":64,"StageColorB":255}]},
  "SystemStages":{"DoubleClickTime":500,"MouseSpeed":10,"PointerPrecision":1,
                  "ScorllPage":0,"WheelScorlllinse":3},
  "ReportStages":{"StageActive":3},
  "CorrectInfo":[{"CorrectPixThresh":1,"CorrectMinSq":2,"CorrectSelect":0},
                 {"CorrectPixThresh":7,"CorrectMinSq":9,"CorrectSelect":1},
                 {"CorrectPixThresh":5,"CorrectMinSq":6,"CorrectSelect":1}]
}]})";

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 150 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// Records what the device asks of its page.
class RecordingMouse : public CVornalixMouseDevice {
  public:
    void ShowDpiStageCount(int count) override { shownStages = count; }
    void EnableDpiStage(int stage, int enabled) override { stages.push_back({stage, enabled}); }
    void SetDpiStageValue(int stage, int dpi) override { values.push_back({stage, dpi}); }
    void SelectPollingRateOption(int option) override { pollingOption = option; }
    std::vector<std::pair<int, int>> stages;
    std::vector<std::pair<int, int>> values;
    int pollingOption = -1;
    int shownStages = -1;
};

class MouseDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bus_.Plug(mouse_);
        device_ = std::make_unique<RecordingMouse>();
        device_->SetDeviceFileName(L"mouse");
        device_->SetDeviceString1(L"p1");
        device_->SetDeviceString2(L"zentu_light");
        device_->SetLedCount(sim::kMouseLedCount);
        ASSERT_TRUE(device_->CommandChannel().OpenInterface(
            bus_.PathOf(*mouse_, 1, sim::kMouseCommandCollection).c_str(), false));
    }

    Commands TakeCommands() {
        const Commands all = mouse_->ReceivedCommands();
        Commands fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        return fresh;
    }

    std::string UserFolder() const { return folders_.DataHome() + "Velkaro/mouse/"; }
    void WriteUserFile(const std::string& name, const std::string& text) {
        device_->GetUserDataPath();  // creates the folder
        ASSERT_TRUE(testing_support::WriteTextFile(UserFolder() + name, text));
    }
    void LoadTestProfile() {
        WriteUserFile("p1.Json", kProfile);
        device_->LoadProfile();
    }
    std::vector<KeyAssignRecord> FactoryAssignments() const {
        std::vector<KeyAssignRecord> keys(device::kMouseKeyCount);
        for (size_t k = 0; k < keys.size(); ++k) {
            const device::MouseKeyCode& code = device::kMouseFactoryKeyCodes[k];
            keys[k].current = {static_cast<uint16_t>(k), code[0], code[1], code[2], 0};
            keys[k].defaults = keys[k].current;
        }
        return keys;
    }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimMouse> mouse_ = std::make_shared<sim::SimMouse>();
    std::unique_ptr<RecordingMouse> device_;
    size_t seen_ = 0;
};

TEST_F(MouseDeviceTest, StartReadsCapabilitiesAndKeyTableInOneSessionAndFindsTheKeys) {
    device_->StartDevice();
    EXPECT_TRUE(device_->IsLightThreadRunning());
    device_->StopLightThread();
    EXPECT_FALSE(device_->IsLightThreadRunning());

    EXPECT_EQ(TakeCommands(), (Commands{0x01, 0x03, 0x07, 0x02}));
    EXPECT_EQ(device_->CommandChannel().GetTableLength(), sim::kMouseLedCount * 3);
    const std::map<int, int> positions = device_->GetKeyPositions();
    for (int key = 0; key < device::kMouseKeyCount; ++key) {
        EXPECT_EQ(positions.at(key), sim::kMouseKeyPositions[static_cast<size_t>(key)]) << key;
    }
    EXPECT_EQ(positions.at(11), device::kNoMouseKeyPosition) << "an LED without a key";
    EXPECT_EQ(device_->GetDpiEditMaximum(), sim::kMouseMaxDpiSlider * sim::kMouseDpiMultiplier);
}

TEST_F(MouseDeviceTest, PageShowsOnlyTheStoredDpiStages) {
    LoadTestProfile();
    device_->RefreshPageControls();
    using Pairs = std::vector<std::pair<int, int>>;
    EXPECT_EQ(device_->stages, (Pairs{{0, 1}, {1, 1}, {2, 0}}));
    EXPECT_EQ(device_->values, (Pairs{{0, 16}, {1, 32}, {2, 64}}));
    EXPECT_EQ(device_->pollingOption, 3);
}

TEST_F(MouseDeviceTest, FailedKeyTableReadKeepsThePositionsAndClosesTheSession) {
    mouse_->InjectFault({sim::FaultKind::kStatusFF, 0x07});
    device_->ReadDpiLimits();
    EXPECT_EQ(TakeCommands(), (Commands{0x01, 0x03, 0x07, 0x02}));
    EXPECT_TRUE(device_->GetKeyPositions().empty());
    EXPECT_FALSE(mouse_->SessionOpen());
    // Without the mouse's own table nothing is written: zeros would wipe every key.
    EXPECT_EQ(device_->WriteKeyAssignments(0, FactoryAssignments()), 0);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(MouseDeviceTest, KeyAssignmentsOverwriteOnlyTheMappedPositions) {
    // This mouse has no game-mode key: position 9 holds another code.
    const uint8_t other[] = {0x20, 0x00, 0x2C};
    mouse_->SetMemory(sim::MouseMemory::kKeyCodes, 9 * 3, other);
    device_->ReadDpiLimits();
    EXPECT_EQ(device_->GetKeyPositions().at(8), device::kNoMouseKeyPosition);
    const Bytes before = mouse_->Memory(sim::MouseMemory::kKeyCodes);
    TakeCommands();

    std::vector<KeyAssignRecord> keys = FactoryAssignments();
    keys[0].current = {0, 0x20, 0x02, 0x04, 0};  // left button -> shift+A
    keys[8].current = {8, 0x20, 0x00, 0x05, 0};  // the missing key: not written
    EXPECT_EQ(device_->WriteKeyAssignments(0, keys), 1);
    EXPECT_EQ(TakeCommands(), (Commands{0x03, 0x01, 0x09, 0x02}));
    Bytes expected = before;
    const size_t left = 3 * sim::kMouseKeyPositions[0];
    expected[left] = 0x20;
    expected[left + 1] = 0x02;
    expected[left + 2] = 0x04;
    EXPECT_EQ(mouse_->Memory(sim::MouseMemory::kKeyCodes), expected);

    EXPECT_EQ(device_->WriteKeyAssignments(1, keys), 0) << "only bank 0 exists";
    EXPECT_FALSE(mouse_->SessionOpen());
    // A table the mouse refused is reported, and the mouse is not left in the session.
    mouse_->InjectFault({sim::FaultKind::kStatusFF, 0x09});
    EXPECT_EQ(device_->WriteKeyAssignments(0, keys), 0);
    EXPECT_FALSE(mouse_->SessionOpen());
}

TEST_F(MouseDeviceTest, SettingsWriteSendsProfileZerosAreaWithInvertedSpeed) {
    LoadTestProfile();
    TakeCommands();
    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    // 66 bytes in two pieces, inside one session.
    EXPECT_EQ(TakeCommands(), (Commands{0x01, 0x06, 0x06, 0x02}));
    const Bytes memory = mouse_->Memory(sim::MouseMemory::kSettings);
    Bytes expected(66, 0);
    const Bytes head = {0, 0, 3, 7, 1, 0, 10, 20, 30, 0, 0, 3, 1, 0};
    std::copy(head.begin(), head.end(), expected.begin());
    const Bytes stages = {1, 0, 16,  0, 16, 0, 255, 0, 0,  1, 1, 32, 0,  44,
                          1, 0, 255, 0, 0,  0, 64,  0, 64, 0, 0, 0,  255};
    std::copy(stages.begin(), stages.end(), expected.begin() + 14);
    const Bytes tail = {1, 0x80, 0x07, 0x38, 0x04, 9, 7};
    std::copy(tail.begin(), tail.end(), expected.begin() + 59);
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 66), expected)
        << "mode 12 goes as 0, speed 2 as 7, stages 3 and 4 as zeros, the first selected "
           "correction entry";

    // Read back: speed 7 on the wire is index 2 again; mode follows the mouse.
    uint8_t profile = 9;
    EXPECT_EQ(device_->ReadDeviceProfile(&profile), 1);
    EXPECT_EQ(profile, 0);
    const device::MouseSettingsState state = device_->GetSettingsState();
    EXPECT_EQ(state[device::kStateSpeed], 2);
    EXPECT_EQ(state[device::kStateMode], 0);
    EXPECT_EQ(device_->Profile().GetLightInfo().mode, 0);
}

TEST_F(MouseDeviceTest, StagesOfThePreviousProfileReachNeitherTheMouseNorTheProfile) {
    std::string five = R"({"Device":[{"DPIStages":{"StageActive":4,"StageDPIs":[)";
    for (int i = 0; i < 5; ++i) {
        five += std::string(i ? "," : "") + R"({"StageActive":1,"StageDPIX":9,"StageDPIY":9})";
    }
    WriteUserFile("p5.Json", five + "]}}]}");
    device_->SetDeviceString1(L"p5");
    device_->LoadProfile();
    device_->SetDeviceString1(L"p1");
    LoadTestProfile();  // three stages
    ASSERT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    const Bytes memory = mouse_->Memory(sim::MouseMemory::kSettings);
    EXPECT_EQ(Bytes(memory.begin() + 41, memory.begin() + 59), Bytes(18, 0));
    EXPECT_EQ(memory[12], 1) << "the three-stage profile's own current stage";
    device_->RefreshPageControls();
    EXPECT_EQ(device_->shownStages, 3);
    EXPECT_EQ(device_->values.size(), 3u);

    // A change of one stage stores the profile's three stages, not five.
    std::vector<DpiStageRecord> stages = device_->GetDpiStages();
    stages[0].SetDpiX(20);
    device_->SetDpiStages(stages);
    device_->SaveProfile();
    CMouseProfiledata stored;
    stored.Load(device_->GetProfilePath());
    EXPECT_EQ(stored.GetDpiStages().size(), 3u);
}

TEST_F(MouseDeviceTest, ACurrentStagePastTheProfilesStagesIsNotSent) {
    WriteUserFile("p1.Json", R"({"Device":[{"DPIStages":{"StageActive":3,"StageDPIs":[
        {"StageActive":1,"StageDPIX":16},{"StageActive":1,"StageDPIX":32}]}}]})");
    device_->LoadProfile();
    ASSERT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    EXPECT_EQ(mouse_->Memory(sim::MouseMemory::kSettings)[12], 0);
    EXPECT_EQ(device_->Profile().GetCurrentDpiStage(), 0) << "the stage the page marks";
}

TEST_F(MouseDeviceTest, StoredSettingsPastWhatTheMouseTakesReachItAsThePageShowsThem) {
    device_->ReadDpiLimits();
    WriteUserFile("p1.Json", R"({"Device":[{"ReportStages":{"StageActive":9},
        "DPIStages":{"StageActive":0,"StageDPIs":[
          {"StageActive":5,"StageXY":3,"StageDPIX":60000,"StageDPIY":700},
          {"StageActive":1,"StageDPIX":32,"StageDPIY":32}]}}]})");
    device_->LoadProfile();
    device_->RefreshPageControls();
    EXPECT_EQ(device_->pollingOption, 0) << "a polling option the page has none for";
    using Pairs = std::vector<std::pair<int, int>>;
    EXPECT_EQ(device_->values, (Pairs{{0, sim::kMouseMaxDpiSlider}, {1, 32}}));

    ASSERT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    const Bytes memory = mouse_->Memory(sim::MouseMemory::kSettings);
    EXPECT_EQ(memory[11], 0);
    const uint8_t high = sim::kMouseMaxDpiSlider >> 8;
    const uint8_t low = sim::kMouseMaxDpiSlider & 0xFF;
    EXPECT_EQ(Bytes(memory.begin() + 14, memory.begin() + 20), (Bytes{1, 1, low, high, low, high}))
        << "flags as 0 or 1, both DPIs within the mouse's highest";
}

TEST_F(MouseDeviceTest, AStoredBrightnessPastTheLastLevelAndAnyDirectionGoAsTheMouseDefines) {
    WriteUserFile("p1.Json", R"({"Device":[{"LightInfo":{"SelectItem":3,"Light":200,"Fx":5}}]})");
    device_->LoadProfile();
    ASSERT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    const Bytes memory = mouse_->Memory(sim::MouseMemory::kSettings);
    EXPECT_EQ(memory[2], 14) << "the last brightness level";
    EXPECT_EQ(memory[4], 1) << "a direction is forward or not";
}

TEST_F(MouseDeviceTest, AStoredValueOfTheWrongTypeReachesTheMouseAsTheKindsDefault) {
    // The shipped default: brightness 4, speed 2, polling option 3.
    WriteUserFile("p1.Json", R"({"Device":[{"LightInfo":{"SelectItem":3,"Light":"bright",
        "Speed":[1]},"ReportStages":{"StageActive":"fast"}}]})");
    device_->LoadProfile();
    device_->RefreshPageControls();
    EXPECT_EQ(device_->pollingOption, 3);
    ASSERT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    const Bytes memory = mouse_->Memory(sim::MouseMemory::kSettings);
    EXPECT_EQ(Bytes(memory.begin() + 1, memory.begin() + 4), (Bytes{3, 4, 7}))
        << "the profile's own mode, the default's brightness and speed";
    EXPECT_EQ(memory[11], 3);
}

TEST_F(MouseDeviceTest, ReadTakesTheActiveProfilesAreaButNotItsDirection) {
    LoadTestProfile();  // direction 1
    const uint8_t active[] = {1};
    mouse_->SetMemory(sim::MouseMemory::kSettings, 0, active);
    const uint8_t area[] = {1, 6, 2, 9, 0, 1, 1, 2, 3, 0, 0, 4, 3};
    mouse_->SetMemory(sim::MouseMemory::kSettings, 128, area);
    TakeCommands();

    uint8_t profile = 0;
    EXPECT_EQ(device_->ReadDeviceProfile(&profile), 1);
    EXPECT_EQ(TakeCommands(), (Commands{0x05, 0x05, 0x05}));
    EXPECT_EQ(profile, 1);
    const device::MouseSettingsState state = device_->GetSettingsState();
    EXPECT_EQ(state[device::kStateProfile], 1);
    EXPECT_EQ(state[device::kStateMode], 6);
    EXPECT_EQ(state[device::kStateSpeed], 0);
    EXPECT_EQ(state[device::kStateBlue], 3);
    const LightRecord light = device_->Profile().GetLightInfo();
    EXPECT_EQ(light.mode, 6);
    EXPECT_EQ(light.direction, 1) << "the direction is not taken from the mouse";
    EXPECT_EQ(device_->Profile().GetCurrentDpiStage(), 3);
    EXPECT_EQ(device_->GetRawSettingsBlock()[11], 4);

    // A failed area read changes nothing more; a closed channel sends nothing.
    mouse_->InjectFault({sim::FaultKind::kStatusFE, 0x05, 1});
    const uint8_t other[] = {7};
    mouse_->SetMemory(sim::MouseMemory::kSettings, 129, other);
    EXPECT_EQ(device_->ReadDeviceProfile(&profile), 0);
    EXPECT_EQ(device_->GetSettingsState()[device::kStateMode], 6);
    TakeCommands();
    device_->CommandChannel().CloseInterface();
    EXPECT_EQ(device_->ReadDeviceProfile(&profile), 0);
    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1, 1), 0) << "not written is not success";
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(MouseDeviceTest, SlowChannelProbesBeforeEveryStepAndStopsOnAFailedProbe) {
    LoadTestProfile();
    device_->CommandChannel().SetSlow(true);
    TakeCommands();
    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 1);
    EXPECT_EQ(TakeCommands(), (Commands{0xAA, 0x01, 0xAA, 0x06, 0x06, 0xAA, 0x02}));

    mouse_->InjectFault({sim::FaultKind::kStatusFF, 0xAA});
    EXPECT_EQ(device_->WriteDeviceSettings(0, 0, 1, 1920, 1080), 0);
    EXPECT_EQ(TakeCommands(), (Commands{0xAA}));
}

TEST_F(MouseDeviceTest, ShootImageHoldsTheThirtyBulletsThePageShowsAndNoMore) {
    std::string events;
    for (int i = 0; i < 200; ++i) {
        events += std::string(i ? "," : "") + R"({"Delay":"1","Type":1,"Action":"up"})";
    }
    WriteUserFile("ShootData_0.Shoot", R"({"Events":[)" + events + "]}");
    device_->UploadShootData();
    const Bytes shoot = mouse_->Memory(sim::MouseMemory::kShoot);
    constexpr size_t kShown = 30 * 6;
    EXPECT_EQ(Bytes(shoot.begin() + 2, shoot.begin() + 4),
              (Bytes{static_cast<uint8_t>(40 + 4 * kShown), (40 + 4 * kShown) >> 8}));
    EXPECT_EQ(Bytes(shoot.begin() + 24, shoot.begin() + 26), (Bytes{kShown, 0}));
}

TEST_F(MouseDeviceTest, ShootImageHoldsTheFourGunsInMacroLayout) {
    WriteUserFile("ShootData_1.Shoot",
                  R"({"Events":[{"Delay":"300","Type":1,"Action":"down","Button":2},
                                {"Delay":"5","Type":1,"Action":"up","Button":2}]})");
    WriteUserFile("ShootData_2.Shoot", "not json");
    TakeCommands();
    device_->UploadShootData();
    EXPECT_EQ(TakeCommands(), (Commands{0x03, 0x01, 0x17, 0x02}));
    const Bytes shoot = mouse_->Memory(sim::MouseMemory::kShoot);
    const Bytes expected = {0xAA, 0x55, 48,   0, 4,  0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0,
                            24,   0,    28,   0, 40, 0, 44, 0, 0, 0, 0, 0, 2, 0, 0, 0,
                            0x2C, 0x01, 0x81, 2, 5,  0, 1,  2, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(shoot.begin(), shoot.begin() + 48), expected);

    // A refused image still closes the session.
    mouse_->InjectFault({sim::FaultKind::kStatusFE, 0x17});
    device_->UploadShootData();
    EXPECT_EQ(TakeCommands(), (Commands{0x03, 0x01, 0x17, 0x02}));
    EXPECT_FALSE(mouse_->SessionOpen());
}

TEST_F(MouseDeviceTest, MacroUploadAndMissingMacrosFallBackToDefaults) {
    WriteUserFile("macro.config", R"({"MacroInfo":[{"MacroName":"a","Guid":"m1"}]})");
    WriteUserFile("m1.mac", R"({"Events":[{"Delay":"1","Type":2,"Action":"down","Button":4}]})");
    TakeCommands();
    EXPECT_EQ(device_->UploadMacros(), 0);
    EXPECT_EQ(TakeCommands(), (Commands{0x03, 0x01, 0x15, 0x02}));
    const Bytes macro = mouse_->Memory(sim::MouseMemory::kMacro);
    EXPECT_EQ(Bytes(macro.begin(), macro.begin() + 4), (Bytes{0xAA, 0x55, 26, 0}));

    // Macro 0 exists, macro 1 does not: only the key naming macro 1 reverts, and the
    // profile file says so at once.
    LoadTestProfile();
    std::vector<KeyAssignRecord> keys = FactoryAssignments();
    keys[3].current = {3, KeyFunctionType::kMacro, 0, 1, 0};
    keys[4].current = {4, KeyFunctionType::kMacroRepeat, 1, 1, 0};
    device_->SetKeyAssignments(keys);
    device_->RefreshKeyPage();
    const std::vector<KeyAssignRecord> after = device_->GetKeyAssignments();
    EXPECT_EQ(after[3].current, keys[3].current);
    EXPECT_EQ(after[4].current, keys[4].defaults);
    EXPECT_EQ(device_->PageLists().macroNames.size(), 1u);
    CMouseProfiledata stored;
    stored.Load(device_->GetProfilePath());
    EXPECT_EQ(stored.GetKeyList().at(4).current, keys[4].defaults);
    EXPECT_EQ(stored.GetKeyList().at(3).current, keys[3].current);
}

TEST_F(MouseDeviceTest, AProfilesKeyOnAMacroOrGunTheMouseLacksReachesItAsItsDefault) {
    WriteUserFile("macro.config", R"({"MacroInfo":[{"MacroName":"a","Guid":"m1"}]})");
    device_->ReadDpiLimits();
    const KeyFunctionRecord factory = FactoryAssignments()[0].defaults;
    const size_t left = 3 * sim::kMouseKeyPositions[0];
    const KeyFunctionRecord missing[] = {{0, KeyFunctionType::kMacro, 3, 0, 0},
                                         {0, KeyFunctionType::kGunKey, 7, 0, 0}};
    for (const KeyFunctionRecord& key : missing) {
        WriteUserFile("p1.Json", R"({"Device":[{"KeyList":[{"Assignment":)" +
                                     std::to_string(PackKeyFunction(key)) +
                                     R"(,"DefaultAssignment":)" +
                                     std::to_string(PackKeyFunction(factory)) + "}]}]}");
        device_->LoadProfile();
        EXPECT_EQ(device_->GetKeyAssignments().at(0).current, factory) << "what the page shows";
        ASSERT_EQ(device_->ApplyKeyAssignments(0), 1);
        const Bytes table = mouse_->Memory(sim::MouseMemory::kKeyCodes);
        EXPECT_EQ(Bytes(table.begin() + left, table.begin() + left + 3),
                  (Bytes{factory.type, factory.p1, factory.p2}))
            << "the mouse holds no macro 3 and no gun 7";
    }
}

TEST_F(MouseDeviceTest, KeysFollowTheirMacrosWhenAnEarlierMacroIsDeleted) {
    const auto macroKey = [](uint16_t id, uint8_t macro) {
        return KeyFunctionRecord{id, KeyFunctionType::kMacro, macro, 1, 0};
    };
    LoadTestProfile();
    std::vector<KeyAssignRecord> keys = FactoryAssignments();
    keys[3].current = macroKey(3, 1);
    keys[4].current = macroKey(4, 2);
    keys[5].current = macroKey(5, 0);
    device_->SetKeyAssignments(keys);
    const std::string other = std::to_string(PackKeyFunction(macroKey(0, 2)));
    WriteUserFile("p2.Json", R"({"profileUUID":"p2","Device":[{"KeyList":[{"Assignment":)" + other +
                                 R"(,"DefaultAssignment":0}]}]})");

    // Macro 0 of three deleted: the other two move up.
    WriteUserFile("macro.config", R"({"MacroInfo":[{"MacroName":"b","Guid":"m1"},
                                                   {"MacroName":"c","Guid":"m2"}]})");
    device_->RefreshKeyPage(0);
    const std::vector<KeyAssignRecord> after = device_->GetKeyAssignments();
    EXPECT_EQ(after[3].current, macroKey(3, 0));
    EXPECT_EQ(after[4].current, macroKey(4, 1));
    EXPECT_EQ(after[5].current, keys[5].defaults);
    CMouseProfiledata stored;
    stored.Load(device_->GetProfilePath());
    EXPECT_EQ(stored.GetKeyList().at(4).current, macroKey(4, 1)) << "saved at once";
    CMouseProfiledata second;
    second.Load(DuiLib::CDuiString(platform::Utf8Decode(UserFolder() + "p2.Json")));
    EXPECT_EQ(second.GetKeyList().at(0).current, macroKey(0, 1)) << "a profile not loaded";
}

TEST_F(MouseDeviceTest, LightThreadStepsTheSettingsStateMode) {
    LoadTestProfile();
    LightRecord light = device_->Profile().GetLightInfo();
    light.mode = 3;  // static
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    device_->StartLightThread();
    const uint32_t expected = device::MakeLedColour({10, 20, 30}, device::BrightnessForIndex(3));
    EXPECT_TRUE(WaitFor([&] { return device_->GetLedColor(0) == expected; }));

    light.mode = 8;  // off
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    EXPECT_TRUE(WaitFor([&] { return device_->GetLedColor(0) == 0; }));
    device_->StopLightThread();
    EXPECT_FALSE(device_->IsLightThreadRunning());
}

TEST_F(MouseDeviceTest, ACustomLightPlaysTheFileItsConfigurationEntryNames) {
    device_->SetDeviceIndex(1);
    LoadTestProfile();
    // Mode 9 + n plays entry n of the mouse's own list, the list its page names.
    WriteUserFile("zentu_light.config",
                  R"({"LightInfo":[[{"Guid":"red1"}],[{},{"LightName":"red","Guid":"red1"}]]})");
    WriteUserFile(
        "red1.light",
        R"({"LEDEffectList":[{"LEDREGMode":1,"LEDSpeed":5,"LEDBrightness":4,"red":200,"Time":1000}]})");
    LightRecord light = device_->Profile().GetLightInfo();
    light.mode = 10;
    device_->Profile().SetLightInfo(light);
    device_->ApplyProfileLight();
    device_->PlayCustomStep();
    EXPECT_EQ(device::LedRed(device_->GetLedColor(0)), 200) << "not an empty list's dark frame";
}

TEST_F(MouseDeviceTest, SyncThreadAnswersOnlyTheResyncRequest) {
    constexpr wchar_t kEveryReport[] = L"接收到自动添加设备的同步信息要求  TEST";
    constexpr wchar_t kResync[] = L"接收到自动添加设备的同步信息要求";
    platform::TraceCapture trace;
    auto count = [&trace](const wchar_t* text) {
        const std::vector<std::wstring> lines = trace.Lines();
        return std::count(lines.begin(), lines.end(), std::wstring(text));
    };
    device_->OpenNotifyChannel(bus_.PathOf(*mouse_, 1, sim::kMouseNotifyCollection).c_str());
    ASSERT_TRUE(device_->InputChannel().IsOpen());
    EXPECT_TRUE(device_->IsSyncThreadRunning());

    mouse_->SendNotification(0x0402);
    EXPECT_TRUE(WaitFor([&] { return count(kEveryReport) == 1; }));
    EXPECT_EQ(count(kResync), 0);
    mouse_->RequestResync();
    EXPECT_TRUE(WaitFor([&] { return count(kResync) == 1; }));
    EXPECT_EQ(count(kEveryReport), 2);

    device_->CloseNotifyChannel();
    EXPECT_FALSE(device_->IsSyncThreadRunning());
    EXPECT_FALSE(device_->InputChannel().IsOpen());
    EXPECT_EQ(count(L"MS设备同步线程设定退出"), 1);
}

TEST_F(MouseDeviceTest, ASyncThreadRestartEndsTheReadOfTheThreadBeforeIt) {
    // A failed open leaves the thread idling; once the interface is open it waits for a
    // report without end, and the restart must not wait with it for one that never comes.
    device_->OpenNotifyChannel(L"hid#nowhere");
    ASSERT_TRUE(device_->IsSyncThreadRunning());
    ASSERT_TRUE(device_->InputChannel().OpenInterface(
        bus_.PathOf(*mouse_, 1, sim::kMouseNotifyCollection).c_str(), false));
    ASSERT_TRUE(WaitFor([&] { return device_->InputChannel().File().IsReading(); }));

    auto restart = std::async(std::launch::async, [&] { device_->StartSyncThread(); });
    const bool restarted = restart.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!restarted) {
        mouse_->SendNotification(0x0402);  // frees the old thread so the test can end
    }
    restart.get();
    EXPECT_TRUE(restarted);
    EXPECT_TRUE(device_->IsSyncThreadRunning());
    device_->CloseNotifyChannel();
    EXPECT_FALSE(device_->IsSyncThreadRunning());
}

}  // namespace
