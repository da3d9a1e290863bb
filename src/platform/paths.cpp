#include "platform/paths.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace platform {
namespace {

std::mutex& InstanceMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& InstanceOverride() {
    static std::string path;
    return path;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    return path;
}

std::string ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return WithSlash(std::filesystem::current_path(ec).string());
    return WithSlash(exe.parent_path().string());
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) : std::string("/tmp");
}

std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    // The XDG rules ignore relative values.
    if (value != nullptr && value[0] == '/')
        return WithSlash(value);
    return WithSlash(HomeFolder() + "/" + fallbackUnderHome);
}

}  // namespace

std::string InstancePath() {
    std::lock_guard<std::mutex> lock(InstanceMutex());
    if (!InstanceOverride().empty())
        return InstanceOverride();
    static const std::string folder = ExecutableFolder();
    return folder;
}

void SetInstancePathForTest(const std::string& path) {
    std::lock_guard<std::mutex> lock(InstanceMutex());
    InstanceOverride() = path.empty() ? std::string() : WithSlash(path);
}

std::string UserDataPath() {
    const std::string folder = XdgFolder("XDG_DATA_HOME", ".local/share");
    EnsureDirectory(folder);
    return folder;
}

std::string UserConfigPath() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string RuntimePath() {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value != nullptr && value[0] == '/')
        return WithSlash(value);
    std::string folder = "/tmp/velkaro-" + std::to_string(getuid()) + "/";
    EnsureDirectory(folder);
    std::error_code ec;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, ec);
    return folder;
}

std::string NormalizePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::wstring NormalizePath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

bool EnsureDirectory(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace platform
