#pragma once
// The macro files of a device's user data folder: the index "macro.config" (keyboard and
// mouse) or "zentu_macro.config" (mouse pad and headset), {"MacroInfo": [{"MacroName",
// "Guid"}]}, and one file per macro named by its Guid + ".mac", {"MacroName", "Guid",
// "Events": [{"Action", "Button", "Type", "Delay"}], "Version"}. The order of the index is
// the macro number that key assignments name, so entries are never reordered or dropped
// on reading.

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pages/json_documents.h"

inline constexpr const char* kMacroIndexFileName = "macro.config";
inline constexpr const char* kPadMacroIndexFileName = "zentu_macro.config";
inline constexpr const char* kMacroFileExtension = ".mac";

// "Type" of a recorded event: a keyboard key ("Button" its HID usage) or a mouse button
// ("Button" its bit: 1 left, 2 right, 4 middle, 8 back, 0x10 forward).
inline constexpr int kMacroKeyEvent = 10;
inline constexpr int kMacroMouseEvent = 9;

// The longest wait after an event that a macro image holds, in milliseconds.
inline constexpr uint32_t kMaxMacroDelay = 65535;

// An event's "Delay": a number, or decimal text read as the C library reads it (blanks
// and a sign before the digits, anything after them ignored). A wait the image cannot
// hold is its nearest bound, so that the page shows what the device is given.
uint32_t MacroDelayOf(const Json::Value& event);

struct MacroIndexEntry {
    std::string name;  // UTF-8
    std::string guid;
};

struct MacroEvent {
    bool down = false;
    int button = 0;
    int type = 0;
    uint32_t delay = 0;  // milliseconds after the event

    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

struct MacroDocument {
    std::string name;
    std::string guid;
    std::vector<MacroEvent> events;
};

namespace MacroIndexFile {
// The entries in file order; nullopt when the file is missing or holds no "MacroInfo" list.
std::optional<std::vector<MacroIndexEntry>> Load(const std::string& path);
bool Save(const std::string& path, const std::vector<MacroIndexEntry>& entries);
}  // namespace MacroIndexFile

namespace MacroFile {
// The path of a macro's file, or empty when the Guid cannot name a file safely.
std::string PathFor(const std::string& folder, const std::string& guid);
// nullopt for a missing or unparseable file. Events of a stored file with a wrong-typed
// field read it as 0; a file chosen for import must hold a macro, every event whole.
std::optional<MacroDocument> Load(const std::string& path, FileRole role = FileRole::Stored);
bool Save(const std::string& path, const MacroDocument& macro);
}  // namespace MacroFile

// One event as JSON. "Delay" is a decimal string in macro files and an integer in shoot
// files; reading accepts both. "Action" is "down" or "up".
Json::Value MacroEventToJson(const MacroEvent& event, bool delayAsText);
MacroEvent MacroEventFromJson(const Json::Value& value);
std::vector<MacroEvent> MacroEventsFromJson(const Json::Value& document);
