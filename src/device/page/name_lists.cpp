#include "device/page/name_lists.h"

#include <json/json.h>

#include "profile/json_file.h"
#include "profile/json_value.h"

namespace device {

namespace {

using DuiLib::CDuiString;

// document[key][index] when it is an array; null otherwise.
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

// The names of `entries`; nothing changes when there are no entries to read.
void ReadNames(const Json::Value* entries, const char* key, std::vector<CDuiString>& names) {
    if (!entries) {
        return;
    }
    names.clear();
    for (const Json::Value& entry : *entries) {
        names.push_back(NameOf(entry, key));
    }
}

int VisibleFlag(const Json::Value& entry) {
    const Json::Value* flag = JsonMember(entry, "visible");
    if (!flag) {
        return 0;
    }
    if (flag->isBool()) {
        return flag->asBool() ? 1 : 0;
    }
    return flag->isNumeric() && flag->asDouble() != 0 ? 1 : 0;
}

void ReadDefaultLights(const Json::Value& document, int index, PageNameLists& lists) {
    if (const Json::Value* modes = DeviceElement(document, "DefaultLightName", index)) {
        ReadNames(modes, "LightName", lists.defaultLightNames);
        lists.defaultLightVisible.clear();
        for (const Json::Value& mode : *modes) {
            lists.defaultLightVisible.push_back(VisibleFlag(mode));
        }
    }
    ReadNames(DeviceElement(document, "AreaLightName", index), "LightName", lists.areaLightNames);
}

}  // namespace

void ReadPageNameLists(const PageNameSources& sources, PageNameLists& lists) {
    CJsonFile files;
    const Json::Value macros = files.LoadJsonFile(sources.userFolder + sources.macroListName);
    const Json::Value* macroList = JsonMember(macros, "MacroInfo");
    lists.macroNames.clear();
    if (macroList && macroList->isArray()) {
        ReadNames(macroList, "MacroName", lists.macroNames);
    }

    ReadDefaultLights(files.LoadJsonFile(sources.defaultFolder + kDefaultLightFileName),
                      sources.deviceIndex, lists);

    const Json::Value config = files.LoadJsonFile(sources.userFolder + kLightConfigFileName);
    ReadNames(DeviceElement(config, "LightInfo", sources.deviceIndex), "LightName",
              lists.customLightNames);
}

}  // namespace device
