#include "pages/key_code_tables.h"

#include <iterator>

// Rows of the key table that share a key code with the keyboard layout are the layout's
// keys; the rest are keys a user may assign that the keyboard does not carry.
const KeyFunctionRecord KeyCodeTable[] = {
    {0, 0x20, 0x00, 0x29, 0},   {1, 0x20, 0x00, 0x3A, 0},   {2, 0x20, 0x00, 0x3B, 0},
    {3, 0x20, 0x00, 0x3C, 0},   {4, 0x20, 0x00, 0x3D, 0},   {5, 0x20, 0x00, 0x3E, 0},
    {6, 0x20, 0x00, 0x3F, 0},   {7, 0x20, 0x00, 0x40, 0},   {8, 0x20, 0x00, 0x41, 0},
    {9, 0x20, 0x00, 0x42, 0},   {10, 0x20, 0x00, 0x43, 0},  {11, 0x20, 0x00, 0x44, 0},
    {12, 0x20, 0x00, 0x45, 0},  {13, 0x20, 0x00, 0x46, 0},  {14, 0x20, 0x00, 0x47, 0},
    {15, 0x20, 0x00, 0x48, 0},  {16, 0xA0, 0x1B, 0x00, 0},  {17, 0xA0, 0x24, 0x00, 0},
    {18, 0x20, 0x00, 0x35, 0},  {19, 0x20, 0x00, 0x1E, 0},  {20, 0x20, 0x00, 0x1F, 0},
    {21, 0x20, 0x00, 0x20, 0},  {22, 0x20, 0x00, 0x21, 0},  {23, 0x20, 0x00, 0x22, 0},
    {24, 0x20, 0x00, 0x23, 0},  {25, 0x20, 0x00, 0x24, 0},  {26, 0x20, 0x00, 0x25, 0},
    {27, 0x20, 0x00, 0x26, 0},  {28, 0x20, 0x00, 0x27, 0},  {29, 0x20, 0x00, 0x2D, 0},
    {30, 0x20, 0x00, 0x2E, 0},  {31, 0x20, 0x00, 0x2A, 0},  {32, 0x20, 0x00, 0x49, 0},
    {33, 0x20, 0x00, 0x4A, 0},  {34, 0x20, 0x00, 0x4B, 0},  {35, 0x20, 0x00, 0x53, 0},
    {36, 0x20, 0x00, 0x54, 0},  {37, 0x20, 0x00, 0x55, 0},  {38, 0x20, 0x00, 0x56, 0},
    {39, 0x20, 0x00, 0x2B, 0},  {40, 0x20, 0x00, 0x14, 0},  {41, 0x20, 0x00, 0x1A, 0},
    {42, 0x20, 0x00, 0x08, 0},  {43, 0x20, 0x00, 0x15, 0},  {44, 0x20, 0x00, 0x17, 0},
    {45, 0x20, 0x00, 0x1C, 0},  {46, 0x20, 0x00, 0x18, 0},  {47, 0x20, 0x00, 0x0C, 0},
    {48, 0x20, 0x00, 0x12, 0},  {49, 0x20, 0x00, 0x13, 0},  {50, 0x20, 0x00, 0x2F, 0},
    {51, 0x20, 0x00, 0x30, 0},  {52, 0x20, 0x00, 0x31, 0},  {53, 0x20, 0x00, 0x4C, 0},
    {54, 0x20, 0x00, 0x4D, 0},  {55, 0x20, 0x00, 0x4E, 0},  {56, 0x20, 0x00, 0x5F, 0},
    {57, 0x20, 0x00, 0x60, 0},  {58, 0x20, 0x00, 0x61, 0},  {59, 0x20, 0x00, 0x57, 0},
    {60, 0x20, 0x00, 0x39, 0},  {61, 0x20, 0x00, 0x04, 0},  {62, 0x20, 0x00, 0x16, 0},
    {63, 0x20, 0x00, 0x07, 0},  {64, 0x20, 0x00, 0x09, 0},  {65, 0x20, 0x00, 0x0A, 0},
    {66, 0x20, 0x00, 0x0B, 0},  {67, 0x20, 0x00, 0x0D, 0},  {68, 0x20, 0x00, 0x0E, 0},
    {69, 0x20, 0x00, 0x0F, 0},  {70, 0x20, 0x00, 0x33, 0},  {71, 0x20, 0x00, 0x34, 0},
    {72, 0x20, 0x00, 0x32, 0},  {73, 0x20, 0x00, 0x28, 0},  {74, 0x20, 0x00, 0x5C, 0},
    {75, 0x20, 0x00, 0x5D, 0},  {76, 0x20, 0x00, 0x5E, 0},  {77, 0x20, 0x02, 0x00, 0},
    {78, 0x20, 0x00, 0x64, 0},  {79, 0x20, 0x00, 0x1D, 0},  {80, 0x20, 0x00, 0x1B, 0},
    {81, 0x20, 0x00, 0x06, 0},  {82, 0x20, 0x00, 0x19, 0},  {83, 0x20, 0x00, 0x05, 0},
    {84, 0x20, 0x00, 0x11, 0},  {85, 0x20, 0x00, 0x10, 0},  {86, 0x20, 0x00, 0x36, 0},
    {87, 0x20, 0x00, 0x37, 0},  {88, 0x20, 0x00, 0x38, 0},  {89, 0x20, 0x00, 0x87, 0},
    {90, 0x20, 0x20, 0x00, 0},  {91, 0x20, 0x00, 0x52, 0},  {92, 0x20, 0x00, 0x59, 0},
    {93, 0x20, 0x00, 0x5A, 0},  {94, 0x20, 0x00, 0x5B, 0},  {95, 0x20, 0x00, 0x58, 0},
    {96, 0x20, 0x01, 0x00, 0},  {97, 0x20, 0x08, 0x00, 0},  {98, 0x20, 0x04, 0x00, 0},
    {99, 0x20, 0x00, 0x8B, 0},  {100, 0x20, 0x00, 0x2C, 0}, {101, 0x20, 0x00, 0x8A, 0},
    {102, 0x20, 0x00, 0x88, 0}, {103, 0x20, 0x40, 0x00, 0}, {104, 0xA0, 0x01, 0x00, 0},
    {105, 0x20, 0x00, 0x65, 0}, {106, 0x20, 0x10, 0x00, 0}, {107, 0x20, 0x00, 0x50, 0},
    {108, 0x20, 0x00, 0x51, 0}, {109, 0x20, 0x00, 0x4F, 0}, {110, 0x20, 0x00, 0x62, 0},
    {111, 0x20, 0x00, 0x63, 0}, {112, 0x20, 0x00, 0x89, 0}, {113, 0x20, 0x00, 0x85, 0},
    {114, 0x20, 0x00, 0x90, 0}, {115, 0x20, 0x00, 0x91, 0}, {116, 0xD0, 0xA2, 0x01, 0},
    {117, 0xD0, 0xA2, 0x02, 0}, {118, 0xD0, 0xA2, 0x03, 0}, {119, 0xD0, 0xA2, 0x04, 0},
    {120, 0xD0, 0xA2, 0x05, 0}, {121, 0x20, 0x80, 0x00, 0}, {122, 0x20, 0x00, 0x68, 0},
    {123, 0x20, 0x00, 0x69, 0}, {124, 0x20, 0x00, 0x6A, 0}, {125, 0x20, 0x00, 0x6B, 0},
    {126, 0x20, 0x00, 0x6C, 0}, {127, 0x20, 0x00, 0x6D, 0}, {128, 0x20, 0x00, 0x6E, 0},
    {129, 0x20, 0x00, 0x6F, 0}, {130, 0x20, 0x00, 0x70, 0}, {131, 0x20, 0x00, 0x71, 0},
    {132, 0x20, 0x00, 0x72, 0}, {133, 0x20, 0x00, 0x73, 0}, {134, 0x20, 0x00, 0x67, 0},
    {135, 0x20, 0x00, 0x7F, 0}, {136, 0x20, 0x00, 0x80, 0}, {137, 0x20, 0x00, 0x81, 0},
    {138, 0x20, 0x00, 0x92, 0}, {139, 0x20, 0x00, 0x93, 0}, {140, 0x20, 0x00, 0x94, 0},
};
const wchar_t* const KeyCodeNames[] = {
    L"keyboard_key_Esc",
    L"keyboard_key_F1",
    L"keyboard_key_F2",
    L"keyboard_key_F3",
    L"keyboard_key_F4",
    L"keyboard_key_F5",
    L"keyboard_key_F6",
    L"keyboard_key_F7",
    L"keyboard_key_F8",
    L"keyboard_key_F9",
    L"keyboard_key_F10",
    L"keyboard_key_F11",
    L"keyboard_key_F12",
    L"keyboard_key_PrintScreen",
    L"keyboard_key_ScrollLock",
    L"keyboard_key_Pause",
    L"keyboard_key_Light",
    L"keyboard_key_Game",
    L"keyboard_key_Tilde",
    L"keyboard_key_1",
    L"keyboard_key_2",
    L"keyboard_key_3",
    L"keyboard_key_4",
    L"keyboard_key_5",
    L"keyboard_key_6",
    L"keyboard_key_7",
    L"keyboard_key_8",
    L"keyboard_key_9",
    L"keyboard_key_0",
    L"keyboard_key_Minus",
    L"keyboard_key_Equal",
    L"keyboard_key_Backspace",
    L"keyboard_key_Insert",
    L"keyboard_key_Home",
    L"keyboard_key_PageUp",
    L"keyboard_key_NumLock",
    L"keyboard_key_NumDivide",
    L"keyboard_key_NumMultiply",
    L"keyboard_key_NumMinus",
    L"keyboard_key_Tab",
    L"keyboard_key_Q",
    L"keyboard_key_W",
    L"keyboard_key_E",
    L"keyboard_key_R",
    L"keyboard_key_T",
    L"keyboard_key_Y",
    L"keyboard_key_U",
    L"keyboard_key_I",
    L"keyboard_key_O",
    L"keyboard_key_P",
    L"keyboard_key_LeftBracket",
    L"keyboard_key_RightBracket",
    L"keyboard_key_Backslash",
    L"keyboard_key_Delete",
    L"keyboard_key_End",
    L"keyboard_key_PageDown",
    L"keyboard_key_Num7",
    L"keyboard_key_Num8",
    L"keyboard_key_Num9",
    L"keyboard_key_NumPlus",
    L"keyboard_key_CapsLock",
    L"keyboard_key_A",
    L"keyboard_key_S",
    L"keyboard_key_D",
    L"keyboard_key_F",
    L"keyboard_key_G",
    L"keyboard_key_H",
    L"keyboard_key_J",
    L"keyboard_key_K",
    L"keyboard_key_L",
    L"keyboard_key_Semicolon",
    L"keyboard_key_Quote",
    L"keyboard_key_NonUsHash",
    L"keyboard_key_Enter",
    L"keyboard_key_Num4",
    L"keyboard_key_Num5",
    L"keyboard_key_Num6",
    L"keyboard_key_LeftShift",
    L"keyboard_key_NonUsBackslash",
    L"keyboard_key_Z",
    L"keyboard_key_X",
    L"keyboard_key_C",
    L"keyboard_key_V",
    L"keyboard_key_B",
    L"keyboard_key_N",
    L"keyboard_key_M",
    L"keyboard_key_Comma",
    L"keyboard_key_Period",
    L"keyboard_key_Slash",
    L"keyboard_key_Ro",
    L"keyboard_key_RightShift",
    L"keyboard_key_Up",
    L"keyboard_key_Num1",
    L"keyboard_key_Num2",
    L"keyboard_key_Num3",
    L"keyboard_key_NumEnter",
    L"keyboard_key_LeftCtrl",
    L"keyboard_key_LeftWin",
    L"keyboard_key_LeftAlt",
    L"keyboard_key_Muhenkan",
    L"keyboard_key_Space",
    L"keyboard_key_Henkan",
    L"keyboard_key_Katakana",
    L"keyboard_key_RightAlt",
    L"keyboard_key_Fn",
    L"keyboard_key_App",
    L"keyboard_key_RightCtrl",
    L"keyboard_key_Left",
    L"keyboard_key_Down",
    L"keyboard_key_Right",
    L"keyboard_key_Num0",
    L"keyboard_key_NumPeriod",
    L"keyboard_key_Yen",
    L"keyboard_key_NumComma",
    L"keyboard_key_Hangul",
    L"keyboard_key_Hanja",
    L"keyboard_key_M1",
    L"keyboard_key_M2",
    L"keyboard_key_M3",
    L"keyboard_key_M4",
    L"keyboard_key_M5",
    L"keyboard_key_RightWin",
    L"keyboard_key_F13",
    L"keyboard_key_F14",
    L"keyboard_key_F15",
    L"keyboard_key_F16",
    L"keyboard_key_F17",
    L"keyboard_key_F18",
    L"keyboard_key_F19",
    L"keyboard_key_F20",
    L"keyboard_key_F21",
    L"keyboard_key_F22",
    L"keyboard_key_F23",
    L"keyboard_key_F24",
    L"keyboard_key_NumEqual",
    L"keyboard_key_Mute",
    L"keyboard_key_VolumeUp",
    L"keyboard_key_VolumeDown",
    L"keyboard_key_Lang3",
    L"keyboard_key_Lang4",
    L"keyboard_key_Lang5",
};
const int32_t KeyCodeTableCount = static_cast<int32_t>(std::size(KeyCodeTable));
static_assert(std::size(KeyCodeTable) == 141 && std::size(KeyCodeNames) == 141);

