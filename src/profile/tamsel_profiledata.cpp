#include "profile/tamsel_profiledata.h"

#include <algorithm>

#include "duilib/string_utils.h"
#include "profile/json_edit.h"
#include "profile/json_value.h"

namespace {

constexpr auto kBands = static_cast<Json::ArrayIndex>(CTamselProfiledata::kEqBandCount);

Json::Value BandObject(int32_t value) {
    Json::Value band(Json::objectValue);
    band["value"] = value;
    return band;
}

// A row the file lacks (or holds as something other than an array) is created with ten
// zero bands; a present row is only read.
std::vector<int32_t> ReadBandRow(Json::Value& row) {
    std::vector<int32_t> bands;
    bands.reserve(kBands);
    if (!row.isArray()) {
        row = Json::Value(Json::arrayValue);
        for (Json::ArrayIndex b = 0; b < kBands; ++b) {
            row[b] = BandObject(0);
            bands.push_back(0);
        }
        return bands;
    }
    for (Json::ArrayIndex b = 0; b < kBands; ++b)
        bands.push_back(JsonIntOr(ElementOrNull(row, b), "value", 0));
    return bands;
}

void WriteBandRow(Json::Value& row, const std::vector<int32_t>& bands) {
    const size_t count = std::min(bands.size(), static_cast<size_t>(kBands));
    for (size_t b = 0; b < count; ++b)
        ObjectMember(ArrayElement(row, static_cast<Json::ArrayIndex>(b)), "value") = bands[b];
}

bool IsCustomIndex(int index) {
    return index >= 0 && index < CTamselProfiledata::kMaxCustomEqSettings;
}

}  // namespace

int EqPresetRow(int preset) {
    if (preset == CTamselProfiledata::kCustomEqPreset)
        return -1;
    return preset >= 1 && preset <= 12 ? preset : 1;
}

void CTamselProfiledata::SetSystemSetStages(int32_t magicEnable, int32_t magicType, int32_t eqType,
                                            int32_t customEqSelectIndex, int32_t micInSelect,
                                            int32_t micInValue, int32_t micMonitorSelect,
                                            int32_t micMonitorValue) {
    Json::Value& node = ObjectMember(Section(), "SystemSetStages");
    ObjectMember(node, "MagicEnable") = magicEnable;
    ObjectMember(node, "MagicType") = magicType;
    ObjectMember(node, "EqType") = eqType;
    ObjectMember(node, "CustomEqSeletIndex") = customEqSelectIndex;
    ObjectMember(node, "MicInSelect") = micInSelect;
    ObjectMember(node, "MicInValue") = micInValue;
    ObjectMember(node, "MicMoniterSelect") = micMonitorSelect;
    ObjectMember(node, "MicMoniterValue") = micMonitorValue;
    systemSetStages_ = {magicEnable, magicType,  eqType,           customEqSelectIndex,
                        micInSelect, micInValue, micMonitorSelect, micMonitorValue};
}

TamselSystemSetStages CTamselProfiledata::GetSystemSetStages() {
    const Json::Value& node = MemberOrNull(Section(), "SystemSetStages");
    systemSetStages_ = {
        JsonIntOr(node, "MagicEnable", 0),      JsonIntOr(node, "MagicType", 0),
        JsonIntOr(node, "EqType", 0),           JsonIntOr(node, "CustomEqSeletIndex", 0),
        JsonIntOr(node, "MicInSelect", 0),      JsonIntOr(node, "MicInValue", 0),
        JsonIntOr(node, "MicMoniterSelect", 0), JsonIntOr(node, "MicMoniterValue", 0)};
    return systemSetStages_;
}

void CTamselProfiledata::SetEqPresetBands(int preset, std::vector<int32_t> bands) {
    const int row = EqPresetRow(preset);
    if (row < 0)
        return;
    Json::Value& rows = ObjectMember(Section(), "EQHzValueInfo");
    WriteBandRow(ArrayElement(rows, static_cast<Json::ArrayIndex>(row)), bands);
}

std::vector<int32_t> CTamselProfiledata::GetEqPresetBands(int preset) {
    const int row = EqPresetRow(preset);
    if (row < 0)
        return {};
    Json::Value& rows = ObjectMember(Section(), "EQHzValueInfo");
    return ReadBandRow(ArrayElement(rows, static_cast<Json::ArrayIndex>(row)));
}

void CTamselProfiledata::SetCustomEqNames(std::vector<DuiLib::CDuiString> names) {
    Json::Value list(Json::arrayValue);
    for (const auto& name : names) {
        Json::Value entry(Json::objectValue);
        entry["Name"] = DuiStringToUtf8(name.GetData());
        list.append(entry);
    }
    ObjectMember(Section(), "CustomEQNameInfo") = list;
}

std::vector<DuiLib::CDuiString> CTamselProfiledata::GetCustomEqNames() {
    const Json::Value& list = MemberOrNull(Section(), "CustomEQNameInfo");
    std::vector<DuiLib::CDuiString> names;
    for (Json::ArrayIndex i = 0; i < ArraySize(list); ++i)
        names.push_back(Utf8ToDuiString(JsonStringOr(list[i], "Name", "")));
    return names;
}

bool CTamselProfiledata::SetCustomEqBands(int index, std::vector<int32_t> bands) {
    if (!IsCustomIndex(index))
        return false;
    Json::Value& rows = ObjectMember(Section(), "CustomEQHzValueInfo");
    WriteBandRow(ArrayElement(rows, static_cast<Json::ArrayIndex>(index)), bands);
    return true;
}

std::vector<int32_t> CTamselProfiledata::GetCustomEqBands(int index) {
    // A stored selection past the list names no setting: reading it must not grow the
    // list with empty rows that the next save would keep.
    const Json::ArrayIndex stored = ArraySize(MemberOrNull(Section(), "CustomEQHzValueInfo"));
    if (!IsCustomIndex(index) || static_cast<Json::ArrayIndex>(index) >= stored)
        return std::vector<int32_t>(kBands, 0);
    Json::Value& rows = ObjectMember(Section(), "CustomEQHzValueInfo");
    return ReadBandRow(ArrayElement(rows, static_cast<Json::ArrayIndex>(index)));
}
