#include "profile/json_file.h"

#include <cstdio>

#include "duilib/string_utils.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/file_io.h"
#include "platform/json_text.h"
#include "platform/paths.h"

namespace {

std::string ToFilePath(const DuiLib::CDuiString& path) {
    return platform::NormalizePath(DuiStringToUtf8(path.GetData()));
}

// A file we are about to replace but cannot parse may be the user's only copy of their
// settings: it is kept beside the new one. False when it had to be kept and could not be.
bool KeepUnparseableOriginal(const std::string& path) {
    const auto old = platform::ReadWholeFile(path);
    if (!old || old->empty())
        return true;
    // Read as LoadJsonFile reads it: up to the first NUL.
    const std::string text = old->substr(0, old->find('\0'));
    Json::Value ignored;
    std::string reason;
    if (platform::ParseJsonText(text, &ignored, &reason))
        return true;
    return platform::SetDamagedFileAside(path, *old, reason);
}

}  // namespace

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
    if (!KeepUnparseableOriginal(file))
        return false;
    // The styled text's own final line break and one more, as the files have always had.
    return platform::WriteFileAtomic(file, platform::StyledJsonText(value) + "\n");
}

Json::Value CJsonFile::LoadJsonFile(const DuiLib::CDuiString& path) {
    bool damaged = false;
    Json::Value root = Parse(path, &damaged);
    // Defaults stand in for it from now on, so the user hears of it now, and not only if
    // and when the program writes the file again (a file it only reads never is); the
    // copy kept here is the one a later save finds, so it is said once.
    if (damaged)
        KeepUnparseableOriginal(ToFilePath(path));
    return root;
}

Json::Value CJsonFile::ParseChosenFile(const DuiLib::CDuiString& path) {
    bool damaged = false;
    return Parse(path, &damaged);
}

Json::Value CJsonFile::Parse(const DuiLib::CDuiString& path, bool* damaged) {
    const std::string text = ReadJsonFile(path);
    if (text.empty()) {
        DebugTrace(path.view());
        return Json::Value();
    }
    Json::Value root;
    *damaged = !platform::ParseJsonText(text, &root);
    return *damaged ? Json::Value() : root;
}
