#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwctype>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "device/discovery/device_capture_thread.h"
#include "device/discovery/product_message.h"
#include "platform/debug_trace.h"
#include "platform/fake_clock.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/user_notice.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "sim/sim_keyboard.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Received {
    UINT message;
    WPARAM index;
};

// The sim bus, but its listing can fail a number of times or list the paths in capitals,
// and it tells its changes only when asked to. It counts listings, looks at its stamp and
// presence probes.
class ShapedBus final : public platform::hid::HidBus {
  public:
    explicit ShapedBus(platform::hid::HidBus& inner) : inner_(inner) {}
    void TellChanges(bool tell) { tell_ = tell; }
    int Looks() const { return looks_.load(); }
    int PresenceProbes() const { return probes_.load(); }
    std::optional<uint64_t> ChangeStamp() override {
        looks_.fetch_add(1);
        return tell_ ? inner_.ChangeStamp() : std::nullopt;
    }
    bool IsPresent(std::wstring_view path) override {
        probes_.fetch_add(1);
        return inner_.IsPresent(path);
    }
    void FailListings(int count) { failures_ = count; }
    // Opens that move reports are refused as for a node without the udev rule.
    void DenyAccess(bool deny) { deny_ = deny; }
    int Refusals() const { return refusals_.load(); }
    void ListInCapitals() { capitals_ = true; }
    int Listings() const { return listings_.load(); }
    bool Enumerate(std::vector<std::wstring>* paths) override {
        listings_.fetch_add(1);
        if (failures_.fetch_sub(1) > 0 || !inner_.Enumerate(paths))
            return false;
        for (auto& path : *paths) {
            if (capitals_)
                std::transform(path.begin(), path.end(), path.begin(), ::towupper);
        }
        return true;
    }
    std::unique_ptr<platform::hid::HidHandle> Open(std::wstring_view path,
                                                   platform::hid::HidOpenFlags flags) override {
        return inner_.Open(path, flags);
    }
    std::unique_ptr<platform::hid::HidHandle> OpenWithError(
        std::wstring_view path, platform::hid::HidOpenFlags flags,
        platform::hid::HidOpenError* error) override {
        if (deny_ && (flags.read || flags.write) && inner_.IsPresent(path)) {
            refusals_.fetch_add(1);
            *error = platform::hid::HidOpenError::kAccessDenied;
            return nullptr;
        }
        return inner_.OpenWithError(path, flags, error);
    }

  private:
    platform::hid::HidBus& inner_;
    std::atomic<int> failures_{0};
    std::atomic<int> listings_{0};
    std::atomic<bool> capitals_{false};
    std::atomic<bool> deny_{false};
    std::atomic<int> refusals_{0};
    std::atomic<bool> tell_{false};
    std::atomic<int> looks_{0};
    std::atomic<int> probes_{0};
};

// Every behaviour holds whether the bus tells its changes or not.
enum class BusKind { kTellsChanges, kCannotTell };
void PrintTo(BusKind kind, std::ostream* out) {
    *out << (kind == BusKind::kTellsChanges ? "a bus that tells its changes"
                                            : "a bus that cannot tell");
}
std::string BusKindName(const ::testing::TestParamInfo<BusKind>& info) {
    return info.param == BusKind::kTellsChanges ? "TellsChanges" : "CannotTell";
}

class CaptureThreadFixture : public ::testing::Test {
  protected:
    explicit CaptureThreadFixture(BusKind kind) {
        shaped_.TellChanges(kind == BusKind::kTellsChanges);
    }

    void SetUp() override {
        platform::WindowCreateParams params;
        params.className = L"CaptureTest";
        window_ = platform::CreateWindowHandle(
            params, [this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
                if (message == WM_DEVICE_ARRIVED || message == WM_DEVICE_REMOVED ||
                    message == productMessage_) {
                    // The record must already be changed when the window hears of it.
                    const auto record = list_.Get(wParam);
                    if (message == WM_DEVICE_ARRIVED) {
                        EXPECT_TRUE(record && record->connected);
                    }
                    if (message == WM_DEVICE_REMOVED) {
                        EXPECT_TRUE(record && !record->connected);
                    }
                    received_.push_back({message, wParam});
                }
                return 0;
            });
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (capture_)
            capture_->Stop();
        capture_.reset();
        platform::DestroyWindow(window_);
    }

