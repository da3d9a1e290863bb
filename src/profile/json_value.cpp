#include "profile/json_value.h"

#include <cstring>

const Json::Value* JsonMember(const Json::Value& node, const char* key) {
    if (!node.isObject() || key == nullptr)
        return nullptr;
    return node.find(key, key + std::strlen(key));
}

std::optional<int> JsonAsInt(const Json::Value& value) {
    // isInt() is true for any integral value in range, also one stored as unsigned or as
    // a whole double; asInt() would throw on anything else.
    if (!value.isInt())
        return std::nullopt;
    return value.asInt();
}

std::optional<uint32_t> JsonAsUInt(const Json::Value& value) {
    if (!value.isUInt())
        return std::nullopt;
    return value.asUInt();
}

std::optional<std::string> JsonAsString(const Json::Value& value) {
    if (!value.isString())
        return std::nullopt;
    return value.asString();
}

std::optional<int> JsonInt(const Json::Value& node, const char* key) {
    const Json::Value* member = JsonMember(node, key);
    return member != nullptr ? JsonAsInt(*member) : std::nullopt;
}

std::optional<uint32_t> JsonUInt(const Json::Value& node, const char* key) {
    const Json::Value* member = JsonMember(node, key);
    return member != nullptr ? JsonAsUInt(*member) : std::nullopt;
}

std::optional<bool> JsonBool(const Json::Value& node, const char* key) {
    const Json::Value* member = JsonMember(node, key);
    if (member == nullptr || !member->isBool())
        return std::nullopt;
    return member->asBool();
}

std::optional<std::string> JsonString(const Json::Value& node, const char* key) {
    const Json::Value* member = JsonMember(node, key);
    return member != nullptr ? JsonAsString(*member) : std::nullopt;
}

int JsonIntOr(const Json::Value& node, const char* key, int fallback) {
    return JsonInt(node, key).value_or(fallback);
}

uint32_t JsonUIntOr(const Json::Value& node, const char* key, uint32_t fallback) {
    return JsonUInt(node, key).value_or(fallback);
}

bool JsonBoolOr(const Json::Value& node, const char* key, bool fallback) {
    return JsonBool(node, key).value_or(fallback);
}

std::string JsonStringOr(const Json::Value& node, const char* key, const std::string& fallback) {
    return JsonString(node, key).value_or(fallback);
}
