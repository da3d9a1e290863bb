#pragma once
// A private folder for one test, removed afterwards, and an environment in which the
// per-user and configuration folders point into it.

#include <string>

namespace testing_support {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // With a trailing '/'.
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

// Points XDG_DATA_HOME and XDG_CONFIG_HOME into a TempDir for its lifetime.
class ScopedUserFolders {
  public:
    ScopedUserFolders();
    ~ScopedUserFolders();
    ScopedUserFolders(const ScopedUserFolders&) = delete;
    ScopedUserFolders& operator=(const ScopedUserFolders&) = delete;

    const TempDir& dir() const { return dir_; }
    std::string DataHome() const { return dir_.path() + "data/"; }
    std::string ConfigHome() const { return dir_.path() + "config/"; }

  private:
    TempDir dir_;
    std::string oldData_, oldConfig_;
    bool hadData_ = false, hadConfig_ = false;
};

bool WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);

}  // namespace testing_support
