#include "app/language_fonts.h"

std::optional<std::wstring> PickFontFamily(int index, int current) {
    switch (index) {
        case 15:
            return L"Noto Sans Thai";
        case 0:
            return L"汉仪菱心体简";
        case 2:
            return L"Noto Sans CJK TC Regular";
        default:
            break;
    }
    if (current == 15 || current == -1 || current == 2 || current == 0) {
        return L"Verdana Unicode MS";
    }
    return std::nullopt;
}
