#include "device/macro_image.h"

#include <limits>

#include "pages/macro_files.h"
#include "profile/json_file.h"
#include "profile/json_value.h"
#include "profile/stored_file_id.h"

namespace device {
namespace {

constexpr uint8_t kDownBit = 0x80;
constexpr wchar_t kMacroListName[] = L"macro.config";

void PutU16(std::vector<uint8_t>& image, size_t at, size_t value) {
    image[at] = static_cast<uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

MacroEventRecord EncodeMacroEvent(const Json::Value& event) {
    const auto delay = static_cast<uint16_t>(MacroDelayOf(event));
    uint8_t type = static_cast<uint8_t>(JsonIntOr(event, "Type", 0));
    if (JsonStringOr(event, "Action", "") == "down") {
        type |= kDownBit;
    }
    return {static_cast<uint8_t>(delay & 0xFF), static_cast<uint8_t>(delay >> 8), type,
            static_cast<uint8_t>(JsonIntOr(event, "Button", 0))};
}

MacroEvents MacroEventsOf(const Json::Value& document) {
    MacroEvents events;
    const Json::Value* list = JsonMember(document, "Events");
    if (list == nullptr || !list->isArray()) {
        return events;
    }
    events.reserve(list->size());
    for (const Json::Value& event : *list) {
        events.push_back(EncodeMacroEvent(event));
    }
    return events;
}

bool ReadMacroList(const std::wstring& folder, const wchar_t* listName,
                   std::vector<MacroEvents>* macros) {
    macros->clear();
    CJsonFile file;
    const Json::Value list = file.LoadJsonFile(DuiLib::CDuiString(folder + listName));
    if (list.isNull()) {
        return false;
    }
    const Json::Value* info = JsonMember(list, "MacroInfo");
    if (info == nullptr || !info->isArray()) {
        return true;
    }
    for (const Json::Value& entry : *info) {
        const std::wstring path = StoredFilePath(folder, JsonStringOr(entry, "Guid", ""), L".mac");
        // Each file is read once, so the image is laid out from the same events it was
        // measured with.
        macros->push_back(path.empty()
                              ? MacroEvents{}
                              : MacroEventsOf(file.LoadJsonFile(DuiLib::CDuiString(path))));
    }
    return true;
}

size_t MacroImageLength(const std::vector<MacroEvents>& macros) {
    size_t length = kMacroImageHeadSize;
    for (const MacroEvents& events : macros) {
        length += 2 + kMacroHeadSize + kMacroEventSize * events.size();
    }
    return length;
}

std::vector<uint8_t> BuildMacroImage(const std::vector<MacroEvents>& macros) {
    const size_t length = MacroImageLength(macros);
    if (length > std::numeric_limits<uint16_t>::max()) {
        return {};
    }
    std::vector<uint8_t> image(length, 0);
    PutU16(image, 0, kMacroImageMagic);
    PutU16(image, 2, length);
    PutU16(image, 4, macros.size());
    size_t position = kMacroImageHeadSize + 2 * macros.size();
    for (size_t i = 0; i < macros.size(); ++i) {
        PutU16(image, kMacroImageHeadSize + 2 * i, position);
        PutU16(image, position, macros[i].size());
        position += kMacroHeadSize;
        for (const MacroEventRecord& event : macros[i]) {
            std::copy(event.begin(), event.end(), image.begin() + static_cast<long>(position));
            position += kMacroEventSize;
        }
    }
    return image;
}

int MacroOverflowResult(size_t length, size_t capacity) {
    return static_cast<int>(((length - capacity) >> 2) + 1);
}

int PrepareMacroImage(const std::wstring& folder, size_t capacity, std::vector<uint8_t>* image) {
    image->clear();
    std::vector<MacroEvents> macros;
    if (!ReadMacroList(folder, kMacroListName, &macros) || macros.empty()) {
        return 0;
    }
    const size_t length = MacroImageLength(macros);
    if (length > capacity) {
        return MacroOverflowResult(length, capacity);
    }
    *image = BuildMacroImage(macros);
    return image->empty() ? -1 : 0;
}

}  // namespace device
