#pragma once
// Profile documents in a private folder for the stored-settings tests.

#include <json/json.h>

#include <string>

#include "duilib/string_utils.h"
#include "platform/json_text.h"
#include "profile/json_file.h"
#include "support/temp_dir.h"

class ProfileFiles {
  public:
    DuiLib::CDuiString Path(const std::string& name) const {
        return Utf8ToDuiString(dir_.File(name));
    }
    void Write(const std::string& name, const Json::Value& value) {
        json_.SaveJsonFile(Path(name), value);
    }
    void WriteText(const std::string& name, const std::string& text) {
        testing_support::WriteTextFile(dir_.File(name), text);
    }
    Json::Value Read(const std::string& name) { return json_.LoadJsonFile(Path(name)); }
    std::string ReadText(const std::string& name) const {
        return testing_support::ReadTextFile(dir_.File(name));
    }
    static Json::Value Parse(const std::string& text) {
        Json::Value value;
        platform::ParseJsonText(text, &value);
        return value;
    }

  private:
    testing_support::TempDir dir_;
    CJsonFile json_;
};

// Loads a record of type T whose element of "Device" at `index` is `section`, from a
// profile file named "p.Json"; Save writes back to that file.
template <typename T>
void LoadSection(ProfileFiles& files, T& record, const Json::Value& section, int index = 0) {
    Json::Value document;
    document["Device"][index] = section;
    files.Write("p.Json", document);
    record.SetDeviceIndex(index);
    record.SetProfilePath(files.Path("p.Json"));
    record.Load(files.Path("p.Json"));
}

// The element this device saved.
inline Json::Value SavedSection(ProfileFiles& files, int index = 0) {
    return files.Read("p.Json")["Device"][index];
}
