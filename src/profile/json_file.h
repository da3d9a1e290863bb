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
    // Writes the styled text atomically: a failed save leaves the old file whole. An
    // existing file that does not parse is first kept beside as "<name>.corrupt".
    bool SaveJsonFile(const DuiLib::CDuiString& path, const Json::Value& value);
    // The parsed document, or a null value for a missing, empty or unparseable file.
    Json::Value LoadJsonFile(const DuiLib::CDuiString& path);
};

// The styled writer's text of `value` (three-space indentation).
std::string StyledJsonText(const Json::Value& value);
// Parses `text` the way LoadJsonFile does (comments collected); false on a syntax error.
bool ParseJsonText(const std::string& text, Json::Value* root);
