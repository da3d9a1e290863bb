#include "pages/shoot_data_file.h"

#include <algorithm>

#include "pages/json_documents.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "profile/json_value.h"
#include "profile/stored_file_id.h"

namespace ShootDataFile {

std::string FileName(int gun) {
    if (gun < 0 || gun >= kGunCount) {
        return {};
    }
    return "ShootData_" + std::to_string(gun) + ".Shoot";
}

int SeedMissing(const std::string& userFolder, const std::string& defaultFolder) {
    const std::string to = FolderWithSeparator(userFolder);
    const std::string from = FolderWithSeparator(defaultFolder);
    if (to.empty() || from.empty() || !platform::EnsureDirectory(to)) {
        return 0;
    }
    int seeded = 0;
    for (int gun = 0; gun < kGunCount; ++gun) {
        const std::string target = to + FileName(gun);
        if (platform::FileExists(target)) {
            continue;
        }
        const auto bytes = platform::ReadWholeFile(from + FileName(gun));
        if (bytes && platform::WriteFileAtomic(target, *bytes)) {
            ++seeded;
        }
    }
    return seeded;
}

std::optional<std::vector<MacroEvent>> Load(const std::string& path, FileRole role) {
    // Without its "Events" list a file holds no gun: taking it would wipe the stored one.
    const Json::Value root = LoadJsonDocument(path, role);
    const Json::Value* events = JsonMember(root, "Events");
    if (events == nullptr || !events->isArray()) {
        return std::nullopt;
    }
    return MacroEventsFromJson(root);
}

bool Save(const std::string& path, const std::vector<MacroEvent>& events) {
    Json::Value list(Json::arrayValue);
    for (const MacroEvent& event : events) {
        list.append(MacroEventToJson(event, false));
    }
    Json::Value root(Json::objectValue);
    root["Events"] = list;
    return SaveJsonDocument(path, root);
}

}  // namespace ShootDataFile

namespace {

// Axis values are stored as the signed byte the mouse moves by.
int ToSigned(int button) {
    return static_cast<signed char>(static_cast<unsigned char>(button));
}
int ToButton(int value) {
    return static_cast<unsigned char>(static_cast<signed char>(value));
}

}  // namespace

ShootBullet BulletFromEvents(const std::vector<MacroEvent>& events, int bullet) {
    ShootBullet result;
    if (bullet < 0) {
        return result;
    }
    const size_t first = static_cast<size_t>(bullet) * ShootDataFile::kEventsPerBullet;
    if (first + ShootDataFile::kEventsPerBullet > events.size()) {
        return result;
    }
    result.x = ToSigned(events[first].button);
    result.y = ToSigned(events[first + 2].button);
    result.delay = static_cast<int>(events[first + 5].delay);
    return result;
}

void StoreBullet(std::vector<MacroEvent>* events, int bullet, const ShootBullet& value) {
    if (bullet < 0 || bullet >= ShootDataFile::kBulletCount) {
        return;
    }
    const size_t first = static_cast<size_t>(bullet) * ShootDataFile::kEventsPerBullet;
    const size_t needed = first + ShootDataFile::kEventsPerBullet;
    // Whole empty bullets only: a partial bullet from a file is completed, not shifted.
    while (events->size() < needed) {
        const size_t slot = events->size() % ShootDataFile::kEventsPerBullet;
        MacroEvent filler;
        filler.down = slot % 2 == 0;
        filler.type = static_cast<int>(slot / 2) + ShootDataFile::kMoveX;
        events->push_back(filler);
    }
    const int types[3] = {ShootDataFile::kMoveX, ShootDataFile::kMoveY, ShootDataFile::kShot};
    const int buttons[3] = {ToButton(value.x), ToButton(value.y), 0};
    for (size_t i = 0; i < static_cast<size_t>(ShootDataFile::kEventsPerBullet); ++i) {
        MacroEvent& event = (*events)[first + i];
        event.down = i % 2 == 0;
        event.type = types[i / 2];
        event.button = buttons[i / 2];
        event.delay = i == 5 ? static_cast<uint32_t>(std::max(0, value.delay)) : 0;
    }
}
