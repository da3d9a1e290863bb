#pragma once
// Bytes as lower-case hexadecimal text, two digits each: how the tests and their helper
// programs compare binary blocks in messages and output lines.

#include <cstdint>
#include <span>
#include <string>

namespace testing_support {

inline std::string HexText(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 15]);
    }
    return text;
}

}  // namespace testing_support
