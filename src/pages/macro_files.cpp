#include "pages/macro_files.h"

#include <charconv>

#include "pages/json_documents.h"
#include "profile/json_value.h"
#include "profile/stored_file_id.h"

namespace {

uint32_t ParseDelay(const Json::Value& event) {
    if (const auto number = JsonUInt(event, "Delay")) {
        return *number;
    }
    const std::string text = JsonStringOr(event, "Delay", "");
    uint32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

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
    event.delay = ParseDelay(value);
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
    if (!root.isObject()) {
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
