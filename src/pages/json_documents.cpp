#include "pages/json_documents.h"

#include "duilib/string_utils.h"
#include "profile/json_file.h"

Json::Value LoadJsonDocument(const std::string& path, FileRole role) {
    CJsonFile json;
    const DuiLib::CDuiString file = Utf8ToDuiString(path);
    return role == FileRole::Imported ? json.ParseChosenFile(file) : json.LoadJsonFile(file);
}

bool SaveJsonDocument(const std::string& path, const Json::Value& document) {
    CJsonFile json;
    return json.SaveJsonFile(Utf8ToDuiString(path), document);
}