// p1 holds the button's bit in a HID mouse report.
const KeyFunctionRecord MouseButtonCodeTable[] = {
    {0, 0x10, 0x01, 0x00, 0}, {1, 0x10, 0x04, 0x00, 0}, {2, 0x10, 0x02, 0x00, 0},
    {3, 0x10, 0x10, 0x00, 0}, {4, 0x10, 0x08, 0x00, 0},
};
const wchar_t* const MouseButtonCodeNames[] = {
    L"mouse_key_left",    L"mouse_key_middle", L"mouse_key_right",
    L"mouse_key_forward", L"mouse_key_back",
};
const int32_t MouseButtonCodeTableCount = static_cast<int32_t>(std::size(MouseButtonCodeTable));
static_assert(std::size(MouseButtonCodeNames) == 5);

const KeyFunctionRecord DpiCodeTable[] = {
    {0, 0x13, 0x01, 0x00, 0},
    {1, 0x13, 0x02, 0x00, 0},
    {2, 0x13, 0x03, 0x00, 0},
};
const wchar_t* const DpiCodeNames[] = {
    L"mouse_key_DPI_add",
    L"mouse_key_DPI_sub",
    L"mouse_key_DPI_loop",
};
const int32_t DpiCodeTableCount = static_cast<int32_t>(std::size(DpiCodeTable));
static_assert(std::size(DpiCodeNames) == 3);

