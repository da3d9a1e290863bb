#pragma once
// A private folder for a fuzz target's files, on a memory file system where there is one
// (every input is a file write), removed at exit.

#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "duilib/paint_manager.h"
#include "support/temp_dir.h"

namespace fuzzing {

class FuzzFolder {
  public:
    FuzzFolder() {
        std::string pattern =
            std::filesystem::is_directory("/dev/shm")
                ? std::string("/dev/shm/velkaro-fuzz-XXXXXX")
                : (std::filesystem::temp_directory_path() / "velkaro-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern + "/";
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // With a trailing '/'.
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        testing_support::WriteTextFile(path_ + name, bytes);
    }
    // Empties the folder: kept copies of damaged files must not pile up over a run.
    void Clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
            std::filesystem::remove_all(entry.path(), ec);
    }

  private:
    std::string path_;
};

// A folder that is the toolkit's resource path: skin files written there load by name.
inline const FuzzFolder& SkinFolder() {
    static const FuzzFolder folder;
    static const bool pointed = [] {
        DuiLib::CPaintManagerUI::SetResourcePath(
            DuiLib::CDuiString::FromUtf8(folder.path()).GetData());
        return true;
    }();
    (void)pointed;
    return folder;
}

inline std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzzing
