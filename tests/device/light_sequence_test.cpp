// The light frames every kind of device gets, tick by tick, held against sequences
// recorded once (tests/device/golden/light_sequences.txt): the keyboard's page preview (its
// LED colours and the tints of its LED buttons) and the bytes the mouse, the mouse pad and
// the headset receive. Time is a stepped clock that moves one coarse tick at a time.
//
// VELKARO_RECORD_LIGHT_SEQUENCES=<file> writes the sequences to <file> instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "controls/device_key_button.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "device/record_words.h"
#include "device/skin_page_builder.h"
#include "platform/clock.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/mouse_descriptors.h"
#include "sim/sim_headset.h"
#include "sim/sim_keyboard.h"
#include "sim/sim_mouse.h"
#include "sim/sim_mousepad.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Moves on by whole coarse ticks of the real clock's grid (15 or 16 ms each) when told, or
// by a 2 ms pass of the pad's and headset's light that takes its own tick; counts the
// passes of awake light loops (each asks once how long to wait).
class SteppedClock final : public platform::Clock {
  public:
    SteppedClock() : previous_(platform::InstallClock(this)) {}
    ~SteppedClock() override { platform::InstallClock(previous_); }
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;

    uint32_t TickCount() override { return TickAt(TickSerial()); }
    uint32_t MsUntilNextTick() override {
        passes_.fetch_add(1);
        return 1;
    }
    uint64_t TickSerial() override {
        std::lock_guard lock(mutex_);
        return msAtSerial_.size() - 1;
    }
    uint32_t TickAtSerial(uint64_t serial) override { return TickAt(serial); }
    uint64_t MonotonicMs() override {
        std::lock_guard lock(mutex_);
        return msAtSerial_.back();
    }
    uint32_t TickAtMs(uint64_t ms) override {
        std::lock_guard lock(mutex_);
        const auto after = std::upper_bound(msAtSerial_.begin(), msAtSerial_.end(), ms);
        return TickAt(
            static_cast<uint64_t>(std::max<ptrdiff_t>(after - msAtSerial_.begin(), 1) - 1));
    }
    void Sleep(uint32_t) override {}
    platform::LocalTime Now() override { return {}; }

    void NextTick() {
        std::lock_guard lock(mutex_);
        msAtSerial_.push_back(TickAt(msAtSerial_.size()));
    }
    void NextPass() {
        std::lock_guard lock(mutex_);
        msAtSerial_.push_back(msAtSerial_.back() + kPassMs);
    }
    uint64_t Passes() const { return passes_.load(); }

  private:
    static constexpr uint32_t kStart = 7'000'000;
    static constexpr uint32_t kPassMs = 2;
    static uint32_t TickAt(uint64_t serial) {
        return kStart + static_cast<uint32_t>(serial * 125u / 8u);
    }

    platform::Clock* previous_;
    std::mutex mutex_;
    // The millisecond reading at each tick taken.
    std::vector<uint64_t> msAtSerial_{kStart};
    std::atomic<uint64_t> passes_{0};
};

uint32_t Fnv1a(const Bytes& bytes) {
    uint32_t hash = 2166136261u;
    for (uint8_t b : bytes) {
        hash = (hash ^ b) * 16777619u;
    }
    return hash;
}

void PutWord(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// One frame hash per moment (a tick, or a frame of passes) looked at, by scenario.
class Sequences {
  public:
    using Moments = std::map<int, uint32_t>;

    void Add(const std::string& scenario, int moment, const Bytes& frame) {
        frames_[scenario][moment] = Fnv1a(frame);
    }
    // Of sequences where every moment was looked at.
    std::string Text() const {
        std::ostringstream out;
        for (const auto& [scenario, moments] : frames_) {
            out << scenario << ':';
            for (const auto& [moment, h] : moments) {
                char word[10];
                std::snprintf(word, sizeof word, " %08x", h);
                out << word;
            }
            out << '\n';
        }
        return out.str();
    }
    static std::map<std::string, std::vector<uint32_t>> Parse(const std::string& text) {
        std::map<std::string, std::vector<uint32_t>> parsed;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            const size_t colon = line.find(':');
            if (colon == std::string::npos) {
                continue;
            }
            std::istringstream words(line.substr(colon + 1));
            std::vector<uint32_t>& hashes = parsed[line.substr(0, colon)];
            std::string word;
            while (words >> word) {
                hashes.push_back(static_cast<uint32_t>(std::stoul(word, nullptr, 16)));
            }
        }
        return parsed;
    }
    const std::map<std::string, Moments>& Frames() const { return frames_; }

  private:
    std::map<std::string, Moments> frames_;
};

