#pragma once
// A copy of a list to walk while the list itself may change: kept on the stack when it is
// short, as on paths that run for every message or every hand-off between threads, and on
// the heap beyond that.

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace platform {

template <class T, size_t kOnStack>
class ShortCopy {
  public:
    ShortCopy() = default;
    // The items point into this object.
    ShortCopy(const ShortCopy&) = delete;
    ShortCopy& operator=(const ShortCopy&) = delete;

    void Assign(std::span<const T> items) {
        if (items.size() <= kOnStack) {
            std::copy(items.begin(), items.end(), few_.begin());
            items_ = std::span<const T>(few_).first(items.size());
        } else {
            many_.assign(items.begin(), items.end());
            items_ = many_;
        }
    }
    std::span<const T> Items() const { return items_; }

  private:
    std::array<T, kOnStack> few_{};
    std::vector<T> many_;
    std::span<const T> items_;
};

}  // namespace platform
