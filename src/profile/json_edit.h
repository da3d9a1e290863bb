#pragma once
// Writable and readable places in JSON trees that came from files and may hold values of
// any type. JsonCpp throws when a container is indexed as the wrong kind; here a read of
// the wrong kind gives a null value, and a write replaces the wrong-kind value with an
// empty container of the right kind.

#include <json/json.h>

#include <cstdint>

// node[key] for writing; `node` becomes an empty object first when it is not one.
Json::Value& ObjectMember(Json::Value& node, const char* key);
// node[index] for writing; `node` becomes an empty array first when it is not one, and
// grows with null elements up to `index`.
Json::Value& ArrayElement(Json::Value& node, Json::ArrayIndex index);

// node[key] for reading, or a null value when `node` is not an object or lacks the key.
const Json::Value& MemberOrNull(const Json::Value& node, const char* key);
// node[index] for reading, or a null value when `node` is not an array that long.
const Json::Value& ElementOrNull(const Json::Value& node, Json::ArrayIndex index);
// The number of elements of an array; 0 for any other value.
Json::ArrayIndex ArraySize(const Json::Value& node);

// Integer members cut to a field's width (the low bits); absent or wrong-typed reads 0.
uint8_t LowByte(const Json::Value& node, const char* key);
uint16_t Low16(const Json::Value& node, const char* key);
// A member read as a flag: 1 for true or a non-zero integer, else 0.
uint8_t FlagByte(const Json::Value& node, const char* key);
