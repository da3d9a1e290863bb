// What the mouse's keys do, and its macro and shoot memories.

#include <algorithm>

#include "device/macro_image.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/record_words.h"
#include "pages/shoot_data_file.h"
#include "profile/json_file.h"

namespace {

constexpr size_t kShootGunCount = ShootDataFile::kGunCount;
// The bullets the shoot page shows and edits; events past them would fire unseen.
constexpr size_t kShootEventsPerGun = ShootDataFile::kBulletCount * ShootDataFile::kEventsPerBullet;

// The events of the four guns' shoot files; a missing or unreadable file is a gun
// without events. Each file is read once, so the image is laid out from the events it
// was measured with.
std::vector<device::MacroEvents> ReadShootGuns(const std::wstring& folder) {
    CJsonFile file;
    std::vector<device::MacroEvents> guns;
    for (size_t g = 0; g < kShootGunCount; ++g) {
        const std::wstring path = folder + L"ShootData_" + std::to_wstring(g) + L".Shoot";
        device::MacroEvents events =
            device::MacroEventsOf(file.LoadJsonFile(DuiLib::CDuiString(path)));
        events.resize(std::min(events.size(), kShootEventsPerGun));
        guns.push_back(std::move(events));
    }
    return guns;
}

}  // namespace

int CVornalixMouseDevice::WriteKeyAssignments(int bank, std::vector<KeyAssignRecord> assignments) {
    // Before the mouse's own table was read there is nothing to change positions in: a
    // table of zeros would wipe every key.
    if (!commandChannel_.IsOpen() || !keyTableRead_ || !ProbeIfSlow()) {
        return 0;
    }
    if (!RefreshCapabilities()) {
        return 0;
    }
    return SendKeyCodeTable(assignments, bank);
}

int CVornalixMouseDevice::SendKeyCodeTable(const std::vector<KeyAssignRecord>& assignments,
                                           int bank) {
    // Exactly the table read at the start goes back, with the mapped keys changed.
    const size_t length = commandChannel_.GetTableLength();
    std::array<uint8_t, device::kMouseKeyTableBytes> table = keyCodeTable_;
    device::PutMouseKeyAssignments(GetKeyPositions(), assignments,
                                   std::span<uint8_t>(table.data(), length));
    if (!ProbeIfSlow()) {
        return 0;
    }
    commandChannel_.BeginSession();
    if (!ProbeIfSlow()) {
        return 0;
    }
    const int written = commandChannel_.WriteKeyCodeTable(table, bank);
    // A mouse that answered is not left in the session, whatever it made of the table.
    if (!ProbeIfSlow()) {
        return 0;
    }
    commandChannel_.EndSession();
    return written == 1 ? 1 : 0;
}

int CVornalixMouseDevice::ApplyKeyAssignments(int bank) {
    return WriteKeyAssignments(bank, keyAssignments_);
}

void CVornalixMouseDevice::SetKeyAssignments(std::vector<KeyAssignRecord> assignments) {
    keyAssignments_ = std::move(assignments);
    profile_.SetKeyList(keyAssignments_);
}

void CVornalixMouseDevice::SetSelectedKeyAssignment(uint32_t first, uint32_t second,
                                                    uint32_t third) {
    // No key chosen, or one the profile does not list, changes nothing.
    if (device::SetCurrentKeyFunction(keyAssignments_, selectedKey_, first, second, third)) {
        profile_.SetKeyList(keyAssignments_);
    }
}

void CVornalixMouseDevice::RefreshKeyPage(int deletedMacro) {
    if (RevertKeysOfDeletedMacros(deletedMacro)) {
        profile_.SetKeyList(keyAssignments_);
        SaveProfile();
        RefreshKeySetInfoList();
    }
}

int CVornalixMouseDevice::UploadMacros() {
    if (commandChannel_.IsOpen()) {
        if (!ProbeIfSlow()) {
            return 0;
        }
        RefreshCapabilities();
    }
    std::vector<uint8_t> image;
    const int prepared = PrepareMacroUpload(&image);
    if (image.empty()) {
        return prepared;
    }
    return SendMacroImage(image);
}

int CVornalixMouseDevice::SendMacroImage(const std::vector<uint8_t>& image) {
    if (!commandChannel_.IsOpen()) {
        return 0;
    }
    if (!ProbeIfSlow()) {
        return -1;
    }
    commandChannel_.BeginSession();
    if (!ProbeIfSlow()) {
        return -1;
    }
    const int written = commandChannel_.WriteMacroImage(image);
    if (!ProbeIfSlow()) {
        return -1;
    }
    commandChannel_.EndSession();
    // A mouse that refused the image, or never answered, does not play these macros.
    return written == 1 ? 0 : device::kMacroWriteRefused;
}

void CVornalixMouseDevice::UploadShootData() {
    if (commandChannel_.IsOpen()) {
        if (!ProbeIfSlow()) {
            return;
        }
        RefreshCapabilities();
    }
    // The shoot image has the macro image's layout, one entry per gun.
    const std::vector<uint8_t> image =
        device::BuildMacroImage(ReadShootGuns(GetUserDataPath().str()));
    if (!image.empty()) {
        SendShootImage(image);
    }
}

void CVornalixMouseDevice::SendShootImage(const std::vector<uint8_t>& image) {
    if (!commandChannel_.IsOpen() || !ProbeIfSlow()) {
        return;
    }
    commandChannel_.BeginSession();
    if (!ProbeIfSlow()) {
        return;
    }
    // A refused image still ends the session.
    commandChannel_.WriteShootImage(image);
    if (ProbeIfSlow()) {
        commandChannel_.EndSession();
    }
}
