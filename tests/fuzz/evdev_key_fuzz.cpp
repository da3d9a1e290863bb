// Raw input events read from the keyboards under /dev/input: any bytes, cut into events,
// give only presses and releases of keys that have a HID usage, never more than there
// are events.

#include <linux/input.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "pages/evdev_key_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As a read() fills them: whole events, suitably aligned.
    std::vector<input_event> events(size / sizeof(input_event));
    if (!events.empty()) {
        std::memcpy(events.data(), data, events.size() * sizeof(input_event));
    }
    size_t delivered = 0;
    EvdevKeySource::DeliverKeyEvents(events.data(), events.size(), [&](uint8_t usage, bool) {
        if (usage == 0 || ++delivered > events.size()) {
            std::abort();
        }
    });
    return 0;
}