LightRecord Light(uint8_t mode, uint8_t speed, uint8_t direction, uint8_t multi,
                  uint8_t brightness = 14) {
    LightRecord light;
    light.mode = mode;
    light.brightness = brightness;
    light.speed = speed;
    light.direction = direction;
    light.multiColour = multi;
    light.red = 250;
    light.green = 90;
    light.blue = 30;
    return light;
}

// ---- the keyboard: its page preview over the simulated keyboard

struct KeyboardEvent {
    int tick;        // after this tick's frame
    int key = -1;    // layout position of a key event...
    int action = 0;  // ...1 press, 2 release
    bool newLight = false;
    LightRecord light;
};

struct KeyboardScenario {
    std::string name;
    LightRecord light;
    int ticks = 96;
    std::vector<KeyboardEvent> events;
};

KeyboardEvent Key(int tick, int key, int action) {
    KeyboardEvent event;
    event.tick = tick;
    event.key = key;
    event.action = action;
    return event;
}

KeyboardEvent Change(int tick, const LightRecord& light) {
    KeyboardEvent event;
    event.tick = tick;
    event.newLight = true;
    event.light = light;
    return event;
}

std::vector<KeyboardScenario> KeyboardScenarios() {
    std::vector<KeyboardScenario> all;
    auto add = [&](const std::string& name, const LightRecord& light,
                   std::vector<KeyboardEvent> events = {}) {
        all.push_back({name, light, 96, std::move(events)});
    };
    add("kb01-wave-multi-fast", Light(1, 9, 1, 1));
    add("kb01-wave-single-slow-back", Light(1, 2, 0, 0, 9));
    add("kb02-fine-wave", Light(2, 6, 1, 0));
    add("kb03-snake-multi", Light(3, 8, 1, 1));
    add("kb03-snake-single", Light(3, 9, 0, 0));
    add("kb04-spectrum", Light(4, 7, 0, 1));
    add("kb05-breathing-multi", Light(5, 9, 1, 1));
    add("kb05-breathing-slow", Light(5, 0, 1, 0, 5));
    add("kb06-static-rings", Light(6, 3, 1, 1));
    add("kb07-reactive", Light(7, 9, 1, 1),
        {Key(4, 30, 1), Key(9, 30, 2), Key(20, 50, 1), Key(21, 51, 1), Key(40, 50, 2)});
    add("kb08-column-spread", Light(8, 8, 1, 1), {Key(3, 44, 1), Key(25, 70, 1), Key(26, 70, 2)});
    add("kb09-spread-idle", Light(9, 5, 1, 0));
    add("kb10-rain", Light(10, 9, 1, 1));
    add("kb11-hue-drift", Light(11, 9, 1, 0));
    add("kb12-row-wave", Light(12, 9, 0, 1));
    add("kb13-cross-flow", Light(13, 9, 1, 1));
    add("kb14-converge", Light(14, 9, 1, 1));
    add("kb15-phase-pulse", Light(15, 9, 1, 1));
    add("kb16-edge-flow", Light(16, 8, 1, 0));
    add("kb17-preset", Light(17, 4, 1, 0));
    add("kb18-rings", Light(18, 9, 0, 1));
    add("kb20-custom-brightness", Light(20, 5, 1, 0, 10));
    add("kb22-ripple", Light(22, 9, 1, 1));
    add("kb24-flash", Light(24, 9, 1, 1));
    add("kb25-sweep", Light(25, 1, 1, 1));
    add("kb26-breathing-colours", Light(26, 9, 1, 0));
    add("kb27-flash-colours", Light(27, 4, 1, 0));
    add("kb28-off", Light(28, 9, 1, 0));
    add("kb29-splash", Light(29, 0, 1, 1),
        {Key(2, 50, 1), Key(5, 52, 1), Key(12, 50, 2), Key(30, 52, 2), Key(31, 70, 1),
         Key(60, 70, 2)});
    add("kb30-snake-trail", Light(30, 3, 0, 1));
    // Changes on the way: the speed (the count goes on), the colour, then the mode.
    add("kb-changes", Light(1, 9, 1, 1),
        {Change(10, Light(1, 3, 1, 1)), Change(33, Light(1, 3, 1, 0, 7)),
         Change(50, Light(5, 8, 0, 1)), Change(70, Light(29, 9, 1, 0)), Key(75, 44, 1),
         Key(80, 44, 2)});
    return all;
}

