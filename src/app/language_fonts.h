#pragma once
// Which UI font family a language gets, and the table of fonts every window uses.

#include <array>
#include <optional>
#include <string>

// The family to rebuild the fonts with when switching from language `current` (-1 before
// the first switch) to `index`; nothing when the fonts stay as they are.
std::optional<std::wstring> PickFontFamily(int index, int current);

struct FontSpec {
    int id;  // -1: the default font
    int size;
    bool bold;
    bool underline;
};

inline constexpr std::array<FontSpec, 14> kFontTable = {{
    {-1, 13, false, false},
    {0, 15, false, false},
    {1, 14, false, true},
    {2, 18, false, false},
    {3, 30, false, false},
    {4, 16, false, false},
    {5, 20, false, false},
    {6, 22, false, false},
    {7, 14, false, false},
    {8, 12, false, false},
    {9, 11, false, false},
    {10, 10, false, false},
    {11, 28, false, false},
    {50, 18, true, false},
}};

// The four font files of the program's "Font" folder and the families each one serves.
struct PrivateFontFile {
    const char* file;
    bool bold;
    std::array<const wchar_t*, 3> families;
};

inline constexpr std::array<PrivateFontFile, 4> kPrivateFontFiles = {{
    {"DejaVuSans.ttf", false, {L"Verdana Unicode MS", L"DejaVu Sans", nullptr}},
    {"DejaVuSans-Bold.ttf", true, {L"Verdana Unicode MS", L"DejaVu Sans", nullptr}},
    {"wqy-microhei.ttc",
     false,
     {L"汉仪菱心体简", L"Noto Sans CJK TC Regular", L"WenQuanYi Micro Hei"}},
    {"NotoSansThai-Regular.ttf", false, {L"Noto Sans Thai", nullptr, nullptr}},
}};
