// The files the configuration pages read from the user's folder: the profile list, the
// macro index, macro files and shoot files. Whatever they hold, reading them must stay
// within bounds and keep ids that could leave the folder out of file names.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pages/macro_files.h"
#include "pages/profile_list_file.h"
#include "pages/shoot_data_file.h"
#include "profile/stored_file_id.h"

namespace {

const std::string& InputPath() {
    // Memory-backed where there is such a folder: every input is a file write.
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
    static const std::string path =
        folder + "velkaro_page_files_fuzz_" + std::to_string(getpid()) + ".json";
    static const bool cleanup = [] {
        return std::atexit([] { std::remove(InputPath().c_str()); }) == 0;
    }();
    (void)cleanup;
    return path;
}

void WriteInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    if (size > 0) {
        std::fwrite(data, 1, size, file);
    }
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(data, size);
    const std::string& path = InputPath();

    ProfileListFile list;
    list.Load(path);
    for (const ProfileEntry& entry : list.entries) {
        if (!IsSafeStoredFileId(entry.uuid)) {
            __builtin_trap();
        }
    }
    if (!list.entries.empty() &&
        (list.selected < 0 || list.selected >= static_cast<int>(list.entries.size()))) {
        __builtin_trap();
    }

    if (const auto entries = MacroIndexFile::Load(path)) {
        for (const MacroIndexEntry& entry : *entries) {
            const std::string file = MacroFile::PathFor("/tmp/", entry.guid);
            if (!file.empty() && !IsSafeStoredFileId(entry.guid)) {
                __builtin_trap();
            }
        }
    }
    MacroFile::Load(path);
    if (auto events = ShootDataFile::Load(path)) {
        for (int bullet = -1; bullet <= ShootDataFile::kBulletCount; ++bullet) {
            BulletFromEvents(*events, bullet);
        }
        StoreBullet(&*events, 3, ShootBullet{-1, 1, 7});
    }
    return 0;
}
