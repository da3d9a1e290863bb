#include "profile/json_edit.h"

#include "profile/json_value.h"

Json::Value& ObjectMember(Json::Value& node, const char* key) {
    if (!node.isObject())
        node = Json::Value(Json::objectValue);
    return node[key];
}

Json::Value& ArrayElement(Json::Value& node, Json::ArrayIndex index) {
    if (!node.isArray())
        node = Json::Value(Json::arrayValue);
    return node[index];
}

const Json::Value& MemberOrNull(const Json::Value& node, const char* key) {
    const Json::Value* member = JsonMember(node, key);
    return member != nullptr ? *member : Json::Value::nullSingleton();
}

const Json::Value& ElementOrNull(const Json::Value& node, Json::ArrayIndex index) {
    if (!node.isArray() || index >= node.size())
        return Json::Value::nullSingleton();
    return node[index];
}

Json::ArrayIndex ArraySize(const Json::Value& node) {
    return node.isArray() ? node.size() : 0;
}

uint8_t LowByte(const Json::Value& node, const char* key) {
    return static_cast<uint8_t>(JsonIntOr(node, key, 0));
}

uint16_t Low16(const Json::Value& node, const char* key) {
    return static_cast<uint16_t>(JsonIntOr(node, key, 0));
}

uint8_t FlagByte(const Json::Value& node, const char* key) {
    if (const auto flag = JsonBool(node, key))
        return *flag ? 1 : 0;
    return JsonIntOr(node, key, 0) != 0 ? 1 : 0;
}
