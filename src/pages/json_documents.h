#pragma once
// Whole JSON documents of the pages' files, by UTF-8 path, read and written through
// CJsonFile.

#include <string>

#include <json/json.h>

// Whose file is read: one of the program's stored files, set aside (and the user told)
// when it does not parse, or one the user chose to import, only read.
enum class FileRole { Stored, Imported };

// The document; a null value for a missing, empty or unparseable file.
Json::Value LoadJsonDocument(const std::string& path, FileRole role = FileRole::Stored);
bool SaveJsonDocument(const std::string& path, const Json::Value& document);