// What the keyboard page shows: every LED colour and every LED button's tint.
Bytes KeyboardPreview(CVornalixKeyboardDevice& keyboard) {
    Bytes frame;
    for (int led = 0; led < 126; ++led) {
        PutWord(frame, keyboard.GetLedColor(led));
        if (auto* button = dynamic_cast<CDeviceKeyButtonUI*>(keyboard.GetLedButton(led))) {
            PutWord(frame, button->GetTintColor());
            frame.push_back(button->GetTintAlpha());
            frame.push_back(button->IsTintOn() ? 1 : 0);
        }
    }
    return frame;
}

// `looks(tick)`: whether the preview is looked at after that tick: at every tick, at the
// window's frames, or only now and then while the window stays hidden.
void RunKeyboardScenario(const KeyboardScenario& scenario, const std::function<bool(int)>& looks,
                         Sequences& out) {
    SCOPED_TRACE(scenario.name);
    SteppedClock clock;
    testing_support::ScopedUserFolders folders;
    SkinPageEnvironment skin;
    ASSERT_TRUE(skin.Loaded());
    platform::hid::SimHidBus bus;
    platform::hid::ScopedHidBus useBus(bus);
    auto simKeyboard = std::make_shared<sim::SimKeyboard>();
    bus.Plug(simKeyboard);
    std::unique_ptr<CVornalixKeyboardDevice> keyboard = skin.BuildKeyboardPage(L"keyboard");
    ASSERT_TRUE(keyboard);
    const std::wstring path = bus.PathOf(*simKeyboard, sim::kKeyboardCommandInterface, 4);
    ASSERT_TRUE(keyboard->CommandChannel().OpenInterface(path.c_str(), false));
    keyboard->StartDevice();
    std::srand(1234);
    auto apply = [&](const LightRecord& light) {
        keyboard->Profile().SetLightInfo(light);
        keyboard->ApplyProfileLight();
    };
    apply(scenario.light);
    const size_t commandsBefore = simKeyboard->ReceivedCommands().size();
    const device::KeyboardKeyMaps maps = keyboard->KeyMaps();
    for (int tick = 1; tick <= scenario.ticks; ++tick) {
        clock.NextTick();
        if (looks(tick)) {
            keyboard->PushLightFrame();
            out.Add(scenario.name, tick, KeyboardPreview(*keyboard));
        }
        for (const KeyboardEvent& event : scenario.events) {
            if (event.tick != tick) {
                continue;
            }
            if (event.newLight) {
                apply(event.light);
            } else {
                keyboard->OnKeyEvent(maps.keyPosition[static_cast<size_t>(event.key)],
                                     event.action);
            }
        }
    }
    keyboard->StopLightThread();
    // The keyboard draws its own modes: no frame of the preview goes to it.
    EXPECT_EQ(simKeyboard->CommandCount(0x12), 0u);
    if (scenario.events.empty()) {
        EXPECT_EQ(simKeyboard->ReceivedCommands().size(), commandsBefore);
    }
}

// ---- the mouse: its light thread's frames on the wire

struct DeviceScenario {
    std::string name;
    LightRecord light;
    int ticks = 64;
};

// Done to the mouse after a tick's frame.
struct MouseEvent {
    int tick;
    std::function<void(CVornalixMouseDevice&)> act;
};

void ApplyLight(CVornalixMouseDevice& mouse, const LightRecord& light) {
    mouse.Profile().SetLightInfo(light);
    mouse.ApplyProfileLight();
}

constexpr uint32_t kSyncColour = 0xFF102030;

