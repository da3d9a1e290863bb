#include "device/page/key_function_text.h"

#include "pages/key_code_tables.h"

namespace device {

namespace {

using DuiLib::CDuiString;
using Text = std::optional<CDuiString>;

// Shown for a type the pages do not know; this text is not translated.
constexpr const wchar_t* kUnknownFunctionText = L"关闭";

Text RowText(const KeyCodeTableView& table, int row, const TranslateText& translate) {
    const wchar_t* key = table.Name(row);
    if (!key) {
        return std::nullopt;
    }
    return translate(key);
}

// A key with its modifiers. A code the table holds whole is named by its row; otherwise
// each modifier bit and the usage are named apart, so "Ctrl+Shift+C" reads as such.
Text KeyText(const KeyFunctionRecord& f, const TranslateText& translate) {
    const KeyCodeTableView keys = KeyCodes();
    if (const int row = keys.FindByParams(f.p1, f.p2); row >= 0) {
        return RowText(keys, row, translate);
    }
    if (f.p1 == 0 && f.p2 == 0) {
        return translate(L"close_text");
    }
    CDuiString text;
    auto append = [&](int row) {
        if (Text name = RowText(keys, row, translate); name && !name->IsEmpty()) {
            if (!text.IsEmpty()) {
                text += L"+";
            }
            text += *name;
        }
    };
    for (int bit = 0; bit < 8; ++bit) {
        const auto modifier = static_cast<uint8_t>(1u << bit);
        if (f.p1 & modifier) {
            append(keys.FindExact(f.type, modifier, 0));
        }
    }
    if (f.p2 != 0) {
        append(keys.FindExact(f.type, 0, f.p2));
    }
    return text.IsEmpty() ? std::nullopt : Text(text);
}

Text DirectionText(const KeyFunctionRecord& f, const wchar_t* clear, const wchar_t* set,
                   const TranslateText& translate) {
    return translate((f.p2 & 0x80) ? set : clear);
}

Text MacroText(const KeyFunctionRecord& f, const std::vector<CDuiString>& macros) {
    if (f.p1 >= macros.size()) {
        return std::nullopt;
    }
    return macros[f.p1];
}

Text SpecialKeyText(const KeyFunctionRecord& f, const TranslateText& translate) {
    const KeyCodeTableView actions = MouseActionCodes();
    if (const int row = actions.FindByTypeAndP1(f.type, f.p1); row >= 0) {
        return RowText(actions, row, translate);
    }
    const KeyCodeTableView keys = KeyCodes();
    return RowText(keys, keys.FindExact(f.type, f.p1, f.p2), translate);
}

Text GunText(const KeyFunctionRecord& f, const TranslateText& translate) {
    if (f.p1 >= GunNameCount) {
        return std::nullopt;
    }
    return translate(GunNames[f.p1]);
}

// A type no page describes. A key of the keyboard's own layout (its Fn key, say) keeps
// its name rather than being shown as switched off.
Text OtherText(const KeyFunctionRecord& f, const TranslateText& translate) {
    const KeyCodeTableView keys = KeyCodes();
    if (Text name = RowText(keys, keys.FindExact(f.type, f.p1, f.p2), translate)) {
        return name;
    }
    return Text(kUnknownFunctionText);
}

// Types whose description differs between the two pages; nullopt from the optional
// means "not one of them".
std::optional<Text> StyleText(const KeyFunctionRecord& f, KeyTextStyle style,
                              const TranslateText& translate) {
    const bool mouse = style == KeyTextStyle::kMouse;
    switch (f.type) {
        case 0x21:
            return mouse ? RowText(ShortcutCodes(), ShortcutCodes().FindByParams(f.p1, f.p2),
                                   translate)
                         : Text();
        case KeyFunctionType::kSpecialKey:
            return mouse ? SpecialKeyText(f, translate) : std::optional<Text>();
        case KeyFunctionType::kGunKey:
            return mouse ? GunText(f, translate) : std::optional<Text>();
        default:
            return std::nullopt;
    }
}

}  // namespace

Text KeyFunctionText(const KeyFunctionRecord& f, const std::vector<CDuiString>& macros,
                     KeyTextStyle style, const TranslateText& translate) {
    if (std::optional<Text> text = StyleText(f, style, translate)) {
        return *text;
    }
    switch (f.type) {
        case KeyFunctionType::kDisabled:
        case KeyFunctionType::kKeyboardKey:
            return KeyText(f, translate);
        case KeyFunctionType::kMouseButton:
            return RowText(MouseButtonCodes(), MouseButtonCodes().FindByP1(f.p1), translate);
        case KeyFunctionType::kDpi:
            return RowText(DpiCodes(), DpiCodes().FindByP1(f.p1), translate);
        case KeyFunctionType::kSwing:
            return DirectionText(f, L"mouse_key_left_Swing", L"mouse_key_right_Swing", translate);
        case KeyFunctionType::kWheel:
            return DirectionText(f, L"mouse_key_up_Swing", L"mouse_key_down_Swing", translate);
        case KeyFunctionType::kFireKey:
            return translate(L"mouse_key_fire_key");
        case KeyFunctionType::kMouseAction:
            return RowText(MouseActionCodes(), MouseActionCodes().FindByType(f.type), translate);
        case KeyFunctionType::kMixedAction:
            return RowText(MouseActionCodes(), MouseActionCodes().FindExact(f.type, f.p1, f.p2),
                           translate);
        case KeyFunctionType::kShortcut:
            return RowText(ShortcutCodes(), ShortcutCodes().FindByParams(f.p1, f.p2), translate);
        case KeyFunctionType::kMedia:
            return RowText(MediaCodes(), MediaCodes().FindByParams(f.p1, f.p2), translate);
        case KeyFunctionType::kSystem:
            return RowText(SystemCodes(), SystemCodes().FindByParams(f.p1, f.p2), translate);
        case KeyFunctionType::kMacro:
        case KeyFunctionType::kMacroRepeat:
            return MacroText(f, macros);
        case 0x15:
        case 0x50:
        case 0x60:
            return std::nullopt;
        default:
            return OtherText(f, translate);
    }
}

}  // namespace device
