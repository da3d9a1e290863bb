#include "device/discovery/device_paths.h"

#include "platform/paths.h"
#include "platform/text_convert.h"

namespace device {

std::wstring DefaultDataFolder(const std::wstring& instanceFolder) {
    std::wstring folder = instanceFolder;
    if (!folder.empty() && folder.back() != L'/' && folder.back() != L'\\') {
        folder += L'/';
    }
    return platform::NormalizePath(folder + L"DefaultData/");
}

std::wstring DeviceUserDataFolder(const std::wstring& deviceFileName) {
    const std::string programFolder = platform::UserDataPath() + "Velkaro/";
    platform::EnsureDirectory(programFolder);
    const std::string deviceFolder = programFolder + platform::Utf8Encode(deviceFileName) + "/";
    platform::EnsureDirectory(deviceFolder);
    return platform::Utf8Decode(deviceFolder);
}

}  // namespace device