    void Start() {
        capture_ = std::make_unique<DeviceCaptureThread>(list_, window_, productMessage_);
        ASSERT_TRUE(capture_->Start());
    }

    // Handles the window's messages until `done` holds; false after `limit`.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 1500ms) {
        const auto deadline = Clock::now() + limit;
        while (!done()) {
            if (Clock::now() > deadline)
                return false;
            platform::PumpPendingSends();
            MSG msg;
            while (PeekMessage(&msg, PM_REMOVE))
                DispatchMessage(&msg);
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    size_t Count(UINT message) const {
        size_t n = 0;
        for (const auto& r : received_)
            n += r.message == message;
        return n;
    }
    std::vector<WPARAM> Indexes(UINT message) const {
        std::vector<WPARAM> indexes;
        for (const auto& r : received_) {
            if (r.message == message)
                indexes.push_back(r.index);
        }
        return indexes;
    }

    platform::hid::SimHidBus bus_;
    ShapedBus shaped_{bus_};
    platform::hid::ScopedHidBus use_{shaped_};
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    HidLiveList list_ = HidLiveList::FromHidIdTable();
    const UINT productMessage_ = RegisterProductMessage();
    HWND window_ = nullptr;
    std::vector<Received> received_;
    std::unique_ptr<DeviceCaptureThread> capture_;
};

class CaptureThreadTest : public CaptureThreadFixture,
                          public ::testing::WithParamInterface<BusKind> {
  protected:
    CaptureThreadTest() : CaptureThreadFixture(GetParam()) {}
};
INSTANTIATE_TEST_SUITE_P(Buses, CaptureThreadTest,
                         ::testing::Values(BusKind::kTellsChanges, BusKind::kCannotTell),
                         BusKindName);

// Refused opens of a plugged keyboard, with the clock moved on in steps of a few passes.
class RefusedAccessTest : public CaptureThreadTest {
  protected:
    void SetUp() override {
        CaptureThreadTest::SetUp();
        clock_.SetTick(50000);
        shaped_.DenyAccess(true);
        bus_.Plug(keyboard_);
        Start();
        // The first pass, both collections refused at the starting time.
        ASSERT_TRUE(PumpUntil([&] { return shaped_.Refusals() >= 2; }));
    }
    // Moves the clock on by `ms` while the thread keeps being refused. After each step
    // the refusal after next is waited for: the one before it has then been dealt with at
    // the new time.
    void RefusedFor(uint32_t ms) {
        for (uint32_t passed = 0; passed < ms; passed += 250) {
            clock_.Advance(250);
            const int before = shaped_.Refusals();
            ASSERT_TRUE(PumpUntil([&] { return shaped_.Refusals() >= before + 2; }));
        }
    }

