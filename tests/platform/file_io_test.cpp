#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/paths.h"
#include "platform/registry.h"
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

TEST(FileIoTest, FailedWriteLeavesTheOldFileWhole) {
    if (geteuid() == 0) {
        // root ignores folder permissions; a missing folder fails the same way for everyone.
    }
    TempDir dir;
    const std::string path = dir.File("profile.json");
    ASSERT_TRUE(WriteTextFile(path, "old contents"));
    EXPECT_FALSE(platform::WriteFileAtomic(dir.File("missing/profile.json"), "x"));
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

TEST(RegistryTest, UnreadableStoreIsKeptAsideNotLost) {
    testing_support::ScopedUserFolders folders;
    const std::string store = platform::Registry::StorePath();
    std::filesystem::create_directories(std::filesystem::path(store).parent_path());
    ASSERT_TRUE(WriteTextFile(store, "{ not json"));
    EXPECT_FALSE(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"));
    EXPECT_EQ(ReadTextFile(store + ".corrupt"), "{ not json");
    EXPECT_TRUE(platform::Registry::SetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE", 1));
    EXPECT_EQ(platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE"), 1u);
}

}  // namespace
