#include "support/private_x_server.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace testing_support {
namespace {

// Generous: a start on a loaded machine.
constexpr int kServerMs = 30000;

std::optional<std::string> FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "";
    for (size_t start = 0; start <= folders.size();) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

PrivateXServer::PrivateXServer(const std::string& stderrFile) {
    const auto xvfb = FindOnPath("Xvfb");
    if (!xvfb) {
        return;
    }
    // -displayfd: the server takes a free display and writes its number to our pipe.
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{*xvfb, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0",
                                 "1280x800x24"},
        EnvironmentChanges{}, stderrFile);
    if (const auto number = server_->ReadLine(kServerMs)) {
        display_ = ":" + *number;
    }
}

PrivateXServer::~PrivateXServer() = default;

void PrivateXServer::Stop() {
    if (!server_) {
        return;
    }
    server_->Signal(SIGTERM);
    // The pipe ends when the server does (its pid may not be this process's child).
    while (server_->ReadLine(kServerMs)) {
    }
}

}  // namespace testing_support
