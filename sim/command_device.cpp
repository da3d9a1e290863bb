#include "sim/command_device.h"

#include <algorithm>

namespace sim {

SimCommandDevice::SimCommandDevice(uint16_t vendorId, uint16_t productId, uint16_t version,
                                   std::vector<platform::hid::SimHidInterface> interfaces,
                                   int commandInterface, size_t memoryCount)
    : SimHidDevice(vendorId, productId, version, std::move(interfaces)),
      commandInterface_(commandInterface),
      memories_(memoryCount) {}

void SimCommandDevice::InjectFault(const CommandFault& fault) {
    std::lock_guard<std::mutex> lock(faultMutex_);
    faults_.push_back(fault);
}

void SimCommandDevice::ClearFaults() {
    std::lock_guard<std::mutex> lock(faultMutex_);
    faults_.clear();
}

size_t SimCommandDevice::PendingFaults() const {
    std::lock_guard<std::mutex> lock(faultMutex_);
    return faults_.size();
}

void SimCommandDevice::SetReplyDelay(uint32_t delayMs) {
    std::lock_guard<std::mutex> lock(faultMutex_);
    replyDelayMs_ = delayMs;
}

std::vector<uint8_t> SimCommandDevice::ReceivedCommands() const {
    std::lock_guard<std::mutex> lock(faultMutex_);
    return {commands_.begin(), commands_.end()};
}

size_t SimCommandDevice::CommandCount(uint8_t code) const {
    std::lock_guard<std::mutex> lock(faultMutex_);
    return static_cast<size_t>(std::count(commands_.begin(), commands_.end(), code));
}

bool SimCommandDevice::SessionOpen() const {
    std::lock_guard<std::mutex> lock(modelMutex_);
    return sessionOpen_;
}

std::vector<uint8_t>& SimCommandDevice::ResetMemory(size_t index, size_t size) {
    std::vector<uint8_t>& memory = MemoryAt(index);
    memory.assign(size, 0);
    return memory;
}

std::vector<uint8_t> SimCommandDevice::CopyMemory(size_t index) const {
    std::lock_guard<std::mutex> lock(modelMutex_);
    return memories_.at(index);
}

bool SimCommandDevice::PutMemory(size_t index, size_t offset, std::span<const uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(modelMutex_);
    std::vector<uint8_t>& memory = MemoryAt(index);
    if (offset > memory.size() || bytes.size() > memory.size() - offset) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), memory.begin() + static_cast<long>(offset));
    return true;
}

bool SimCommandDevice::SendNotifyValue(uint8_t reportId, uint16_t value, uint32_t delayMs) {
    std::vector<uint8_t> report = {reportId, static_cast<uint8_t>(value & 0xFF),
                                   static_cast<uint8_t>(value >> 8)};
    return SendInputReport(commandInterface_, std::move(report), delayMs);
}

uint8_t SimCommandDevice::HandleCommonCommand(const CommandRequest& request, CommandReport& reply) {
    switch (request.command) {
        case 0x01:
        case 0x02:
            sessionOpen_ = request.command == 0x01;
            return kStatusOk;
        case 0xAA:
            reply[kCommandPayloadOffset] = 0xFF;
            return kStatusOk;
        default:
            return kStatusErrorFF;
    }
}

bool SimCommandDevice::TakeFault(uint8_t command, CommandFault* fault) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->command >= 0 && it->command != command) {
            continue;
        }
        if (it->skip > 0) {
            --it->skip;
            return false;
        }
        *fault = *it;
        if (it->times <= 1) {
            faults_.erase(it);
        } else {
            --it->times;
        }
        return true;
    }
    return false;
}

uint8_t SimCommandDevice::ReadRegion(const std::vector<uint8_t>& memory,
                                     const CommandRequest& request, CommandReport& reply) {
    if (size_t{request.offset} + request.length > memory.size()) {
        return kStatusErrorFF;
    }
    std::copy_n(memory.begin() + request.offset, request.length,
                reply.begin() + kCommandPayloadOffset);
    return kStatusOk;
}

uint8_t SimCommandDevice::WriteRegion(std::vector<uint8_t>& memory, const CommandRequest& request) {
    if (size_t{request.offset} + request.length > memory.size()) {
        return kStatusErrorFF;
    }
    std::copy_n(request.payload.begin(), request.length, memory.begin() + request.offset);
    return kStatusOk;
}

void SimCommandDevice::SendHeldReplies() {
    std::vector<CommandReport> held;
    {
        std::lock_guard<std::mutex> lock(faultMutex_);
        held.swap(heldReplies_);
    }
    for (const CommandReport& reply : held) {
        SendInputReport(commandInterface_, std::vector<uint8_t>(reply.begin(), reply.end()));
    }
}

void SimCommandDevice::OnOutputReport(int interfaceNumber, std::span<const uint8_t> report,
                                      bool viaControl) {
    if (interfaceNumber != commandInterface_ || report.empty() ||
        TakeOtherReport(interfaceNumber, report, viaControl)) {
        return;
    }
    CommandRequest request;
    const bool wellFormed = DecodeCommandRequest(report, &request);
    const uint8_t command = report.size() > 3 ? report[3] : 0;
    CommandFault fault;
    bool faulted = false;
    uint32_t delayMs = 0;
    {
        std::lock_guard<std::mutex> lock(faultMutex_);
        if (commands_.size() >= kReceivedLogLimit) {
            commands_.pop_front();
        }
        commands_.push_back(command);
        faulted = TakeFault(command, &fault);
        delayMs = replyDelayMs_;
    }
    SendHeldReplies();
    if (faulted && fault.kind == FaultKind::kUnplugDuringExchange) {
        UnplugSelf();
        return;
    }

    CommandReport reply{};
    reply[0] = kCommandReportId;
    uint8_t status = kStatusErrorFF;
    if (faulted && fault.kind == FaultKind::kStatusFF) {
        status = kStatusErrorFF;
    } else if (faulted && fault.kind == FaultKind::kStatusFE) {
        status = kStatusErrorFE;
    } else if (wellFormed) {
        std::lock_guard<std::mutex> lock(modelMutex_);
        status = HandleCommand(request, reply);
    }
    reply[3] = faulted && fault.kind == FaultKind::kWrongEcho ? static_cast<uint8_t>(command + 1)
                                                              : command;
    reply[4] = wellFormed ? request.length : 0;
    reply[5] = static_cast<uint8_t>(request.offset & 0xFF);
    reply[6] = static_cast<uint8_t>(request.offset >> 8);
    reply[7] = status;
    SealCommandReport(reply);
    if (faulted && fault.kind == FaultKind::kBadChecksum) {
        reply[1] = static_cast<uint8_t>(~reply[1]);
    }
    if (faulted && fault.kind == FaultKind::kNoReply) {
        return;
    }
    if (faulted && fault.kind == FaultKind::kHeldReply) {
        std::lock_guard<std::mutex> lock(faultMutex_);
        heldReplies_.push_back(reply);
        return;
    }
    if (faulted && fault.kind == FaultKind::kLateReply) {
        delayMs += fault.delayMs;
    }
    const size_t length =
        faulted && fault.kind == FaultKind::kShortReply ? kCommandPayloadOffset : reply.size();
    SendInputReport(commandInterface_,
                    std::vector<uint8_t>(reply.begin(), reply.begin() + static_cast<long>(length)),
                    delayMs);
}

}  // namespace sim
