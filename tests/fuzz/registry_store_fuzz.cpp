// The registry stand-in is a file in the user's configuration folder, anyone's to edit:
// whatever it holds, a read gives a value of the type asked for or none, and a value set
// reads back (what could not be read is kept beside first).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_folder.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace {

constexpr wchar_t kKey[] = L"SOFTWARE\\Velkaro";

const fuzzing::FuzzFolder& Folder() {
    static const fuzzing::FuzzFolder folder;
    static const bool pointed = setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1) == 0;
    (void)pointed;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzzing::FuzzFolder& folder = Folder();
    folder.Clear();
    platform::EnsureDirectory(folder.File("Velkaro"));
    folder.Write("Velkaro/registry.json", fuzzing::Bytes(data, size));

    using platform::Registry;
    Registry::GetDword(kKey, L"LANGUAGE");
    Registry::GetString(kKey, L"language");
    Registry::GetString(L"", L"");
    if (Registry::SetDword(kKey, L"LANGUAGE", 1033) &&
        Registry::GetDword(kKey, L"language") != 1033u) {
        std::abort();
    }
    if (Registry::SetString(kKey, L"Name", L"键盘") &&
        Registry::GetString(kKey, L"NAME") != L"键盘") {
        std::abort();
    }
    Registry::DeleteValue(kKey, L"LANGUAGE");
    return 0;
}
