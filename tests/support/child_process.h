#pragma once
// A program run by a test: its own environment (this process's with changes), its
// standard output readable line by line, its standard error collected in a file. A child
// still running when the object goes is killed.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A value to set, or nullopt to remove the variable.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const EnvironmentChanges& changes,
                 const std::string& stderrFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // The next line of standard output without its newline; nullopt when none comes in
    // `timeoutMs` or the output ends.
    std::optional<std::string> ReadLine(int timeoutMs);
    // The exit code, or nullopt when the child has not ended in `timeoutMs` or was killed
    // by a signal.
    std::optional<int> WaitExit(int timeoutMs);
    void Signal(int signal);
    std::string Stderr() const;

  private:
    pid_t pid_ = -1;
    int pidFd_ = -1;
    int stdoutFd_ = -1;
    bool exited_ = false;
    int status_ = 0;
    std::string pending_;
    std::string stderrFile_;
};

}  // namespace testing_support
