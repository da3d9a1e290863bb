#pragma once
// Numbers read out of a HID interface path such as
// "hid#vid_320f&pid_505b&mi_01&col04#<node>". Keys are found without regard to case; the
// result is the low 16 bits of the hexadecimal number after the key, 0 when the key or
// the number is missing.

#include <cstdint>
#include <string_view>

uint16_t ParseVidFromPath(std::wstring_view path);
uint16_t ParsePidFromPath(std::wstring_view path);
uint16_t ParseMiFromPath(std::wstring_view path);
uint16_t ParseColFromPath(std::wstring_view path);