// `looks(tick)`: whether a frame is pushed after that tick: at every tick, at the frame
// timer's pace, or only now and then.
void RunMouseScenario(const DeviceScenario& scenario, const std::vector<MouseEvent>& events,
                      const std::function<bool(int)>& looks, Sequences& out) {
    SCOPED_TRACE(scenario.name);
    SteppedClock clock;
    testing_support::ScopedUserFolders folders;
    platform::hid::SimHidBus bus;
    platform::hid::ScopedHidBus useBus(bus);
    auto simMouse = std::make_shared<sim::SimMouse>();
    bus.Plug(simMouse);
    auto mouse = std::make_unique<CVornalixMouseDevice>();
    mouse->SetDeviceFileName(L"mouse");
    mouse->SetDeviceString1(L"p1");
    mouse->SetLedCount(sim::kMouseLedCount);
    const std::wstring path = bus.PathOf(*simMouse, 1, sim::kMouseCommandCollection);
    ASSERT_TRUE(mouse->CommandChannel().OpenInterface(path.c_str(), false));
    mouse->StartDevice();
    std::srand(1234);
    ApplyLight(*mouse, scenario.light);
    for (int tick = 1; tick <= scenario.ticks; ++tick) {
        clock.NextTick();
        if (looks(tick)) {
            const size_t sent = simMouse->CommandCount(0x12);
            ASSERT_EQ(mouse->PushLightFrame(), 1);
            ASSERT_TRUE(mouse->CommandChannel().WaitLightFramesSent(20000));
            ASSERT_GT(simMouse->CommandCount(0x12), sent);
            out.Add(scenario.name, tick, simMouse->Memory(sim::MouseMemory::kLightFrame));
        }
        for (const MouseEvent& event : events) {
            if (event.tick == tick) {
                event.act(*mouse);
            }
        }
    }
    // The mouse's own modes step by the tick: its loop slept throughout, and the frames
    // worked out every step.
    EXPECT_EQ(clock.Passes(), 0u);
    mouse->StopLightThread();
}

// ---- the mouse pad and the headset: their light passes, 2 ms apart, a frame every few

// The pad or the headset, its profile and its command interface.
struct OnboardUnderTest {
    COnboardLightDevice& device;
    CBasicProfiledata& profile;
    const std::wstring& commandPath;
};

// Done to the pad or the headset after a frame.
struct OnboardEvent {
    int frame;
    std::function<void(const OnboardUnderTest&)> act;
};

constexpr int kPassesPerFrame = 7;

// `looks(frame)`: whether a frame is pushed after that frame's passes; with
// `readEveryPass` a colour is read after each pass as well, as an awake thread's passes
// would have run one at a time.
template <class Device, class Sim, class Frame>
void RunOnboardScenario(const DeviceScenario& scenario, int ledCount, Frame frameOf,
                        const std::vector<OnboardEvent>& events,
                        const std::function<bool(int)>& looks, bool readEveryPass, Sequences& out) {
    SCOPED_TRACE(scenario.name);
    SteppedClock clock;
    testing_support::ScopedUserFolders folders;
    platform::hid::SimHidBus bus;
    platform::hid::ScopedHidBus useBus(bus);
    auto sim = std::make_shared<Sim>();
    bus.Plug(sim);
    auto device = std::make_unique<Device>();
    device->SetDeviceFileName(L"onboard");
    device->SetDeviceString1(L"p1");
    device->SetLedCount(ledCount);
    const std::wstring path = bus.PathOf(*sim, sim::kLightAccessoryInterface, 2);
    ASSERT_TRUE(device->CommandChannel().OpenInterface(path.c_str(), false));
    device->StartDevice();
    std::srand(1234);
    device->Profile().SetLightInfo(scenario.light);
    device->ApplyProfileLight();
    for (int frame = 1; frame <= scenario.ticks; ++frame) {
        for (int pass = 0; pass < kPassesPerFrame; ++pass) {
            clock.NextPass();
            if (readEveryPass) {
                device->GetLedColor(0);
            }
        }
        // A closed channel takes no frame.
        if (looks(frame) && device->CommandChannel().IsOpen()) {
            ASSERT_EQ(device->PushLightFrame() != 0, true);
            ASSERT_TRUE(device->CommandChannel().WaitLightFramesSent(20000));
            out.Add(scenario.name, frame, frameOf(*sim));
        }
        for (const OnboardEvent& event : events) {
            if (event.frame == frame) {
                event.act({*device, device->Profile(), path});
            }
        }
    }
    // Every pass was run by a reader or by the sleeping loop's own count: the loop never
    // woke for a pass.
    EXPECT_EQ(clock.Passes(), 0u);
    device->StopLightThread();
}

