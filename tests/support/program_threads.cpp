#include "support/program_threads.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/worker_thread.h"

namespace testing_support {

int ProgramThreadCount() {
    int count = 0;
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        // A thread that ended meanwhile has no name left to read.
        if (std::getline(comm, name) && name.starts_with(platform::kWorkerThreadPrefix))
            ++count;
    }
    return count;
}

}  // namespace testing_support
