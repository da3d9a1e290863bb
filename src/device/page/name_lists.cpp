#include "device/page/name_lists.h"

#include <json/json.h>

#include "profile/json_file.h"
#include "profile/json_value.h"

namespace device {

namespace {

using DuiLib::CDuiString;

// documents[key][index] when it is an array; null otherwise.
const Json::Value* DeviceElement(const Json::Value& document, const char* key, int index) {
    const Json::Value* list = JsonMember(document, key);
    if (!list || !list->isArray() || index < 0 ||
        static_cast<Json::ArrayIndex>(index) >= list->size()) {
        return nullptr;
    }
    const Json::Value& element = (*list)[static_cast<Json::ArrayIndex>(index)];
    return element.isArray() ? &element : nullptr;
}

CDuiString NameOf(const Json::Value& entry, const char* key) {
    return CDuiString::FromUtf8(JsonStringOr(entry, key, std::string()));
}

std::vector<CDuiString> NamesOf(const Json::Value* entries, const char* key) {
    std::vector<CDuiString> names;
    if (!entries || !entries->isArray()) {
        return names;
    }
    for (const Json::Value& entry : *entries) {
        names.push_back(NameOf(entry, key));
    }
    return names;
}

void ReadDefaultLights(const Json::Value& document, int index, PageNameLists& lists) {
    if (const Json::Value* modes = DeviceElement(document, "DefaultLightName", index)) {
        for (const Json::Value& mode : *modes) {
            lists.defaultLightNames.push_back(NameOf(mode, "LightName"));
            lists.defaultLightVisible.push_back(JsonBoolOr(mode, "visible", false) ? 1 : 0);
        }
    }
    lists.areaLightNames = NamesOf(DeviceElement(document, "AreaLightName", index), "LightName");
}

}  // namespace

PageNameLists ReadPageNameLists(const PageNameSources& sources) {
    CJsonFile files;
    PageNameLists lists;
    const Json::Value macros = files.LoadJsonFile(sources.userFolder + sources.macroListName);
    lists.macroNames = NamesOf(JsonMember(macros, "MacroInfo"), "MacroName");

    ReadDefaultLights(files.LoadJsonFile(sources.defaultFolder + kDefaultLightFileName),
                      sources.deviceIndex, lists);

    const Json::Value config = files.LoadJsonFile(sources.userFolder + kLightConfigFileName);
    lists.customLightNames =
        NamesOf(DeviceElement(config, "LightInfo", sources.deviceIndex), "LightName");
    return lists;
}

}  // namespace device
