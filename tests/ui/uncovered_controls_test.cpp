// Every control of the shipped skin that a person can click or type into is named, with
// the test that uses it, in interactive_controls.tsv: a control added to a skin without a
// test that uses it fails here, and so does a line whose test or control has gone.

#include <gtest/gtest.h>

#include <fnmatch.h>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CoverageLine {
    std::string file;
    std::string pattern;
    std::string test;
    int lineNumber = 0;
};

struct SkinControl {
    std::string file;
    std::string name;
};

const std::set<std::string>& InteractiveTags() {
    static const std::set<std::string> tags = {
        "Button",      "Option",           "CheckBox",    "Combo",       "Edit",
        "RichEdit",    "Slider",           "List",        "MenuElement", "DeviceKeyButton",
        "SelectPanel", "RedioMacroButton", "ColorPalette"};
    return tags;
}

std::vector<CoverageLine> ReadCoverage() {
    std::vector<CoverageLine> lines;
    std::ifstream in(VELKARO_UI_COVERAGE_FILE);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::istringstream fields(text);
        CoverageLine line;
        line.lineNumber = number;
        std::getline(fields, line.file, '\t');
        std::getline(fields, line.pattern, '\t');
        std::getline(fields, line.test, '\t');
        lines.push_back(line);
    }
    return lines;
}

std::vector<SkinControl> ReadSkinControls() {
    namespace fs = std::filesystem;
    std::vector<SkinControl> controls;
    const fs::path root(VELKARO_SKIN_DIR);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".xml") {
            continue;
        }
        pugi::xml_document doc;
        if (!doc.load_file(entry.path().c_str())) {
            ADD_FAILURE() << "unreadable skin file " << entry.path();
            continue;
        }
        const std::string file = fs::relative(entry.path(), root).generic_string();
        for (const pugi::xpath_node& found : doc.select_nodes("//*")) {
            const pugi::xml_node node = found.node();
            if (InteractiveTags().count(node.name()) != 0) {
                controls.push_back({file, node.attribute("name").as_string()});
            }
        }
    }
    return controls;
}

bool Matches(const CoverageLine& line, const SkinControl& control) {
    return line.file == control.file && fnmatch(line.pattern.c_str(), control.name.c_str(), 0) == 0;
}

bool TestExists(const std::string& fullName) {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t) {
            if (std::string(suite.name()) + "." + suite.GetTestInfo(t)->name() == fullName) {
                return true;
            }
        }
    }
    return false;
}

TEST(UncoveredControls, EveryInteractiveControlOfTheSkinHasATestThatUsesIt) {
    const std::vector<CoverageLine> lines = ReadCoverage();
    const std::vector<SkinControl> controls = ReadSkinControls();
    ASSERT_FALSE(lines.empty());
    ASSERT_FALSE(controls.empty());
    std::vector<std::string> untested;
    for (const SkinControl& control : controls) {
        bool listed = false;
        for (const CoverageLine& line : lines) {
            if (Matches(line, control)) {
                listed = true;
                if (line.test == "-") {
                    untested.push_back(control.file + " " + control.name);
                }
                break;
            }
        }
        EXPECT_TRUE(listed) << control.file << ": '" << control.name
                            << "' is in no line of interactive_controls.tsv";
    }
    for (const CoverageLine& line : lines) {
        if (line.test != "-") {
            EXPECT_TRUE(TestExists(line.test))
                << "line " << line.lineNumber << ": no test " << line.test;
        }
        bool matchesOne = false;
        for (const SkinControl& control : controls) {
            matchesOne = matchesOne || Matches(line, control);
        }
        EXPECT_TRUE(matchesOne) << "line " << line.lineNumber << " names no control: " << line.file
                                << " " << line.pattern;
    }
    for (const std::string& control : untested) {
        ADD_FAILURE() << control << " has no test that uses it";
    }
}

}  // namespace
