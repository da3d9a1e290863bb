#pragma once
// The macro memory image that keyboards and mice play macros from: a 16-byte head, an
// offset table and, per macro, a 4-byte head followed by one 4-byte record per event.
// All u16 fields are little-endian.

#include <json/json.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace device {

inline constexpr uint16_t kMacroImageMagic = 0x55AA;
inline constexpr size_t kMacroImageHeadSize = 16;
inline constexpr size_t kMacroHeadSize = 4;
inline constexpr size_t kMacroEventSize = 4;
inline constexpr size_t kMacroMemoryUnit = 128;

// {delay low, delay high, type | 0x80 on "down", button}.
using MacroEventRecord = std::array<uint8_t, kMacroEventSize>;
using MacroEvents = std::vector<MacroEventRecord>;

// One event object of a macro file. "Delay" is a decimal string of milliseconds (a
// number is taken too); its low 16 bits are kept. Fields of the wrong type read as 0.
MacroEventRecord EncodeMacroEvent(const Json::Value& event);
// The "Events" of a macro document; anything but an array of objects gives no events.
MacroEvents MacroEventsOf(const Json::Value& document);

// The events of every macro that the list file "macro.config" (or `listName`) in
// `folder` names, in list order. A missing or unreadable macro file, or one whose id
// cannot name a file, is a macro with no events. False when there is no list document.
bool ReadMacroList(const std::wstring& folder, const wchar_t* listName,
                   std::vector<MacroEvents>* macros);

size_t MacroImageLength(const std::vector<MacroEvents>& macros);
// The image of `macros`; empty when it would not fit its u16 length field.
std::vector<uint8_t> BuildMacroImage(const std::vector<MacroEvents>& macros);
// The result the upload reports for an image that does not fit: the number of 4-byte
// events it is too long by, plus one.
int MacroOverflowResult(size_t length, size_t capacity);
// The result the upload reports when the device refused the image or did not answer.
inline constexpr int kMacroWriteRefused = -2;

// The image of the macros that "macro.config" in `folder` lists, for a device whose macro
// memory holds `capacity` bytes. Returns 0 with the image, or with no image when there is
// nothing to write; the overflow result with no image when it does not fit; -1 when no
// image could be made.
int PrepareMacroImage(const std::wstring& folder, size_t capacity, std::vector<uint8_t>* image);

}  // namespace device