// p1, p2: the HID consumer usage, high byte first.
const KeyFunctionRecord MediaCodeTable[] = {
    {0, 0x30, 0x00, 0xCD, 0},  {1, 0x30, 0x00, 0xB7, 0},  {2, 0x30, 0x00, 0xB6, 0},
    {3, 0x30, 0x00, 0xB5, 0},  {4, 0x30, 0x00, 0xE2, 0},  {5, 0x30, 0x00, 0xE9, 0},
    {6, 0x30, 0x00, 0xEA, 0},  {7, 0x30, 0x01, 0x83, 0},  {8, 0x30, 0x01, 0x8A, 0},
    {9, 0x30, 0x01, 0x92, 0},  {10, 0x30, 0x01, 0x94, 0}, {11, 0x30, 0x02, 0x23, 0},
    {12, 0x30, 0x02, 0x21, 0}, {13, 0x30, 0x02, 0x24, 0}, {14, 0x30, 0x02, 0x25, 0},
    {15, 0x30, 0x02, 0x26, 0}, {16, 0x30, 0x02, 0x27, 0}, {17, 0x30, 0x02, 0x2A, 0},
};
const wchar_t* const MediaCodeNames[] = {
    L"media_play_pause",  L"media_stop",          L"media_previous",    L"media_next",
    L"media_mute",        L"media_volume_up",     L"media_volume_down", L"media_player",
    L"media_mail",        L"media_calculator",    L"media_my_computer", L"media_web_home",
    L"media_web_search",  L"media_web_back",      L"media_web_forward", L"media_web_stop",
    L"media_web_refresh", L"media_web_favorites",
};
const int32_t MediaCodeTableCount = static_cast<int32_t>(std::size(MediaCodeTable));
static_assert(std::size(MediaCodeTable) == 18 && std::size(MediaCodeNames) == 18);