Bytes PadFrame(const sim::SimMousePad& pad) {
    return pad.Memory(sim::LightAccessoryMemory::kLightFrame);
}

Bytes HeadsetFrame(sim::SimHeadset& headset) {
    Bytes all;
    for (const Bytes& report : headset.LedReports()) {
        all.insert(all.end(), report.begin(), report.end());
    }
    headset.ClearLedReports();
    return all;
}

std::vector<DeviceScenario> MouseScenarios() {
    return {
        {"ms0-wave-multi", Light(0, 6, 1, 1)},
        {"ms0-wave-single", Light(0, 5, 0, 0)},
        {"ms1-spectrum", Light(1, 4, 1, 1)},
        {"ms2-breathing", Light(2, 7, 1, 0, 8)},
        {"ms3-static", Light(3, 9, 1, 0)},
        {"ms4-flash", Light(4, 5, 1, 1)},
        {"ms5-trail-multi", Light(5, 6, 1, 1)},
        {"ms5-trail-back", Light(5, 3, 0, 0)},
        {"ms6-breathing-colours", Light(6, 8, 1, 0)},
        {"ms7-flash-colours", Light(7, 5, 1, 0)},
        {"ms8-off", Light(8, 5, 1, 0)},
    };
}

std::vector<DeviceScenario> OnboardScenarios(const std::string& kind) {
    std::vector<DeviceScenario> all;
    const uint8_t modes[] = {0, 1, 2, 3, 4, 6, 7, 8};
    for (uint8_t mode : modes) {
        all.push_back(
            {kind + std::to_string(mode), Light(mode, 3, mode % 2, mode % 3 != 0, 11), 24});
    }
    return all;
}

std::string GoldenPath() {
    return std::string(VELKARO_LIGHT_SEQUENCE_DIR) + "/light_sequences.txt";
}

// Holds the sequences against the recorded ones, or adds them to the record.
void CheckAgainstRecord(const Sequences& sequences) {
    if (const char* record = std::getenv("VELKARO_RECORD_LIGHT_SEQUENCES")) {
        std::ofstream(record, std::ios::app) << sequences.Text();
        GTEST_SKIP() << "recorded into " << record;
    }
    const auto golden = Sequences::Parse(testing_support::ReadTextFile(GoldenPath()));
    for (const auto& [scenario, moments] : sequences.Frames()) {
        const auto it = golden.find(scenario);
        ASSERT_NE(it, golden.end()) << scenario;
        for (const auto& [moment, hash] : moments) {
            ASSERT_LE(static_cast<size_t>(moment), it->second.size()) << scenario;
            if (hash != it->second[static_cast<size_t>(moment) - 1]) {
                ADD_FAILURE() << scenario << ": frame " << moment << " differs";
                break;
            }
        }
    }
}

TEST(LightSequenceTest, KeyboardPreviewFollowsItsModesTickByTick) {
    Sequences sequences;
    for (const KeyboardScenario& scenario : KeyboardScenarios()) {
        RunKeyboardScenario(
            scenario, [](int) { return true; }, sequences);
    }
    CheckAgainstRecord(sequences);
}

// The window's frames come every 50 ms, three or four ticks; hidden, nothing looks at the
// preview until the window is shown again, yet it shows what it would have shown.
TEST(LightSequenceTest, KeyboardPreviewIsTheSameSeenAtFramesOrAfterAHiddenWhile) {
    if (std::getenv("VELKARO_RECORD_LIGHT_SEQUENCES") != nullptr) {
        GTEST_SKIP() << "records only what is looked at on every tick";
    }
    Sequences sequences;
    for (const KeyboardScenario& scenario : KeyboardScenarios()) {
        RunKeyboardScenario(
            scenario, [](int tick) { return tick % 3 == 0; }, sequences);
        RunKeyboardScenario(
            scenario, [](int tick) { return tick == 47 || tick == 96; }, sequences);
    }
    CheckAgainstRecord(sequences);
}

