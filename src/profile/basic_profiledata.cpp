#include "profile/basic_profiledata.h"

#include <limits>

#include "duilib/string_utils.h"
#include "platform/debug_trace.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "profile/json_edit.h"
#include "profile/json_value.h"
#include "profile/section_completion.h"
#include "profile/stored_file_id.h"

namespace {

using DuiLib::CDuiString;

// "Device" may be absent (null) or an array; anything else cannot hold device elements.
bool HasProfileShape(const Json::Value& document) {
    if (document.isNull())
        return true;
    if (!document.isObject())
        return false;
    const Json::Value& devices = MemberOrNull(document, "Device");
    return devices.isNull() || devices.isArray();
}

// Ids of key positions are 16 bits wide.
constexpr Json::ArrayIndex kMaxKeyPositions = std::numeric_limits<uint16_t>::max() + 1u;

}  // namespace

void CBasicProfiledata::SetProfilePath(CDuiString path) {
    if (!path.IsEmpty())
        profilePath_ = std::move(path);
}

void CBasicProfiledata::SetDefaultProfilePath(CDuiString path) {
    if (!path.IsEmpty())
        defaultProfilePath_ = std::move(path);
}

bool CBasicProfiledata::SetDeviceIndex(int index) {
    if (index < 0 || index > kMaxDeviceIndex)
        return false;
    deviceIndex_ = index;
    return true;
}

Json::Value CBasicProfiledata::SectionOf(const Json::Value& document) const {
    const Json::Value& section = ElementOrNull(MemberOrNull(document, "Device"),
                                               static_cast<Json::ArrayIndex>(deviceIndex_));
    // An element that is not an object holds no settings of ours.
    return section.isObject() ? section : Json::Value();
}

bool CBasicProfiledata::StoreSection(const CDuiString& path, Json::Value& document,
                                     const Json::Value& section) {
    // It parsed, so it may be someone's data: keep it before the wrong-kind value is
    // replaced. The rest of an object document stays.
    if (!HasProfileShape(document)) {
        const std::string file = platform::NormalizePath(DuiStringToUtf8(path.GetData()));
        const auto bytes = platform::ReadWholeFile(file);
        if (bytes && !platform::SetDamagedFileAside(file, *bytes, "not a profile document"))
            return false;
    }
    ArrayElement(ObjectMember(document, "Device"), static_cast<Json::ArrayIndex>(deviceIndex_)) =
        section;
    return true;
}

Json::Value CBasicProfiledata::Load(CDuiString path) {
    Json::Value document = path.IsEmpty() ? Json::Value() : jsonFile_.LoadJsonFile(path);
    deviceSection_ = SectionOf(document);
    if (path == defaultProfilePath_)
        return deviceSection_;  // the default itself: nothing to take from it
    const Json::Value defaults = SectionOf(jsonFile_.LoadJsonFile(defaultProfilePath_));
    if (!deviceSection_.isNull()) {
        // An older profile takes what its kind's default now ships; the next save keeps it.
        CompleteSection(deviceSection_, defaults);
        return deviceSection_;
    }
    deviceSection_ = defaults;
    // With no default either there is nothing to store; the file stays as it was.
    if (!deviceSection_.isNull() && !path.IsEmpty()) {
        if (StoreSection(path, document, deviceSection_))
            jsonFile_.SaveJsonFile(path, document);
    }
    return deviceSection_;
}

bool CBasicProfiledata::Save() {
    return SaveDeviceSection(deviceSection_, profilePath_);
}

bool CBasicProfiledata::SaveDeviceSection(Json::Value value, CDuiString path) {
    if (path.IsEmpty())
        return false;
    Json::Value document = jsonFile_.LoadJsonFile(path);
    return StoreSection(path, document, value) && jsonFile_.SaveJsonFile(path, document);
}

bool CBasicProfiledata::SaveWhole(Json::Value value, CDuiString path) {
    if (path.IsEmpty())
        return false;
    return jsonFile_.SaveJsonFile(path, value);
}

LightRecord CBasicProfiledata::GetLightInfo() {
    return LightRecordFromLightInfo(MemberOrNull(deviceSection_, "LightInfo"));
}

void CBasicProfiledata::SetLightInfo(LightRecord record) {
    ObjectMember(deviceSection_, "LightInfo") = LightInfoFromLightRecord(record);
}

std::vector<LightRecord> CBasicProfiledata::GetLightList() {
    const Json::Value& list = MemberOrNull(deviceSection_, "LightList");
    const Json::ArrayIndex count = ArraySize(list);
    lightList_.assign(count, LightRecord{});
    ReadLightListRecords(list, &lightList_, static_cast<int>(count));
    return lightList_;
}

std::vector<KeyAssignRecord> CBasicProfiledata::GetKeyList() {
    const Json::Value& list = MemberOrNull(deviceSection_, "KeyList");
    const Json::ArrayIndex count = std::min(ArraySize(list), kMaxKeyPositions);
    std::vector<KeyAssignRecord> records;
    records.reserve(count);
    for (Json::ArrayIndex i = 0; i < count; ++i) {
        const Json::Value& entry = list[i];
        const auto id = static_cast<uint16_t>(i);
        records.push_back({UnpackKeyFunction(id, JsonIntOr(entry, "Assignment", 0)),
                           UnpackKeyFunction(id, JsonIntOr(entry, "DefaultAssignment", 0))});
    }
    keyAssignments_ = records;
    return records;
}

void CBasicProfiledata::SetKeyList(std::vector<KeyAssignRecord> records) {
    Json::Value& list = ObjectMember(deviceSection_, "KeyList");
    for (size_t i = 0; i < records.size(); ++i) {
        Json::Value& entry = ArrayElement(list, static_cast<Json::ArrayIndex>(i));
        ObjectMember(entry, "Assignment") = PackKeyFunction(records[i].current);
    }
    keyAssignments_ = std::move(records);
}

Json::Value CBasicProfiledata::LoadLightConfig(CDuiString path) {
    lightConfig_ = path.IsEmpty() ? Json::Value() : jsonFile_.LoadJsonFile(path);
    return lightConfig_;
}

CDuiString CBasicProfiledata::CustomLightFilePath(const std::string& id) const {
    return CDuiString(StoredFilePath(FolderOfPath(lightConfigPath_.view()), id, L".light"));
}

std::vector<LedEffectRecord> CBasicProfiledata::LoadCustomLightEffects(int list, int entry) {
    ledEffects_.clear();
    if (lightConfig_.isNull() || list < 0 || entry < 0)
        return ledEffects_;
    const Json::Value& lights =
        ElementOrNull(MemberOrNull(lightConfig_, "LightInfo"), static_cast<Json::ArrayIndex>(list));
    const std::string id =
        JsonStringOr(ElementOrNull(lights, static_cast<Json::ArrayIndex>(entry)), "Guid", "");
    const CDuiString path = CustomLightFilePath(id);
    if (path.IsEmpty()) {
        if (!id.empty())
            DebugTrace(L"custom light id refused: " + Utf8ToDuiString(id).str() + L"\n");
        return ledEffects_;
    }
    const Json::Value file = jsonFile_.LoadJsonFile(path);
    const Json::Value& steps = MemberOrNull(file, "LEDEffectList");
    const Json::ArrayIndex count = ArraySize(steps);
    ledEffects_.reserve(count);
    for (Json::ArrayIndex i = 0; i < count; ++i)
        ledEffects_.push_back(LedEffectFromJson(steps[i]));
    return ledEffects_;
}
