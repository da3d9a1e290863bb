#include "platform/hid/hidraw_writer.h"

#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

namespace platform::hid {
namespace {

// How long a write that the node refuses for now (a full pipe in place of a node) waits
// before it looks again whether it is to stop.
constexpr int kRetryPollMs = 50;
// Beyond the USB stack's own time-out for an output report (5 s): a stop that waits
// longer is traced.
constexpr uint32_t kStopWaitMs = 6000;

}  // namespace

HidrawWriter::HidrawWriter(int fd) : fd_(fd) {}

HidrawWriter::~HidrawWriter() {
    Stop();
}

void HidrawWriter::Stop() {
    thread_.Stop(kStopWaitMs);
}

HidIoResult HidrawWriter::Put(Path path, std::span<const uint8_t> report, HidTransferGate& gate,
                              HidCancelEvent* cancel, const HidDeadline& deadline) {
    Turn turn(*this, deadline);
    if (!turn) {
        return {HidIoStatus::kTimeout, 0};
    }
    const HidTransferGate::Wake handed =
        HandOver({path, {report.begin(), report.end()}}, gate, cancel, deadline);
    if (handed != HidTransferGate::Wake::kReady) {
        return UnreadyResult(handed);
    }
    return AwaitResult(report.size(), gate, cancel, deadline);
}

HidrawWriter::Turn::Turn(HidrawWriter& writer, const HidDeadline& deadline) : writer_(writer) {
    std::unique_lock<std::mutex> lock(writer_.turnMutex_);
    const auto free = [this] { return !writer_.turnTaken_; };
    const int left = deadline.RemainingMs();
    if (left < 0) {
        writer_.turnFree_.wait(lock, free);
    } else if (!writer_.turnFree_.wait_for(lock, std::chrono::milliseconds(left), free)) {
        return;
    }
    writer_.turnTaken_ = true;
    taken_ = true;
}

HidrawWriter::Turn::~Turn() {
    if (!taken_) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(writer_.turnMutex_);
        writer_.turnTaken_ = false;
    }
    writer_.turnFree_.notify_one();
}

HidTransferGate::Wake HidrawWriter::HandOver(Job job, HidTransferGate& gate, HidCancelEvent* cancel,
                                             const HidDeadline& deadline) {
    for (;;) {
        bool handed = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!hasJob_) {
                if (!thread_.IsRunning() &&
                    !thread_.Start([this](platform::Event& stop) { Run(stop); })) {
                    return HidTransferGate::Wake::kError;
                }
                job_ = std::move(job);
                hasJob_ = true;
                taken_ = done_ = abandoned_ = false;
                handed = true;
            }
        }
        // Told once the lock is let go: the writer takes it first thing when it wakes.
        if (handed) {
            jobReady_.Set();
            return HidTransferGate::Wake::kReady;
        }
        // The kernel still holds a report an earlier caller gave up on.
        const HidTransferGate::Wake wake = gate.Wait(changed_.fd(), POLLIN, cancel, deadline);
        if (wake != HidTransferGate::Wake::kReady) {
            return wake;
        }
        changed_.TryConsume();
    }
}

HidIoResult HidrawWriter::AwaitResult(size_t bytes, HidTransferGate& gate, HidCancelEvent* cancel,
                                      const HidDeadline& deadline) {
    for (;;) {
        HidTransferGate::Wake wake = HidTransferGate::Wake::kReady;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (done_) {
                hasJob_ = false;
                return ok_ ? HidIoResult{HidIoStatus::kOk, bytes} : HidIoResult{};
            }
        }
        wake = gate.Wait(changed_.fd(), POLLIN, cancel, deadline);
        if (wake == HidTransferGate::Wake::kReady) {
            changed_.TryConsume();
            continue;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (done_) {
            hasJob_ = false;  // it came just as the wait ended: the caller has it after all
            return ok_ ? HidIoResult{HidIoStatus::kOk, bytes} : HidIoResult{};
        }
        if (taken_) {
            abandoned_ = true;  // in the kernel: it goes on without its caller
        } else {
            hasJob_ = false;  // withdrawn: never sent
        }
        return UnreadyResult(wake);
    }
}

void HidrawWriter::Run(platform::Event& stop) {
    platform::Event* const events[] = {&stop, &jobReady_};
    while (platform::Event::WaitAny(events, platform::kInfinite) == platform::kWaitObject0 + 1) {
        Job job;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!hasJob_ || taken_) {
                continue;  // withdrawn before the thread got to it
            }
            taken_ = true;
            job = job_;
        }
        const bool ok = PutIntoKernel(job, stop);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ok_ = ok;
            done_ = true;
            if (abandoned_) {
                hasJob_ = false;
            }
        }
        changed_.Set();
    }
}

bool HidrawWriter::PutIntoKernel(const Job& job, platform::Event& stop) {
    if (job.path == Path::kControl && !controlMissing_) {
        // The ioctl takes the report id first, 0 for unnumbered reports, as write() does.
        std::vector<uint8_t> buffer = job.bytes;
        int result;
        do {
            result = ioctl(fd_, HIDIOCSOUTPUT(buffer.size()), buffer.data());
        } while (result < 0 && errno == EINTR);
        if (result >= 0) {
            return true;
        }
        if (errno != EINVAL && errno != ENOTTY) {
            return false;
        }
        controlMissing_ = true;  // a kernel before 5.11: the report goes by write()
    }
    return WriteReport(job.bytes, stop);
}

bool HidrawWriter::WriteReport(const std::vector<uint8_t>& bytes, platform::Event& stop) {
    for (;;) {
        const ssize_t put = write(fd_, bytes.data(), bytes.size());
        if (put >= 0) {
            return put == static_cast<ssize_t>(bytes.size());
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN || stop.IsSet()) {
            return false;
        }
        pollfd fds = {fd_, POLLOUT, 0};
        poll(&fds, 1, kRetryPollMs);
    }
}

}  // namespace platform::hid
