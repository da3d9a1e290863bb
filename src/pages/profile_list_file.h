#pragma once
// "ProfileList.ini": the profiles of one device kind, in display order, and the selected
// one. A JSON document {"ProfileList": [{"profilename", "profileUUID"}], "SelectIndex"}.

#include <string>
#include <vector>

struct ProfileEntry {
    std::string name;  // UTF-8
    std::string uuid;  // also the profile file's name
};

class ProfileListFile {
  public:
    static constexpr const char* kFileName = "ProfileList.ini";

    // Reads the list. Entries without a usable id (missing, unsafe as a file name or
    // repeated) are dropped; a selection outside the list becomes 0. False when the file is
    // missing or not a list document (the list is then empty).
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;

    std::vector<ProfileEntry> entries;
    int selected = 0;
};
