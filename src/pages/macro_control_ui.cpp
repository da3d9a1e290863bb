#include "pages/macro_control_ui.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "controls/redio_macro_button.h"
#include "duilib/own_interface.h"
#include "duilib/string_utils.h"
#include "duilib/ui_button.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "pages/hook_messages.h"
#include "pages/key_code_tables.h"
#include "pages/key_usage_map.h"
#include "pages/panel_lookup.h"
#include "platform/paths.h"
#include "profile/stored_file_id.h"

namespace {

constexpr const wchar_t* kNameList = L"macro_name_list";
constexpr const wchar_t* kEventList = L"macro_action";
constexpr const wchar_t* kDelayEdit = L"macro_delay";
constexpr const wchar_t* kRecordTime = L"macro_record_time_check";
constexpr const wchar_t* kNameEdit = L"macro_name_edit";
constexpr const wchar_t* kRecordButton = L"macro_btn_starredio";

constexpr int kInsertAppend = 4;
constexpr int kInsertBefore = 8;
constexpr int kInsertAfter = 16;
constexpr int kInsertReplace = 32;

DuiLib::CDuiString EventText(const MacroEvent& event) {
    DuiLib::CDuiString name;
    if (event.type == kMacroKeyEvent) {
        // The key table names a modifier by its bit, as a key assignment holds it.
        const auto usage = static_cast<uint8_t>(event.button);
        const uint8_t bit = ModifierBitOfUsage(usage);
        const int row =
            KeyCodes().FindExact(KeyFunctionType::kKeyboardKey, bit, bit != 0 ? 0 : usage);
        name = row >= 0 ? TranslateKey(KeyCodes().Name(row)) : DuiLib::CDuiString(L"?");
    } else {
        const int row = MouseButtonCodes().FindByP1(static_cast<uint8_t>(event.button));
        name = row >= 0 ? TranslateKey(MouseButtonCodes().Name(row)) : DuiLib::CDuiString(L"?");
    }
    return DuiLib::CDuiString(event.down ? L"\u2193 " : L"\u2191 ") + name + L"  " +
           DuiLib::CDuiString(std::to_wstring(event.delay)) + L" ms";
}

void FillList(DuiLib::CListUI* list, const std::vector<DuiLib::CDuiString>& rows, int select) {
    if (list == nullptr) {
        return;
    }
    list->RemoveAll();
    for (const DuiLib::CDuiString& text : rows) {
        list->Add(NewListRow(text));
    }
    list->SelectItem(select, false, false);
}

}  // namespace

LPCTSTR CMacroControlUI::GetClass() const {
    return kClassName;
}

LPVOID CMacroControlUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CHorizontalLayoutUI>(this, pstrName);
}

void CMacroControlUI::SetMacroFolder(DuiLib::CDuiString folder) {
    m_folder = FolderWithSeparator(folder.ToUtf8());
}

std::string CMacroControlUI::IndexPath() const {
    return m_folder.empty() ? std::string() : m_folder + kMacroIndexFileName;
}

std::string CMacroControlUI::MacroPath(int index) const {
    if (index < 0 || index >= static_cast<int>(m_entries.size()) || m_folder.empty()) {
        return {};
    }
    return MacroFile::PathFor(m_folder, m_entries[static_cast<size_t>(index)].guid);
}

void CMacroControlUI::LoadMacroNameList() {
    m_entries = MacroIndexFile::Load(IndexPath()).value_or(std::vector<MacroIndexEntry>{});
    m_selected = m_entries.empty() ? -1 : std::clamp(m_selected, 0, int(m_entries.size()) - 1);
    ShowMacroList();
    LoadEvents();
}

std::vector<DuiLib::CDuiString> CMacroControlUI::GetMacroNames() const {
    std::vector<DuiLib::CDuiString> names;
    for (const MacroIndexEntry& entry : m_entries) {
        names.push_back(Utf8ToDuiString(entry.name));
    }
    return names;
}

bool CMacroControlUI::IsRecordTimeChecked() const {
    auto* check = FindNamed<DuiLib::COptionUI>(this, kRecordTime);
    return check != nullptr && check->IsSelected();
}

