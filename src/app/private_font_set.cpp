#include "app/private_font_set.h"

#include "app/language_fonts.h"
#include "platform/debug_trace.h"
#include "platform/private_fonts.h"
#include "platform/text_convert.h"

PrivateFontSet::PrivateFontSet(const std::string& fontFolder) {
    for (const auto& font : kPrivateFontFiles) {
        std::vector<std::wstring> families;
        for (const wchar_t* family : font.families) {
            if (family != nullptr) {
                families.emplace_back(family);
            }
        }
        const int handle = platform::AddPrivateFont(fontFolder + font.file, families, font.bold);
        if (handle == 0) {
            DebugTrace(L"font not loaded: " + platform::Utf8Decode(font.file) + L"\n");
            continue;
        }
        handles_.push_back(handle);
    }
}

PrivateFontSet::~PrivateFontSet() {
    for (int handle : handles_) {
        platform::RemovePrivateFont(handle);
    }
}
