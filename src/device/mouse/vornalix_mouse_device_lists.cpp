// The name lists the mouse's pages show: macros, light modes, area modes and custom
// lights, each rebuilt from its document whenever the pages are refreshed.

#include "device/mouse/vornalix_mouse_device.h"
#include "profile/json_file.h"
#include "profile/json_value.h"

namespace {

// Row `index` of the array `key` of `document`: an array, or null.
const Json::Value* DeviceRow(const Json::Value& document, const char* key, int index) {
    const Json::Value* rows = JsonMember(document, key);
    if (rows == nullptr || !rows->isArray() || index < 0 ||
        static_cast<Json::ArrayIndex>(index) >= rows->size()) {
        return nullptr;
    }
    const Json::Value& row = (*rows)[static_cast<Json::ArrayIndex>(index)];
    return row.isArray() ? &row : nullptr;
}

void AppendNames(const Json::Value* list, const char* field, std::vector<DuiLib::CDuiString>& names,
                 std::vector<int>* visible = nullptr) {
    if (list == nullptr || !list->isArray()) {
        return;
    }
    for (const Json::Value& entry : *list) {
        names.push_back(DuiLib::CDuiString::FromUtf8(JsonStringOr(entry, field, "")));
        if (visible != nullptr) {
            // The document writes the flag as true or false; a number counts as well.
            visible->push_back(
                JsonBoolOr(entry, "visible", JsonIntOr(entry, "visible", 0) != 0) ? 1 : 0);
        }
    }
}

}  // namespace

void CVornalixMouseDevice::LoadMacroAndLightLists() {
    for (std::vector<DuiLib::CDuiString>& list : nameLists_) {
        list.clear();
    }
    lightModeVisible_.clear();
    CJsonFile file;
    const DuiLib::CDuiString userFolder = GetUserDataPath();
    const Json::Value macros = file.LoadJsonFile(userFolder + L"macro.config");
    AppendNames(JsonMember(macros, "MacroInfo"), "MacroName", nameLists_[0]);
    const Json::Value defaults = file.LoadJsonFile(GetDefaultDataPath() + L"default_light.json");
    const int index = GetDeviceIndex();
    AppendNames(DeviceRow(defaults, "DefaultLightName", index), "LightName", nameLists_[1],
                &lightModeVisible_);
    AppendNames(DeviceRow(defaults, "AreaLightName", index), "LightName", nameLists_[2]);
    const Json::Value lights = file.LoadJsonFile(userFolder + L"zentu_light.config");
    AppendNames(DeviceRow(lights, "LightInfo", index), "LightName", nameLists_[3]);
}
