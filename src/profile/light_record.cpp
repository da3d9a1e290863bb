#include "profile/light_record.h"

#include "profile/json_edit.h"
#include "profile/json_value.h"

LightRecord LightRecordFromLightInfo(const Json::Value& info) {
    LightRecord record;
    record.mode = LowByte(info, "SelectItem");
    record.brightness = LowByte(info, "Light");
    record.speed = LowByte(info, "Speed");
    record.direction = LowByte(info, "Fx");
    record.multiColour = FlagByte(info, "MultiColor");
    record.red = LowByte(info, "Red");
    record.green = LowByte(info, "Green");
    record.blue = LowByte(info, "Blue");
    record.qrvmMode = LowByte(info, "QRVMLedMode");
    record.customGroup = LowByte(info, "CustomGroup");
    return record;
}

Json::Value LightInfoFromLightRecord(const LightRecord& record) {
    Json::Value info(Json::objectValue);
    info["SelectItem"] = record.mode;
    info["Light"] = record.brightness;
    info["Speed"] = record.speed;
    info["Fx"] = record.direction;
    info["MultiColor"] = record.multiColour;
    info["Red"] = record.red;
    info["Green"] = record.green;
    info["Blue"] = record.blue;
    info["QRVMLedMode"] = record.qrvmMode;
    info["CustomGroup"] = record.customGroup;
    return info;
}

LightRecord LightRecordFromZone(const Json::Value& zone) {
    LightRecord record;
    if (!zone.isObject())
        return record;
    record.mode = LowByte(zone, "LEDREGMode");
    record.brightness = LowByte(zone, "LEDBrightness");
    record.speed = LowByte(zone, "LEDSpeed");
    record.direction = FlagByte(zone, "LEDDirection");
    record.multiColour = FlagByte(zone, "LEDMultiColor");
    record.red = LowByte(zone, "red");
    record.green = LowByte(zone, "green");
    record.blue = LowByte(zone, "blue");
    record.valid = 1;
    return record;
}

LedEffectRecord LedEffectFromJson(const Json::Value& effect) {
    LedEffectRecord step;
    LightRecord& light = step.light;
    light.mode = LowByte(effect, "LEDREGMode");
    light.direction = LowByte(effect, "LEDDirection");
    light.brightness = LowByte(effect, "LEDBrightness");
    light.speed = LowByte(effect, "LEDSpeed");
    // Unlike a zone's, a step's multi-colour byte keeps its value.
    light.multiColour = LowByte(effect, "LEDMultiColor");
    light.red = LowByte(effect, "red");
    light.green = LowByte(effect, "green");
    light.blue = LowByte(effect, "blue");
    step.time = JsonIntOr(effect, "Time", 0);
    step.cycle = JsonIntOr(effect, "Cyle", 0);
    return step;
}

bool ReadLightListRecords(Json::Value list, std::vector<LightRecord>* out, int count) {
    if (out == nullptr || count < 0 || static_cast<size_t>(count) > out->size())
        return false;
    for (int i = 0; i < count; ++i)
        (*out)[static_cast<size_t>(i)] =
            LightRecordFromZone(ElementOrNull(list, static_cast<Json::ArrayIndex>(i)));
    return true;
}
