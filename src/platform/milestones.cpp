#include "platform/milestones.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/no_destructor.h"

namespace platform {
namespace {

struct MilestoneFile {
    std::mutex mutex;
    std::FILE* file = nullptr;

    // Left open to the end: every line is flushed as it is written.
    MilestoneFile() {
        const char* name = std::getenv("VELKARO_MILESTONES");
        if (name != nullptr && *name != 0) {
            file = std::fopen(name, "a");
        }
    }
};

MilestoneFile& TheFile() {
    static NoDestructor<MilestoneFile> file;
    return *file;
}

}  // namespace

bool MilestonesWanted() {
    return TheFile().file != nullptr;
}

void Milestone(std::string_view name) {
    MilestoneFile& out = TheFile();
    if (out.file == nullptr) {
        return;
    }
    // Wall-clock time, so a script can compare it with the moment it started the program.
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::lock_guard lock(out.mutex);
    std::fprintf(out.file, "%.*s %lld\n", static_cast<int>(name.size()), name.data(),
                 static_cast<long long>(now));
    std::fflush(out.file);
}

}  // namespace platform
