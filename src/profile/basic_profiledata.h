#pragma once
// The stored settings of one device: its element of the profile file's "Device" array,
// kept in memory, read through typed getters and changed by setters. Nothing reaches the
// file until Save, which rereads the file and replaces only this device's element, so
// the profile's name, id and the other devices' sections stay as they are.
//
// A plain object owned by its device object: no UI, no device I/O, no lock; every file
// goes through CJsonFile. Values read from the files are untrusted: wrong types read as
// absent, indexes are bounded, file names made from stored ids are checked.

#include <json/json.h>

#include <string>
#include <vector>

#include "duilib/dui_string.h"
#include "profile/json_file.h"
#include "profile/key_function_record.h"
#include "profile/light_record.h"

class CBasicProfiledata {
  public:
    // Device indexes the profile files use are 0 to 3; the bound keeps a wrong index from
    // growing "Device" without limit.
    static constexpr int kMaxDeviceIndex = 63;

    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = default;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

    // An empty path keeps the previous one.
    void SetProfilePath(DuiLib::CDuiString path);
    DuiLib::CDuiString GetProfilePath() const { return profilePath_; }
    void SetDefaultProfilePath(DuiLib::CDuiString path);
    DuiLib::CDuiString GetDefaultProfilePath() const { return defaultProfilePath_; }
    // False, the index unchanged, outside 0..kMaxDeviceIndex.
    bool SetDeviceIndex(int index);
    int GetDeviceIndex() const { return deviceIndex_; }

    // Reads this device's element of the file at `path`. When the file has none (or is
    // missing), the element of the default profile is taken and written into the file;
    // an element that lacks sections or places the default has takes them from it
    // (CompleteSection) and keeps them at the next save. Returns a copy of the element
    // (null when neither file has one).
    Json::Value Load(DuiLib::CDuiString path);
    // Writes the in-memory element into the profile file. False when nothing was written.
    virtual bool Save();
    virtual bool SaveDeviceSection(Json::Value value, DuiLib::CDuiString path);
    virtual bool SaveWhole(Json::Value value, DuiLib::CDuiString path);

    LightRecord GetLightInfo();
    void SetLightInfo(LightRecord record);
    std::vector<LightRecord> GetLightList();
    std::vector<KeyAssignRecord> GetKeyList();
    // Sets "Assignment" of the first records.size() entries of "KeyList"; the defaults
    // and later entries stay.
    void SetKeyList(std::vector<KeyAssignRecord> records);

    void SetLightConfigPath(DuiLib::CDuiString path) { lightConfigPath_ = std::move(path); }
    DuiLib::CDuiString GetLightConfigPath() const { return lightConfigPath_; }
    Json::Value LoadLightConfig(DuiLib::CDuiString path);
    // The steps of custom light `entry` of list `list` ("LightInfo"[list] of the light
    // configuration document: the list of the device index its page names custom lights
    // from); none for a negative entry or one the document lacks.
    std::vector<LedEffectRecord> LoadCustomLightEffects(int list, int entry);

  protected:
    Json::Value& Section() { return deviceSection_; }
    const Json::Value& Section() const { return deviceSection_; }
    // The file a custom light's id names: beside the light configuration document. Empty
    // for an id that could name a file elsewhere.
    DuiLib::CDuiString CustomLightFilePath(const std::string& id) const;

  private:
    // Puts `section` at "Device"[device index] of `document`. A document of the wrong
    // shape is kept beside as "<path>.corrupt" before its wrong part is replaced; false,
    // and nothing changed, when it cannot be kept.
    bool StoreSection(const DuiLib::CDuiString& path, Json::Value& document,
                      const Json::Value& section);
    Json::Value SectionOf(const Json::Value& document) const;

    DuiLib::CDuiString profilePath_;
    DuiLib::CDuiString defaultProfilePath_;
    std::vector<LightRecord> lightList_;
    Json::Value deviceSection_;
    CJsonFile jsonFile_;
    DuiLib::CDuiString lightConfigPath_;
    std::vector<LedEffectRecord> ledEffects_;
    Json::Value lightConfig_;
    std::vector<KeyAssignRecord> keyAssignments_;
    int deviceIndex_ = 0;
};
