// Profile files, light configuration documents and custom light files are untrusted: any
// bytes must load, read through every getter, take the setters and save without a crash
// or an exception. The first byte picks the device; the rest is the file, used at once
// as the profile, as the light configuration document and as the custom light "a".
#include <cstddef>
#include <cstdint>
#include <string>

#include "duilib/string_utils.h"
#include "fuzz_folder.h"
#include "profile/keyboard_profiledata.h"
#include "profile/mouse_profiledata.h"
#include "profile/tamsel_profiledata.h"

namespace {

constexpr char kDefaultProfile[] = R"({"Device": [
  {"LightInfo": {"SelectItem": 1}, "SystemStages": {"Repeat": 31},
   "CustomLightMode": {"LightColorInfo": [], "CustomLightModeGroupIndex": 0}},
  {"DPIStages": {"StageActive": 0, "StageDPIs": [{"StageDPIX": 8}]},
   "CorrectInfo": [{"CorrectSelect": 1, "CorrectName": "a"}]},
  {"LightList": [null, {"LEDREGMode": 2}]},
  {"SystemSetStages": {"EqType": 2}, "EQHzValueInfo": [null, [{"value": 1}]]}]})";

DuiLib::CDuiString PathIn(const fuzzing::FuzzFolder& folder, const char* name) {
    return Utf8ToDuiString(folder.File(name));
}

void ExerciseBasic(CBasicProfiledata& record, const fuzzing::FuzzFolder& folder, int index) {
    record.SetDefaultProfilePath(PathIn(folder, "default.Json"));
    record.SetDeviceIndex(index);
    record.SetProfilePath(PathIn(folder, "p.Json"));
    record.SetLightConfigPath(PathIn(folder, "zentu_light.config"));
    record.Load(record.GetProfilePath());
    const LightRecord light = record.GetLightInfo();
    record.GetLightList();
    auto keys = record.GetKeyList();
    record.LoadLightConfig(record.GetLightConfigPath());
    record.LoadCustomLightEffects(index, light.mode);
    record.SetLightInfo(light);
    record.SetKeyList(keys);
}

void ExerciseKeyboard(CKeyboardProfiledata& record) {
    record.SetSystemStages(record.GetSystemStages());
    const int group = record.GetCustomLightGroupIndex();
    record.SetCustomLightGroup(record.GetCustomLightGroup(group, 24), group);
    record.SetCustomLightGroupIndex(group);
}

void ExerciseMouse(CMouseProfiledata& record) {
    record.SetDpiStages(record.GetDpiStages());
    record.SetCurrentDpiStage(record.GetCurrentDpiStage());
    record.SetSystemStages(record.GetSystemStages());
    record.GetCorrectInfo();
}

void ExerciseHeadset(CTamselProfiledata& record) {
    const TamselSystemSetStages s = record.GetSystemSetStages();
    record.SetEqPresetBands(s.eqType, record.GetEqPresetBands(s.eqType));
    record.SetCustomEqBands(s.customEqSelectIndex, record.GetCustomEqBands(s.customEqSelectIndex));
    record.SetCustomEqNames(record.GetCustomEqNames());
    record.SetSystemSetStages(s.magicEnable, s.magicType, s.eqType, s.customEqSelectIndex,
                              s.micInSelect, s.micInValue, s.micMonitorSelect, s.micMonitorValue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzzing::FuzzFolder folder;
    if (size == 0)
        return 0;
    // Afresh each time: the copies kept of damaged files would pile up over a run.
    folder.Clear();
    folder.Write("default.Json", kDefaultProfile);
    const std::string bytes = fuzzing::Bytes(data + 1, size - 1);
    folder.Write("p.Json", bytes);
    folder.Write("zentu_light.config", bytes);
    folder.Write("a.light", bytes);
    const int index = data[0] % 4;
    if (index == 0) {
        CKeyboardProfiledata record;
        ExerciseBasic(record, folder, index);
        ExerciseKeyboard(record);
        record.Save();
    } else if (index == 1) {
        CMouseProfiledata record;
        ExerciseBasic(record, folder, index);
        ExerciseMouse(record);
        record.Save();
    } else if (index == 3) {
        CTamselProfiledata record;
        ExerciseBasic(record, folder, index);
        ExerciseHeadset(record);
        record.Save();
    } else {
        CBasicProfiledata record;
        ExerciseBasic(record, folder, index);
        record.Save();
    }
    return 0;
}