// p2: the HID generic-desktop system control usage.
const KeyFunctionRecord SystemCodeTable[] = {
    {0, 0x40, 0x00, 0x81, 0},
    {1, 0x40, 0x00, 0x82, 0},
    {2, 0x40, 0x00, 0x83, 0},
};
const wchar_t* const SystemCodeNames[] = {
    L"system_power",
    L"system_sleep",
    L"system_wake_up",
};
const int32_t SystemCodeTableCount = static_cast<int32_t>(std::size(SystemCodeTable));
static_assert(std::size(SystemCodeNames) == 3);

// Type 0x23: p1 the action group (1 button, 2 wheel, 3 swing, 4 DPI, 5 click helpers), p2
// the action, bit 7 the direction; type 0x16 is the fire key.
const KeyFunctionRecord MouseActionCodeTable[] = {
    {0, 0x23, 0x01, 0x01, 0},  {1, 0x23, 0x01, 0x04, 0},  {2, 0x23, 0x01, 0x02, 0},
    {3, 0x23, 0x01, 0x10, 0},  {4, 0x23, 0x01, 0x08, 0},  {5, 0x23, 0x02, 0x01, 0},
    {6, 0x23, 0x02, 0x81, 0},  {7, 0x23, 0x03, 0x01, 0},  {8, 0x23, 0x03, 0x81, 0},
    {9, 0x23, 0x04, 0x01, 0},  {10, 0x23, 0x04, 0x02, 0}, {11, 0x23, 0x04, 0x03, 0},
    {12, 0x23, 0x05, 0x01, 0}, {13, 0x23, 0x05, 0x02, 0}, {14, 0x16, 0x00, 0x00, 0},
};
const wchar_t* const MouseActionCodeNames[] = {
    L"mouse_key_left",         L"mouse_key_middle",     L"mouse_key_right",
    L"mouse_key_forward",      L"mouse_key_back",       L"mouse_key_up_Swing",
    L"mouse_key_down_Swing",   L"mouse_key_left_Swing", L"mouse_key_right_Swing",
    L"mouse_key_DPI_add",      L"mouse_key_DPI_sub",    L"mouse_key_DPI_loop",
    L"mouse_key_double_click", L"mouse_key_sniper",     L"mouse_key_fire_key",
};
const int32_t MouseActionCodeTableCount = static_cast<int32_t>(std::size(MouseActionCodeTable));
static_assert(std::size(MouseActionCodeTable) == 15 && std::size(MouseActionCodeNames) == 15);

