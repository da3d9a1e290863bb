#pragma once
// The built program run as a user starts it: its own process with a prepared environment
// (simulated devices, off-screen painting, per-user and runtime folders of a temporary
// folder), optionally from a copy of its folder with parts missing or damaged.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace shell_testing {

class ProgramRunTest : public ::testing::Test {
  protected:
    // The environment every run starts from; `changes` adds to it.
    testing_support::EnvironmentChanges Environment(
        const testing_support::EnvironmentChanges& changes = {}) const;
    std::unique_ptr<testing_support::ChildProcess> Run(
        const std::string& program, const testing_support::EnvironmentChanges& changes = {});
    // A folder `name` with the program and, as asked, its skin (copied, so that a test may
    // damage it) and its DefaultData; the program's path in it.
    std::string ProgramCopy(const std::string& name, bool withSkin, bool withDefaultData);
    // Waits until the running program listens for a second start.
    bool WaitUntilListening(const std::string& runtimeFolder);

    testing_support::TempDir dir_;
    const std::string runtime_ = dir_.File("run/");
    int runs_ = 0;
};

// Generous: a start under the sanitizers on a loaded machine.
inline constexpr int kProgramMs = 30000;

}  // namespace shell_testing
