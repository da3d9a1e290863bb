#pragma once
// Tells a window of the computer going to sleep and waking up, as logind announces it on
// the system bus. PrepareForSleep(true) becomes WM_POWERBROADCAST with PBT_APMSUSPEND,
// sent, so the window has acted on it before the computer sleeps: a delay inhibitor lock
// taken beforehand holds the sleep back until then (logind waits a few seconds at most).
// PrepareForSleep(false) becomes PBT_APMRESUMEAUTOMATIC, sent too so that the two keep
// their order, and the lock is taken again for the next sleep and whenever logind
// (re)appears. Only logind's own announcements count. Without a system bus or logind nothing is
// told.

#include <string>

#include "platform/bus/bus_loop.h"
#include "platform/unique_fd.h"
#include "platform/win_types.h"

namespace platform::bus {

class SleepWatcher {
  public:
    // `who` and `why` name the lock in the desktop's list of what delays sleep.
    SleepWatcher(HWND window, std::string who, std::string why);
    ~SleepWatcher();
    SleepWatcher(const SleepWatcher&) = delete;
    SleepWatcher& operator=(const SleepWatcher&) = delete;

  private:
    bool Attach(sd_bus* bus);
    void TakeInhibitor(sd_bus* bus);

    static int OnPrepareForSleep(sd_bus_message* m, void* self, sd_bus_error* error);
    static int OnLogindOwner(sd_bus_message* m, void* self, sd_bus_error* error);
    static int OnInhibitor(sd_bus_message* reply, void* self, sd_bus_error* error);

    const HWND window_;
    const std::string who_;
    const std::string why_;
    UniqueFd inhibitor_;   // bus thread only
    bool asleep_ = false;  // bus thread only
    BusLoop loop_;         // last: its thread uses everything above
};

}  // namespace platform::bus