// p1: the modifier bits, p2: the HID usage of the key pressed with them.
const KeyFunctionRecord ShortcutCodeTable[] = {
    {0, 0x22, 0x01, 0x1B, 0}, {1, 0x22, 0x01, 0x06, 0}, {2, 0x22, 0x01, 0x19, 0},
    {3, 0x22, 0x01, 0x1D, 0}, {4, 0x22, 0x01, 0x04, 0}, {5, 0x22, 0x01, 0x09, 0},
    {6, 0x22, 0x01, 0x1C, 0}, {7, 0x22, 0x01, 0x16, 0}, {8, 0x22, 0x04, 0x3D, 0},
};
const wchar_t* const ShortcutCodeNames[] = {
    L"custem_cut",  L"custem_copy", L"custem_paste", L"custem_undo",         L"custem_select_all",
    L"custem_find", L"custem_redo", L"custem_save",  L"custem_close_window",
};
const int32_t ShortcutCodeTableCount = static_cast<int32_t>(std::size(ShortcutCodeTable));
static_assert(std::size(ShortcutCodeNames) == 9);

const wchar_t* const GunNames[] = {L"gun_1_txt", L"gun_2_txt", L"gun_3_txt", L"gun_4_txt"};
const int32_t GunNameCount = static_cast<int32_t>(std::size(GunNames));

