#include "platform/registry.h"

#include <json/json.h>

#include <cwctype>
#include <mutex>
#include <sstream>

#include "platform/file_io.h"
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

Json::Value LoadStore() {
    const auto text = ReadWholeFile(Registry::StorePath());
    if (!text)
        return Json::Value(Json::objectValue);
    Json::Value root;
    Json::Reader reader;
    if (!reader.parse(*text, root) || !root.isObject()) {
        // Never silently replace what we cannot read: keep it for the user.
        WriteFileAtomic(Registry::StorePath() + ".corrupt", *text);
        return Json::Value(Json::objectValue);
    }
    return root;
}

bool SaveStore(const Json::Value& root) {
    const std::string path = Registry::StorePath();
    EnsureDirectory(path.substr(0, path.rfind('/')));
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    return WriteFileAtomic(path, Json::writeString(builder, root) + "\n");
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
    Json::Value root = LoadStore();
    Json::Value& keyNode = root[Canonical(key)];
    if (!keyNode.isObject())
        keyNode = Json::Value(Json::objectValue);
    keyNode[Canonical(name)] = std::move(value);
    return SaveStore(root);
}

}  // namespace

std::string Registry::StorePath() {
    return UserConfigPath() + "Velkaro/registry.json";
}

std::optional<std::wstring> Registry::GetString(const std::wstring& key, const std::wstring& name) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const Json::Value root = LoadStore();
    const Json::Value* value = FindValue(root, key, name);
    if (value == nullptr || (*value)["type"] != "sz" || !(*value)["data"].isString()) {
        return std::nullopt;
    }
    return Utf8Decode((*value)["data"].asString());
}

std::optional<uint32_t> Registry::GetDword(const std::wstring& key, const std::wstring& name) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const Json::Value root = LoadStore();
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
    Json::Value root = LoadStore();
    if (FindValue(root, key, name) == nullptr)
        return false;
    root[Canonical(key)].removeMember(Canonical(name));
    return SaveStore(root);
}

}  // namespace platform
