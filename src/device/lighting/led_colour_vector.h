#pragma once
// The LED colour vector of one device: one u32 per LED (bytes red, green, blue,
// brightness). The light thread or the light synchronisation thread writes it while the
// UI thread's frame timer reads it. Each entry is a relaxed atomic in storage that never
// moves, so neither side takes a lock and a resize cannot leave a reader past the end; a
// frame may mix two steps, which the next frame corrects.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace device {

// A light frame is 512 bytes of 3 bytes per LED, so no device can drive more LEDs.
inline constexpr size_t kLightFrameBytes = 512;
inline constexpr size_t kMaxLedCount = kLightFrameBytes / 3;

class LedColourVector {
  public:
    LedColourVector() = default;
    LedColourVector(const LedColourVector&) = delete;
    LedColourVector& operator=(const LedColourVector&) = delete;

    // Counts above kMaxLedCount are cut to it; every colour becomes 0.
    void Resize(size_t count);
    size_t Size() const { return count_.load(std::memory_order_relaxed); }
    // 0 for an index outside the vector.
    uint32_t Get(size_t index) const;
    // Ignored for an index outside the vector.
    void Set(size_t index, uint32_t colour);
    void Fill(uint32_t colour);
    std::vector<uint32_t> Snapshot() const;

  private:
    std::array<std::atomic<uint32_t>, kMaxLedCount> colours_{};
    std::atomic<size_t> count_{0};
};

}  // namespace device
