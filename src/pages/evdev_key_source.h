#pragma once
// Keys pressed anywhere on the desktop, where the user may read the keyboards under
// /dev/input (membership of the "input" group, say). Without such access the source does
// not start and the hook hears only the program's own windows.

#include <functional>
#include <string>
#include <vector>

#include "platform/worker_thread.h"

class HookInputSource {
  public:
    // usage: the key's HID usage; down: pressed (true) or released.
    using Sink = std::function<void(uint8_t usage, bool down)>;
    virtual ~HookInputSource() = default;
    // False when nothing can be captured.
    virtual bool Start(Sink sink) = 0;
    virtual void Stop() = 0;
};

class EvdevKeySource final : public HookInputSource {
  public:
    explicit EvdevKeySource(std::string folder = "/dev/input");
    ~EvdevKeySource() override;
    EvdevKeySource(const EvdevKeySource&) = delete;
    EvdevKeySource& operator=(const EvdevKeySource&) = delete;

    bool Start(Sink sink) override;
    void Stop() override;

    // Passes the key presses and releases among `count` raw input events (struct
    // input_event) to the sink; auto-repeats, other event types and keys without a HID
    // usage are dropped.
    static void DeliverKeyEvents(const void* events, size_t count, const Sink& sink);

  private:
    class Fd {
      public:
        explicit Fd(int fd) : fd_(fd) {}
        ~Fd();
        Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
        Fd& operator=(Fd&&) = delete;
        Fd(const Fd&) = delete;
        int get() const { return fd_; }

      private:
        int fd_;
    };

    std::vector<Fd> OpenKeyboards() const;
    void Run(platform::Event& stop, const Sink& sink);
    void ReadEvents(int fd, const Sink& sink);

    std::string folder_;
    std::vector<Fd> keyboards_;
    platform::WorkerThread thread_{"keys"};
};