void CMacroControlUI::ShowMacroList() {
    FillList(FindNamed<DuiLib::CListUI>(this, kNameList), GetMacroNames(), m_selected);
    if (auto* edit = FindNamed<DuiLib::CEditUI>(this, kNameEdit)) {
        edit->SetText(m_selected >= 0 ? GetMacroNames()[static_cast<size_t>(m_selected)]
                                      : DuiLib::CDuiString());
    }
}

void CMacroControlUI::LoadEvents() {
    const auto macro = MacroFile::Load(MacroPath(m_selected));
    m_events = macro ? macro->events : std::vector<MacroEvent>{};
    ShowEvents(-1);
}

void CMacroControlUI::ShowEvents(int select) {
    std::vector<DuiLib::CDuiString> rows;
    for (const MacroEvent& event : m_events) {
        rows.push_back(EventText(event));
    }
    FillList(FindNamed<DuiLib::CListUI>(this, kEventList), rows, select);
}

int CMacroControlUI::SaveIndex() const {
    return !m_folder.empty() && MacroIndexFile::Save(IndexPath(), m_entries) ? 1 : 0;
}

int CMacroControlUI::SelectMacro(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        return 0;
    }
    m_selected = index;
    ShowMacroList();
    LoadEvents();
    return 1;
}

int CMacroControlUI::SelectMacroFromList() {
    auto* list = FindNamed<DuiLib::CListUI>(this, kNameList);
    const int index = list != nullptr ? list->GetCurSel() : -1;
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        return 0;
    }
    m_selected = index;
    if (auto* edit = FindNamed<DuiLib::CEditUI>(this, kNameEdit)) {
        edit->SetText(Utf8ToDuiString(m_entries[static_cast<size_t>(index)].name));
    }
    LoadEvents();
    return 1;
}

int CMacroControlUI::AddMacro() {
    if (m_folder.empty() || !platform::EnsureDirectory(m_folder)) {
        return 0;
    }
    const std::string guid = NewTimestampId([&](const std::string& id) {
        return platform::FileExists(MacroFile::PathFor(m_folder, id));
    });
    const std::string name = "Macro" + std::to_string(m_entries.size() + 1);
    if (!MacroFile::Save(MacroFile::PathFor(m_folder, guid), {name, guid, {}})) {
        return 0;
    }
    m_entries.push_back({name, guid});
    const int before = std::exchange(m_selected, static_cast<int>(m_entries.size()) - 1);
    if (SaveIndex() == 0) {
        // An unlisted macro file is of no use: list and folder stay as they were.
        std::remove(MacroFile::PathFor(m_folder, guid).c_str());
        m_entries.pop_back();
        m_selected = before;
        return 0;
    }
    ShowMacroList();
    LoadEvents();
    return 1;
}

int CMacroControlUI::DeleteMacro() {
    if (m_selected < 0) {
        return 0;
    }
    const std::string path = MacroPath(m_selected);
    m_entries.erase(m_entries.begin() + m_selected);
    if (SaveIndex() == 0) {
        LoadMacroNameList();
        return 0;
    }
    if (!path.empty()) {
        std::remove(path.c_str());
    }
    m_selected = std::min(m_selected, static_cast<int>(m_entries.size()) - 1);
    ShowMacroList();
    LoadEvents();
    return 1;
}

int CMacroControlUI::RenameMacro(DuiLib::CDuiString name) {
    if (m_selected < 0 || IsBlankText(name)) {
        return 0;
    }
    std::string& listed = m_entries[static_cast<size_t>(m_selected)].name;
    const std::string old = std::exchange(listed, name.ToUtf8());
    if (SaveIndex() == 0) {
        listed = old;
        return 0;
    }
    if (auto macro = MacroFile::Load(MacroPath(m_selected))) {
        macro->name = listed;
        MacroFile::Save(MacroPath(m_selected), *macro);
    }
    ShowMacroList();
    return 1;
}

int CMacroControlUI::ImportMacro(DuiLib::CDuiString path) {
    const auto macro = MacroFile::Load(platform::NormalizePath(path.ToUtf8()), FileRole::Imported);
    if (!macro || AddMacro() == 0) {
        return 0;
    }
    MacroIndexEntry& entry = m_entries[static_cast<size_t>(m_selected)];
    if (!IsBlankText(Utf8ToDuiString(macro->name))) {
        entry.name = macro->name;
    }
    m_events = macro->events;
    if (SaveMacro() == 0 || SaveIndex() == 0) {
        // Half an import is no macro: the one just added goes again.
        DeleteMacro();
        return 0;
    }
    ShowMacroList();
    ShowEvents(-1);
    return 1;
}

