#include "pages/macro_files.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "pages/json_documents.h"
#include "profile/json_value.h"
#include "profile/stored_file_id.h"

namespace {

// Decimal text as the C library's strtoll reads it: leading blanks and a sign allowed,
// digits up to the first other character, 0 without digits, and a value beyond 64 bits
// clamped to the nearest end of the range.
int64_t DecimalPrefix(const std::string& text) {
    size_t at = text.find_first_not_of(" \t\r\n");
    if (at == std::string::npos) {
        return 0;
    }
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') {
        negative = text[at] == '-';
        ++at;
    }
    // The magnitude is clamped before the sign is applied: negating INT64_MIN is undefined.
    constexpr uint64_t kMaxMagnitude = uint64_t{1} << 63;
    uint64_t magnitude = 0;
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    if (std::from_chars(first, last, magnitude).ec != std::errc()) {
        const bool anyDigit = first != last && *first >= '0' && *first <= '9';
        magnitude = anyDigit ? kMaxMagnitude : 0;  // only too long a number fails here
    }
    if (negative) {
        return magnitude >= kMaxMagnitude ? std::numeric_limits<int64_t>::min()
                                          : -static_cast<int64_t>(magnitude);
    }
    return magnitude >= kMaxMagnitude ? std::numeric_limits<int64_t>::max()
                                      : static_cast<int64_t>(magnitude);
}

bool IsByte(const std::optional<int>& value) {
    return value && *value >= 0 && *value <= 0xFF;
}

// An event as the page records it: every field there, of its type, and a type and button
// the image's one byte each can hold.
bool IsMacroEvent(const Json::Value& event) {
    const std::optional<std::string> action = JsonString(event, "Action");
    const Json::Value* delay = JsonMember(event, "Delay");
    return action && (*action == "down" || *action == "up") && IsByte(JsonInt(event, "Type")) &&
           IsByte(JsonInt(event, "Button")) && delay != nullptr &&
           (delay->isString() || delay->isIntegral());
}

// A macro the user hands the page names itself and lists its events. Anything else (a
// profile, a shoot file, a list) is not taken for an empty or garbled macro.
bool IsMacroDocument(const Json::Value& root) {
    const Json::Value* events = JsonMember(root, "Events");
    if (!JsonString(root, "MacroName") || events == nullptr || !events->isArray()) {
        return false;
    }
    return std::all_of(events->begin(), events->end(), IsMacroEvent);
}

}  // namespace

uint32_t MacroDelayOf(const Json::Value& event) {
    const Json::Value* delay = JsonMember(event, "Delay");
    int64_t value = 0;
    if (delay == nullptr) {
        return 0;
    }
    if (delay->isString()) {
        value = DecimalPrefix(delay->asString());
    } else if (delay->isUInt64()) {
        value = static_cast<int64_t>(std::min<uint64_t>(delay->asUInt64(), kMaxMacroDelay));
    } else if (delay->isIntegral()) {
        value = delay->asInt64();
    }
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, kMaxMacroDelay));
}

Json::Value MacroEventToJson(const MacroEvent& event, bool delayAsText) {
    Json::Value value(Json::objectValue);
    value["Action"] = event.down ? "down" : "up";
    value["Button"] = event.button;
    value["Type"] = event.type;
    if (delayAsText) {
        value["Delay"] = std::to_string(event.delay);
    } else {
        value["Delay"] = event.delay;
    }
    return value;
}

MacroEvent MacroEventFromJson(const Json::Value& value) {
    MacroEvent event;
    event.down = JsonStringOr(value, "Action", "") == "down";
    event.button = JsonIntOr(value, "Button", 0);
    event.type = JsonIntOr(value, "Type", 0);
    event.delay = MacroDelayOf(value);
    return event;
}

std::vector<MacroEvent> MacroEventsFromJson(const Json::Value& document) {
    std::vector<MacroEvent> events;
    const Json::Value* list = JsonMember(document, "Events");
    if (list == nullptr || !list->isArray()) {
        return events;
    }
    for (const Json::Value& item : *list) {
        events.push_back(MacroEventFromJson(item));
    }
    return events;
}

namespace MacroIndexFile {

std::optional<std::vector<MacroIndexEntry>> Load(const std::string& path) {
    const Json::Value root = LoadJsonDocument(path);
    const Json::Value* list = JsonMember(root, "MacroInfo");
    if (list == nullptr || !list->isArray()) {
        return std::nullopt;
    }
    std::vector<MacroIndexEntry> entries;
    for (const Json::Value& item : *list) {
        entries.push_back({JsonStringOr(item, "MacroName", ""), JsonStringOr(item, "Guid", "")});
    }
    return entries;
}

bool Save(const std::string& path, const std::vector<MacroIndexEntry>& entries) {
    Json::Value list(Json::arrayValue);
    for (const MacroIndexEntry& entry : entries) {
        Json::Value item(Json::objectValue);
        item["MacroName"] = entry.name;
        item["Guid"] = entry.guid;
        list.append(item);
    }
    Json::Value root(Json::objectValue);
    root["MacroInfo"] = list;
    return SaveJsonDocument(path, root);
}

}  // namespace MacroIndexFile

namespace MacroFile {

std::string PathFor(const std::string& folder, const std::string& guid) {
    if (!IsSafeStoredFileId(guid)) {
        return {};
    }
    return FolderWithSeparator(folder) + guid + kMacroFileExtension;
}

std::optional<MacroDocument> Load(const std::string& path, FileRole role) {
    if (path.empty()) {
        return std::nullopt;
    }
    const Json::Value root = LoadJsonDocument(path, role);
    if (!root.isObject() || (role == FileRole::Imported && !IsMacroDocument(root))) {
        return std::nullopt;
    }
    MacroDocument macro;
    macro.name = JsonStringOr(root, "MacroName", "");
    macro.guid = JsonStringOr(root, "Guid", "");
    macro.events = MacroEventsFromJson(root);
    return macro;
}

bool Save(const std::string& path, const MacroDocument& macro) {
    if (path.empty()) {
        return false;
    }
    Json::Value root(Json::objectValue);
    root["MacroName"] = macro.name;
    root["Guid"] = macro.guid;
    Json::Value events(Json::arrayValue);
    for (const MacroEvent& event : macro.events) {
        events.append(MacroEventToJson(event, true));
    }
    root["Events"] = events;
    root["Version"] = "1.0";
    return SaveJsonDocument(path, root);
}

}  // namespace MacroFile
