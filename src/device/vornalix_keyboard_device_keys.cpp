// Key assignments and macros: what the keyboard's keys do and what its macro memory holds.

#include <algorithm>
#include <cstring>

#include "device/device_paths.h"
#include "device/macro_image.h"
#include "device/vornalix_keyboard_device.h"

namespace {

constexpr wchar_t kMacroListName[] = L"macro.config";

}  // namespace

int CVornalixKeyboardDevice::WriteKeyAssignments(int bank,
                                                 std::vector<KeyAssignRecord> assignments) {
    if (!commandChannel_.IsOpen()) {
        return 0;
    }
    SendKeyCodeTable(assignments, bank);
    return 1;
}

void CVornalixKeyboardDevice::SendKeyCodeTable(const std::vector<KeyAssignRecord>& assignments,
                                               int bank) {
    DeviceInfoBlock info;
    if (commandChannel_.ReadDeviceInfo(info) == 1) {
        capabilities_ = info;
    }
    // The keyboard's count may have changed since it was opened; no more than the table
    // read then is sent back.
    const size_t length =
        std::min<size_t>(size_t{capabilities_.LedCount()} * 3, device::kKeyboardTableBytes);
    std::array<uint8_t, device::kKeyboardTableBytes> table{};
    std::copy_n(keyCodeTable_.begin(), length, table.begin());
    // A profile may list fewer keys than the layout has; the others keep their codes.
    const device::KeyPositionMap map = KeyMaps().keyPosition;
    const size_t keys = std::min(assignments.size(), map.size());
    for (size_t k = 0; k < keys; ++k) {
        const size_t at = size_t{map[k]} * 3;
        if (map[k] == device::kNoKeyPosition || at + 3 > length) {
            continue;
        }
        const KeyFunctionRecord& current = assignments[k].current;
        table[at] = current.type;
        table[at + 1] = current.p1;
        table[at + 2] = current.p2;
    }
    commandChannel_.BeginSession();
    commandChannel_.WriteKeyCodeTable(table, bank);
    commandChannel_.EndSession();
}

int CVornalixKeyboardDevice::ApplyKeyAssignments(int bank) {
    return WriteKeyAssignments(bank, keyAssignments_);
}

void CVornalixKeyboardDevice::SetKeyAssignments(std::vector<KeyAssignRecord> assignments) {
    keyAssignments_ = std::move(assignments);
    SaveKeyList();
}

void CVornalixKeyboardDevice::SetSelectedKeyAssignment(uint32_t first, uint32_t second,
                                                       uint32_t third) {
    if (selectedKey_ < 0 || static_cast<size_t>(selectedKey_) >= keyAssignments_.size()) {
        return;  // no key chosen, or one the profile does not list
    }
    const std::array<uint32_t, 3> words = {first, second, third};
    std::array<uint8_t, sizeof(KeyAssignRecord)> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
    }
    KeyAssignRecord record;
    std::memcpy(&record, bytes.data(), sizeof(record));
    KeyFunctionRecord& current = keyAssignments_[static_cast<size_t>(selectedKey_)].current;
    current.type = record.current.type;
    current.p1 = record.current.p1;
    current.p2 = record.current.p2;
    SaveKeyList();
}

int CVornalixKeyboardDevice::UploadMacros() {
    if (commandChannel_.IsOpen()) {
        DeviceInfoBlock info;
        if (commandChannel_.ReadDeviceInfo(info) == 1) {
            capabilities_ = info;
        }
    }
    std::vector<device::MacroEvents> macros;
    if (!device::ReadMacroList(GetUserDataPath().str(), kMacroListName, &macros) ||
        macros.empty()) {
        return 0;
    }
    const size_t length = device::MacroImageLength(macros);
    const size_t capacity = size_t{capabilities_.MacroMemoryUnits()} * device::kMacroMemoryUnit;
    if (length > capacity) {
        return device::MacroOverflowResult(length, capacity);
    }
    const std::vector<uint8_t> image = device::BuildMacroImage(macros);
    if (image.empty()) {
        return -1;
    }
    if (commandChannel_.IsOpen()) {
        commandChannel_.BeginSession();
        commandChannel_.WriteMacroImage(image);
    }
    commandChannel_.EndSession();
    return 0;
}
