#include "pages/profile_store.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "pages/json_documents.h"
#include "pages/profile_kind.h"
#include "platform/paths.h"
#include "profile/json_value.h"
#include "profile/stored_file_id.h"

namespace {

// The equaliser presets a user made belong to the user, not to the profile's defaults.
void KeepCustomEqualiser(const Json::Value& old, Json::Value* fresh) {
    const Json::Value* oldDevices = JsonMember(old, "Device");
    Json::Value* devices = fresh->isObject() ? &(*fresh)["Device"] : nullptr;
    if (oldDevices == nullptr || !oldDevices->isArray() || devices == nullptr) {
        return;
    }
    if (!devices->isArray()) {
        *devices = Json::Value(Json::arrayValue);
    }
    for (Json::ArrayIndex i = 0; i < oldDevices->size(); ++i) {
        for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
            const Json::Value* kept = JsonMember((*oldDevices)[i], key);
            if (kept == nullptr) {
                continue;
            }
            Json::Value& section = (*devices)[i];
            if (!section.isObject()) {
                section = Json::Value(Json::objectValue);
            }
            section[key] = *kept;
        }
    }
}

}  // namespace

void ProfileStore::SetPaths(std::string folder, std::string defaultFile) {
    folder_ = FolderWithSeparator(std::move(folder));
    defaultFile_ = platform::NormalizePath(std::move(defaultFile));
}

std::string ProfileStore::ListPath() const {
    return folder_ + ProfileListFile::kFileName;
}

std::string ProfileStore::ProfilePathIn(const std::string& folder, const std::string& uuid) {
    return FolderWithSeparator(folder) + uuid + std::string(kExtension);
}

std::string ProfileStore::ProfilePath(const std::string& uuid) const {
    return ProfilePathIn(folder_, uuid);
}

int ProfileStore::Load() {
    if (folder_.empty()) {
        return 0;
    }
    list_.Load(ListPath());
    if (!list_.entries.empty()) {
        return 1;
    }
    // A list that is gone or damaged must not hide the profiles beside it.
    list_.entries = ProfilesIn(folder_);
    list_.selected = 0;
    return list_.entries.empty() ? CreateFirstProfile() : SaveList();
}

std::vector<ProfileEntry> ProfileStore::ProfilesIn(const std::string& folder) {
    std::vector<ProfileEntry> found;
    std::error_code ec;
    for (const auto& file : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = file.path().filename().string();
        if (!name.ends_with(kExtension) || !file.is_regular_file(ec)) {
            continue;
        }
        const std::string uuid = name.substr(0, name.size() - kExtension.size());
        if (!IsSafeStoredFileId(uuid)) {
            continue;
        }
        const Json::Value document = LoadJsonDocument(ProfilePathIn(folder, uuid));
        if (JsonString(document, "profileUUID")) {
            found.push_back({JsonStringOr(document, "profilename", uuid), uuid});
        }
    }
    // Ids are creation times, so this is the order the profiles were made in.
    std::sort(found.begin(), found.end(),
              [](const ProfileEntry& a, const ProfileEntry& b) { return a.uuid < b.uuid; });
    return found;
}

int ProfileStore::CreateFirstProfile() {
    platform::EnsureDirectory(folder_);
    const std::string uuid = NewId();
    const std::string name = NextDefaultName();
    // Listed even when it cannot be written (a read-only folder, a full disk): the page
    // then works on the defaults, and the user has been told that nothing is kept.
    list_.entries.push_back({name, uuid});
    list_.selected = 0;
    if (!WriteProfile(uuid, name, DefaultDocument())) {
        return 0;
    }
    return SaveList();
}

std::string ProfileStore::SelectedUuid() const {
    const int index = SelectedIndex();
    return index < 0 ? std::string() : list_.entries[static_cast<size_t>(index)].uuid;
}

std::string ProfileStore::NextDefaultName() const {
    for (int n = 1;; ++n) {
        const std::string name = "Profile" + std::to_string(n);
        const bool used = std::any_of(list_.entries.begin(), list_.entries.end(),
                                      [&](const ProfileEntry& e) { return e.name == name; });
        if (!used) {
            return name;
        }
    }
}

std::string ProfileStore::NewId() const {
    return NewTimestampId([&](const std::string& id) {
        return platform::FileExists(ProfilePath(id)) ||
               std::any_of(list_.entries.begin(), list_.entries.end(),
                           [&](const ProfileEntry& e) { return e.uuid == id; });
    });
}

Json::Value ProfileStore::DefaultDocument() const {
    Json::Value document = LoadJsonDocument(defaultFile_);
    if (!document.isObject()) {
        document = Json::Value(Json::objectValue);
    }
    return document;
}

