// "Language.config" lists the languages the program offers; an entry's position is its
// index everywhere. Whatever the file holds, the list reads without a crash, by both of
// the program's readers, and a language found by id is the one at that index.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_folder.h"
#include "profile/json_file.h"
#include "update/language_list.h"

namespace {

void CheckLookups(const std::vector<LanguageEntry>& list) {
    for (int64_t id : {int64_t{0}, int64_t{520}, int64_t{1033}, int64_t{2052}, int64_t{-1}}) {
        const auto index = FindLanguageIndexById(list, id);
        if (index && (*index < 0 || *index >= static_cast<int>(list.size()) ||
                      list[static_cast<size_t>(*index)].id != id)) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzzing::FuzzFolder folder;
    folder.Clear();
    folder.Write(kLanguageConfigFile, fuzzing::Bytes(data, size));
    // The settings window reads the file itself; the main window through CJsonFile.
    CheckLookups(LoadLanguageList(folder.path()));
    CJsonFile json;
    const Json::Value document =
        json.LoadJsonFile(DuiLib::CDuiString::FromUtf8(folder.File(kLanguageConfigFile)));
    CheckLookups(ParseLanguageList(document));
    return 0;
}
