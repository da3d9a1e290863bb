#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwctype>
#include <functional>
#include <memory>
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

// The sim bus, but its listing can fail a number of times or list the paths in capitals.
class ShapedBus final : public platform::hid::HidBus {
  public:
    explicit ShapedBus(platform::hid::HidBus& inner) : inner_(inner) {}
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
};

class CaptureThreadTest : public ::testing::Test {
  protected:
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

TEST_F(RefusedAccessTest, ADeviceThisUserMayNotOpenIsToldOnceNamingTheRule) {
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

TEST_F(RefusedAccessTest, RefusalsWhileUdevAppliesTheRuleAreNotTold) {
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

TEST_F(CaptureThreadTest, PlugUnplugAndReplugReportTheLiveIndexes) {
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

TEST_F(CaptureThreadTest, NoDeviceYieldsOnlyTheProductMessage) {
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

TEST_F(CaptureThreadTest, AFailingListingStillShowsTheWindowAndIsTriedAgain) {
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

TEST_F(CaptureThreadTest, PathsInCapitalsAreClaimed) {
    shaped_.ListInCapitals();
    bus_.Plug(keyboard_);
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DEVICE_ARRIVED) == 2; }));
    EXPECT_NE(list_.Get(0)->devicePath.view().find(L"&COL04"), std::wstring_view::npos);
}

TEST_F(CaptureThreadTest, StopEndsThePassAtOnceAndTracesOnce) {
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

TEST_F(CaptureThreadTest, AClosingWindowReleasesABlockedSend) {
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

TEST_F(CaptureThreadTest, StopOnTheWindowThreadHandlesASendInProgress) {
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

}  // namespace
