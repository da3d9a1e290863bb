#pragma once
// logind on a test's own system bus: hands out sleep delay locks as pipe ends and
// announces the computer going to sleep and waking up (PrepareForSleep).

#include <mutex>
#include <string>
#include <vector>

#include "platform/unique_fd.h"
#include "support/private_bus.h"

namespace testing_support {

class FakeLogind {
  public:
    FakeLogind();

    bool IsReady() const { return peer_.IsReady(); }
    size_t LocksTaken();
    // True once the holder of lock `index` has let it go.
    bool LockReleased(size_t index);
    // The bus name of the last program that took a lock.
    std::string LockHolder();
    void AnnounceSleep(bool sleeping);

  private:
    void Attach(sd_bus* bus);
    static int OnInhibit(sd_bus_message* m, void* self, sd_bus_error* error);

    std::mutex mutex_;
    std::vector<platform::UniqueFd> locks_;  // our ends of the pipes
    std::string holder_;
    BusPeer peer_;  // last: its thread uses the members above
};

}  // namespace testing_support