const wchar_t* KeyCodeTableView::Name(int i) const {
    if (i < 0 || i >= Count()) {
        return nullptr;
    }
    return names_[static_cast<size_t>(i)];
}

template <class Match>
int KeyCodeTableView::FindFirst(Match match) const {
    for (int i = 0; i < Count(); ++i) {
        if (match(Row(i))) {
            return i;
        }
    }
    return -1;
}

int KeyCodeTableView::FindExact(uint8_t type, uint8_t p1, uint8_t p2) const {
    return FindFirst(
        [&](const KeyFunctionRecord& r) { return r.type == type && r.p1 == p1 && r.p2 == p2; });
}

int KeyCodeTableView::FindByType(uint8_t type) const {
    return FindFirst([&](const KeyFunctionRecord& r) { return r.type == type; });
}

int KeyCodeTableView::FindByTypeAndP1(uint8_t type, uint8_t p1) const {
    return FindFirst([&](const KeyFunctionRecord& r) { return r.type == type && r.p1 == p1; });
}

int KeyCodeTableView::FindByP1(uint8_t p1) const {
    return FindFirst([&](const KeyFunctionRecord& r) { return r.p1 == p1; });
}

int KeyCodeTableView::FindByParams(uint8_t p1, uint8_t p2) const {
    return FindFirst([&](const KeyFunctionRecord& r) { return r.p1 == p1 && r.p2 == p2; });
}

KeyCodeTableView KeyCodes() {
    return {KeyCodeTable, KeyCodeNames, KeyCodeTableCount};
}
KeyCodeTableView MouseButtonCodes() {
    return {MouseButtonCodeTable, MouseButtonCodeNames, MouseButtonCodeTableCount};
}
KeyCodeTableView DpiCodes() {
    return {DpiCodeTable, DpiCodeNames, DpiCodeTableCount};
}
KeyCodeTableView MediaCodes() {
    return {MediaCodeTable, MediaCodeNames, MediaCodeTableCount};
}
KeyCodeTableView SystemCodes() {
    return {SystemCodeTable, SystemCodeNames, SystemCodeTableCount};
}
KeyCodeTableView MouseActionCodes() {
    return {MouseActionCodeTable, MouseActionCodeNames, MouseActionCodeTableCount};
}
KeyCodeTableView ShortcutCodes() {
    return {ShortcutCodeTable, ShortcutCodeNames, ShortcutCodeTableCount};
}