int ProfileStore::WriteProfile(const std::string& uuid, const std::string& name,
                               Json::Value document) {
    if (!IsSafeStoredFileId(uuid) || !document.isObject()) {
        return 0;
    }
    document["profilename"] = name;
    document["profileUUID"] = uuid;
    return SaveJsonDocument(ProfilePath(uuid), document) ? 1 : 0;
}

int ProfileStore::SaveList() const {
    return list_.Save(ListPath()) ? 1 : 0;
}

int ProfileStore::SaveListOrRestore(const ProfileListFile& before) {
    if (SaveList() == 0) {
        list_ = before;
        return 0;
    }
    return 1;
}

int ProfileStore::AppendAndSelect(const ProfileEntry& entry) {
    const ProfileListFile before = list_;
    list_.entries.push_back(entry);
    list_.selected = static_cast<int>(list_.entries.size()) - 1;
    if (SaveListOrRestore(before) == 0) {
        // The new profile's file is not listed anywhere: it goes too.
        std::remove(ProfilePath(entry.uuid).c_str());
        return 0;
    }
    return 1;
}

int ProfileStore::Select(int index) {
    if (index < 0 || index >= static_cast<int>(list_.entries.size())) {
        return 0;
    }
    const ProfileListFile before = list_;
    list_.selected = index;
    return SaveListOrRestore(before);
}

int ProfileStore::Add(const std::string& name) {
    if (folder_.empty()) {
        return 0;
    }
    const std::string uuid = NewId();
    if (!WriteProfile(uuid, name, DefaultDocument())) {
        return 0;
    }
    return AppendAndSelect({name, uuid});
}

int ProfileStore::Delete() {
    const int index = SelectedIndex();
    if (index < 0 || list_.entries.size() < 2) {
        return 0;
    }
    const ProfileListFile before = list_;
    const std::string path = ProfilePath(list_.entries[static_cast<size_t>(index)].uuid);
    list_.entries.erase(list_.entries.begin() + index);
    list_.selected = std::max(0, index - 1);
    // The list goes first: a file left behind is harmless, a listed profile without one is not.
    if (SaveListOrRestore(before) == 0) {
        return 0;
    }
    std::remove(path.c_str());
    return 1;
}

int ProfileStore::Copy(const std::string& name) {
    const std::string source = SelectedUuid();
    if (source.empty()) {
        return 0;
    }
    Json::Value document = LoadJsonDocument(ProfilePath(source));
    if (!document.isObject()) {
        document = DefaultDocument();
    }
    const std::string uuid = NewId();
    if (!WriteProfile(uuid, name, document)) {
        return 0;
    }
    return AppendAndSelect({name, uuid});
}

int ProfileStore::Rename(const std::string& name) {
    const int index = SelectedIndex();
    if (index < 0) {
        return 0;
    }
    const ProfileListFile before = list_;
    ProfileEntry& entry = list_.entries[static_cast<size_t>(index)];
    const Json::Value document = LoadJsonDocument(ProfilePath(entry.uuid));
    const Json::Value written = document.isObject() ? document : DefaultDocument();
    if (!WriteProfile(entry.uuid, name, written)) {
        return 0;
    }
    entry.name = name;
    if (SaveListOrRestore(before) == 0) {
        // The file takes its old name back so that file and list agree.
        WriteProfile(before.entries[static_cast<size_t>(index)].uuid,
                     before.entries[static_cast<size_t>(index)].name, written);
        return 0;
    }
    return 1;
}

int ProfileStore::Import(const std::string& path) {
    const Json::Value document =
        LoadJsonDocument(platform::NormalizePath(path), FileRole::Imported);
    const auto name = JsonString(document, "profilename");
    if (!name || !JsonString(document, "profileUUID") || folder_.empty()) {
        return 0;
    }
    if (!SuitsDeviceKind(document, kind_)) {
        return kOtherKind;
    }
    const std::string uuid = NewId();
    if (!WriteProfile(uuid, *name, document)) {
        return 0;
    }
    return AppendAndSelect({*name, uuid});
}

int ProfileStore::Export(const std::string& path) const {
    const std::string uuid = SelectedUuid();
    if (uuid.empty()) {
        return 0;
    }
    const Json::Value document = LoadJsonDocument(ProfilePath(uuid));
    if (!document.isObject()) {
        return 0;
    }
    return SaveJsonDocument(platform::NormalizePath(path), document) ? 1 : 0;
}

int ProfileStore::Reset() {
    const int index = SelectedIndex();
    if (index < 0) {
        return 0;
    }
    const ProfileEntry entry = list_.entries[static_cast<size_t>(index)];
    Json::Value document = DefaultDocument();
    if (kind_ == kHeadsetKind) {
        KeepCustomEqualiser(LoadJsonDocument(ProfilePath(entry.uuid)), &document);
    }
    return WriteProfile(entry.uuid, entry.name, document);
}