int CMacroControlUI::ExportMacro(DuiLib::CDuiString path) const {
    if (m_selected < 0) {
        return 0;
    }
    const MacroIndexEntry& entry = m_entries[static_cast<size_t>(m_selected)];
    return MacroFile::Save(platform::NormalizePath(path.ToUtf8()),
                           {entry.name, entry.guid, m_events})
               ? 1
               : 0;
}

int CMacroControlUI::GetSelectedEvent() const {
    auto* list = FindNamed<DuiLib::CListUI>(this, kEventList);
    return list != nullptr ? list->GetCurSel() : -1;
}

int CMacroControlUI::SelectEvent(int index) {
    auto* list = FindNamed<DuiLib::CListUI>(this, kEventList);
    return list != nullptr && list->SelectItem(index, false, false) ? 1 : 0;
}

int CMacroControlUI::SaveMacro() {
    const std::string path = MacroPath(m_selected);
    if (path.empty()) {
        return 0;
    }
    const MacroIndexEntry& entry = m_entries[static_cast<size_t>(m_selected)];
    return MacroFile::Save(path, {entry.name, entry.guid, m_events}) ? 1 : 0;
}

int CMacroControlUI::CancelEdit() {
    LoadEvents();
    return m_selected >= 0 ? 1 : 0;
}

void CMacroControlUI::StartRecording(int delayMode, int insertKind) {
    m_recording = m_selected >= 0;
    m_delayMode = (delayMode >= 1 && delayMode <= 3) ? delayMode : 1;
    m_haveLastTime = false;
    m_nextInsert = InsertAt(insertKind);
    m_replacePending = insertKind == kInsertReplace && GetSelectedEvent() >= 0;
    m_replaced.reset();
    m_recordedCount = 0;
    if (auto* button = FindNamed<CRedioMacroButtonUI>(this, kRecordButton)) {
        button->SetRecording(m_recording);
    }
}

void CMacroControlUI::StopRecording() {
    if (m_recording) {
        DropStopPress();
    }
    m_recording = false;
    if (auto* button = FindNamed<CRedioMacroButtonUI>(this, kRecordButton)) {
        button->SetRecording(false);
    }
}

int CMacroControlUI::InsertAt(int insertKind) const {
    const int selected = GetSelectedEvent();
    const int count = static_cast<int>(m_events.size());
    if (selected < 0 || insertKind == kInsertAppend) {
        return count;
    }
    if (insertKind == kInsertBefore || insertKind == kInsertReplace) {
        return selected;
    }
    return insertKind == kInsertAfter ? selected + 1 : count;
}

uint32_t CMacroControlUI::DelayBefore(uint32_t time) {
    const bool had = m_haveLastTime;
    const uint32_t last = m_lastTime;
    m_haveLastTime = true;
    m_lastTime = time;
    if (m_delayMode == 3) {
        return 0;
    }
    if (m_delayMode == 2) {
        auto* edit = FindNamed<DuiLib::CEditUI>(this, kDelayEdit);
        const long value =
            edit != nullptr ? std::wcstol(edit->GetText().GetData(), nullptr, 10) : 0;
        return static_cast<uint32_t>(std::clamp<long>(value, 0, kMaxMacroDelay));
    }
    return had ? std::min<uint32_t>(time - last, kMaxMacroDelay) : 0;
}

void CMacroControlUI::AddHookEvent(int /*insertKind*/, WPARAM /*wParam*/, LPARAM lParam) {
    if (!m_recording || m_selected < 0) {
        return;
    }
    const HookInput input = UnpackHookInput(lParam);
    const bool first = !m_haveLastTime;
    const uint32_t delay = DelayBefore(input.time);
    int at = std::clamp(m_nextInsert, 0, static_cast<int>(m_events.size()));
    // "Delay" is the wait after an event: the gap belongs to the event before this one.
    if (at > 0 && !first && m_delayMode != 2) {
        m_events[static_cast<size_t>(at - 1)].delay = delay;
    }
    if (m_replacePending && at < static_cast<int>(m_events.size())) {
        m_replaced = m_events[static_cast<size_t>(at)];
        m_events.erase(m_events.begin() + at);
        m_replacePending = false;
    }
    MacroEvent event;
    event.down = input.down;
    event.type = input.mouse ? kMacroMouseEvent : kMacroKeyEvent;
    event.button = input.code;
    event.delay = m_delayMode == 2 ? delay : 0;
    m_events.insert(m_events.begin() + at, event);
    m_nextInsert = at + 1;
    ++m_recordedCount;
    ShowEvents(at);
}

