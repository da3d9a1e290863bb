#pragma once
// Where the program's files live: the instance folder (beside the executable) and the
// per-user data folder ($XDG_DATA_HOME, default ~/.local/share).

#include <string>

namespace platform {

// The executable's folder with a trailing '/'.
std::string InstancePath();
// Overrides the instance folder (tests); an empty path restores the executable's.
void SetInstancePathForTest(const std::string& path);
// $XDG_DATA_HOME or ~/.local/share, with a trailing '/', created when missing.
std::string UserDataPath();
// $XDG_CONFIG_HOME or ~/.config, with a trailing '/'.
std::string UserConfigPath();
// $XDG_RUNTIME_DIR, with a trailing '/', when it names a folder of this user that it may
// write in; otherwise the private folder velkaro-<uid>/ in $TMPDIR or /tmp (mode 0700), and when
// the variable was set but unusable one line on stderr says so.
std::string RuntimePath();
// What keeps `folder` from holding this user's sockets and lock files ("does not exist",
// "belongs to another user", ...), or empty when nothing does.
std::string RuntimeFolderProblem(const std::string& folder);
// A relative path written with '\' as the Windows program writes it, with '/'.
std::string NormalizePath(std::string path);
std::wstring NormalizePath(std::wstring path);
// Creates the folder and its parents; true when it exists afterwards.
bool EnsureDirectory(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace platform
