#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/text_convert.h"
#include "platform/user_notice.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

TEST(FileIoTest, AtomicWriteReplacesWholeAndLeavesNoTemporaryFiles) {
    TempDir dir;
    const std::string path = dir.File("settings.json");
    ASSERT_TRUE(platform::WriteFileAtomic(path, "first"));
    ASSERT_TRUE(platform::WriteFileAtomic(path, std::string("sec\0ond", 7)));
    EXPECT_EQ(*platform::ReadWholeFile(path), std::string("sec\0ond", 7));
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u);
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(FileIoTest, FailedWriteLeavesTheOldFileWholeAndIsTold) {
    // root ignores folder permissions; a missing folder fails the same way for everyone.
    TempDir dir;
    platform::UserNoticeCapture notices;
    const std::string path = dir.File("profile.json");
    ASSERT_TRUE(WriteTextFile(path, "old contents"));
    int error = 0;
    EXPECT_FALSE(platform::WriteFileAtomic(dir.File("missing/profile.json"), "x", &error));
    EXPECT_EQ(error, ENOENT);
    ASSERT_EQ(notices.Notices().size(), 1u);
    EXPECT_EQ(notices.Notices()[0].key, L"message_save_failed");
    EXPECT_TRUE(notices.Contains(platform::Utf8Decode(dir.File("missing/profile.json"))));
    EXPECT_TRUE(notices.Contains(L"No such file or directory"));
    // A target that is a folder cannot be replaced by a file: the rename fails after the
    // temporary was written in full, and the temporary is cleaned up.
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_FALSE(platform::WriteFileAtomic(dir.File("folder"), "new contents"));
    EXPECT_EQ(ReadTextFile(path), "old contents");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 2u);  // profile.json and folder
}

TEST(FileIoTest, DamagedCopiesAreNumberedAndNeverReplaced) {
    TempDir dir;
    platform::UserNoticeCapture notices;
    const std::string path = dir.File("ProfileList.ini");
    ASSERT_TRUE(platform::SetDamagedFileAside(path, "{ first", "line 1, column 3: cut"));
    ASSERT_TRUE(platform::SetDamagedFileAside(path, "{ second", "line 1, column 4: cut"));
    // The same damage seen again is already kept.
    ASSERT_TRUE(platform::SetDamagedFileAside(path, "{ first", "line 1, column 3: cut"));
    EXPECT_EQ(ReadTextFile(path + ".corrupt"), "{ first");
    EXPECT_EQ(ReadTextFile(path + ".corrupt.2"), "{ second");
    EXPECT_EQ(FilesIn(dir.path()).size(), 2u);
    EXPECT_EQ(notices.Notices().size(), 2u);
    EXPECT_TRUE(notices.Contains(platform::Utf8Decode(path + ".corrupt.2")));
    EXPECT_TRUE(notices.Contains(L"line 1, column 4: cut"));

    EXPECT_FALSE(platform::SetDamagedFileAside(dir.File("missing/x.Json"), "{", "cut"));
    EXPECT_TRUE(notices.Contains(L"left as it is"));
}

TEST(FileIoTest, TemporariesOfAKilledWriterGoWithTheNextWriteToTheirFolder) {
    TempDir dir;
    const std::string path = dir.File("profile.Json");
    for (int kill = 0; kill < 5; ++kill) {
        std::filesystem::remove(path);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string big(256 << 10, 'x');
            for (;;)
                platform::WriteFileAtomic(path, big);
        }
        // Killed once it has saved at least once, in the middle of a later save.
        while (!platform::FileExists(path))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    }
    // Left by earlier builds and by a run killed where no unnamed temporary was possible.
    for (const char* stale : {"profile.Json.Ab12Cd", "other.Json.velkaro-Xy34Zw"})
        WriteTextFile(dir.File(stale), "half a save");
    // Being written right now by someone who holds it, and a user's own files.
    WriteTextFile(dir.File("third.Json.velkaro-Held01"), "");
    const int held = ::open(dir.File("third.Json.velkaro-Held01").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    for (const char* mine : {"notes", "notes.backup", "other.Json.backup"})
        WriteTextFile(dir.File(mine), "mine");

    ASSERT_TRUE(platform::WriteFileAtomic(path, "whole"));
    EXPECT_EQ(FilesIn(dir.path()),
              (std::set<std::string>{"profile.Json", "third.Json.velkaro-Held01", "notes",
                                     "notes.backup", "other.Json.backup"}));
    EXPECT_EQ(ReadTextFile(path), "whole");
    ::close(held);
}

