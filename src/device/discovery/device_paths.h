#pragma once
// Where a device keeps its files: default data beside the program, per-user data in its
// own folder under the per-user data folder.

#include <string>

namespace device {

// instanceFolder + "DefaultData/".
std::wstring DefaultDataFolder(const std::wstring& instanceFolder);
// <per-user data>/Velkaro/<deviceFileName>/, both folders created when missing.
std::wstring DeviceUserDataFolder(const std::wstring& deviceFileName);

}  // namespace device
