// A language file (skin/lan_*.xml) maps text keys to the texts shown. Whatever the file
// holds, loading it either replaces the texts or leaves them, and every lookup answers.

#include <cstddef>
#include <cstdint>

#include "duilib/resource_manager.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzzing::FuzzFolder& folder = fuzzing::SkinFolder();
    folder.Write("lan_fuzz.xml", fuzzing::Bytes(data, size));
    DuiLib::CResourceManager* resources = DuiLib::CResourceManager::GetInstance();
    resources->LoadLanguage(L"lan_fuzz.xml");
    for (const wchar_t* key : {L"message_text_5", L"ok_text", L"", L"\x4e2d"}) {
        resources->GetText(key);
    }
    resources->ResetTextMap();
    return 0;
}
