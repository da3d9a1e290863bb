// Language list, font choice, installed version, INI values and the skin observer.

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "app/language_fonts.h"
#include "app/locale_language.h"
#include "app/skin_observer.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "update/installed_version.h"
#include "update/language_list.h"

namespace {

Json::Value Parse(const std::string& text) {
    Json::Value value;
    Json::Reader().parse(text, value);
    return value;
}

TEST(LanguageListTest, EntriesKeepTheirPositionsWhateverTheirFieldTypes) {
    auto list = ParseLanguageList(Parse(R"({"Language": [
        {"Language_name": "Chinese", "Language_file": "lan_cn.xml", "Language_ID": 2052, "Language_text": "x"},
        {"Language_name": 5, "Language_file": ["bad"], "Language_ID": "1033"},
        "not an object",
        {"Language_name": "English", "Language_file": "lan_en.xml", "Language_ID": 1033}]})"));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].file, L"lan_cn.xml");
    EXPECT_TRUE(list[1].name.empty());
    EXPECT_EQ(list[1].id, 0);
    EXPECT_EQ(FindLanguageIndexById(list, 1033), 3);
    EXPECT_EQ(FindLanguageIndexById(list, 520), std::nullopt);
    EXPECT_TRUE(ParseLanguageList(Parse(R"({"Language": 3})")).empty());
    // Found by fuzzing: an id past 64 signed bits threw out of the reader.
    const auto huge = ParseLanguageList(Parse(R"({"Language": [{"Language_ID": 9223372036854775808},
                                                               {"Language_ID": 1e300}]})"));
    ASSERT_EQ(huge.size(), 2u);
    EXPECT_EQ(huge[0].id, 0);
    EXPECT_EQ(huge[1].id, 0);
    EXPECT_TRUE(ParseLanguageList(Parse("[1,2]")).empty());
}

TEST(LanguageListTest, TheShippedConfigurationListsChineseThenEnglish) {
    auto list = LoadLanguageList(platform::InstancePath() + "DefaultData/");
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[0].file, L"lan_cn.xml");
    EXPECT_EQ(list[1].file, L"lan_en.xml");
    EXPECT_TRUE(LoadLanguageList("/nonexistent/").empty());

    testing_support::TempDir dir;
    testing_support::WriteTextFile(dir.File("Language.config"),
                                   "{\"Language\": " + std::string(1500, '[') + "]}");
    EXPECT_TRUE(LoadLanguageList(dir.path()).empty()) << "too deep reads as unparseable";
}

TEST(LocaleLanguageTest, ChineseLocalesNameChineseEveryOtherLocaleEnglish) {
    EXPECT_EQ(LanguageIdOfLocale("zh_CN.UTF-8"), 2052);
    EXPECT_EQ(LanguageIdOfLocale("zh_TW"), 2052);
    EXPECT_EQ(LanguageIdOfLocale("zh"), 2052);
    EXPECT_EQ(LanguageIdOfLocale("en_US.UTF-8"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("en@quot"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("de_DE.UTF-8"), 1033) << "a language that is not shipped";
    EXPECT_EQ(LanguageIdOfLocale("C.UTF-8"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("C"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("POSIX"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("zhx_CN"), 1033);
    EXPECT_EQ(LanguageIdOfLocale(""), 1033);
}

TEST(LocaleLanguageTest, TheFirstSetOfLcAllLcMessagesAndLangDecides) {
    testing_support::ScopedEnv all("LC_ALL", "");
    testing_support::ScopedEnv messages("LC_MESSAGES", "zh_CN.UTF-8");
    testing_support::ScopedEnv lang("LANG", "en_US.UTF-8");
    EXPECT_EQ(UserLocaleLanguageId(), 2052) << "an empty LC_ALL counts as unset";
    setenv("LC_ALL", "zh_TW", 1);
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(UserLocaleLanguageId(), 2052) << "LC_ALL overrides all";
    unsetenv("LC_ALL");
    setenv("LANG", "C.UTF-8", 1);
    EXPECT_EQ(UserLocaleLanguageId(), 1033);
    unsetenv("LANG");
    EXPECT_EQ(UserLocaleLanguageId(), 1033) << "none set is the C locale";
}

TEST(LanguageFontsTest, FamilyDependsOnTheNewAndThePreviousLanguage) {
    EXPECT_EQ(PickFontFamily(15, 3), L"Noto Sans Thai");
    EXPECT_EQ(PickFontFamily(3, 15), L"Verdana Unicode MS");
    EXPECT_EQ(PickFontFamily(4, 3), std::nullopt);
    EXPECT_EQ(PickFontFamily(1, -1), L"Verdana Unicode MS");
    EXPECT_EQ(PickFontFamily(0, 1), L"汉仪菱心体简");
    EXPECT_EQ(PickFontFamily(2, 0), L"Noto Sans CJK TC Regular");
}

TEST(InstalledVersionTest, DisplayVersionWithoutDotsIsTheNumber) {
    testing_support::ScopedUserFolders folders;
    EXPECT_EQ(GetInstalledVersion(), 0);
    ASSERT_TRUE(
        platform::Registry::SetString(UninstallKeyName(L"Velkaro"), L"DisplayVersion", L"1.0.3"));
    EXPECT_EQ(GetInstalledVersion(), 103);
    EXPECT_EQ(ParseDisplayVersion(L"2.10"), 210);
    EXPECT_EQ(ParseDisplayVersion(L"1.0-beta"), 0);
    EXPECT_EQ(ParseDisplayVersion(L"..."), 0);
    EXPECT_EQ(ParseDisplayVersion(L"99999999999"), 0);
}

TEST(IniFileTest, ValuesAreReplacedInTheirSectionAndOtherLinesKept) {
    testing_support::TempDir dir;
    const std::string path = dir.File("main.ini");
    ASSERT_TRUE(WriteIniValue(path, L"SKINIMAGE", L"FLAGS", L"1"));
    ASSERT_TRUE(WriteIniValue(path, L"SKINIMAGE", L"IMAGE", L"skin/skin_1.png"));
    ASSERT_TRUE(WriteIniValue(path, L"OTHER", L"A", L"b"));
    ASSERT_TRUE(WriteIniValue(path, L"skinimage", L"flags", L"0"));
    EXPECT_EQ(testing_support::ReadTextFile(path),
              "[SKINIMAGE]\r\nflags=0\r\nIMAGE=skin/skin_1.png\r\n[OTHER]\r\nA=b\r\n");
    EXPECT_FALSE(WriteIniValue(path, L"SKINIMAGE", L"IMAGE", L"two\nlines"));
}

struct CountingReceiver : SkinReceiver {
    int calls = 0;
    SkinChangedParam last;
    int Receive(SkinChangedParam param) override {
        ++calls;
        last = param;
        return 1;
    }
};

TEST(SkinObserverTest, BroadcastReachesOnlyLiveReceivers) {
    SkinObserver observer;
    CountingReceiver kept;
    observer.AddReceiver(&kept);
    observer.AddReceiver(nullptr);
    {
        CountingReceiver gone;
        observer.AddReceiver(&gone);
        EXPECT_EQ(observer.ReceiverCount(), 2);
    }
    EXPECT_EQ(observer.ReceiverCount(), 1);
    observer.Broadcast(SkinChangedParam{1, 0xFF102030, L""});
    EXPECT_EQ(kept.calls, 1);
    EXPECT_EQ(kept.last.colour, 0xFF102030u);
}

}  // namespace
