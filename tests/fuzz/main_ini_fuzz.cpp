// "main.ini" in the user's folder is read and rewritten whenever a skin image is chosen.
// Whatever it held, the value written is there afterwards and the write never fails for
// the file's sake.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ini_file.h"
#include "fuzz_folder.h"
#include "platform/file_io.h"
#include "platform/text_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzzing::FuzzFolder folder;
    const std::string path = folder.File("main.ini");
    folder.Write("main.ini", fuzzing::Bytes(data, size));
    if (!WriteIniValue(path, L"SKINIMAGE", L"FLAGS", L"3") ||
        !WriteIniValue(path, L"SKINIMAGE", L"IMAGE", L"skin/bg 1.png")) {
        std::abort();
    }
    const std::wstring text = platform::Utf8Decode(platform::ReadWholeFile(path).value_or(""));
    if (text.find(L"FLAGS=3\r\n") == std::wstring::npos ||
        text.find(L"IMAGE=skin/bg 1.png\r\n") == std::wstring::npos) {
        std::abort();
    }
    return 0;
}
