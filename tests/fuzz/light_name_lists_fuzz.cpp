// The name lists a device page shows come from the macro list and the light documents of
// the user's and the default folder. The first byte picks the document and the device
// index; whatever the document holds, every list reads and the visibility flags run
// parallel to the mode names.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/page/name_lists.h"
#include "fuzz_folder.h"
#include "platform/text_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzzing::FuzzFolder folder;
    if (size == 0) {
        return 0;
    }
    const char* const documents[] = {"macro.config", "zentu_macro.config", "default_light.json",
                                     "zentu_light.config"};
    folder.Clear();
    folder.Write(documents[data[0] % 4], fuzzing::Bytes(data + 1, size - 1));
    device::PageNameSources sources;
    sources.userFolder = platform::Utf8Decode(folder.path());
    sources.defaultFolder = sources.userFolder;
    sources.macroListName = data[0] & 4 ? L"zentu_macro.config" : L"macro.config";
    sources.deviceIndex = (data[0] >> 3) % 5 - 1;
    device::PageNameLists lists;
    device::ReadPageNameLists(sources, lists);
    if (lists.defaultLightVisible.size() != lists.defaultLightNames.size()) {
        std::abort();
    }
    return 0;
}
