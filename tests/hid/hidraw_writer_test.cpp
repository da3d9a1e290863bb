// Output reports of a hidraw handle to a node that stops taking them: the kernel's write()
// blocks, the handle's Write does not. A pipe with a full buffer stands in for the node: its
// write() blocks in the kernel the way a stalled device's does.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/hid/hidraw_handle.h"
#include "sim/keyboard_descriptors.h"

namespace {

using namespace platform::hid;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

// The keyboard's command collection: 64-byte output reports with id 4.
HidPreparsedData CommandCollection() {
    std::vector<HidPreparsedData> collections;
    HidReportDescriptor::Parse(sim::KeyboardVendorDescriptor(), &collections);
    return collections.at(3);
}

Bytes Report(uint8_t fill) {
    Bytes report(64, fill);
    report[0] = 4;
    return report;
}

class StalledNodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
        readEnd_ = fds[0];
        fcntl(fds[1], F_SETPIPE_SZ, 4096);
        // Fill it without blocking, then let writes block as a stalled device's do.
        fcntl(fds[1], F_SETFL, O_NONBLOCK);
        const Bytes filler(4096, 0xEE);
        while (write(fds[1], filler.data(), filler.size()) > 0) {
        }
        fcntl(fds[1], F_SETFL, 0);
        handle_ = std::make_unique<HidrawHandle>(fds[1], HIDD_ATTRIBUTES{}, CommandCollection(),
                                                 HidOpenFlags{false, true, false});
    }
    void TearDown() override {
        handle_.reset();
        close(readEnd_);
    }

    // Everything the "device" has taken since the pipe was filled.
    Bytes Drain(size_t expected) {
        Bytes taken;
        Bytes chunk(8192);
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (taken.size() < expected && Clock::now() < deadline) {
            const ssize_t got = read(readEnd_, chunk.data(), chunk.size());
            if (got > 0)
                taken.insert(taken.end(), chunk.begin(), chunk.begin() + got);
        }
        return taken;
    }

    int readEnd_ = -1;
    std::unique_ptr<HidrawHandle> handle_;
};

TEST_F(StalledNodeTest, WritesEndAtTheirTimeOutOrCancelAndOnlyTheOneInTheKernelArrives) {
    // Long enough for the writer to have put the first report into the kernel even on a
    // loaded machine: one given up on before that is withdrawn, not sent.
    auto start = Clock::now();
    EXPECT_EQ(handle_->Write(Report(1), 1000, nullptr).status, HidIoStatus::kTimeout);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(990));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(4000));

    // The kernel still holds the first: the next one waits its own time and is withdrawn.
    EXPECT_EQ(handle_->Write(Report(2), 100, nullptr).status, HidIoStatus::kTimeout);
    HidCancelEvent cancel;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel.Set();
    });
    start = Clock::now();
    EXPECT_EQ(handle_->Write(Report(3), kHidInfinite, &cancel).status, HidIoStatus::kCancelled);
    canceller.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
    EXPECT_FALSE(handle_->SetOutputReport(Report(4))) << "the output path waits its turn too";

    // The device takes reports again: the first arrives whole, the given-up ones never.
    Bytes taken = Drain(4096 + 64);
    ASSERT_EQ(taken.size(), 4096u + 64u);
    EXPECT_EQ(Bytes(taken.end() - 64, taken.end()), Report(1));
    const auto put = handle_->Write(Report(5), 1000, nullptr);
    ASSERT_TRUE(put.ok());
    EXPECT_EQ(put.bytes, 64u);
    taken = Drain(64);
    EXPECT_EQ(taken, Report(5));
}

TEST_F(StalledNodeTest, ClosingWaitsOnlyForTheReportInTheKernel) {
    EXPECT_EQ(handle_->Write(Report(1), 50, nullptr).status, HidIoStatus::kTimeout);
    std::thread device([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Drain(4096 + 64);
    });
    handle_->Close();  // returns once the kernel let go of the report
    device.join();
    EXPECT_FALSE(handle_->Write(Report(2), 50, nullptr).ok());
}

TEST(HidrawOutputReports, AKernelWithoutTheOutputIoctlTakesThemByWrite) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    HidrawHandle handle(fds[1], HIDD_ATTRIBUTES{}, CommandCollection(),
                        HidOpenFlags{false, true, false});
    // A pipe refuses the ioctl as a kernel before 5.11 refuses HIDIOCSOUTPUT.
    ASSERT_TRUE(handle.SetOutputReport(Report(7)));
    ASSERT_TRUE(handle.SetOutputReport(Report(8)));
    Bytes taken(128);
    ASSERT_EQ(read(fds[0], taken.data(), taken.size()), 128);
    EXPECT_EQ(Bytes(taken.begin(), taken.begin() + 64), Report(7));
    EXPECT_EQ(Bytes(taken.begin() + 64, taken.end()), Report(8));
    EXPECT_FALSE(handle.SetOutputReport(Bytes(10, 4))) << "a report shorter than its length";
    handle.Close();
    close(fds[0]);
}

}  // namespace
