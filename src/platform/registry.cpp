#include "platform/registry.h"

#include <json/json.h>

#include <cwctype>
#include <mutex>
#include <optional>

#include "platform/file_io.h"
#include "platform/json_text.h"
#include "platform/paths.h"
#include "platform/text_convert.h"

namespace platform {
namespace {

std::mutex& StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

// Registry key and value names ignore case; the store keeps them lower-cased.
std::string Canonical(const std::wstring& name) {
    std::wstring lower(name);
    for (auto& ch : lower)
        ch = static_cast<wchar_t>(std::towlower(ch));
    return Utf8Encode(lower);
}

// The store, or nullopt when it is damaged and could not be set aside: it must then not
// be written over.
std::optional<Json::Value> LoadStore() {
    const auto text = ReadWholeFile(Registry::StorePath());
    if (!text || text->empty())
        return Json::Value(Json::objectValue);
    Json::Value root;
    std::string reason;
    if (!ParseJsonText(*text, &root, &reason) || !root.isObject()) {
        if (reason.empty())
            reason = "not a JSON object";
        // Never silently replace what we cannot read: keep it for the user.
        if (!SetDamagedFileAside(Registry::StorePath(), *text, reason))
            return std::nullopt;
        return Json::Value(Json::objectValue);
    }
    return root;
}

bool SaveStore(const Json::Value& root) {
    const std::string path = Registry::StorePath();
    EnsureDirectory(path.substr(0, path.rfind('/')));
    return WriteFileAtomic(path, StyledJsonText(root));
}

const Json::Value* Member(const Json::Value& node, const std::string& name) {
    if (!node.isObject())
        return nullptr;
    const Json::Value* member = node.find(name.data(), name.data() + name.size());
    return member != nullptr && member->isObject() ? member : nullptr;
}

const Json::Value* FindValue(const Json::Value& root, const std::wstring& key,
                             const std::wstring& name) {
    const Json::Value* keyNode = Member(root, Canonical(key));
    return keyNode != nullptr ? Member(*keyNode, Canonical(name)) : nullptr;
}

bool StoreValue(const std::wstring& key, const std::wstring& name, Json::Value value) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    std::optional<Json::Value> root = LoadStore();
    if (!root)
        return false;
    Json::Value& keyNode = (*root)[Canonical(key)];
    if (!keyNode.isObject())
        keyNode = Json::Value(Json::objectValue);
    keyNode[Canonical(name)] = std::move(value);
    return SaveStore(*root);
}

}  // namespace

std::string Registry::StorePath() {
    return UserConfigPath() + "Velkaro/registry.json";
}

std::optional<std::wstring> Registry::GetString(const std::wstring& key, const std::wstring& name) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const Json::Value root = LoadStore().value_or(Json::Value());
    const Json::Value* value = FindValue(root, key, name);
    if (value == nullptr || (*value)["type"] != "sz" || !(*value)["data"].isString()) {
        return std::nullopt;
    }
    return Utf8Decode((*value)["data"].asString());
}

std::optional<uint32_t> Registry::GetDword(const std::wstring& key, const std::wstring& name) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const Json::Value root = LoadStore().value_or(Json::Value());
    const Json::Value* value = FindValue(root, key, name);
    if (value == nullptr || (*value)["type"] != "dword" || !(*value)["data"].isUInt()) {
        return std::nullopt;
    }
    return (*value)["data"].asUInt();
}

bool Registry::SetString(const std::wstring& key, const std::wstring& name,
                         const std::wstring& value) {
    Json::Value entry(Json::objectValue);
    entry["type"] = "sz";
    entry["data"] = Utf8Encode(value);
    return StoreValue(key, name, std::move(entry));
}

bool Registry::SetDword(const std::wstring& key, const std::wstring& name, uint32_t value) {
    Json::Value entry(Json::objectValue);
    entry["type"] = "dword";
    entry["data"] = Json::UInt(value);
    return StoreValue(key, name, std::move(entry));
}

bool Registry::DeleteValue(const std::wstring& key, const std::wstring& name) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    std::optional<Json::Value> root = LoadStore();
    if (!root || FindValue(*root, key, name) == nullptr)
        return false;
    (*root)[Canonical(key)].removeMember(Canonical(name));
    return SaveStore(*root);
}

}  // namespace platform
