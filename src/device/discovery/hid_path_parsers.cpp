#include "device/discovery/hid_path_parsers.h"

#include "platform/hid/hid_bus.h"

namespace {

uint16_t ParseKey(std::wstring_view path, std::wstring_view key) {
    const long value = platform::hid::ParseHidPathNumber(path, key);
    return value < 0 ? 0 : static_cast<uint16_t>(value & 0xFFFF);
}

}  // namespace

uint16_t ParseVidFromPath(std::wstring_view path) {
    return ParseKey(path, L"vid_");
}
uint16_t ParsePidFromPath(std::wstring_view path) {
    return ParseKey(path, L"pid_");
}
uint16_t ParseMiFromPath(std::wstring_view path) {
    return ParseKey(path, L"&mi_");
}
uint16_t ParseColFromPath(std::wstring_view path) {
    return ParseKey(path, L"&col");
}
