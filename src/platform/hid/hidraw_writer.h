#pragma once
// The output reports of one hidraw node, put into the kernel by a thread of their own.
//
// The kernel's write() of an output report (and HIDIOCSOUTPUT) returns only once the
// device has taken the report or the USB stack has given up on it, about 5 s later for a
// device that stopped taking reports; neither a time-out nor a cancel reaches a thread
// inside it. So the caller hands the report over and waits only as long as its own
// time-out, its cancel and the handle's closing allow.
//
// One report is in the kernel at a time. A report its caller gave up on before the writer
// took it is withdrawn and never sent; one already in the kernel goes on to the device and
// its result is dropped. The next report waits, within its own time-out, until the kernel
// is done with that one: reports reach the device in the order given and never pile up.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hid_cancel_event.h"
#include "platform/hid/hid_transfer_gate.h"
#include "platform/worker_thread.h"

namespace platform::hid {

class HidrawWriter {
  public:
    enum class Path {
        kInterrupt,  // write()
        kControl,    // HIDIOCSOUTPUT; write() on a kernel without it (before Linux 5.11)
    };

    // `fd` stays the caller's; it must stay open until Stop has returned.
    explicit HidrawWriter(int fd);
    ~HidrawWriter();
    HidrawWriter(const HidrawWriter&) = delete;
    HidrawWriter& operator=(const HidrawWriter&) = delete;

    // Puts `report` (report id first) into the kernel and waits for the result through
    // `gate`: its cancels, its closing and `deadline` end the wait.
    HidIoResult Put(Path path, std::span<const uint8_t> report, HidTransferGate& gate,
                    HidCancelEvent* cancel, const HidDeadline& deadline);
    // Ends the thread once the kernel is done with the report it holds, if any (the
    // kernel's own time-out bounds that). Call after the gate has closed.
    void Stop();

  private:
    struct Job {
        Path path = Path::kInterrupt;
        std::vector<uint8_t> bytes;
    };

    // A caller's turn: callers take turns, so that the one waiting is the only one that
    // consumes `changed_`. False when the deadline passed first.
    class Turn {
      public:
        Turn(HidrawWriter& writer, const HidDeadline& deadline);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        explicit operator bool() const { return taken_; }

      private:
        HidrawWriter& writer_;
        bool taken_ = false;
    };

    void Run(platform::Event& stop);
    bool PutIntoKernel(const Job& job, platform::Event& stop);
    bool WriteReport(const std::vector<uint8_t>& bytes, platform::Event& stop);
    // Hands `job` to the thread once it holds nothing; false when the wait ended first.
    HidTransferGate::Wake HandOver(Job job, HidTransferGate& gate, HidCancelEvent* cancel,
                                   const HidDeadline& deadline);
    HidIoResult AwaitResult(size_t bytes, HidTransferGate& gate, HidCancelEvent* cancel,
                            const HidDeadline& deadline);

    const int fd_;
    std::mutex turnMutex_;
    std::condition_variable turnFree_;
    bool turnTaken_ = false;  // guarded by turnMutex_
    std::mutex mutex_;
    bool hasJob_ = false;          // guarded by mutex_
    bool taken_ = false;           // the thread has the job in the kernel
    bool done_ = false;            // the kernel has returned it; `ok_` is its result
    bool ok_ = false;              //
    bool abandoned_ = false;       // its caller has gone; the result is dropped
    bool controlMissing_ = false;  // the kernel has no HIDIOCSOUTPUT (thread only)
    Job job_;
    platform::Event jobReady_{false, false};
    // Set by the thread whenever it finished a report: the caller's wait wakes on it.
    HidCancelEvent changed_;
    platform::WorkerThread thread_{"hidwrite"};
};

}  // namespace platform::hid
