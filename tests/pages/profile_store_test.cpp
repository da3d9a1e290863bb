#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "pages/profile_list_file.h"
#include "pages/profile_store.h"
#include "platform/paths.h"
#include "platform/user_notice.h"
#include "profile/json_file.h"
#include "support/temp_dir.h"

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

Json::Value Load(const std::string& path) {
    CJsonFile json;
    return json.LoadJsonFile(DuiLib::CDuiString::FromUtf8(path));
}

class ProfileStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = dir_.path() + "user/";
        platform::EnsureDirectory(folder_);
        defaultFile_ = dir_.File("Default.Json");
        WriteTextFile(defaultFile_, R"({"Device": [{"LightInfo": {"SelectItem": 4}}, null, null,)"
                                    R"( {"CustomEQNameInfo": [{"Name": "factory"}]}]})");
        store_.SetPaths(folder_, defaultFile_);
        store_.SetDeviceKind(1);
    }

    TempDir dir_;
    std::string folder_, defaultFile_;
    ProfileStore store_;
};

}  // namespace

TEST_F(ProfileStoreTest, EmptyFolderGetsAFirstProfileFromTheDefaultFile) {
    ASSERT_EQ(store_.Load(), 1);
    ASSERT_EQ(store_.Entries().size(), 1u);
    const std::string uuid = store_.SelectedUuid();
    const Json::Value profile = Load(store_.ProfilePath(uuid));
    EXPECT_EQ(profile["profileUUID"].asString(), uuid);
    EXPECT_EQ(profile["profilename"].asString(), store_.Entries()[0].name);
    EXPECT_EQ(profile["Device"][0]["LightInfo"]["SelectItem"].asInt(), 4);

    // A second load reads the list it wrote instead of creating another profile.
    ProfileStore again;
    again.SetPaths(folder_, defaultFile_);
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(again.Entries().size(), 1u);
    EXPECT_EQ(again.SelectedUuid(), uuid);
}

TEST_F(ProfileStoreTest, ADamagedOrLostListIsRebuiltFromTheProfilesBesideIt) {
    ASSERT_EQ(store_.Load(), 1);
    ASSERT_EQ(store_.Add("游戏"), 1);
    ASSERT_EQ(store_.Add("Work"), 1);
    const std::vector<ProfileEntry> made = store_.Entries();
    WriteTextFile(folder_ + "not_a_profile.Json", R"({"Device": []})");
    WriteTextFile(folder_ + "broken.Json", "{");
    const std::string listPath = folder_ + ProfileListFile::kFileName;
    WriteTextFile(listPath, "{\"ProfileList\": [");

    platform::UserNoticeCapture notices;
    ProfileStore rebuilt;
    rebuilt.SetPaths(folder_, defaultFile_);
    ASSERT_EQ(rebuilt.Load(), 1);
    ASSERT_EQ(rebuilt.Entries().size(), 3u);
    for (size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(rebuilt.Entries()[i].name, made[i].name);
        EXPECT_EQ(rebuilt.Entries()[i].uuid, made[i].uuid);
    }
    EXPECT_EQ(ReadTextFile(listPath + ".corrupt"), "{\"ProfileList\": [");
    EXPECT_TRUE(notices.Contains(L"ProfileList.ini.corrupt"));

    ASSERT_EQ(std::remove(listPath.c_str()), 0);
    ProfileStore again;
    again.SetPaths(folder_, defaultFile_);
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(again.Entries().size(), 3u) << "a lost list is rebuilt too";
}

TEST_F(ProfileStoreTest, AFirstRunThatCannotWriteStillListsAProfileAndSaysWhy) {
    // A file where the folder should be fails every write, even for root.
    const std::string blocked = dir_.File("blocked");
    WriteTextFile(blocked, "");
    platform::UserNoticeCapture notices;
    ProfileStore store;
    store.SetPaths(blocked + "/user", defaultFile_);
    EXPECT_EQ(store.Load(), 0);
    ASSERT_EQ(store.Entries().size(), 1u);
    EXPECT_EQ(store.Entries()[0].name, "Profile1");
    EXPECT_FALSE(store.SelectedUuid().empty());
    ASSERT_FALSE(notices.Notices().empty());
    EXPECT_EQ(notices.Notices()[0].key, L"message_save_failed");
    EXPECT_TRUE(notices.Contains(L"Not a directory"));
}

