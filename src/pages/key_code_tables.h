#pragma once
// The key-function code tables of the key-assignment page: each a list of key codes
// {type, p1, p2} with a parallel list of language keys that name them. The keyboard and
// mouse pages find a key function's name through them; the key-assignment panel fills its
// combos from them. For the key table {type, p1, p2} is {category, modifier, HID usage},
// the same bytes the keyboard's own key-code table holds.

#include <cstdint>
#include <span>

#include "profile/key_function_record.h"

extern const KeyFunctionRecord KeyCodeTable[];
extern const wchar_t* const KeyCodeNames[];
extern const int32_t KeyCodeTableCount;  // 141

extern const KeyFunctionRecord MouseButtonCodeTable[];
extern const wchar_t* const MouseButtonCodeNames[];
extern const int32_t MouseButtonCodeTableCount;  // 5

extern const KeyFunctionRecord DpiCodeTable[];
extern const wchar_t* const DpiCodeNames[];
extern const int32_t DpiCodeTableCount;  // 3

extern const KeyFunctionRecord MediaCodeTable[];
extern const wchar_t* const MediaCodeNames[];
extern const int32_t MediaCodeTableCount;  // 18

extern const KeyFunctionRecord SystemCodeTable[];
extern const wchar_t* const SystemCodeNames[];
extern const int32_t SystemCodeTableCount;  // 3

// Mouse actions of types 0x16 and 0x23.
extern const KeyFunctionRecord MouseActionCodeTable[];
extern const wchar_t* const MouseActionCodeNames[];
extern const int32_t MouseActionCodeTableCount;  // 15

extern const KeyFunctionRecord ShortcutCodeTable[];
extern const wchar_t* const ShortcutCodeNames[];
extern const int32_t ShortcutCodeTableCount;  // 9

// Language keys of the four guns of the shoot page ("gun_1_txt" .. "gun_4_txt").
extern const wchar_t* const GunNames[];
extern const int32_t GunNameCount;  // 4

// One table with its names, and the searches the pages make in it. Each search returns the
// first matching row index, or -1.
class KeyCodeTableView {
  public:
    KeyCodeTableView(const KeyFunctionRecord* rows, const wchar_t* const* names, int32_t count)
        : rows_(rows, static_cast<size_t>(count)), names_(names, static_cast<size_t>(count)) {}

    int Count() const { return static_cast<int>(rows_.size()); }
    const KeyFunctionRecord& Row(int i) const { return rows_[static_cast<size_t>(i)]; }
    // nullptr for an index outside the table.
    const wchar_t* Name(int i) const;

    int FindExact(uint8_t type, uint8_t p1, uint8_t p2) const;
    int FindByType(uint8_t type) const;
    int FindByTypeAndP1(uint8_t type, uint8_t p1) const;
    int FindByP1(uint8_t p1) const;
    int FindByParams(uint8_t p1, uint8_t p2) const;

  private:
    template <class Match>
    int FindFirst(Match match) const;

    std::span<const KeyFunctionRecord> rows_;
    std::span<const wchar_t* const> names_;
};

KeyCodeTableView KeyCodes();
KeyCodeTableView MouseButtonCodes();
KeyCodeTableView DpiCodes();
KeyCodeTableView MediaCodes();
KeyCodeTableView SystemCodes();
KeyCodeTableView MouseActionCodes();
KeyCodeTableView ShortcutCodes();
