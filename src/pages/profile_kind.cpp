#include "pages/profile_kind.h"

#include <algorithm>
#include <initializer_list>

#include "profile/json_value.h"

namespace {

constexpr int kKeyboard = 1;
constexpr int kMouse = 2;
constexpr int kOtherMouse = 6;
constexpr int kMousePad = 3;
constexpr int kHeadset = 7;

bool HasAny(const Json::Value& object, std::initializer_list<const char*> keys) {
    return std::any_of(keys.begin(), keys.end(),
                       [&](const char* key) { return JsonMember(object, key) != nullptr; });
}

// "SystemStages" is the keyboard's key repeat or the mouse's pointer settings.
int SystemStagesKind(const Json::Value& section) {
    const Json::Value* stages = JsonMember(section, "SystemStages");
    if (stages == nullptr || !stages->isObject()) {
        return 0;
    }
    if (HasAny(*stages, {"Repeat", "RepeatDelay", "Key6Flag", "WFlag", "WinFlag"})) {
        return kKeyboard;
    }
    if (HasAny(*stages, {"DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage",
                         "WheelScorlllinse"})) {
        return kMouse;
    }
    return 0;
}

}  // namespace

int ProfileDocumentKind(const Json::Value& document) {
    const Json::Value* devices = JsonMember(document, "Device");
    if (devices == nullptr || !devices->isArray() || devices->empty() ||
        !(*devices)[0].isObject()) {
        return 0;
    }
    // Every kind keeps its settings in the first element of its own profiles.
    const Json::Value& section = (*devices)[0];
    if (HasAny(section,
               {"SystemSetStages", "EQHzValueInfo", "CustomEQNameInfo", "CustomEQHzValueInfo"})) {
        return kHeadset;
    }
    if (HasAny(section, {"DPIStages", "ReportStages", "CorrectInfo"})) {
        return kMouse;
    }
    if (HasAny(section, {"CustomLightMode"})) {
        return kKeyboard;
    }
    if (const int kind = SystemStagesKind(section)) {
        return kind;
    }
    // Only the keyboard and the mice assign keys; the pad keeps lighting alone.
    if (HasAny(section, {"KeyList"})) {
        return 0;
    }
    return HasAny(section, {"LightInfo", "LightList"}) ? kMousePad : 0;
}

bool SuitsDeviceKind(const Json::Value& document, int kind) {
    const int found = ProfileDocumentKind(document);
    return found == 0 || found == kind || (found == kMouse && kind == kOtherMouse);
}