TEST_F(ProfileStoreTest, ListFileIdsAndSelectionAreChecked) {
    WriteTextFile(folder_ + ProfileListFile::kFileName,
                  R"({"ProfileList": [{"profilename": "a", "profileUUID": "../../etc/x"},)"
                  R"( {"profilename": "b", "profileUUID": "good_1"},)"
                  R"( {"profilename": "c", "profileUUID": "good_1"},)"
                  R"( {"profilename": "d", "profileUUID": 5}], "SelectIndex": 9})");
    ASSERT_EQ(store_.Load(), 1);
    ASSERT_EQ(store_.Entries().size(), 1u);
    EXPECT_EQ(store_.Entries()[0].name, "b");
    EXPECT_EQ(store_.SelectedIndex(), 0);
}

TEST_F(ProfileStoreTest, AddCopyRenameDeleteKeepListAndFilesInStep) {
    ASSERT_EQ(store_.Load(), 1);
    const std::string first = store_.SelectedUuid();
    ASSERT_EQ(store_.Add("Games"), 1);
    const std::string added = store_.SelectedUuid();
    EXPECT_NE(added, first) << "ids made in the same millisecond must still differ";
    ASSERT_EQ(store_.Copy("Games copy"), 1);
    EXPECT_EQ(store_.Entries().size(), 3u);
    EXPECT_EQ(Load(store_.ProfilePath(store_.SelectedUuid()))["profilename"].asString(),
              "Games copy");

    ASSERT_EQ(store_.Rename("Work"), 1);
    EXPECT_EQ(Load(store_.ProfilePath(store_.SelectedUuid()))["profilename"].asString(), "Work");
    ProfileListFile list;
    ASSERT_TRUE(list.Load(folder_ + ProfileListFile::kFileName));
    EXPECT_EQ(list.entries[2].name, "Work");
    EXPECT_EQ(list.selected, 2);

    const std::string doomed = store_.ProfilePath(store_.SelectedUuid());
    ASSERT_EQ(store_.Delete(), 1);
    EXPECT_TRUE(ReadTextFile(doomed).empty());
    EXPECT_EQ(store_.SelectedUuid(), added);
    ASSERT_EQ(store_.Delete(), 1);
    EXPECT_EQ(store_.Delete(), 0) << "the last profile stays";
    EXPECT_EQ(store_.SelectedUuid(), first);
    EXPECT_EQ(store_.Select(5), 0);
}

TEST_F(ProfileStoreTest, AListThatCannotBeWrittenLeavesListAndFilesAsTheyWere) {
    ASSERT_EQ(store_.Load(), 1);
    ASSERT_EQ(store_.Add("Games"), 1);
    const std::string games = store_.SelectedUuid();
    // A folder in the list file's place makes every list write fail.
    const std::string listPath = folder_ + ProfileListFile::kFileName;
    ASSERT_EQ(std::remove(listPath.c_str()), 0);
    platform::EnsureDirectory(listPath);

    EXPECT_EQ(store_.Add("More"), 0);
    EXPECT_EQ(store_.Copy("Copied"), 0);
    EXPECT_EQ(store_.Entries().size(), 2u);
    EXPECT_EQ(store_.SelectedUuid(), games);
    size_t profileFiles = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder_)) {
        profileFiles += file.path().extension() == ".Json" ? 1 : 0;
    }
    EXPECT_EQ(profileFiles, 2u) << "an unlisted profile file was left behind";

    EXPECT_EQ(store_.Rename("Work"), 0);
    EXPECT_EQ(store_.Entries()[1].name, "Games");
    EXPECT_EQ(Load(store_.ProfilePath(games))["profilename"].asString(), "Games");
    EXPECT_EQ(store_.Select(0), 0);
    EXPECT_EQ(store_.SelectedUuid(), games);
}