TEST(LightSequenceTest, MouseGetsTheFramesOfItsModes) {
    Sequences sequences;
    for (const DeviceScenario& scenario : MouseScenarios()) {
        RunMouseScenario(
            scenario, {}, [](int) { return true; }, sequences);
    }
    CheckAgainstRecord(sequences);
}

// The frame timer pushes a frame every 50 ms, three or four ticks; a frame that comes after
// a long while (a starved timer) carries what it would have carried.
TEST(LightSequenceTest, MouseFramesAreTheSameAtTheTimersPaceOrAfterALongWhile) {
    if (std::getenv("VELKARO_RECORD_LIGHT_SEQUENCES") != nullptr) {
        GTEST_SKIP() << "records only what is looked at on every tick";
    }
    Sequences sequences;
    for (const DeviceScenario& scenario : MouseScenarios()) {
        RunMouseScenario(
            scenario, {}, [](int tick) { return tick % 3 == 0; }, sequences);
        RunMouseScenario(
            scenario, {}, [](int tick) { return tick == 41 || tick == 64; }, sequences);
    }
    CheckAgainstRecord(sequences);
}

// Changes made while no frame looked: the speed (the count goes on), the colour, the mode
// (the trail starts over), a flash timed by its ticks, a restart of the light thread, the
// light synchronisation (whose ticks count not) and a light the mouse reports itself. Each
// frame is the one a frame at every tick (a loop awake at every tick) shows at that moment.
TEST(LightSequenceTest, MouseFramesAfterChangesMadeBetweenFramesAreThoseOfEveryTick) {
    const DeviceScenario scenario{"ms-changes", Light(0, 6, 1, 1), 200};
    auto change = [](int tick, const LightRecord& light) {
        return MouseEvent{tick, [light](CVornalixMouseDevice& mouse) { ApplyLight(mouse, light); }};
    };
    auto sync = [](int tick, bool on) {
        return MouseEvent{tick, [on](CVornalixMouseDevice& mouse) {
                              mouse.SetLightSync(on);
                              for (int led = 0; on && led < mouse.GetLedCount(); ++led) {
                                  mouse.SetLedColor(led, kSyncColour);
                              }
                          }};
    };
    // The mouse's own light changed on the mouse: it asks for a re-sync and is read.
    auto fromMouse = [](int tick, const LightRecord& light) {
        return MouseEvent{tick, [light](CVornalixMouseDevice& mouse) {
                              mouse.Profile().SetLightInfo(light);
                              ASSERT_EQ(mouse.WriteDeviceSettings(0, 0, 0, 1920, 1080), 1);
                              mouse.Profile().SetLightInfo(Light(8, 0, 0, 0));
                              mouse.ReadDeviceSettings();
                          }};
    };
    // The device started again (it came back): its light thread starts afresh.
    auto restart = [](int tick) {
        return MouseEvent{tick, [](CVornalixMouseDevice& mouse) {
                              mouse.StopLightThread();
                              mouse.StartLightThread();
                          }};
    };
    const std::vector<MouseEvent> events = {
        change(10, Light(0, 3, 1, 1)),
        change(23, Light(0, 3, 1, 0, 7)),
        change(31, Light(5, 6, 0, 1)),
        change(44, Light(4, 4, 1, 1)),
        restart(120),
        sync(150, true),
        sync(158, false),
        fromMouse(165, Light(7, 9, 1, 0)),
        change(175, Light(5, 4, 1, 0)),
    };
    Sequences everyTick;
    RunMouseScenario(
        scenario, events, [](int) { return true; }, everyTick);
    const Sequences::Moments& all = everyTick.Frames().at(scenario.name);
    for (const auto& looks : std::vector<std::function<bool(int)>>{
             [](int tick) { return tick % 3 == 0; },
             [](int tick) { return tick == 40 || tick == 149 || tick == 160 || tick == 200; }}) {
        Sequences seen;
        RunMouseScenario(scenario, events, looks, seen);
        for (const auto& [moment, hash] : seen.Frames().at(scenario.name)) {
            EXPECT_EQ(hash, all.at(moment)) << "frame " << moment;
        }
    }
    // The synchronisation's colour reached the mouse while it drew.
    EXPECT_NE(all.at(153), all.at(149));
    EXPECT_EQ(all.at(153), all.at(157));
}

