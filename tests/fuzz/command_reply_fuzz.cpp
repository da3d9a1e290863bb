// Replies from a device are untrusted: whatever bytes come back, every wrapper of the
// command channel must stay inside its buffers. The input is also read as an interface
// path by the discovery parsers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/channel/hid_command_channel.h"
#include "device/discovery/hid_path_parsers.h"
#include "platform/hid/hid_bus.h"
#include "sim/loopback_command_bus.h"

namespace {

void ParsePath(const uint8_t* data, size_t size) {
    const std::wstring path(data, data + size);
    const uint32_t sum = ParseVidFromPath(path) + ParsePidFromPath(path) + ParseMiFromPath(path) +
                         ParseColFromPath(path);
    static_cast<void>(sum);
}

std::vector<std::vector<uint8_t>> SplitReplies(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> replies;
    for (size_t at = 0; at < size; at += 64) {
        const size_t n = std::min<size_t>(64, size - at);
        replies.emplace_back(data + at, data + at + n);
    }
    return replies;
}

// One wrapper per input, chosen by the first byte, which also sets the table length.
void RunWrapper(CHidCommandChannel& channel, uint8_t selector) {
    std::vector<uint8_t> buffer(600, 0);
    DeviceInfoBlock info;
    channel.SetTableLength(static_cast<uint16_t>(selector) * 3);
    switch (selector % 8) {
        case 0:
            channel.ReadDeviceInfo(info);
            break;
        case 1:
            channel.ReadMemory(std::span<uint8_t>(buffer.data(), 130), selector);
            break;
        case 2:
            channel.ReadPowerStatus(std::span<uint8_t>(buffer.data(), 6), selector, 0);
            channel.ReadPowerStatus(buffer, buffer.size(), 0);
            break;
        case 3:
            channel.ReadKeyCodeTable(buffer);
            break;
        case 4:
            channel.ReadKeyLightTable(buffer);
            break;
        case 5:
            channel.QueryDeviceStatus();
            break;
        case 6:
            channel.SendLightFrame(std::span<const uint8_t>(buffer.data(), 378));
            break;
        default:
            channel.WriteKeyColorTable(std::span<const uint8_t>(buffer.data(), 70), selector, 512);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ParsePath(data, std::min<size_t>(size, 300));
    if (size == 0)
        return 0;
    // One bus for the whole run: building it parses the keyboard's descriptor.
    static sim::LoopbackCommandBus bus;
    static CHidCommandChannel channel;
    platform::hid::ScopedHidBus use(bus);
    if (!channel.IsOpen() && !channel.OpenInterface(bus.Path().c_str(), false))
        return 0;
    bus.SetScript(SplitReplies(data + 1, size - 1));
    RunWrapper(channel, data[0]);
    return 0;
}