TEST_F(ProfileStoreTest, ImportNeedsNameAndIdAndGetsAFreshId) {
    ASSERT_EQ(store_.Load(), 1);
    WriteTextFile(dir_.File("noname.json"), R"({"profileUUID": "x", "Device": []})");
    WriteTextFile(dir_.File("noid.json"), R"({"profilename": "x", "Device": []})");
    WriteTextFile(dir_.File("garbage.json"), "not json");
    EXPECT_EQ(store_.Import(dir_.File("noname.json")), 0);
    EXPECT_EQ(store_.Import(dir_.File("noid.json")), 0);
    EXPECT_EQ(store_.Import(dir_.File("garbage.json")), 0);
    EXPECT_EQ(store_.Import(dir_.File("missing.json")), 0);
    EXPECT_EQ(store_.Entries().size(), 1u);

    WriteTextFile(dir_.File("good.json"),
                  R"({"profilename": "Shared", "profileUUID": "../evil", "Device": [7]})");
    ASSERT_EQ(store_.Import(dir_.File("good.json")), 1);
    const std::string uuid = store_.SelectedUuid();
    EXPECT_NE(uuid, "../evil");
    const Json::Value stored = Load(store_.ProfilePath(uuid));
    EXPECT_EQ(stored["profilename"].asString(), "Shared");
    EXPECT_EQ(stored["profileUUID"].asString(), uuid);
    EXPECT_EQ(stored["Device"][0].asInt(), 7);

    ASSERT_EQ(store_.Export(dir_.File("out.json")), 1);
    EXPECT_EQ(Load(dir_.File("out.json")), stored);
}

TEST_F(ProfileStoreTest, ImportTakesNoProfileOfAnotherKindOfDevice) {
    ASSERT_EQ(store_.Load(), 1);  // a keyboard's profiles
    const auto write = [&](const char* name, const std::string& section) {
        WriteTextFile(dir_.File(name),
                      R"({"profilename": "p", "profileUUID": "1", "Device": [)" + section + "]}");
        return dir_.File(name);
    };
    const std::string mouse =
        write("mouse.json", R"({"LightInfo": {}, "DPIStages": {"StageDPIs": []}})");
    const std::string oldMouse =
        write("oldmouse.json", R"({"KeyList": [], "SystemStages": {"MouseSpeed": 10}})");
    const std::string headset = write("headset.json", R"({"EQHzValueInfo": []})");
    const std::string pad = write("pad.json", R"({"LightInfo": {}, "LightList": []})");
    for (const std::string& other : {mouse, oldMouse, headset, pad}) {
        EXPECT_EQ(store_.Import(other), ProfileStore::kOtherKind) << other;
    }
    EXPECT_EQ(store_.Entries().size(), 1u);

    const std::string keyboard =
        write("keyboard.json", R"({"LightInfo": {}, "SystemStages": {"Repeat": 31}})");
    const std::string oldKeyboard =
        write("oldkeyboard.json", R"({"LightInfo": {}, "KeyList": []})");
    EXPECT_EQ(store_.Import(keyboard), 1);
    EXPECT_EQ(store_.Import(oldKeyboard), 1) << "nothing in it belongs to another kind";

    store_.SetDeviceKind(6);
    EXPECT_EQ(store_.Import(oldMouse), 1) << "a mouse of the other kind takes mouse profiles";
    store_.SetDeviceKind(3);
    EXPECT_EQ(store_.Import(pad), 1);
    EXPECT_EQ(store_.Import(keyboard), ProfileStore::kOtherKind);
}

TEST_F(ProfileStoreTest, ResetRestoresDefaultsButAHeadsetKeepsItsCustomEqualiser) {
    store_.SetDeviceKind(ProfileStore::kHeadsetKind);
    ASSERT_EQ(store_.Load(), 1);
    ASSERT_EQ(store_.Rename("Mine"), 1);
    const std::string path = store_.ProfilePath(store_.SelectedUuid());
    Json::Value edited = Load(path);
    edited["Device"][0]["LightInfo"]["SelectItem"] = 9;
    edited["Device"][3]["CustomEQNameInfo"][0]["Name"] = "user preset";
    edited["Device"][3]["CustomEQHzValueInfo"][0][0]["value"] = 3;
    CJsonFile().SaveJsonFile(DuiLib::CDuiString::FromUtf8(path), edited);

    ASSERT_EQ(store_.Reset(), 1);
    const Json::Value reset = Load(path);
    EXPECT_EQ(reset["Device"][0]["LightInfo"]["SelectItem"].asInt(), 4);
    EXPECT_EQ(reset["Device"][3]["CustomEQNameInfo"][0]["Name"].asString(), "user preset");
    EXPECT_EQ(reset["Device"][3]["CustomEQHzValueInfo"][0][0]["value"].asInt(), 3);
    EXPECT_EQ(reset["profilename"].asString(), "Mine");
}
