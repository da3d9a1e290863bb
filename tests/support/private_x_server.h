#pragma once
// An X server of a test's own (Xvfb from PATH) on a display number it picks itself.

#include <memory>
#include <string>

#include "support/child_process.h"

namespace testing_support {

class PrivateXServer {
  public:
    // The server's messages go to `stderrFile`.
    explicit PrivateXServer(const std::string& stderrFile);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // ":<n>", or empty when no server could be started.
    const std::string& Display() const { return display_; }
    // Ends the server and returns once it is gone, its clients' connections with it. Works
    // from a forked copy of the test too.
    void Stop();

  private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

}  // namespace testing_support
