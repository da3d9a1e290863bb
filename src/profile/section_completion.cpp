#include "profile/section_completion.h"

#include <string_view>

namespace {

// Lists whose entry n always means the same place.
constexpr std::string_view kPlaceLists[] = {"KeyList", "EQHzValueInfo"};

bool IsPlaceList(std::string_view key) {
    for (const std::string_view name : kPlaceLists) {
        if (key == name) {
            return true;
        }
    }
    return false;
}

bool IsContainer(const Json::Value& value) {
    return value.isObject() || value.isArray();
}

// A number the readers take: a flag may also be stored as true or false.
bool IsNumberLike(const Json::Value& value) {
    return value.isNumeric() || value.isBool();
}

// A value no reader of the default's shape could use stands for nothing: a list or
// object of another kind, text where a number belongs, or the other way round.
bool Lacks(const Json::Value& own, const Json::Value& fallback) {
    if (own.isNull()) {
        return true;
    }
    if (IsContainer(fallback)) {
        return own.type() != fallback.type();
    }
    if (IsNumberLike(fallback)) {
        return !IsNumberLike(own);
    }
    return fallback.isString() && !own.isString();
}

bool CompleteObject(Json::Value& own, const Json::Value& defaults);

// The entries of a place list; the rows of bands inside a preset list are place lists too.
bool CompletePlaces(Json::Value& own, const Json::Value& defaults) {
    bool added = false;
    for (Json::ArrayIndex i = 0; i < defaults.size(); ++i) {
        const Json::Value& fallback = defaults[i];
        if (i >= own.size()) {
            own.append(fallback);
            added = added || !fallback.isNull();
            continue;
        }
        Json::Value& entry = own[i];
        if (Lacks(entry, fallback)) {
            added = added || !fallback.isNull();
            entry = fallback;
        } else if (fallback.isObject()) {
            added = CompleteObject(entry, fallback) || added;
        } else if (fallback.isArray()) {
            added = CompletePlaces(entry, fallback) || added;
        }
    }
    return added;
}

bool CompleteObject(Json::Value& own, const Json::Value& defaults) {
    bool added = false;
    for (auto it = defaults.begin(); it != defaults.end(); ++it) {
        const std::string key = it.name();
        const Json::Value& fallback = *it;
        Json::Value& member = own[key];
        if (Lacks(member, fallback)) {
            member = fallback;
            added = added || !fallback.isNull();
        } else if (fallback.isObject()) {
            added = CompleteObject(member, fallback) || added;
        } else if (fallback.isArray() && IsPlaceList(key)) {
            added = CompletePlaces(member, fallback) || added;
        }
    }
    return added;
}

}  // namespace

bool CompleteSection(Json::Value& section, const Json::Value& defaults) {
    if (!section.isObject() || !defaults.isObject()) {
        return false;
    }
    return CompleteObject(section, defaults);
}
