#include "update/language_list.h"

#include "platform/file_io.h"
#include "platform/json_text.h"
#include "platform/text_convert.h"

namespace {

std::wstring StringField(const Json::Value& entry, const char* key) {
    const Json::Value& value = entry[key];
    return value.isString() ? platform::Utf8Decode(value.asString()) : std::wstring();
}

}  // namespace

std::vector<LanguageEntry> ParseLanguageList(const Json::Value& document) {
    std::vector<LanguageEntry> list;
    if (!document.isObject() || !document["Language"].isArray()) {
        return list;
    }
    for (const Json::Value& entry : document["Language"]) {
        LanguageEntry language;
        if (entry.isObject()) {
            language.name = StringField(entry, "Language_name");
            language.file = StringField(entry, "Language_file");
            language.text = StringField(entry, "Language_text");
            const Json::Value& id = entry["Language_ID"];
            // isIntegral() also holds for ids beyond 64 signed bits, which asInt64() throws on.
            language.id = id.isInt64() ? id.asInt64() : 0;
        }
        list.push_back(std::move(language));
    }
    return list;
}

std::vector<LanguageEntry> LoadLanguageList(const std::string& defaultDataFolder) {
    auto text = platform::ReadWholeFile(defaultDataFolder + kLanguageConfigFile);
    if (!text) {
        return {};
    }
    Json::Value document;
    if (!platform::ParseJsonText(*text, &document)) {
        return {};
    }
    return ParseLanguageList(document);
}

std::optional<int> FindLanguageIndexById(const std::vector<LanguageEntry>& list, int64_t id) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}
