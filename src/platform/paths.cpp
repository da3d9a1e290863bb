#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

#include "platform/no_destructor.h"

namespace platform {
namespace {

std::mutex& InstanceMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& InstanceOverride() {
    static NoDestructor<std::string> path;
    return *path;
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

// Where the sockets and the lock live when the desktop gives no runtime folder.
std::string PrivateRuntimeFolder() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp != nullptr && tmp[0] == '/' ? WithSlash(tmp) : "/tmp/";
    return base + "velkaro-" + std::to_string(::getuid()) + "/";
}

}  // namespace

std::string InstancePath() {
    std::lock_guard<std::mutex> lock(InstanceMutex());
    if (!InstanceOverride().empty())
        return InstanceOverride();
    static const NoDestructor<std::string> folder(ExecutableFolder());
    return *folder;
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

std::string RuntimeFolderProblem(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    // lstat: a link put in place of the folder is not followed.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? "does not exist"
                               : std::string("cannot be read: ") + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return S_ISLNK(info.st_mode) ? "is a symbolic link" : "is not a folder";
    if (info.st_uid != ::getuid())
        return "belongs to another user";
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return "is not writable";
    return std::string();
}

std::string RuntimePath() {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value != nullptr && *value != '\0') {
        const std::string problem =
            value[0] == '/' ? RuntimeFolderProblem(value) : std::string("is not an absolute path");
        if (problem.empty())
            return WithSlash(value);
        static std::once_flag warned;
        std::call_once(warned, [&] {
            std::fprintf(stderr, "velkaro: XDG_RUNTIME_DIR %s %s; using %s instead\n", value,
                         problem.c_str(), PrivateRuntimeFolder().c_str());
        });
    }
    const std::string folder = PrivateRuntimeFolder();
    // Made private; a folder of that name that is not ours is left alone, and the
    // single-instance lock reports it.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno == EEXIST &&
        RuntimeFolderProblem(folder).empty())
        ::chmod(folder.c_str(), 0700);
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
