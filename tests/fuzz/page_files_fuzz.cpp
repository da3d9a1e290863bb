// The files the configuration pages read from the user's folder: the profile list, the
// macro index, macro files and shoot files. Whatever they hold, reading them must stay
// within bounds and keep ids that could leave the folder out of file names.

#include <cstdint>
#include <string>

#include "fuzz_folder.h"
#include "pages/macro_files.h"
#include "pages/profile_list_file.h"
#include "pages/shoot_data_file.h"
#include "profile/stored_file_id.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzzing::FuzzFolder folder;
    folder.Clear();
    const std::string path = folder.File("input.json");
    folder.Write("input.json", fuzzing::Bytes(data, size));

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
