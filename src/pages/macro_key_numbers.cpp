#include "pages/macro_key_numbers.h"

#include "pages/json_documents.h"
#include "pages/profile_store.h"
#include "profile/json_value.h"
#include "profile/key_function_record.h"

namespace {

// The "Assignment" of one "KeyList" entry; true when it changed.
bool FollowInEntry(Json::Value& entry, int deleted) {
    const std::optional<int> packed = JsonInt(entry, "Assignment");
    if (!packed) {
        return false;
    }
    KeyFunctionRecord current = UnpackKeyFunction(0, *packed);
    const KeyFunctionRecord defaults =
        UnpackKeyFunction(0, JsonIntOr(entry, "DefaultAssignment", 0));
    if (!FollowMacroDeletion(current, defaults, deleted)) {
        return false;
    }
    entry["Assignment"] = PackKeyFunction(current);
    return true;
}

bool FollowInDocument(Json::Value& document, int deleted) {
    // Looked up without adding members: a file that changes nothing is not written.
    Json::Value* devices =
        document.isObject() && document.isMember("Device") ? &document["Device"] : nullptr;
    if (devices == nullptr || !devices->isArray()) {
        return false;
    }
    bool changed = false;
    for (Json::Value& section : *devices) {
        Json::Value* keys =
            section.isObject() && section.isMember("KeyList") ? &section["KeyList"] : nullptr;
        if (keys == nullptr || !keys->isArray()) {
            continue;
        }
        for (Json::Value& entry : *keys) {
            changed = FollowInEntry(entry, deleted) || changed;
        }
    }
    return changed;
}

}  // namespace

int FollowMacroDeletionInProfiles(const std::string& folder, const std::string& except,
                                  int deleted) {
    int rewritten = 0;
    for (const ProfileEntry& profile : ProfileStore::ProfilesIn(folder)) {
        if (profile.uuid == except) {
            continue;
        }
        const std::string path = ProfileStore::ProfilePathIn(folder, profile.uuid);
        Json::Value document = LoadJsonDocument(path);
        if (FollowInDocument(document, deleted) && SaveJsonDocument(path, document)) {
            ++rewritten;
        }
    }
    return rewritten;
}
