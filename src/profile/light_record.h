#pragma once
// The light state of a device or of one of its light zones, as the profile files keep it,
// and one step of a custom light sequence.

#include <json/json.h>

#include <cstdint>
#include <vector>

#pragma pack(push, 1)
struct LightRecord {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColour = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t reserved1 = 0;
    uint8_t reserved2 = 0;
    // 1 for a "LightList" zone that the file holds, 0 for a null zone.
    uint8_t valid = 0;
    uint8_t qrvmMode = 0;
    uint8_t customGroup = 0;

    friend bool operator==(const LightRecord&, const LightRecord&) = default;
};
#pragma pack(pop)

static_assert(sizeof(LightRecord) == 13);

struct LedEffectRecord {
    LightRecord light;
    // Milliseconds the step runs before the next one.
    int32_t time = 0;
    int32_t cycle = 0;

    friend bool operator==(const LedEffectRecord&, const LedEffectRecord&) = default;
};

// A "LightInfo" object and back (ten integers).
LightRecord LightRecordFromLightInfo(const Json::Value& info);
Json::Value LightInfoFromLightRecord(const LightRecord& record);
// A "LightList" zone: a null or non-object zone gives an all-zero record with valid 0.
LightRecord LightRecordFromZone(const Json::Value& zone);
// One element of "LEDEffectList".
LedEffectRecord LedEffectFromJson(const Json::Value& effect);

// Fills out[0..count-1] from list[0..count-1]; false, `out` untouched, when `out` is null
// or holds fewer than `count` records. Zones past the end of `list` read as null.
bool ReadLightListRecords(Json::Value list, std::vector<LightRecord>* out, int count);
