#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace testing_support {
namespace {

void Restore(const char* name, bool had, const std::string& old) {
    if (had) {
        setenv(name, old.c_str(), 1);
    } else {
        unsetenv(name);
    }
}

bool Remember(const char* name, std::string* old) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return false;
    *old = value;
    return true;
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ScopedUserFolders::ScopedUserFolders() {
    hadData_ = Remember("XDG_DATA_HOME", &oldData_);
    hadConfig_ = Remember("XDG_CONFIG_HOME", &oldConfig_);
    std::filesystem::create_directories(DataHome());
    std::filesystem::create_directories(ConfigHome());
    setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
}

ScopedUserFolders::~ScopedUserFolders() {
    Restore("XDG_DATA_HOME", hadData_, oldData_);
    Restore("XDG_CONFIG_HOME", hadConfig_, oldConfig_);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
