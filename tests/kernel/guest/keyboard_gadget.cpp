#include "keyboard_gadget.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/hid/hidraw_sysfs.h"
#include "sim/command_report.h"
#include "usb_gadget.h"

namespace kernel_test {
namespace {

using Clock = std::chrono::steady_clock;

// How long a stalled OUT pump looks again whether it may go on.
constexpr int kStallPollMs = 10;

// Waits for `fd` to be ready for `events`, or for `stop`; true when it is ready.
bool WaitReady(int fd, short events, int stop, int timeoutMs = -1) {
    pollfd fds[2] = {{stop, POLLIN, 0}, {fd, events, 0}};
    const int count = fd >= 0 ? 2 : 1;
    for (;;) {
        const int ready = poll(fds, count, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0 && !(fds[0].revents & POLLIN) && count == 2 && fds[1].revents != 0;
    }
}

}  // namespace

KeyboardGadget::KeyboardGadget() : stop_(eventfd(0, EFD_CLOEXEC)) {}

KeyboardGadget::~KeyboardGadget() {
    Unplug();
}

std::string KeyboardGadget::RuledPort() {
    const std::vector<std::string> ports = UsbGadget::Controllers();
    return ports.empty() ? std::string() : ports[0];
}

std::string KeyboardGadget::UnruledPort() {
    const std::vector<std::string> ports = UsbGadget::Controllers();
    return ports.size() < 2 ? std::string() : ports[1];
}

bool KeyboardGadget::Plug(const std::string& udc, std::shared_ptr<sim::SimKeyboard> keyboard) {
    Unplug();
    keyboard_ = std::move(keyboard);
    bus_.Plug(keyboard_);
    const auto& interfaces = keyboard_->Interfaces();
    for (size_t i = 0; i < interfaces.size(); ++i) {
        auto port = std::make_unique<Port>();
        port->number = interfaces[i].number;
        for (size_t c = 0; c < keyboard_->Collections(i).size(); ++c) {
            const std::wstring path =
                bus_.PathOf(*keyboard_, port->number, static_cast<uint32_t>(c + 1));
            std::shared_ptr<platform::hid::HidHandle> handle =
                bus_.Open(path, platform::hid::HidOpenFlags{true, false, false});
            if (handle) {
                port->collections.push_back(std::move(handle));
            }
        }
        ports_.push_back(std::move(port));
    }
    if (!UsbGadget::Bind(udc)) {
        return false;
    }
    plugged_ = true;
    for (size_t i = 0; i < ports_.size(); ++i) {
        if (!OpenPort(i)) {
            std::fprintf(stderr, "gadget: interface %zu has no node to serve\n", i);
            return false;
        }
    }
    for (auto& port : ports_) {
        Port* p = port.get();
        threads_.emplace_back([this, p] { PumpOut(*p); });
        for (auto& collection : p->collections) {
            platform::hid::HidHandle* c = collection.get();
            threads_.emplace_back([this, p, c] { PumpIn(*p, *c); });
        }
    }
    return true;
}

bool KeyboardGadget::OpenPort(size_t index) {
    // The node appears with the bind and becomes the user's once the device manager has
    // applied its rule.
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        const std::string node = UsbGadget::InterfaceNode(index);
        const int fd = node.empty() ? -1 : open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ports_[index]->fd.reset(fd);
            return true;
        }
        usleep(5000);
    }
    return false;
}

void KeyboardGadget::Unplug() {
    if (!keyboard_) {
        return;
    }
    const uint64_t one = 1;
    if (write(stop_.get(), &one, sizeof(one)) != sizeof(one)) {
        std::perror("gadget: stop");
    }
    for (auto& port : ports_) {
        for (auto& collection : port->collections) {
            collection->Close();
        }
    }
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    ports_.clear();
    uint64_t count = 0;
    if (read(stop_.get(), &count, sizeof(count)) != sizeof(count)) {
        std::perror("gadget: stop reset");
    }
    if (plugged_) {
        UsbGadget::Bind("");
        plugged_ = false;
        WaitForTheHostToLetGo();
    }
    bus_.UnplugAll();
    keyboard_.reset();
}

void KeyboardGadget::WaitForTheHostToLetGo() {
    // The host removes its nodes a moment after the unbind, on its hub thread; a test that
    // plugs again before would find the old ones.
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        bool present = false;
        for (const std::string& name : platform::hid::ListHidrawNodeNames("/sys")) {
            platform::hid::HidrawNodeInfo info;
            present = present || (platform::hid::ReadHidrawNode("/sys", name, &info) &&
                                  info.vendorId == sim::kKeyboardVendorId &&
                                  info.productId == sim::kKeyboardProductId);
        }
        if (!present) {
            return;
        }
        usleep(5000);
    }
    std::fprintf(stderr, "gadget: the host kept the unplugged keyboard's nodes\n");
}

bool KeyboardGadget::Stopping() const {
    pollfd fds = {stop_.get(), POLLIN, 0};
    return poll(&fds, 1, 0) > 0;
}

void KeyboardGadget::PumpOut(Port& port) {
    std::vector<uint8_t> report(1024);
    const bool command = port.number == sim::kKeyboardCommandInterface;
    while (!Stopping()) {
        if (command && stalled_.load()) {
            WaitReady(-1, 0, stop_.get(), kStallPollMs);
            continue;
        }
        if (!WaitReady(port.fd.get(), POLLIN, stop_.get(), kStallPollMs * 5)) {
            continue;
        }
        const ssize_t got = read(port.fd.get(), report.data(), report.size());
        if (got > 0) {
            keyboard_->ReceiveOutputReport(
                port.number, std::span<const uint8_t>(report.data(), static_cast<size_t>(got)),
                false);
        }
    }
}

void KeyboardGadget::PumpIn(Port& port, platform::hid::HidHandle& collection) {
    std::vector<uint8_t> report(1024);
    for (;;) {
        const platform::hid::HidIoResult got =
            collection.Read(report, platform::hid::kHidInfinite, nullptr);
        if (!got.ok()) {
            return;  // closed: the gadget is being unplugged
        }
        std::vector<uint8_t> bytes(report.begin(), report.begin() + static_cast<long>(got.bytes));
        if (zeroPieceEcho_.load() && bytes.size() == sim::kCommandReportSize &&
            bytes[0] == sim::kCommandReportId) {
            sim::CommandReport reply;
            std::copy(bytes.begin(), bytes.end(), reply.begin());
            reply[4] = reply[5] = reply[6] = 0;
            sim::SealCommandReport(reply);
            bytes.assign(reply.begin(), reply.end());
        }
        if (!WriteIn(port, std::move(bytes))) {
            return;
        }
    }
}

bool KeyboardGadget::WriteIn(Port& port, std::vector<uint8_t> report) {
    std::lock_guard<std::mutex> lock(port.writeMutex);
    for (;;) {
        const ssize_t put = write(port.fd.get(), report.data(), report.size());
        if (put == static_cast<ssize_t>(report.size())) {
            return true;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        // The host has not fetched the report before: wait for the IN endpoint.
        if (!WaitReady(port.fd.get(), POLLOUT, stop_.get()) && Stopping()) {
            return false;
        }
    }
}

}  // namespace kernel_test
