#include <gtest/gtest.h>

#include "pages/macro_files.h"
#include "pages/shoot_data_file.h"
#include "platform/paths.h"
#include "profile/stored_file_id.h"
#include "support/temp_dir.h"

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

TEST(SafeFileId, RefusesIdsThatLeaveTheFolder) {
    EXPECT_TRUE(IsSafeStoredFileId("2026_03_07_09_05_03_042"));
    EXPECT_TRUE(IsSafeStoredFileId("{0A1B-22}"));
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "..hidden", "x..y", "tab\tname"})
        EXPECT_FALSE(IsSafeStoredFileId(bad)) << bad;
    EXPECT_FALSE(IsSafeStoredFileId(std::string(kMaxStoredFileIdLength + 1, 'a')));
    EXPECT_EQ(FolderWithSeparator("a\\b"), "a/b/");
    EXPECT_EQ(FolderWithSeparator("a/"), "a/");
}

TEST(MacroIndexFile, ReadsEntriesInFileOrderKeepingBadOnes) {
    TempDir dir;
    WriteTextFile(dir.File("macro.config"),
                  R"({"MacroInfo": [{"MacroName": "zeta", "Guid": "g1"},)"
                  R"( {"MacroName": 12, "Guid": "g2"}, {"MacroName": "alpha", "Guid": "../x"}]})");
    const auto entries = MacroIndexFile::Load(dir.File("macro.config"));
    ASSERT_TRUE(entries);
    // Key assignments name macros by position: nothing may move.
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "zeta");
    EXPECT_EQ((*entries)[1].name, "");
    EXPECT_EQ((*entries)[2].name, "alpha");
    EXPECT_EQ(MacroFile::PathFor(dir.path(), (*entries)[2].guid), "");
    EXPECT_FALSE(MacroIndexFile::Load(dir.File("missing.config")));

    ASSERT_TRUE(MacroIndexFile::Save(dir.File("copy.config"), *entries));
    const auto again = MacroIndexFile::Load(dir.File("copy.config"));
    ASSERT_TRUE(again);
    EXPECT_EQ((*again)[2].guid, "../x");
}

TEST(MacroFile, EventsRoundTripWithDelayAsDecimalText) {
    TempDir dir;
    MacroDocument macro{"m", "g1", {{true, 4, 10, 50}, {false, 4, 10, 65000}}};
    const std::string path = MacroFile::PathFor(dir.path(), "g1");
    ASSERT_TRUE(MacroFile::Save(path, macro));
    EXPECT_NE(ReadTextFile(path).find("\"Delay\" : \"65000\""), std::string::npos);
    const auto loaded = MacroFile::Load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->events, macro.events);
    EXPECT_EQ(loaded->name, "m");

    WriteTextFile(dir.File("odd.mac"),
                  R"({"Events": [{"Action": "DOWN", "Button": "x", "Type": 3, "Delay": 12}]})");
    const auto odd = MacroFile::Load(dir.File("odd.mac"));
    ASSERT_TRUE(odd);
    ASSERT_EQ(odd->events.size(), 1u);
    EXPECT_FALSE(odd->events[0].down) << "only \"down\" exactly is a press";
    EXPECT_EQ(odd->events[0].button, 0);
    EXPECT_EQ(odd->events[0].delay, 12u);
}

TEST(ShootDataFile, SeedsMissingGunsOnceAndNeverOverwrites) {
    TempDir dir;
    const std::string defaults = dir.path() + "DefaultData/";
    const std::string user = dir.path() + "user/";
    platform::EnsureDirectory(defaults);
    platform::EnsureDirectory(user);
    for (int gun = 0; gun < ShootDataFile::kGunCount; ++gun)
        WriteTextFile(defaults + ShootDataFile::FileName(gun), R"({"Events": []})");
    WriteTextFile(user + ShootDataFile::FileName(1), R"({"Events": [{"Action": "up"}]})");

    EXPECT_EQ(ShootDataFile::SeedMissing(user, defaults), 3);
    EXPECT_EQ(ReadTextFile(user + "ShootData_1.Shoot"), R"({"Events": [{"Action": "up"}]})");
    EXPECT_EQ(ReadTextFile(user + "ShootData_3.Shoot"), R"({"Events": []})");

    WriteTextFile(user + ShootDataFile::FileName(0), R"({"Events": [1]})");
    EXPECT_EQ(ShootDataFile::SeedMissing(user, defaults), 0);
    EXPECT_EQ(ReadTextFile(user + "ShootData_0.Shoot"), R"({"Events": [1]})");
    EXPECT_EQ(ShootDataFile::FileName(4), "");
}

TEST(ShootDataFile, BulletsMapToSixEventsWithIntegerDelay) {
    TempDir dir;
    std::vector<MacroEvent> events;
    StoreBullet(&events, 2, {-5, 7, 40});
    ASSERT_EQ(events.size(), 18u);
    EXPECT_EQ(BulletFromEvents(events, 2), (ShootBullet{-5, 7, 40}));
    EXPECT_EQ(BulletFromEvents(events, 0), (ShootBullet{}));
    EXPECT_EQ(BulletFromEvents(events, 3), (ShootBullet{}));
    StoreBullet(&events, 30, {1, 1, 1});
    EXPECT_EQ(events.size(), 18u) << "a gun holds 30 bullets";

    const std::string path = dir.File("ShootData_0.Shoot");
    ASSERT_TRUE(ShootDataFile::Save(path, events));
    EXPECT_NE(ReadTextFile(path).find("\"Delay\" : 40"), std::string::npos);
    const auto loaded = ShootDataFile::Load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, events);
}
