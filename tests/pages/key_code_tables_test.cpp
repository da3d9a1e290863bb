#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "device/keyboard/layout_table.h"
#include "pages/key_code_tables.h"

namespace {

void ExpectWellFormed(const KeyCodeTableView& table, const std::wstring& namePrefix) {
    std::set<std::tuple<int, int, int>> codes;
    std::set<std::wstring> names;
    for (int i = 0; i < table.Count(); ++i) {
        const KeyFunctionRecord& row = table.Row(i);
        EXPECT_EQ(row.id, i);
        EXPECT_EQ(row.reserved, 0);
        EXPECT_TRUE(codes.insert({row.type, row.p1, row.p2}).second) << "repeated code, row " << i;
        ASSERT_NE(table.Name(i), nullptr);
        EXPECT_TRUE(names.insert(table.Name(i)).second) << "repeated name, row " << i;
        EXPECT_EQ(std::wstring(table.Name(i)).rfind(namePrefix, 0), 0u) << "row " << i;
    }
    EXPECT_EQ(table.Name(table.Count()), nullptr);
    EXPECT_EQ(table.Name(-1), nullptr);
}

}  // namespace

TEST(KeyCodeTables, RowCountsAndNames) {
    EXPECT_EQ(KeyCodes().Count(), 141);
    EXPECT_EQ(MouseButtonCodes().Count(), 5);
    EXPECT_EQ(DpiCodes().Count(), 3);
    EXPECT_EQ(MediaCodes().Count(), 18);
    EXPECT_EQ(SystemCodes().Count(), 3);
    EXPECT_EQ(MouseActionCodes().Count(), 15);
    EXPECT_EQ(ShortcutCodes().Count(), 9);
    EXPECT_EQ(GunNameCount, 4);
    ExpectWellFormed(KeyCodes(), L"keyboard_key_");
    ExpectWellFormed(MouseButtonCodes(), L"mouse_key_");
    ExpectWellFormed(DpiCodes(), L"mouse_key_DPI_");
    ExpectWellFormed(MediaCodes(), L"");
    ExpectWellFormed(SystemCodes(), L"system_");
    ExpectWellFormed(MouseActionCodes(), L"mouse_key_");
    ExpectWellFormed(ShortcutCodes(), L"custem_");
    EXPECT_STREQ(MouseActionCodes().Name(0), L"mouse_key_left");
    EXPECT_STREQ(MouseActionCodes().Name(14), L"mouse_key_fire_key");
}

TEST(KeyCodeTables, EveryLayoutKeyHasItsRowByCategoryModifierUsage) {
    for (size_t k = 0; k < device::KeyboardLayoutTable.size(); ++k) {
        const device::KeyCode& key = device::KeyboardLayoutTable[k];
        const int row = KeyCodes().FindExact(key.category, key.modifier, key.usage);
        if (key.category == 0x20 && key.modifier == 0 && key.usage == 0) {
            EXPECT_EQ(row, -1) << "an empty position names no key";
        } else {
            EXPECT_GE(row, 0) << "layout position " << k;
        }
    }
    // Letters carry their HID usage, modifiers their bit with usage 0.
    EXPECT_STREQ(KeyCodes().Name(KeyCodes().FindExact(0x20, 0, 0x04)), L"keyboard_key_A");
    EXPECT_STREQ(KeyCodes().Name(KeyCodes().FindExact(0x20, 0x02, 0)), L"keyboard_key_LeftShift");
}

TEST(KeyCodeTables, TypesMatchWhatThePagesSearch) {
    for (int i = 0; i < MouseButtonCodes().Count(); ++i)
        EXPECT_EQ(MouseButtonCodes().Row(i).type, KeyFunctionType::kMouseButton);
    for (int i = 0; i < DpiCodes().Count(); ++i)
        EXPECT_EQ(DpiCodes().Row(i).type, KeyFunctionType::kDpi);
    for (int i = 0; i < MediaCodes().Count(); ++i)
        EXPECT_EQ(MediaCodes().Row(i).type, KeyFunctionType::kMedia);
    for (int i = 0; i < SystemCodes().Count(); ++i)
        EXPECT_EQ(SystemCodes().Row(i).type, KeyFunctionType::kSystem);
    for (int i = 0; i < ShortcutCodes().Count(); ++i)
        EXPECT_EQ(ShortcutCodes().Row(i).type, KeyFunctionType::kShortcut);
    for (int i = 0; i < MouseActionCodes().Count(); ++i) {
        const uint8_t type = MouseActionCodes().Row(i).type;
        EXPECT_TRUE(type == KeyFunctionType::kMouseAction || type == KeyFunctionType::kMixedAction);
    }
    // The fire key is found by its type alone.
    EXPECT_EQ(MouseActionCodes().FindByType(KeyFunctionType::kMouseAction), 14);
    EXPECT_EQ(ShortcutCodes().FindByParams(0x01, 0x06), 1);  // copy: Ctrl + C
    EXPECT_EQ(MouseButtonCodes().FindByP1(0x02), 2);         // right button
}

TEST(KeyFunctionRecord, PackingRoundTripsThroughKeyList) {
    const KeyFunctionRecord record = UnpackKeyFunction(7, 0x20 << 16 | 0x09 << 8 | 0x04);
    EXPECT_EQ(record.id, 7);
    EXPECT_EQ(record.type, 0x20);
    EXPECT_EQ(record.p1, 0x09);
    EXPECT_EQ(record.p2, 0x04);
    EXPECT_EQ(PackKeyFunction(record), 0x200904);
    // Wider integers keep only their low bytes.
    EXPECT_EQ(UnpackKeyFunction(0, 0x7F123456).type, 0x12);
}
