#include "pages/profile_list_file.h"

#include <algorithm>

#include "pages/json_documents.h"
#include "profile/json_value.h"
#include "profile/stored_file_id.h"

namespace {

bool HasId(const std::vector<ProfileEntry>& entries, const std::string& uuid) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const ProfileEntry& e) { return e.uuid == uuid; });
}

}  // namespace

bool ProfileListFile::Load(const std::string& path) {
    entries.clear();
    selected = 0;
    const Json::Value root = LoadJsonDocument(path);
    const Json::Value* list = JsonMember(root, "ProfileList");
    if (list == nullptr || !list->isArray()) {
        return false;
    }
    for (const Json::Value& item : *list) {
        const std::string uuid = JsonStringOr(item, "profileUUID", "");
        if (!IsSafeStoredFileId(uuid) || HasId(entries, uuid)) {
            continue;
        }
        entries.push_back({JsonStringOr(item, "profilename", ""), uuid});
    }
    const int stored = JsonIntOr(root, "SelectIndex", 0);
    selected = (stored >= 0 && stored < static_cast<int>(entries.size())) ? stored : 0;
    return true;
}

bool ProfileListFile::Save(const std::string& path) const {
    Json::Value root(Json::objectValue);
    Json::Value list(Json::arrayValue);
    for (const ProfileEntry& entry : entries) {
        Json::Value item(Json::objectValue);
        item["profilename"] = entry.name;
        item["profileUUID"] = entry.uuid;
        list.append(item);
    }
    root["ProfileList"] = list;
    root["SelectIndex"] = selected;
    return SaveJsonDocument(path, root);
}
