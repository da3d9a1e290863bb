#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "support/temp_dir.h"

extern char** environ;

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (!changes.contains(text.substr(0, text.find('=')))) {
            result.push_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            result.push_back(name + "=" + *value);
        }
    }
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const EnvironmentChanges& changes,
                           const std::string& stderrFile)
    : stderrFile_(stderrFile) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = ChangedEnvironment(changes);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(environment);
    if (posix_spawn(&pid_, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdoutFd_ = out[0];
    if (pid_ > 0) {
        pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !exited_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (pidFd_ >= 0) {
        ::close(pidFd_);
    }
    if (stdoutFd_ >= 0) {
        ::close(stdoutFd_);
    }
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        pollfd p{stdoutFd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(deadline)) <= 0) {
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t n = ::read(stdoutFd_, buffer, sizeof(buffer));
        if (n <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

std::optional<int> ChildProcess::WaitExit(int timeoutMs) {
    if (pid_ <= 0) {
        return std::nullopt;
    }
    if (!exited_) {
        // The pid file descriptor becomes readable when the child ends.
        pollfd p{pidFd_, POLLIN, 0};
        if (pidFd_ < 0 || ::poll(&p, 1, timeoutMs) <= 0) {
            return std::nullopt;
        }
        if (::waitpid(pid_, &status_, 0) != pid_) {
            return std::nullopt;
        }
        exited_ = true;
    }
    if (!WIFEXITED(status_)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status_);
}

void ChildProcess::Signal(int signal) {
    if (pid_ > 0 && !exited_) {
        ::kill(pid_, signal);
    }
}

std::string ChildProcess::Stderr() const {
    return ReadTextFile(stderrFile_);
}

}  // namespace testing_support
