#include "duilib/xml_source.h"

#include <cwctype>

#include "duilib/paint_manager.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text_convert.h"

namespace DuiLib {
namespace {

bool IsXmlText(const CDuiString& source) {
    for (int i = 0; i < source.GetLength(); ++i) {
        const wchar_t ch = source.GetAt(i);
        if (!std::iswspace(static_cast<wint_t>(ch))) {
            return ch == L'<';
        }
    }
    return false;
}

bool Parse(std::string_view bytes, pugi::xml_document& doc, const CDuiString& origin,
           CDuiString* error) {
    const pugi::xml_parse_result result =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (result) {
        return true;
    }
    if (error != nullptr) {
        *error = CDuiString::FormatText(L"malformed XML in %s at offset %d: %S", origin.GetData(),
                                        static_cast<int>(result.offset), result.description());
    }
    return false;
}

}  // namespace

bool LoadXmlSource(const CDuiString& source, pugi::xml_document& doc, CDuiString* error,
                   const CDuiString& fallbackFolder) {
    if (IsXmlText(source)) {
        const std::string utf8 = platform::Utf8Encode(source.view());
        return Parse(utf8, doc, CDuiString(L"<inline XML>"), error);
    }
    if (source.IsEmpty()) {
        if (error != nullptr) {
            *error = L"no layout file given";
        }
        return false;
    }
    CDuiString path = CPaintManagerUI::ResolveResourceFile(source);
    std::optional<std::string> bytes = platform::ReadWholeFile(platform::Utf8Encode(path.view()));
    if (!bytes && !fallbackFolder.IsEmpty()) {
        path = fallbackFolder + CDuiString(platform::NormalizePath(source.str()));
        bytes = platform::ReadWholeFile(platform::Utf8Encode(path.view()));
    }
    if (!bytes) {
        if (error != nullptr) {
            *error = CDuiString::FormatText(L"cannot read file %s", path.GetData());
        }
        return false;
    }
    return Parse(*bytes, doc, path, error);
}

CDuiString XmlText(const char* utf8) {
    return CDuiString(platform::Utf8Decode(utf8 != nullptr ? utf8 : ""));
}

CDuiString XmlAttr(const pugi::xml_node& node, const char* name) {
    return XmlText(node.attribute(name).value());
}

}  // namespace DuiLib
