#include "support/private_bus.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <future>
#include <memory>

extern char** environ;

namespace testing_support {
namespace {

std::string ConfigFor(const std::string& folder) {
    return "<busconfig>\n"
           "  <type>session</type>\n"
           "  <listen>unix:path=" +
           folder +
           "bus</listen>\n"
           "  <auth>EXTERNAL</auth>\n"
           "  <policy context=\"default\">\n"
           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n"
           "    <allow own=\"*\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";
}

// The first line the daemon writes to `fd`: its address.
std::string ReadAddress(int fd) {
    std::string address;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        address.push_back(c);
    }
    return address;
}

}  // namespace

PrivateBus::PrivateBus(platform::bus::BusKind kind)
    : variable_(kind == platform::bus::BusKind::kSession ? "DBUS_SESSION_BUS_ADDRESS"
                                                         : "DBUS_SYSTEM_BUS_ADDRESS") {
    Start();
    if (IsRunning()) {
        pointed_ = std::make_unique<ScopedEnv>(variable_, address_);
    }
}

bool PrivateBus::Restart() {
    const std::string before = address_;
    End();
    unlink(dir_.File("bus").c_str());
    Start();
    return IsRunning() && address_ == before;
}

void PrivateBus::Start() {
    address_.clear();
    const std::string config = dir_.File("bus.conf");
    if (!WriteTextFile(config, ConfigFor(dir_.path()))) {
        return;
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return;
    }
    const std::string configArg = "--config-file=" + config;
    const char* argv[] = {"dbus-daemon", configArg.c_str(),   "--nofork",
                          "--nopidfile", "--print-address=3", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int spawned = posix_spawnp(&pid_, "dbus-daemon", &actions, &attributes,
                                     const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeFds[1]);
    if (spawned != 0) {
        pid_ = -1;
        close(pipeFds[0]);
        return;
    }
    address_ = ReadAddress(pipeFds[0]);
    close(pipeFds[0]);
    // As the desktop's session bus is named: by its socket alone, so that a daemon that
    // comes up again there is the same bus to its clients.
    if (const size_t guid = address_.find(",guid="); guid != std::string::npos) {
        address_.erase(guid);
    }
}

void PrivateBus::End() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

PrivateBus::~PrivateBus() {
    pointed_.reset();
    End();
}

BusPeer::BusPeer(platform::bus::BusKind kind, std::string name, Task attach)
    : loop_(kind,
            [this, name = std::move(name), attach = std::move(attach)](sd_bus* bus) {
                attach(bus);
                ready_ = sd_bus_request_name(bus, name.c_str(), 0) >= 0;
                return ready_;
            },
            {}) {
    Run([](sd_bus*) {});  // attached by the time this runs
}

BusPeer::~BusPeer() {
    loop_.Stop();
}

void BusPeer::Run(const Task& task) {
    // Shared: a task that runs after the wait gave up finds its promise still there.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ran = done->get_future();
    loop_.Post([task, done](sd_bus* bus) {
        task(bus);
        done->set_value();
    });
    ran.wait_for(std::chrono::seconds(30));
}

}  // namespace testing_support
