#pragma once
// Typed reads of untrusted JSON: a missing member or a value of the wrong type reads as
// absent (the fallback), never as an exception.

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>

// The member `key` of an object, or null when `node` is not an object or lacks it.
const Json::Value* JsonMember(const Json::Value& node, const char* key);

std::optional<int> JsonInt(const Json::Value& node, const char* key);
std::optional<uint32_t> JsonUInt(const Json::Value& node, const char* key);
std::optional<bool> JsonBool(const Json::Value& node, const char* key);
std::optional<std::string> JsonString(const Json::Value& node, const char* key);

int JsonIntOr(const Json::Value& node, const char* key, int fallback);
uint32_t JsonUIntOr(const Json::Value& node, const char* key, uint32_t fallback);
bool JsonBoolOr(const Json::Value& node, const char* key, bool fallback);
std::string JsonStringOr(const Json::Value& node, const char* key, const std::string& fallback);

// The same for a value itself (an array element, say).
std::optional<int> JsonAsInt(const Json::Value& value);
std::optional<uint32_t> JsonAsUInt(const Json::Value& value);
std::optional<std::string> JsonAsString(const Json::Value& value);
