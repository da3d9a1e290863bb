// The HID device file over the simulated bus: enumeration walk, both keyboard interfaces,
// records, exchanges, time-outs, cancels, and report unpacking.

#include "device/channel/hid_device_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "hid/command_request.h"
#include "platform/hid/hid_report_descriptor.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/keyboard_descriptors.h"
#include "sim/sim_keyboard.h"

namespace {

using platform::hid::HidPreparsedData;
using platform::hid::HidReportDescriptor;
using Clock = std::chrono::steady_clock;

class HidDeviceFileTest : public ::testing::Test {
  protected:
    HidDeviceFileTest() : use_(bus_) { bus_.Plug(keyboard_); }

    std::wstring Path(uint32_t collection) { return bus_.PathOf(*keyboard_, 1, collection); }
    bool OpenShared(CHidDeviceFile& file, uint32_t collection) {
        return file.Open(Path(collection).c_str(), TRUE, TRUE, TRUE, FALSE) != FALSE;
    }

    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus use_;
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
};

TEST_F(HidDeviceFileTest, EnumerationWalkAndRelease) {
    CHidDeviceFile file;
    ASSERT_TRUE(file.EnumPaths());
    EXPECT_EQ(file.PathCount(), 5u);
    int seen = 0;
    while (file.NextPath() != nullptr) {
        ++seen;
    }
    EXPECT_EQ(seen, 5);
    file.FreePaths();
    EXPECT_EQ(file.NextPath(), nullptr);
    EXPECT_EQ(file.PathCount(), 5u);  // the count outlives the list

    bus_.Unplug(keyboard_);
    ASSERT_TRUE(file.EnumPaths());  // nothing present is still a success
    EXPECT_EQ(file.NextPath(), nullptr);
}

TEST_F(HidDeviceFileTest, BothKeyboardInterfacesOpenWithTheirRecords) {
    CHidDeviceFile command;
    CHidDeviceFile notify;
    ASSERT_TRUE(OpenShared(command, 4));
    ASSERT_TRUE(OpenShared(notify, 3));
    EXPECT_EQ(command.InterfaceNumber(), 1u);
    EXPECT_EQ(command.CollectionNumber(), 4u);
    EXPECT_EQ(notify.CollectionNumber(), 3u);
    EXPECT_EQ(command.Attributes().ProductID, 0x505B);
    EXPECT_EQ(command.Caps().UsagePage, 0xFF1C);
    EXPECT_EQ(command.Caps().Usage, 0x0092);
    EXPECT_EQ(command.ReportBuffer(HidP_Output).size(), 64u);
    EXPECT_EQ(notify.Caps().UsagePage, 0x000C);
    ASSERT_EQ(notify.RecordCount(HidP_Input), 1u);
    const HidUsageRecord& value = notify.Records(HidP_Input)[0];
    EXPECT_EQ(value.isButton, 0);
    EXPECT_EQ(value.reportId, 3);
    EXPECT_EQ(value.status, HIDP_STATUS_SUCCESS);

    CHidDeviceFile boot;  // interface 0 has no "&col": collection number 0
    ASSERT_TRUE(boot.Open(bus_.PathOf(*keyboard_, 0, 1).c_str(), TRUE, FALSE, TRUE, FALSE));
    EXPECT_EQ(boot.InterfaceNumber(), 0u);
    EXPECT_EQ(boot.CollectionNumber(), 0u);
    EXPECT_EQ(boot.RecordCount(HidP_Input), 2u);

    const std::wstring tooLong(CHidDeviceFile::kMaxPathLength + 1, L'x');
    EXPECT_FALSE(command.Open(tooLong.c_str(), TRUE, TRUE, TRUE, FALSE));
    EXPECT_FALSE(command.IsOpen());
}

TEST_F(HidDeviceFileTest, CommandIsWrittenAndItsReplyRead) {
    CHidDeviceFile file;
    ASSERT_TRUE(OpenShared(file, 4));
    const auto request = hid_test::CommandRequest(0x05, 26, 0);
    DWORD written = 0;
    ASSERT_TRUE(file.Write(request.data(), 64, 1000, &written));
    EXPECT_EQ(written, 64u);
    uint8_t reply[64] = {};
    DWORD read = 0;
    ASSERT_TRUE(file.Read(reply, 64, 1000, &read));
    EXPECT_EQ(read, 64u);
    EXPECT_EQ(reply[3], 0x05);
    EXPECT_EQ(reply[7], sim::kStatusOk);
    EXPECT_EQ(reply[8 + 20], 1);  // byte 20 of the light block as the keyboard holds it
    ASSERT_EQ(keyboard_->ReceivedReports().size(), 1u);
    EXPECT_EQ(keyboard_->ReceivedReports()[0].bytes, request);
}

TEST_F(HidDeviceFileTest, TimeOutReturnsZeroWithNoBytes) {
    CHidDeviceFile file;
    ASSERT_TRUE(OpenShared(file, 4));
    keyboard_->InjectFault({sim::FaultKind::kNoReply});
    const auto request = hid_test::CommandRequest(0x01);
    ASSERT_TRUE(file.Write(request.data(), 64, 1000));
    uint8_t reply[64];
    DWORD read = 99;
    EXPECT_FALSE(file.Read(reply, 64, 20, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_FALSE(file.IsReading());
}

TEST_F(HidDeviceFileTest, CancelFromAnotherThreadEndsAnInfiniteRead) {
    CHidDeviceFile file;
    ASSERT_TRUE(OpenShared(file, 3));
    BOOL result = TRUE;
    DWORD read = 99;
    uint8_t report[3];
    std::thread reader([&] { result = file.Read(report, 3, platform::hid::kHidInfinite, &read); });
    while (!file.IsReading()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto start = Clock::now();
    file.CancelPendingTransfer();
    reader.join();
    // Typically well under a millisecond; the bound is loose for loaded machines.
    const auto waited = Clock::now() - start;
    RecordProperty(
        "cancel_latency_us",
        static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(waited).count()));
    EXPECT_LT(waited, std::chrono::milliseconds(500));
    EXPECT_FALSE(result);
    EXPECT_EQ(read, 0u);
    // The cancel was consumed by the read it ended: the next read sees a report.
    keyboard_->RequestResync();
    EXPECT_TRUE(file.Read(report, 3, 1000, &read));

    // Close on another thread ends the wait the same way and returns once it has left.
    reader =
        std::thread([&] { result = file.Read(report, 3, platform::hid::kHidInfinite, &read); });
    while (!file.IsReading()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    file.Close();
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(HidDeviceFileTest, CloseWithoutTransferLeavesNoCancelBehind) {
    CHidDeviceFile file;
    ASSERT_TRUE(OpenShared(file, 3));
    file.Close();
    ASSERT_TRUE(OpenShared(file, 3));
    uint8_t report[3];
    const auto start = Clock::now();
    EXPECT_FALSE(file.Read(report, 3, 40));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));  // a time-out, not a cancel
}

TEST_F(HidDeviceFileTest, OpenFailsAfterUnplugAndOnRefusal) {
    CHidDeviceFile file;
    ASSERT_TRUE(OpenShared(file, 4));
    const std::wstring path = Path(4);
    EXPECT_TRUE(CHidDeviceFile::InterfacePresent(path.c_str()));
    bus_.Unplug(keyboard_);
    const auto request = hid_test::CommandRequest(0x01);
    EXPECT_FALSE(file.Write(request.data(), 64, 100));
    EXPECT_FALSE(file.Open(path.c_str(), TRUE, TRUE, TRUE, FALSE));
    EXPECT_FALSE(CHidDeviceFile::InterfacePresent(path.c_str()));
    bus_.Plug(keyboard_);
    keyboard_->SetRefuseOpen(true);
    EXPECT_FALSE(file.Reopen());
    // A device that refuses opens (held elsewhere) is still present.
    EXPECT_TRUE(CHidDeviceFile::InterfacePresent(path.c_str()));
    keyboard_->SetRefuseOpen(false);
    EXPECT_TRUE(file.Reopen());
}

TEST_F(HidDeviceFileTest, InputReportsUnpackWhileAnotherThreadClosesAndReopens) {
    CHidDeviceFile file;
    ASSERT_TRUE(OpenShared(file, 3));
    EXPECT_EQ(file.InputReportByteLength(), 3u);
    const uint8_t resync[3] = {3, 0x01, 0x04};
    std::vector<HidUsageRecord> parsed;
    ASSERT_TRUE(file.ParseReceivedReport(HidP_Input, resync, 3, &parsed));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].rawValue, 0x0401u);
    EXPECT_EQ(parsed[0].updated, 1);

    // An input thread unpacks while the UI thread closes and reopens the interface: the
    // records it works on must never be released under it.
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::vector<HidUsageRecord> copy;
        while (!done.load()) {
            if (file.InputReportByteLength() != 0) {
                file.ParseReceivedReport(HidP_Input, resync, 3, &copy);
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        file.Close();
        ASSERT_TRUE(OpenShared(file, 3));
    }
    done.store(true);
    reader.join();
    file.Close();
    EXPECT_EQ(file.InputReportByteLength(), 0u);
    EXPECT_FALSE(file.ParseReceivedReport(HidP_Input, resync, 3, &parsed));
}

class ParseReportTest : public ::testing::Test {
  protected:
    void Load(const std::vector<uint8_t>& descriptor) {
        std::vector<HidPreparsedData> collections;
        ASSERT_EQ(HidReportDescriptor::Parse(descriptor, &collections), HIDP_STATUS_SUCCESS);
        preparsed_ = collections.at(0);
        ASSERT_TRUE(CHidDeviceFile::BuildUsageRecords(preparsed_, HidP_Input, &records_));
    }
    bool Parse(const std::vector<uint8_t>& report) {
        return CHidDeviceFile::ParseReport(HidP_Input, records_.data(),
                                           static_cast<uint32_t>(records_.size()), &preparsed_,
                                           report.data(), static_cast<uint32_t>(report.size()));
    }

    HidPreparsedData preparsed_;
    std::vector<HidUsageRecord> records_;
};

TEST_F(ParseReportTest, ButtonRecordsKeepOnlyTheirRange) {
    Load(sim::KeyboardBootDescriptor());
    ASSERT_EQ(records_.size(), 2u);
    EXPECT_EQ(records_[1].capacity, 14u);
    ASSERT_TRUE(Parse({0, 0x02, 0, 0x04, 0x05, 0, 0, 0, 0}));
    EXPECT_EQ(records_[0].usageList[0], 0xE1);
    EXPECT_EQ(records_[0].usageList[1], 0);
    EXPECT_EQ(records_[1].usageList[0], 0x04);
    EXPECT_EQ(records_[1].usageList[1], 0x05);
    EXPECT_EQ(records_[1].usageList[2], 0);
    EXPECT_EQ(records_[1].updated, 1);
}

TEST_F(ParseReportTest, ValueRecordsAndForeignReportIds) {
    std::vector<HidPreparsedData> collections;
    ASSERT_EQ(HidReportDescriptor::Parse(sim::KeyboardVendorDescriptor(), &collections),
              HIDP_STATUS_SUCCESS);
    preparsed_ = collections.at(2);
    ASSERT_TRUE(CHidDeviceFile::BuildUsageRecords(preparsed_, HidP_Input, &records_));
    ASSERT_EQ(records_.size(), 1u);

    ASSERT_TRUE(Parse({4, 0x01, 0x04}));  // another report id: nothing changes
    EXPECT_EQ(records_[0].updated, 0);
    ASSERT_TRUE(Parse({3, 0x01, 0x04}));
    EXPECT_EQ(records_[0].rawValue, 0x0401u);
    EXPECT_EQ(records_[0].scaledValue, 0x0401);
    EXPECT_EQ(records_[0].updated, 1);

    EXPECT_FALSE(Parse({3, 0x02}));  // cut short: the value cannot be read
    EXPECT_EQ(records_[0].status, HIDP_STATUS_INVALID_REPORT_LENGTH);
    EXPECT_EQ(records_[0].rawValue, 0x0401u);
    EXPECT_FALSE(
        CHidDeviceFile::ParseReport(HidP_Input, records_.data(), 1, &preparsed_, nullptr, 0));
}

TEST_F(ParseReportTest, ValueRangeGivesOneRecordPerUsage) {
    // Usages 0x10..0x13 as four 8-bit values of report 9.
    Load({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x09, 0x19, 0x10, 0x29, 0x13,
          0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0xC0});
    ASSERT_EQ(records_.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(records_[i].firstUsage, 0x10 + i);
    }
    ASSERT_TRUE(Parse({9, 10, 20, 30, 40}));
    EXPECT_EQ(records_[3].rawValue, 40u);
}

}  // namespace
