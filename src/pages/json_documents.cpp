#include "pages/json_documents.h"

#include "duilib/string_utils.h"
#include "profile/json_file.h"

Json::Value LoadJsonDocument(const std::string& path) {
    CJsonFile json;
    return json.LoadJsonFile(Utf8ToDuiString(path));
}

bool SaveJsonDocument(const std::string& path, const Json::Value& document) {
    CJsonFile json;
    return json.SaveJsonFile(Utf8ToDuiString(path), document);
}
