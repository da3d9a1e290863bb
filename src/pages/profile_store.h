#pragma once
// The profiles of one device kind in its per-user folder: the list file and one profile
// file per profile, named by the profile's id + ".Json". Every operation keeps the list
// and the files in step and returns 1 on success, 0 on failure (nothing changed then).

#include <json/json.h>

#include <string>
#include <string_view>
#include <vector>

#include "pages/profile_list_file.h"

class ProfileStore {
  public:
    static constexpr int kHeadsetKind = 7;
    // Import's answer for a profile made for another kind of device.
    static constexpr int kOtherKind = -1;

    // `folder` holds the list and the profiles; `defaultFile` is the profile new and reset
    // profiles start from.
    void SetPaths(std::string folder, std::string defaultFile);
    void SetDeviceKind(int kind) { kind_ = kind; }

    // Reads the list. When it is missing, damaged or holds no profile, it is made again
    // from the profile files in the folder; without any, a first profile is created from
    // the default file (and listed even when it cannot be written).
    int Load();

    // The profile files in `folder`, listed or not, in the order they were made.
    static std::vector<ProfileEntry> ProfilesIn(const std::string& folder);
    static std::string ProfilePathIn(const std::string& folder, const std::string& uuid);

    const std::vector<ProfileEntry>& Entries() const { return list_.entries; }
    int SelectedIndex() const { return list_.entries.empty() ? -1 : list_.selected; }
    // Empty when there is no profile.
    std::string SelectedUuid() const;
    std::string ProfilePath(const std::string& uuid) const;
    // "Profile" + the lowest number no profile is called yet.
    std::string NextDefaultName() const;

    int Select(int index);
    int Add(const std::string& name);
    // Removes the selected profile and its file; the last profile is never removed.
    int Delete();
    int Copy(const std::string& name);
    int Rename(const std::string& name);
    // The file must be a JSON object holding the strings "profilename" and "profileUUID",
    // and no settings of another kind of device (kOtherKind, nothing taken). It is stored
    // under a new id (a file's id may clash or be no usable file name).
    int Import(const std::string& path);
    int Export(const std::string& path) const;
    // The selected profile starts again from the default file, keeping its name and id;
    // a headset keeps its own custom equaliser presets.
    int Reset();

  private:
    static constexpr std::string_view kExtension = ".Json";

    int CreateFirstProfile();
    std::string NewId() const;
    Json::Value DefaultDocument() const;
    int WriteProfile(const std::string& uuid, const std::string& name, Json::Value document);
    int AppendAndSelect(const ProfileEntry& entry);
    int SaveList() const;
    // Saves the list; when that fails the list in memory goes back to `before` (0).
    int SaveListOrRestore(const ProfileListFile& before);
    std::string ListPath() const;

    std::string folder_;
    std::string defaultFile_;
    int kind_ = 0;
    ProfileListFile list_;
};
