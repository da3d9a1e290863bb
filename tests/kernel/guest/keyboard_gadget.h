#pragma once
// The simulated keyboard (sim/) behind the emulated USB keyboard: reports the host writes
// to the hidraw node arrive on the gadget's /dev/hidgN and go to the keyboard's model, and
// what the model sends (replies, notifications) goes back through /dev/hidgN to the host.
// The model lives on a private simulated bus; the program under test sees only the real
// kernel's hidraw nodes.
//
// Faults of the gadget side: a command interface whose OUT endpoint stops taking reports
// (the host's write then blocks in the kernel), and replies that leave their bytes 4 to 6
// zero. The model's own faults (no reply, ...) are injected on Keyboard().

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/hid/sim_hid_bus.h"
#include "platform/unique_fd.h"
#include "sim/sim_keyboard.h"

namespace kernel_test {

class KeyboardGadget {
  public:
    KeyboardGadget();
    ~KeyboardGadget();
    KeyboardGadget(const KeyboardGadget&) = delete;
    KeyboardGadget& operator=(const KeyboardGadget&) = delete;

    // The ports of this machine: the first gives the test's user the nodes (as the udev
    // rule does), the second leaves them root's.
    static std::string RuledPort();
    static std::string UnruledPort();

    // Plugs the gadget into `udc`, served by `keyboard` (a fresh model by default), and
    // returns once the gadget side is served.
    bool Plug(const std::string& udc,
              std::shared_ptr<sim::SimKeyboard> keyboard = std::make_shared<sim::SimKeyboard>());
    // Stops serving, then unplugs; returns once the host's nodes of the keyboard are gone.
    void Unplug();
    bool IsPlugged() const { return plugged_; }

    // While set, the command interface's OUT reports are left unread: the gadget's few
    // queued requests fill up and the endpoint then takes nothing more.
    void SetStalled(bool stalled) { stalled_.store(stalled); }
    // While set, replies on the command collection carry zeros in bytes 4 to 6.
    void SetZeroPieceEcho(bool zero) { zeroPieceEcho_.store(zero); }

    sim::SimKeyboard& Keyboard() { return *keyboard_; }

  private:
    struct Port {
        int number = 0;
        platform::UniqueFd fd;
        std::mutex writeMutex;
        std::vector<std::shared_ptr<platform::hid::HidHandle>> collections;
    };

    bool OpenPort(size_t index);
    void PumpOut(Port& port);
    void PumpIn(Port& port, platform::hid::HidHandle& collection);
    bool WriteIn(Port& port, std::vector<uint8_t> report);
    bool Stopping() const;
    void WaitForTheHostToLetGo();

    platform::hid::SimHidBus bus_;
    std::shared_ptr<sim::SimKeyboard> keyboard_;
    std::vector<std::unique_ptr<Port>> ports_;
    std::vector<std::thread> threads_;
    platform::UniqueFd stop_;
    std::atomic<bool> stalled_{false};
    std::atomic<bool> zeroPieceEcho_{false};
    bool plugged_ = false;
};

}  // namespace kernel_test
