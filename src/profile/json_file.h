#pragma once
// Every JSON document of the program is read and written through CJsonFile.

#include <json/json.h>

#include <string>

#include "duilib/dui_string.h"

class CJsonFile {
  public:
    // Local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d"; names new profiles and macros.
    std::string MakeTimestampName();
    // The file's bytes up to the first NUL, or empty when it cannot be read whole.
    std::string ReadJsonFile(const DuiLib::CDuiString& path);
    // Writes the stored text (UTF-8, three-space indentation) atomically: a failed save
    // leaves the old file whole, and the user is told. An existing file that does not
    // parse is first kept beside (as "<name>.corrupt", never over an earlier copy); when
    // it cannot be kept, it is not replaced either.
    bool SaveJsonFile(const DuiLib::CDuiString& path, const Json::Value& value);
    // One of the program's stored files: the parsed document, or a null value for a
    // missing, empty or unparseable file (however deeply nested). One that does not parse
    // is kept beside as SaveJsonFile keeps it, and the user is told, once.
    Json::Value LoadJsonFile(const DuiLib::CDuiString& path);
    // A file the user chose to import: the parsed document or a null value. It is not ours
    // to set aside, and the importer says why it is refused.
    Json::Value ParseChosenFile(const DuiLib::CDuiString& path);

  private:
    Json::Value Parse(const DuiLib::CDuiString& path, bool* damaged);
};