void RunPadAndHeadset(const std::vector<OnboardEvent>& events,
                      const std::function<bool(int)>& looks, bool readEveryPass,
                      const std::vector<DeviceScenario>& pads,
                      const std::vector<DeviceScenario>& headsets, Sequences& out) {
    for (const DeviceScenario& scenario : pads) {
        RunOnboardScenario<CVornalixMousePadDevice, sim::SimMousePad>(
            scenario, sim::kMousePadLedCount, PadFrame, events, looks, readEveryPass, out);
    }
    for (const DeviceScenario& scenario : headsets) {
        RunOnboardScenario<CVornalixTamselDevice, sim::SimHeadset>(
            scenario, sim::kHeadsetLedCount, HeadsetFrame, events, looks, readEveryPass, out);
    }
}

TEST(LightSequenceTest, MousePadAndHeadsetGetTheFramesOfTheirPasses) {
    Sequences sequences;
    RunPadAndHeadset(
        {}, [](int) { return true; }, false, OnboardScenarios("pad"), OnboardScenarios("headset"),
        sequences);
    CheckAgainstRecord(sequences);
}

// The frame timer pushes a frame every 50 ms, 25 passes; a frame after a long while (a
// starved timer) carries what it would have carried. Each is also the frame of passes run
// one at a time.
TEST(LightSequenceTest, MousePadAndHeadsetFramesAreTheSameAtTheTimersPaceOrAfterALongWhile) {
    if (std::getenv("VELKARO_RECORD_LIGHT_SEQUENCES") != nullptr) {
        GTEST_SKIP() << "records only what is looked at on every frame";
    }
    Sequences sequences;
    const auto pads = OnboardScenarios("pad");
    const auto headsets = OnboardScenarios("headset");
    RunPadAndHeadset(
        {}, [](int frame) { return frame % 4 == 0; }, false, pads, headsets, sequences);
    RunPadAndHeadset(
        {}, [](int frame) { return frame == 13 || frame == 24; }, false, pads, headsets, sequences);
    RunPadAndHeadset(
        {}, [](int frame) { return frame % 5 == 0; }, true, pads, headsets, sequences);
    CheckAgainstRecord(sequences);
}

// A static pad with per-LED lights: LED 1 flashes by its ticks, LED 2 breathes, LED 3 is
// lit blue.
std::string AreaProfile() {
    return R"({"profilename": "p", "profileUUID": "p1", "Device": [{"LightInfo":
        {"SelectItem": 3, "Light": 14, "Speed": 10, "MultiColor": 0, "Red": 200, "Green": 0,
        "Blue": 0},
        "LightList": [null,
          {"LEDREGMode": 2, "LEDBrightness": 14, "LEDSpeed": 4, "red": 0, "green": 250,
           "blue": 0},
          {"LEDREGMode": 0, "LEDBrightness": 14, "LEDSpeed": 4, "red": 250, "green": 0,
           "blue": 90},
          {"LEDREGMode": 1, "LEDBrightness": 14, "red": 0, "green": 0, "blue": 250}]}]})";
}

// The same static light without them: a light that, once drawn, needs no pass.
std::string SteadyProfile() {
    return R"({"profilename": "p", "profileUUID": "p1", "Device": [{"LightInfo":
        {"SelectItem": 3, "Light": 14, "Speed": 10, "MultiColor": 0, "Red": 200, "Green": 0,
        "Blue": 0}, "LightList": []}]})";
}

