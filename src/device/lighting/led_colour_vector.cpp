#include "device/lighting/led_colour_vector.h"

#include <algorithm>

namespace device {

void LedColourVector::Resize(size_t count) {
    count = std::min(count, kMaxLedCount);
    // Shrink first so a concurrent reader never sees entries being cleared as live ones.
    count_.store(std::min(count, Size()), std::memory_order_relaxed);
    for (auto& colour : colours_) {
        colour.store(0, std::memory_order_relaxed);
    }
    count_.store(count, std::memory_order_relaxed);
}

uint32_t LedColourVector::Get(size_t index) const {
    if (index >= Size()) {
        return 0;
    }
    return colours_[index].load(std::memory_order_relaxed);
}

void LedColourVector::Set(size_t index, uint32_t colour) {
    if (index >= Size()) {
        return;
    }
    colours_[index].store(colour, std::memory_order_relaxed);
}

void LedColourVector::Fill(uint32_t colour) {
    const size_t count = Size();
    for (size_t i = 0; i < count; ++i) {
        colours_[i].store(colour, std::memory_order_relaxed);
    }
}

std::vector<uint32_t> LedColourVector::Snapshot() const {
    const size_t count = Size();
    std::vector<uint32_t> colours(count);
    for (size_t i = 0; i < count; ++i) {
        colours[i] = colours_[i].load(std::memory_order_relaxed);
    }
    return colours;
}

}  // namespace device
