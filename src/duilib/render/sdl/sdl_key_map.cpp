#include "duilib/render/sdl/sdl_key_map.h"

#include <array>
#include <utility>

namespace DuiLib::sdl {
namespace {

constexpr std::array<std::pair<SDL_Keycode, WPARAM>, 30> kNamedKeys = {{
    {SDLK_BACKSPACE, 0x08},    {SDLK_TAB, 0x09},        {SDLK_RETURN, 0x0D},
    {SDLK_KP_ENTER, 0x0D},     {SDLK_LSHIFT, 0x10},     {SDLK_RSHIFT, 0x10},
    {SDLK_LCTRL, 0x11},        {SDLK_RCTRL, 0x11},      {SDLK_LALT, 0x12},
    {SDLK_RALT, 0x12},         {SDLK_PAUSE, 0x13},      {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, 0x1B},       {SDLK_SPACE, 0x20},      {SDLK_PAGEUP, 0x21},
    {SDLK_PAGEDOWN, 0x22},     {SDLK_END, 0x23},        {SDLK_HOME, 0x24},
    {SDLK_LEFT, 0x25},         {SDLK_UP, 0x26},         {SDLK_RIGHT, 0x27},
    {SDLK_DOWN, 0x28},         {SDLK_INSERT, 0x2D},     {SDLK_DELETE, 0x2E},
    {SDLK_LGUI, 0x5B},         {SDLK_RGUI, 0x5C},       {SDLK_APPLICATION, 0x5D},
    {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91}, {SDLK_PRINTSCREEN, 0x2C},
}};

// The punctuation keys (as a US layout names them) and the keypad's operators: keys like
// any other for a page that takes the key pressed, whatever character they type.
constexpr std::array<std::pair<SDL_Keycode, WPARAM>, 16> kSymbolKeys = {{
    {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC},
    {SDLK_MINUS, 0xBD},
    {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},
    {SDLK_BACKQUOTE, 0xC0},
    {SDLK_LEFTBRACKET, 0xDB},
    {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD},
    {SDLK_QUOTE, 0xDE},
    {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},
    {SDLK_KP_PERIOD, 0x6E},
    {SDLK_KP_DIVIDE, 0x6F},
}};

struct SharedKey {
    SDL_Keycode key;
    uint8_t scanCode;
    bool extended;
};

// As the desktop's own messages tell them apart: Shift by its scan code, Ctrl, Alt and
// Enter by the extended-key flag of the right-hand (and keypad) key.
constexpr std::array<SharedKey, 8> kSharedKeys = {{
    {SDLK_LSHIFT, 0x2A, false},
    {SDLK_RSHIFT, 0x36, false},
    {SDLK_LCTRL, 0x1D, false},
    {SDLK_RCTRL, 0x1D, true},
    {SDLK_LALT, 0x38, false},
    {SDLK_RALT, 0x38, true},
    {SDLK_RETURN, 0x1C, false},
    {SDLK_KP_ENTER, 0x1C, true},
}};

}  // namespace

LPARAM KeyDataFor(SDL_Keycode key) {
    for (const SharedKey& shared : kSharedKeys) {
        if (shared.key == key) {
            return static_cast<LPARAM>(shared.scanCode) << 16 |
                   static_cast<LPARAM>(shared.extended ? 1 : 0) << 24;
        }
    }
    return 0;
}

WPARAM VirtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<WPARAM>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<WPARAM>('0' + (key - SDLK_0));
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return static_cast<WPARAM>(0x70 + (key - SDLK_F1));
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return static_cast<WPARAM>(0x61 + (key - SDLK_KP_1));
    }
    if (key == SDLK_KP_0) {
        return 0x60;
    }
    if (key >= SDLK_F13 && key <= SDLK_F24) {
        return static_cast<WPARAM>(0x7C + (key - SDLK_F13));
    }
    for (const auto& [sdlKey, vk] : kNamedKeys) {
        if (sdlKey == key) {
            return vk;
        }
    }
    for (const auto& [sdlKey, vk] : kSymbolKeys) {
        if (sdlKey == key) {
            return vk;
        }
    }
    return 0;
}

wchar_t ControlCharFor(SDL_Keycode key) {
    switch (key) {
        case SDLK_BACKSPACE:
            return L'\b';
        case SDLK_TAB:
            return L'\t';
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return L'\r';
        case SDLK_ESCAPE:
            return 0x1B;
        default:
            return 0;
    }
}

}  // namespace DuiLib::sdl
