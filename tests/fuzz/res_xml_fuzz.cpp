// A skin's res.xml declares its layouts, images, fonts and default attributes. Whatever it
// holds, it loads or is refused, and what it declares reaches a paint manager without a
// crash.

#include <cstddef>
#include <cstdint>

#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzzing::FuzzFolder& folder = fuzzing::SkinFolder();
    folder.Write("res.xml", fuzzing::Bytes(data, size));
    DuiLib::CResourceManager* resources = DuiLib::CResourceManager::GetInstance();
    if (resources->LoadResource(L"res.xml")) {
        DuiLib::CPaintManagerUI manager;
        resources->ApplyTo(&manager);
        resources->GetXmlPath(L"XML_MAIN");
        resources->GetImagePath(L"logo");
        manager.GetDefaultFontInfo();
    }
    resources->Release();
    return 0;
}
