// Key assignments and macros: what the keyboard's keys do and what its macro memory holds.

#include <algorithm>

#include "device/discovery/device_paths.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/macro_image.h"
#include "device/record_words.h"

int CVornalixKeyboardDevice::WriteKeyAssignments(int bank,
                                                 std::vector<KeyAssignRecord> assignments) {
    // Before the keyboard's own table was read there is nothing to change codes in: a
    // table of zeros would leave the keyboard without a working key.
    if (!commandChannel_.IsOpen() || !keyTableRead_) {
        return 0;
    }
    return SendKeyCodeTable(assignments, bank);
}

int CVornalixKeyboardDevice::SendKeyCodeTable(const std::vector<KeyAssignRecord>& assignments,
                                              int bank) {
    RefreshCapabilities();
    // The table read at open goes back whole: a count the keyboard reports now, smaller
    // than then, would otherwise send zeros for the keys behind it.
    const size_t length =
        std::min<size_t>(commandChannel_.GetTableLength(), device::kKeyboardTableBytes);
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
    // The session is closed whatever the write gave, so the keyboard is not left in it.
    commandChannel_.BeginSession();
    const int written = commandChannel_.WriteKeyCodeTable(table, bank);
    commandChannel_.EndSession();
    return written == 1 ? 1 : 0;
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
    // No key chosen, or one the profile does not list, changes nothing.
    if (device::SetCurrentKeyFunction(keyAssignments_, selectedKey_, first, second, third)) {
        SaveKeyList();
    }
}

int CVornalixKeyboardDevice::UploadMacros() {
    if (commandChannel_.IsOpen()) {
        RefreshCapabilities();
    }
    std::vector<uint8_t> image;
    const int prepared = PrepareMacroUpload(&image);
    if (image.empty()) {
        return prepared;
    }
    int written = 1;
    if (commandChannel_.IsOpen()) {
        commandChannel_.BeginSession();
        written = commandChannel_.WriteMacroImage(image);
    }
    commandChannel_.EndSession();
    // A keyboard that refused the image, or never answered, does not play these macros:
    // said as a refused key table is.
    return written == 1 ? 0 : device::kMacroWriteRefused;
}
