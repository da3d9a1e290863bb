#include "profile/keyboard_profiledata.h"

#include <algorithm>
#include <cstring>

#include "profile/json_edit.h"
#include "profile/json_value.h"

namespace {

Json::Value ColourObject(uint32_t colour) {
    Json::Value entry(Json::objectValue);
    entry["Red"] = colour & 0xFF;
    entry["Green"] = (colour >> 8) & 0xFF;
    entry["Blue"] = (colour >> 16) & 0xFF;
    entry["Alpha"] = (colour >> 24) & 0xFF;
    return entry;
}

uint32_t ColourOf(const Json::Value& entry) {
    return static_cast<uint32_t>(LowByte(entry, "Red")) |
           static_cast<uint32_t>(LowByte(entry, "Green")) << 8 |
           static_cast<uint32_t>(LowByte(entry, "Blue")) << 16 |
           static_cast<uint32_t>(LowByte(entry, "Alpha")) << 24;
}

bool IsGroup(int group) {
    return group >= 0 && group < CKeyboardProfiledata::kMaxCustomLightGroups;
}

}  // namespace

void CKeyboardProfiledata::SetSystemStages(KeyboardSystemStages stages) {
    systemStages_ = stages;
    Json::Value& node = ObjectMember(Section(), "SystemStages");
    ObjectMember(node, "Repeat") = stages.repeat;
    ObjectMember(node, "RepeatDelay") = stages.repeatDelay;
    ObjectMember(node, "Key6Flag") = stages.key6Flag;
    ObjectMember(node, "PollingRate") = stages.pollingRate;
    ObjectMember(node, "WFlag") = stages.wFlag;
    ObjectMember(node, "WinFlag") = stages.winFlag;
}

KeyboardSystemStages CKeyboardProfiledata::GetSystemStages() {
    const Json::Value& node = MemberOrNull(Section(), "SystemStages");
    systemStages_ = {Low16(node, "Repeat"),   Low16(node, "RepeatDelay"),
                     Low16(node, "Key6Flag"), Low16(node, "PollingRate"),
                     Low16(node, "WFlag"),    Low16(node, "WinFlag")};
    return systemStages_;
}

bool CKeyboardProfiledata::SetCustomLightGroup(std::vector<uint32_t> colours, int group) {
    if (!IsGroup(group) || colours.size() > static_cast<size_t>(kMaxCustomLightLeds))
        return false;
    Json::Value& groups =
        ObjectMember(ObjectMember(Section(), "CustomLightMode"), "LightColorInfo");
    Json::Value& row = ArrayElement(groups, static_cast<Json::ArrayIndex>(group));
    for (size_t i = 0; i < colours.size(); ++i)
        ArrayElement(row, static_cast<Json::ArrayIndex>(i)) = ColourObject(colours[i]);
    customColours_ = std::move(colours);
    return true;
}

std::vector<uint32_t> CKeyboardProfiledata::GetCustomLightGroup(int group, int count) {
    const int leds = std::clamp(count, 0, kMaxCustomLightLeds);
    std::vector<uint32_t> colours;
    colours.reserve(static_cast<size_t>(leds));
    if (!IsGroup(group) || leds != count) {
        colours.assign(static_cast<size_t>(leds), 0);
        customColours_ = colours;
        return colours;
    }
    Json::Value& groups =
        ObjectMember(ObjectMember(Section(), "CustomLightMode"), "LightColorInfo");
    Json::Value& row = ArrayElement(groups, static_cast<Json::ArrayIndex>(group));
    for (int i = 0; i < leds; ++i) {
        Json::Value& entry = ArrayElement(row, static_cast<Json::ArrayIndex>(i));
        if (!entry.isObject())
            entry = ColourObject(0);
        colours.push_back(ColourOf(entry));
    }
    customColours_ = colours;
    return colours;
}

void CKeyboardProfiledata::SetCustomLightGroupIndex(int group) {
    customGroupIndex_ = group;
    ObjectMember(ObjectMember(Section(), "CustomLightMode"), "CustomLightModeGroupIndex") = group;
}

int CKeyboardProfiledata::GetCustomLightGroupIndex() {
    const Json::Value& mode = MemberOrNull(Section(), "CustomLightMode");
    customGroupIndex_ = JsonIntOr(mode, "CustomLightModeGroupIndex", 0);
    return customGroupIndex_;
}

void ZeroBytes(uint8_t* buffer, unsigned count) {
    if (buffer != nullptr)
        std::memset(buffer, 0, count);
}
