#include "profile/mouse_profiledata.h"

#include "duilib/string_utils.h"
#include "profile/json_edit.h"
#include "profile/json_value.h"

namespace {

DpiStageRecord StageFromJson(const Json::Value& node) {
    DpiStageRecord stage;
    stage.enabled = LowByte(node, "StageActive");
    stage.separateXY = LowByte(node, "StageXY");
    stage.SetDpiX(Low16(node, "StageDPIX"));
    stage.SetDpiY(Low16(node, "StageDPIY"));
    stage.red = LowByte(node, "StageColorR");
    stage.green = LowByte(node, "StageColorG");
    stage.blue = LowByte(node, "StageColorB");
    return stage;
}

void WriteStage(Json::Value& node, const DpiStageRecord& stage) {
    ObjectMember(node, "StageActive") = stage.enabled;
    ObjectMember(node, "StageXY") = stage.separateXY;
    ObjectMember(node, "StageDPIX") = stage.DpiX();
    ObjectMember(node, "StageDPIY") = stage.DpiY();
    ObjectMember(node, "StageColorR") = stage.red;
    ObjectMember(node, "StageColorG") = stage.green;
    ObjectMember(node, "StageColorB") = stage.blue;
}

CorrectionEntry CorrectionFromJson(const Json::Value& node) {
    CorrectionEntry entry;
    entry.pixelThreshold = LowByte(node, "CorrectPixThresh");
    entry.minimumSquare = LowByte(node, "CorrectMinSq");
    entry.selected = LowByte(node, "CorrectSelect");
    entry.name = Utf8ToDuiString(JsonStringOr(node, "CorrectName", ""));
    return entry;
}

}  // namespace

void DpiStageRecord::SetDpiX(uint16_t value) {
    dpiX[0] = static_cast<uint8_t>(value);
    dpiX[1] = static_cast<uint8_t>(value >> 8);
}

void DpiStageRecord::SetDpiY(uint16_t value) {
    dpiY[0] = static_cast<uint8_t>(value);
    dpiY[1] = static_cast<uint8_t>(value >> 8);
}

std::vector<DpiStageRecord> CMouseProfiledata::GetDpiStages() {
    const Json::Value& node = MemberOrNull(Section(), "DPIStages");
    if (!node.isObject())
        return dpiStages_;
    currentDpiStage_ = JsonIntOr(node, "StageActive", 0);
    const Json::Value& list = MemberOrNull(node, "StageDPIs");
    if (!list.isArray())
        return dpiStages_;
    // The file's stages are the profile's, however many: stages kept from another profile
    // must neither reach the mouse nor be stored into this one.
    dpiStages_.clear();
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        dpiStages_.push_back(StageFromJson(list[i]));
    return dpiStages_;
}

void CMouseProfiledata::SetDpiStages(std::vector<DpiStageRecord> stages) {
    Json::Value& list = ObjectMember(ObjectMember(Section(), "DPIStages"), "StageDPIs");
    for (size_t i = 0; i < stages.size(); ++i)
        WriteStage(ArrayElement(list, static_cast<Json::ArrayIndex>(i)), stages[i]);
    if (list.isArray())
        list.resize(static_cast<Json::ArrayIndex>(stages.size()));
    dpiStages_ = std::move(stages);
}

void CMouseProfiledata::SetCurrentDpiStage(int stage) {
    currentDpiStage_ = stage;
    ObjectMember(ObjectMember(Section(), "DPIStages"), "StageActive") = stage;
}

void CMouseProfiledata::SetSystemStages(MouseSystemStages stages) {
    systemStages_ = stages;
    Json::Value& node = ObjectMember(Section(), "SystemStages");
    ObjectMember(node, "DoubleClickTime") = stages.doubleClickTime;
    ObjectMember(node, "MouseSpeed") = stages.mouseSpeed;
    ObjectMember(node, "PointerPrecision") = stages.pointerPrecision;
    ObjectMember(node, "ScorllPage") = stages.scrollPage;
    ObjectMember(node, "WheelScorlllinse") = stages.wheelScrollLines;
    ObjectMember(ObjectMember(Section(), "ReportStages"), "StageActive") = stages.reportRate;
}

MouseSystemStages CMouseProfiledata::GetSystemStages() {
    systemStages_ = {};
    const Json::Value& node = MemberOrNull(Section(), "SystemStages");
    if (node.isObject()) {
        systemStages_.doubleClickTime = Low16(node, "DoubleClickTime");
        systemStages_.mouseSpeed = Low16(node, "MouseSpeed");
        systemStages_.pointerPrecision = Low16(node, "PointerPrecision");
        systemStages_.scrollPage = Low16(node, "ScorllPage");
        systemStages_.wheelScrollLines = Low16(node, "WheelScorlllinse");
        systemStages_.reportRate = Low16(MemberOrNull(Section(), "ReportStages"), "StageActive");
    }
    return systemStages_;
}

std::vector<CorrectionEntry> CMouseProfiledata::GetCorrectInfo() {
    const Json::Value& list = MemberOrNull(Section(), "CorrectInfo");
    const Json::ArrayIndex count = ArraySize(list);
    correctionEntries_.clear();
    correctionEntries_.reserve(count);
    for (Json::ArrayIndex i = 0; i < count; ++i)
        correctionEntries_.push_back(CorrectionFromJson(list[i]));
    return correctionEntries_;
}