    platform::FakeClock clock_;
    platform::UserNoticeCapture notices_;
};

INSTANTIATE_TEST_SUITE_P(Buses, RefusedAccessTest,
                         ::testing::Values(BusKind::kTellsChanges, BusKind::kCannotTell),
                         BusKindName);

TEST_P(RefusedAccessTest, ADeviceThisUserMayNotOpenIsToldOnceNamingTheRule) {
    RefusedFor(AccessNotices::kDelayMs - 250);
    EXPECT_TRUE(notices_.Notices().empty()) << "udev may still be applying the rule";
    RefusedFor(250);
    ASSERT_EQ(notices_.Notices().size(), 1u);
    const platform::UserNotice notice = notices_.Notices()[0];
    EXPECT_EQ(notice.key, L"message_device_no_access");
    for (const wchar_t* part : {L"keyboard", L"320f:505b", L"ATTRS{idVendor}==\"320f\"",
                                L"ATTRS{idProduct}==\"505b\"", L"/etc/udev/rules.d/"}) {
        EXPECT_NE(notice.detail.find(part), std::wstring::npos) << part;
    }
    RefusedFor(5000);
    EXPECT_EQ(notices_.Notices().size(), 1u) << "told once";
    EXPECT_EQ(Count(WM_DEVICE_ARRIVED), 0u);
    // With the rule in place the keyboard arrives on the next pass.
    shaped_.DenyAccess(false);
    EXPECT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
}

TEST_P(RefusedAccessTest, RefusalsWhileUdevAppliesTheRuleAreNotTold) {
    RefusedFor(1000);
    shaped_.DenyAccess(false);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    // Unplugged and plugged again much later: the old refusals do not add up to a notice.
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_REMOVED) == 2; }));
    clock_.Advance(60000);
    shaped_.DenyAccess(true);
    bus_.Plug(keyboard_);
    RefusedFor(1000);
    shaped_.DenyAccess(false);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 4; }));
    EXPECT_TRUE(notices_.Notices().empty());
}

TEST_P(CaptureThreadTest, PlugUnplugAndReplugReportTheLiveIndexes) {
    bus_.Plug(keyboard_);
    Start();
    ASSERT_TRUE(
        PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2 && Count(productMessage_) == 1; }));
    auto arrived = Indexes(WM_DEVICE_ARRIVED);
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(arrived, (std::vector<WPARAM>{0, 1}));
    EXPECT_TRUE(list_.AllHidRecordsClaimed());
    EXPECT_EQ(list_.Get(0)->devicePath, DuiLib::CDuiString(bus_.PathOf(*keyboard_, 1, 4)));
    EXPECT_EQ(list_.Get(1)->devicePath, DuiLib::CDuiString(bus_.PathOf(*keyboard_, 1, 3)));

    received_.clear();
    const auto unplugged = Clock::now();
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_REMOVED) == 2; }));
    // About one pass; the bound is loose for a loaded machine.
    EXPECT_LT(Clock::now() - unplugged, 1000ms);
    EXPECT_FALSE(list_.AllHidRecordsClaimed());

    received_.clear();
    bus_.Plug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    arrived = Indexes(WM_DEVICE_ARRIVED);
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(arrived, (std::vector<WPARAM>{0, 1}));
    // The product message is posted after the first scan only.
    EXPECT_EQ(Count(productMessage_), 0u);
}

TEST_P(CaptureThreadTest, NoDeviceYieldsOnlyTheProductMessage) {
    keyboard_->SetRefuseOpen(true);
    bus_.Plug(keyboard_);
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(productMessage_) == 1; }));
    PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(received_.size(), 1u);
    // Once the interface can be opened it is claimed on the next pass.
    keyboard_->SetRefuseOpen(false);
    EXPECT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
}

TEST_P(CaptureThreadTest, AFailingListingStillShowsTheWindowAndIsTriedAgain) {
    shaped_.FailListings(1 << 30);
    bus_.Plug(keyboard_);
    Start();
    ASSERT_TRUE(
        PumpUntil([&] { return Count(productMessage_) == 1 && shaped_.Listings() >= 3; }, 5s));
    EXPECT_EQ(Count(WM_DEVICE_ARRIVED), 0u);
    shaped_.FailListings(0);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    EXPECT_EQ(Count(productMessage_), 1u);
}

TEST_P(CaptureThreadTest, PathsInCapitalsAreClaimed) {
    shaped_.ListInCapitals();
    bus_.Plug(keyboard_);
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    EXPECT_NE(list_.Get(0)->devicePath.view().find(L"&COL04"), std::wstring_view::npos);
}