// Changes made while no frame looked: the speed (the count goes on), the colour, the mode,
// a custom mode, per-LED lights over a static light and then none, the light
// synchronisation over the steady light (whose passes count not, and after which it is
// drawn again), a restart of the light thread, and the block the device holds read back. Each frame
// is the one of passes run one at a time.
TEST(LightSequenceTest, MousePadAndHeadsetFramesAfterChangesBetweenFramesAreThoseOfEveryPass) {
    if (std::getenv("VELKARO_RECORD_LIGHT_SEQUENCES") != nullptr) {
        GTEST_SKIP() << "holds runs against each other, not against the record";
    }
    auto change = [](int frame, const LightRecord& light) {
        return OnboardEvent{frame, [light](const OnboardUnderTest& on) {
                                on.profile.SetLightInfo(light);
                                on.device.ApplyProfileLight();
                            }};
    };
    auto areas = [](int frame, bool withAreas) {
        return OnboardEvent{frame, [withAreas](const OnboardUnderTest& on) {
                                on.device.BuildProfilePath();
                                const DuiLib::CDuiString path = on.device.GetProfilePath();
                                ASSERT_TRUE(testing_support::WriteTextFile(
                                    path.ToUtf8(), withAreas ? AreaProfile() : SteadyProfile()));
                                on.profile.Load(path);
                                on.device.ApplyProfileLight();
                            }};
    };
    auto sync = [](int frame, bool drawing) {
        return OnboardEvent{frame, [drawing](const OnboardUnderTest& on) {
                                on.device.SetLightSync(drawing);
                                for (int led = 0; drawing && led < on.device.GetLedCount(); ++led) {
                                    on.device.SetLedColor(led, kSyncColour);
                                }
                            }};
    };
    auto restart = [](int frame) {
        return OnboardEvent{frame, [](const OnboardUnderTest& on) {
                                on.device.StopLightThread();
                                on.device.StartLightThread();
                            }};
    };
    auto channel = [](int frame, bool open) {
        return OnboardEvent{
            frame, [open](const OnboardUnderTest& on) {
                if (open) {
                    ASSERT_TRUE(on.device.OpenCommandChannel(on.commandPath.c_str(), false));
                } else {
                    on.device.CloseCommandChannel();
                }
            }};
    };
    // The block written to the device's slot, another light taken, then the device's
    // block read back.
    auto fromDevice = [](int frame, const LightRecord& light) {
        return OnboardEvent{frame, [light](const OnboardUnderTest& on) {
                                on.profile.SetLightInfo(light);
                                on.device.ApplyProfileLight();
                                uint32_t words[3];
                                uint8_t slot = 0;
                                on.device.GetLightParams(&words[0], &words[1], &words[2], &slot);
                                ASSERT_EQ(on.device.WriteDeviceSettings(slot, 0, 0, 0, 0), 1);
                                on.profile.SetLightInfo(Light(8, 0, 0, 0));
                                on.device.ApplyProfileLight();
                                on.device.ReadDeviceSettings();
                            }};
    };
    const std::vector<OnboardEvent> events = {
        change(4, Light(0, 1, 1, 1, 11)),
        change(9, Light(0, 1, 1, 0, 7)),
        channel(10, false),
        channel(12, true),
        change(13, Light(7, 3, 0, 1)),
        change(18, Light(4, 4, 1, 1)),
        areas(40, true),
        areas(70, false),
        sync(75, true),
        sync(80, false),
        change(86, Light(1, 10, 1, 0)),
        restart(92),
        fromDevice(98, Light(6, 4, 1, 1)),
        change(104, Light(9, 3, 1, 0)),
        change(110, Light(5, 3, 1, 0)),
    };
    const DeviceScenario pad{"pad-changes", Light(1, 3, 1, 1), 116};
    const DeviceScenario headset{"headset-changes", Light(1, 3, 1, 1), 116};
    Sequences everyPass;
    RunPadAndHeadset(
        events, [](int) { return true; }, true, {pad}, {headset}, everyPass);
    for (const auto& looks : std::vector<std::function<bool(int)>>{
             [](int frame) { return frame % 4 == 0; },
             [](int frame) {
                 return frame == 17 || frame == 39 || frame == 61 || frame == 76 || frame == 81 ||
                        frame == 95 || frame == 116;
             }}) {
        Sequences seen;
        RunPadAndHeadset(events, looks, false, {pad}, {headset}, seen);
        for (const auto& [scenario, moments] : seen.Frames()) {
            for (const auto& [moment, hash] : moments) {
                EXPECT_EQ(hash, everyPass.Frames().at(scenario).at(moment))
                    << scenario << " frame " << moment;
            }
        }
    }
    // The synchronisation's colour reached the devices while it drew, and the steady light
    // came back over it.
    for (const char* scenario : {"pad-changes", "headset-changes"}) {
        const Sequences::Moments& all = everyPass.Frames().at(scenario);
        EXPECT_NE(all.at(76), all.at(74)) << scenario;
        EXPECT_EQ(all.at(76), all.at(79)) << scenario;
        EXPECT_NE(all.at(81), all.at(79)) << scenario;
    }
}

}  // namespace