TEST(FileIoTest, ReadReportsMissingFilesAndFolders) {
    TempDir dir;
    int error = 0;
    EXPECT_FALSE(platform::ReadWholeFile(dir.File("nothing"), &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(platform::ReadWholeFile(dir.path(), &error));
}

TEST(PathsTest, BackslashesBecomeSlashesAndCaseIsKept) {
    EXPECT_EQ(platform::NormalizePath(std::string("skin\\Keyboard\\Key_A.png")),
              "skin/Keyboard/Key_A.png");
    EXPECT_EQ(platform::NormalizePath(std::wstring(L"DefaultData\\Language.config")),
              L"DefaultData/Language.config");
}

TEST(PathsTest, UserFoldersFollowXdgAndAreCreated) {
    testing_support::ScopedUserFolders folders;
    std::filesystem::remove_all(folders.DataHome());
    EXPECT_EQ(platform::UserDataPath(), folders.DataHome());
    EXPECT_TRUE(std::filesystem::is_directory(folders.DataHome()));
    EXPECT_EQ(platform::UserConfigPath(), folders.ConfigHome());
    platform::SetInstancePathForTest("/opt/velkaro");
    EXPECT_EQ(platform::InstancePath(), "/opt/velkaro/");
    platform::SetInstancePathForTest("");
    EXPECT_NE(platform::InstancePath(), "/opt/velkaro/");
}

TEST(RegistryTest, ValuesPersistKeysIgnoreCaseAndTypesDoNotMix) {
    testing_support::ScopedUserFolders folders;
    using platform::Registry;
    EXPECT_FALSE(Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
    ASSERT_TRUE(Registry::SetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE", 2));
    ASSERT_TRUE(Registry::SetString(L"SOFTWARE\\Velkaro", L"Name", L"键盘"));
    EXPECT_EQ(Registry::GetDword(L"software\\velkaro", L"language"), 2u);
    EXPECT_EQ(Registry::GetString(L"SOFTWARE\\Velkaro", L"name"), L"键盘");
    EXPECT_FALSE(Registry::GetString(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
    EXPECT_TRUE(Registry::DeleteValue(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
    EXPECT_FALSE(Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
}

TEST(RegistryTest, UnreadableOrTooDeepStoreIsKeptAsideNotLost) {
    testing_support::ScopedUserFolders folders;
    platform::UserNoticeCapture notices;
    const std::string store = platform::Registry::StorePath();
    std::filesystem::create_directories(std::filesystem::path(store).parent_path());
    ASSERT_TRUE(WriteTextFile(store, "{ not json"));
    EXPECT_FALSE(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
    EXPECT_EQ(ReadTextFile(store + ".corrupt"), "{ not json");
    EXPECT_TRUE(platform::Registry::SetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE", 1));
    EXPECT_EQ(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"), 1u);

    const std::string deep = "{\"a\": " + std::string(1500, '[') + std::string(1500, ']') + "}";
    ASSERT_TRUE(WriteTextFile(store, deep));
    EXPECT_FALSE(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
    EXPECT_EQ(ReadTextFile(store + ".corrupt"), "{ not json");
    EXPECT_EQ(ReadTextFile(store + ".corrupt.2"), deep);
    EXPECT_EQ(notices.Notices().size(), 2u);
    EXPECT_EQ(notices.Notices()[1].key, L"message_file_damaged");
}

}  // namespace