void CMacroControlUI::DropStopPress() {
    const int last = m_nextInsert - 1;
    if (m_recordedCount == 0 || last < 0 || last >= static_cast<int>(m_events.size())) {
        return;
    }
    const MacroEvent& event = m_events[static_cast<size_t>(last)];
    constexpr int kLeftButton = 1;
    if (event.type != kMacroMouseEvent || event.button != kLeftButton || !event.down) {
        return;
    }
    m_events.erase(m_events.begin() + last);
    if (m_recordedCount == 1 && m_replaced) {
        m_events.insert(m_events.begin() + last, *m_replaced);
    } else if (m_recordedCount > 1 && m_delayMode != 2) {
        // The wait measured before the press no longer leads anywhere.
        m_events[static_cast<size_t>(last - 1)].delay = 0;
    }
    m_nextInsert = last;
    --m_recordedCount;
    ShowEvents(std::min(last, static_cast<int>(m_events.size()) - 1));
}

int CMacroControlUI::MoveEvent(int to) {
    const int from = GetSelectedEvent();
    const int count = static_cast<int>(m_events.size());
    if (from < 0 || from >= count || to < 0 || to >= count || to == from) {
        return 0;
    }
    const MacroEvent moved = m_events[static_cast<size_t>(from)];
    m_events.erase(m_events.begin() + from);
    m_events.insert(m_events.begin() + to, moved);
    ShowEvents(to);
    return 1;
}

int CMacroControlUI::MoveEventUp() {
    return MoveEvent(GetSelectedEvent() - 1);
}
int CMacroControlUI::MoveEventDown() {
    return MoveEvent(GetSelectedEvent() + 1);
}
int CMacroControlUI::MoveEventToTop() {
    return MoveEvent(0);
}
int CMacroControlUI::MoveEventToBottom() {
    return MoveEvent(static_cast<int>(m_events.size()) - 1);
}

int CMacroControlUI::DeleteEvent() {
    const int selected = GetSelectedEvent();
    if (selected < 0 || selected >= static_cast<int>(m_events.size())) {
        return 0;
    }
    m_events.erase(m_events.begin() + selected);
    ShowEvents(std::min(selected, static_cast<int>(m_events.size()) - 1));
    return 1;
}

int CMacroControlUI::DeleteAllEvents() {
    if (m_events.empty()) {
        return 0;
    }
    m_events.clear();
    ShowEvents(-1);
    return 1;
}

void CMacroControlUI::InsertEvents(const std::vector<MacroEvent>& events) {
    if (m_selected < 0 || events.empty()) {
        return;
    }
    const int selected = GetSelectedEvent();
    const int at = selected >= 0 ? selected + 1 : static_cast<int>(m_events.size());
    m_events.insert(m_events.begin() + at, events.begin(), events.end());
    ShowEvents(at + static_cast<int>(events.size()) - 1);
}

void CMacroControlUI::InsertMouseEvent(int button, bool down) {
    MacroEvent event;
    event.down = down;
    event.type = kMacroMouseEvent;
    event.button = button;
    InsertEvents({event});
}

namespace {

std::vector<MacroEvent> KeyTap(int usage) {
    MacroEvent down;
    down.down = true;
    down.type = kMacroKeyEvent;
    down.button = usage;
    MacroEvent up = down;
    up.down = false;
    return {down, up};
}

}  // namespace

void CMacroControlUI::InsertHorizontalMoveKey(bool left) {
    InsertEvents(KeyTap(left ? 0x50 : 0x4F));  // HID Left / Right arrow
}

void CMacroControlUI::InsertVerticalMoveKey(bool up) {
    InsertEvents(KeyTap(up ? 0x52 : 0x51));  // HID Up / Down arrow
}