TEST_P(CaptureThreadTest, StopEndsThePassAtOnceAndTracesOnce) {
    platform::TraceCapture trace;
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(productMessage_) == 1; }));
    const auto start = Clock::now();
    EXPECT_TRUE(capture_->Stop());
    EXPECT_LT(Clock::now() - start, 1000ms);
    EXPECT_FALSE(capture_->IsRunning());
    size_t exits = 0;
    for (const auto& line : trace.Lines())
        exits += line == L"抓取设备线程设定退出";
    EXPECT_EQ(exits, 1u);
}

TEST_P(CaptureThreadTest, AClosingWindowReleasesABlockedSend) {
    bus_.Plug(keyboard_);
    Start();
    // Nobody handles the window's messages: the thread blocks in its first send until the
    // window starts closing.
    std::this_thread::sleep_for(200ms);
    platform::MarkWindowClosing(window_);
    const auto start = Clock::now();
    EXPECT_TRUE(capture_->Stop());
    EXPECT_LT(Clock::now() - start, 1000ms);
    EXPECT_TRUE(received_.empty());
}

TEST_P(CaptureThreadTest, StopOnTheWindowThreadHandlesASendInProgress) {
    bus_.Plug(keyboard_);
    Start();
    // Once a record is claimed the thread is in (or about to enter) its send to this
    // thread, which handles no messages; stopping it from here must not deadlock.
    const auto deadline = Clock::now() + 1500ms;
    while (list_.ConnectedIndexes().empty() && Clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(capture_->Stop());
    EXPECT_GE(Count(WM_DEVICE_ARRIVED), 1u);
}

// Passes over a bus that tells its changes: work only when something changed.
class QuietBusTest : public CaptureThreadFixture {
  protected:
    QuietBusTest() : CaptureThreadFixture(BusKind::kTellsChanges) {}
    explicit QuietBusTest(BusKind kind) : CaptureThreadFixture(kind) {}
    // Lets the thread look at the bus `passes` more times.
    void Passes(int passes) {
        const int until = shaped_.Looks() + passes;
        ASSERT_TRUE(PumpUntil([&] { return shaped_.Looks() >= until; }));
    }
};

TEST_F(QuietBusTest, AQuietBusIsNotListedOrProbedAgainAndAChangeIsSeenOnTheNextPass) {
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(productMessage_) == 1; }));
    Passes(3);
    EXPECT_EQ(shaped_.Listings(), 1);
    bus_.Plug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    EXPECT_EQ(shaped_.Listings(), 2);
    // The pass that claimed the keyboard checks its presence after the arrivals.
    Passes(1);
    const int probes = shaped_.PresenceProbes();
    Passes(3);
    EXPECT_EQ(shaped_.Listings(), 2);
    EXPECT_EQ(shaped_.PresenceProbes(), probes);
    const auto unplugged = Clock::now();
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_REMOVED) == 2; }));
    EXPECT_LT(Clock::now() - unplugged, 1000ms);
}

TEST_F(QuietBusTest, AKeyboardWaitingBehindAnotherTakesItsRecordsWhenItGoes) {
    auto second = std::make_shared<sim::SimKeyboard>();
    bus_.Plug(keyboard_);
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    bus_.Plug(second);
    Passes(3);
    // The first one's going is the last change the bus tells.
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 4; }));
    EXPECT_EQ(Count(WM_DEVICE_REMOVED), 2u);
    EXPECT_EQ(list_.Get(0)->devicePath, DuiLib::CDuiString(bus_.PathOf(*second, 1, 4)));
}

class BlindBusTest : public QuietBusTest {
  protected:
    BlindBusTest() : QuietBusTest(BusKind::kCannotTell) {}
};

TEST_F(BlindBusTest, ABusThatCannotTellIsListedAndProbedOnEveryPass) {
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(productMessage_) == 1; }));
    const int listings = shaped_.Listings();
    Passes(4);
    EXPECT_GE(shaped_.Listings(), listings + 3);
    bus_.Plug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    const int probes = shaped_.PresenceProbes();
    Passes(4);
    EXPECT_GE(shaped_.PresenceProbes(), probes + 2 * 3);
}

}  // namespace
