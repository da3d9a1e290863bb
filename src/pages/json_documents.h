#pragma once
// Whole JSON documents of the pages' files, by UTF-8 path, read and written through
// CJsonFile.

#include <string>

#include <json/json.h>

// The document; a null value for a missing, empty or unparseable file.
Json::Value LoadJsonDocument(const std::string& path);
bool SaveJsonDocument(const std::string& path, const Json::Value& document);
