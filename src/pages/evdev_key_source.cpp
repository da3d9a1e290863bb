#include "pages/evdev_key_source.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <memory>

#include "pages/key_usage_map.h"

namespace {

constexpr int kPollMs = 50;

bool HasBit(const unsigned long* bits, int bit) {
    constexpr int kBitsPerLong = static_cast<int>(sizeof(unsigned long) * CHAR_BIT);
    return (bits[bit / kBitsPerLong] >> (bit % kBitsPerLong)) & 1UL;
}

// A keyboard reports key events including the letter keys; mice and power buttons do not.
bool IsKeyboard(int fd) {
    std::array<unsigned long, KEY_MAX / (sizeof(unsigned long) * CHAR_BIT) + 1> keys{};
    if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof(keys)), keys.data()) < 0) {
        return false;
    }
    return HasBit(keys.data(), KEY_A) && HasBit(keys.data(), KEY_Z);
}

}  // namespace

EvdevKeySource::Fd::~Fd() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

EvdevKeySource::EvdevKeySource(std::string folder) : folder_(std::move(folder)) {}

EvdevKeySource::~EvdevKeySource() {
    Stop();
}

std::vector<EvdevKeySource::Fd> EvdevKeySource::OpenKeyboards() const {
    std::vector<Fd> found;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder_.c_str()), closedir);
    if (!dir) {
        return found;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.rfind("event", 0) != 0) {
            continue;
        }
        Fd fd(open((folder_ + "/" + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() >= 0 && IsKeyboard(fd.get())) {
            found.push_back(std::move(fd));
        }
    }
    return found;
}

bool EvdevKeySource::Start(Sink sink) {
    if (thread_.IsRunning()) {
        return true;
    }
    keyboards_ = OpenKeyboards();
    if (keyboards_.empty() || !sink) {
        keyboards_.clear();
        return false;
    }
    return thread_.Start(
        [this, sink = std::move(sink)](platform::Event& stop) { Run(stop, sink); });
}

void EvdevKeySource::Stop() {
    thread_.Stop();
    keyboards_.clear();
}

void EvdevKeySource::Run(platform::Event& stop, const Sink& sink) {
    std::vector<pollfd> fds;
    for (const Fd& fd : keyboards_) {
        fds.push_back({fd.get(), POLLIN, 0});
    }
    while (!stop.IsSet()) {
        if (poll(fds.data(), fds.size(), kPollMs) <= 0) {
            continue;
        }
        for (pollfd& p : fds) {
            if (p.revents & POLLIN) {
                ReadEvents(p.fd, sink);
            }
            if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
                p.fd = -1;  // unplugged: poll ignores negative descriptors
            }
        }
    }
}

void EvdevKeySource::ReadEvents(int fd, const Sink& sink) {
    std::array<input_event, 32> events{};
    const ssize_t got = read(fd, events.data(), sizeof(events));
    if (got > 0) {
        DeliverKeyEvents(events.data(), static_cast<size_t>(got) / sizeof(input_event), sink);
    }
}

void EvdevKeySource::DeliverKeyEvents(const void* raw, size_t count, const Sink& sink) {
    const auto* events = static_cast<const input_event*>(raw);
    for (size_t i = 0; i < count; ++i) {
        const input_event& e = events[i];
        // Value 2 is auto-repeat: a held key is one press.
        if (e.type != EV_KEY || e.value < 0 || e.value > 1) {
            continue;
        }
        const uint8_t usage = HidUsageFromEvdevCode(e.code);
        if (usage != 0) {
            sink(usage, e.value == 1);
        }
    }
}
