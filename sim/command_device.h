#pragma once
// Base of the simulated devices that speak the 64-byte command protocol on one of their
// collections: it checks the framing and checksum of every request, runs the model's
// command handler under the model lock, answers with the echo, status and payload, and
// applies the faults a test injected.
//
//   device->InjectFault({sim::FaultKind::kNoReply});                  // next command
//   device->InjectFault({sim::FaultKind::kStatusFE, 0x06, 1});        // 2nd 0x06 only
//   device->InjectFault({sim::FaultKind::kLateReply, -1, 0, 1, 300}); // reply 300 ms late
//   device->InjectFault({sim::FaultKind::kHeldReply, 0x05});          // comes with the next
//
// A request with a wrong report id, checksum or length is answered with status 0xFF and
// changes nothing.

#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "platform/hid/sim_hid_device.h"
#include "sim/command_report.h"

namespace sim {

enum class FaultKind {
    kNoReply,               // the command is carried out, no reply comes
    kLateReply,             // the reply comes delayMs late
    kBadChecksum,           // the reply's checksum bytes are wrong
    kStatusFF,              // refused with status 0xFF, nothing changes
    kStatusFE,              // refused with status 0xFE, nothing changes
    kUnplugDuringExchange,  // the device leaves the bus instead of answering
    kWrongEcho,             // the reply echoes another command code
    // The reply is held back until the next command arrives and comes just before that
    // command's own reply: so late that its request timed out and the next one waits.
    kHeldReply,
    // The reply is cut short after its header (bytes 0 to 7): no payload comes.
    kShortReply,
};

struct CommandFault {
    FaultKind kind = FaultKind::kNoReply;
    int command = -1;      // the command code it waits for; -1 for any
    uint32_t skip = 0;     // matching commands let through before it strikes
    uint32_t times = 1;    // matching commands it then hits
    uint32_t delayMs = 0;  // kLateReply only
};

class SimCommandDevice : public platform::hid::SimHidDevice {
  public:
    SimCommandDevice(uint16_t vendorId, uint16_t productId, uint16_t version,
                     std::vector<platform::hid::SimHidInterface> interfaces, int commandInterface,
                     size_t memoryCount);

    // Faults are tried in the order injected; the first one that matches applies.
    void InjectFault(const CommandFault& fault);
    void ClearFaults();
    size_t PendingFaults() const;
    // Latency of every reply (0: the reply is queued before the write returns).
    void SetReplyDelay(uint32_t delayMs);
    // Command codes of the requests received on the command interface, in order (the
    // newest kReceivedLogLimit of them).
    std::vector<uint8_t> ReceivedCommands() const;
    size_t CommandCount(uint8_t code) const;
    // Whether a write session is open (0x01 opens it, 0x02 closes it).
    bool SessionOpen() const;

  protected:
    void OnOutputReport(int interfaceNumber, std::span<const uint8_t> report,
                        bool viaControl) final;
    // A model whose command interface also takes reports of other ids (a headset's LED
    // reports) claims them here; a claimed report gets no command reply.
    virtual bool TakeOtherReport(int /*interfaceNumber*/, std::span<const uint8_t> /*report*/,
                                 bool /*viaControl*/) {
        return false;
    }
    // Carries out one well-formed request with the model lock held; fills the reply's
    // payload and returns its status byte.
    virtual uint8_t HandleCommand(const CommandRequest& request, CommandReport& reply) = 0;

    // Helpers for the handlers: a read or write of `memory` at the request's offset and
    // length; status 0xFF when the range leaves the memory.
    static uint8_t ReadRegion(const std::vector<uint8_t>& memory, const CommandRequest& request,
                              CommandReport& reply);
    static uint8_t WriteRegion(std::vector<uint8_t>& memory, const CommandRequest& request);
    // The commands every model answers alike: 0x01/0x02 open and close the write session,
    // 0xAA answers byte 8 = 0xFF; any other command gets status 0xFF.
    uint8_t HandleCommonCommand(const CommandRequest& request, CommandReport& reply);

    // The model's memories, numbered by the model's own memory names. MemoryAt and
    // ResetMemory want the model lock held (or the model still being built); CopyMemory and
    // PutMemory take it. PutMemory changes nothing (false) when the bytes do not fit.
    std::vector<uint8_t>& MemoryAt(size_t index) { return memories_.at(index); }
    std::vector<uint8_t>& ResetMemory(size_t index, size_t size);
    std::vector<uint8_t> CopyMemory(size_t index) const;
    bool PutMemory(size_t index, size_t offset, std::span<const uint8_t> bytes);

    // An input report {reportId, value low, value high} on the command interface.
    bool SendNotifyValue(uint8_t reportId, uint16_t value, uint32_t delayMs);

    // Guards the model's memories; held while HandleCommand runs.
    mutable std::mutex modelMutex_;

  private:
    bool TakeFault(uint8_t command, CommandFault* fault);
    void SendHeldReplies();

    const int commandInterface_;
    std::vector<std::vector<uint8_t>> memories_;
    bool sessionOpen_ = false;
    mutable std::mutex faultMutex_;
    std::deque<CommandFault> faults_;
    std::deque<uint8_t> commands_;
    std::vector<CommandReport> heldReplies_;
    uint32_t replyDelayMs_ = 0;
};

}  // namespace sim
