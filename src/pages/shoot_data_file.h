#pragma once
// The mouse's recoil data: one file per gun, "ShootData_" + n + ".Shoot" (n = 0..3) in the
// mouse's user data folder, a JSON object whose "Events" list holds macro events with an
// integer "Delay". A gun holds 30 bullets of 6 events each: the horizontal move (down, up;
// type 1, button = x), the vertical move (type 2, button = y) and the shot (type 3), whose
// "up" event carries the delay to the next bullet.

#include <optional>
#include <string>
#include <vector>

#include "pages/macro_files.h"

namespace ShootDataFile {

inline constexpr int kGunCount = 4;
inline constexpr int kBulletCount = 30;
inline constexpr int kEventsPerBullet = 6;
inline constexpr int kMoveX = 1;
inline constexpr int kMoveY = 2;
inline constexpr int kShot = 3;

// Empty for a gun outside 0..3.
std::string FileName(int gun);

// Copies each gun file that the user folder lacks from the default folder. A file the
// user already has is never overwritten. Returns the number of files copied.
int SeedMissing(const std::string& userFolder, const std::string& defaultFolder);

// nullopt for a missing or unparseable file, or one without an "Events" list.
std::optional<std::vector<MacroEvent>> Load(const std::string& path,
                                            FileRole role = FileRole::Stored);
bool Save(const std::string& path, const std::vector<MacroEvent>& events);

}  // namespace ShootDataFile

struct ShootBullet {
    int x = 0;
    int y = 0;
    int delay = 0;

    friend bool operator==(const ShootBullet&, const ShootBullet&) = default;
};

// Bullet n of a gun's events (zero where the events end early or hold other records).
ShootBullet BulletFromEvents(const std::vector<MacroEvent>& events, int bullet);
// Writes bullet n, growing the list with empty bullets up to it.
void StoreBullet(std::vector<MacroEvent>* events, int bullet, const ShootBullet& value);
