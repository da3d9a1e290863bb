#include "profile/json_file.h"

#include <cstdio>

#include "duilib/string_utils.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace {

std::string ToFilePath(const DuiLib::CDuiString& path) {
    return platform::NormalizePath(DuiStringToUtf8(path.GetData()));
}

// A file we are about to replace but cannot parse may be the user's only copy of their
// settings: keep it beside the new one.
void KeepUnparseableOriginal(const std::string& path) {
    const auto old = platform::ReadWholeFile(path);
    if (!old || old->empty())
        return;
    Json::Value ignored;
    if (!ParseJsonText(*old, &ignored))
        platform::WriteFileAtomic(path + ".corrupt", *old);
}

}  // namespace

std::string StyledJsonText(const Json::Value& value) {
    // The stored files use the styled writer's exact layout (three-space indent, " : "),
    // which the builder-based writers do not reproduce.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::StyledWriter writer;
    return writer.write(value);
#pragma GCC diagnostic pop
}

bool ParseJsonText(const std::string& text, Json::Value* root) {
    Json::Reader reader;
    return reader.parse(text, *root, true);
}

std::string CJsonFile::MakeTimestampName() {
    const platform::LocalTime t = platform::GetLocalTime();
    char text[64];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.milliseconds);
    return text;
}

std::string CJsonFile::ReadJsonFile(const DuiLib::CDuiString& path) {
    int error = 0;
    auto bytes = platform::ReadWholeFile(ToFilePath(path), &error);
    DebugTrace(DuiLib::CDuiString::FormatText(L"readjsonFile 错误吗：：%d\n", error).view());
    if (!bytes)
        return {};
    const size_t nul = bytes->find('\0');
    if (nul != std::string::npos)
        bytes->resize(nul);
    return std::move(*bytes);
}

bool CJsonFile::SaveJsonFile(const DuiLib::CDuiString& path, const Json::Value& value) {
    const std::string file = ToFilePath(path);
    KeepUnparseableOriginal(file);
    return platform::WriteFileAtomic(file, StyledJsonText(value) + "\n");
}

Json::Value CJsonFile::LoadJsonFile(const DuiLib::CDuiString& path) {
    const std::string text = ReadJsonFile(path);
    if (text.empty()) {
        DebugTrace(path.view());
        return Json::Value();
    }
    Json::Value root;
    if (!ParseJsonText(text, &root))
        return Json::Value();
    return root;
}
