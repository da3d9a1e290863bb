#pragma once
// A bus of one command interface that answers in the caller's own thread: every written
// report is answered at once, either by its own echo with status 0 or by the next report of
// a script. No timers, no threads: it measures what the caller costs and feeds it any reply
// a device could send.
//
//   sim::LoopbackCommandBus bus;                  // echoes
//   bus.SetScript({reply1, reply2});              // or answers with these, then nothing
//   platform::hid::ScopedHidBus use(bus);
//   channel.OpenInterface(bus.Path().c_str(), false);

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hid_report_descriptor.h"

namespace sim {

class LoopbackCommandBus final : public platform::hid::HidBus {
  public:
    LoopbackCommandBus();

    // Replies for the next writes, one per write, each cut or zero-padded to 64 bytes;
    // once used up, writes get no reply. An empty script restores echoing.
    void SetScript(std::vector<std::vector<uint8_t>> replies);
    // The keyboard command interface's path.
    const std::wstring& Path() const { return path_; }

    bool Enumerate(std::vector<std::wstring>* paths) override;
    std::unique_ptr<platform::hid::HidHandle> Open(std::wstring_view path,
                                                   platform::hid::HidOpenFlags flags) override;

    struct State {
        std::mutex mutex;
        bool scripted = false;
        std::deque<std::vector<uint8_t>> script;
        std::deque<std::vector<uint8_t>> pending;
    };

  private:
    std::shared_ptr<State> state_ = std::make_shared<State>();
    platform::hid::HidPreparsedData preparsed_;
    std::wstring path_;
};

}  // namespace sim
