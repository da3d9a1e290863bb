#pragma once
// The macro editor of the keyboard and mouse pages: the macro list of the device's user
// data folder ("macro.config" and one ".mac" file per macro), the event list of the
// selected macro, and recording from the keyboard hook. Delay modes of a recording: 1 the
// recorded time between events, 2 the constant delay of "macro_delay", 3 no delay.
// Insert kinds: 4 append, 8 before the selected event, 16 after it, 32 replace it.

#include <optional>
#include <string>
#include <vector>

#include "duilib/ui_layouts.h"
#include "pages/macro_files.h"
#include "platform/win_types.h"

class CMacroControlUI : public DuiLib::CHorizontalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"MacroControl";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetMacroFolder(DuiLib::CDuiString folder);
    // Reads the macro list (name, Guid) in list order and shows it.
    void LoadMacroNameList();
    std::vector<DuiLib::CDuiString> GetMacroNames() const;
    bool IsRecordTimeChecked() const;

    // Macro list operations; 1 done, 0 refused or failed.
    int SelectMacro(int index);
    // The macro the user chose in the name list (the list keeps its rows).
    int SelectMacroFromList();
    int GetSelectedMacro() const { return m_selected; }
    int AddMacro();
    int DeleteMacro();
    int RenameMacro(DuiLib::CDuiString name);
    int ImportMacro(DuiLib::CDuiString path);
    int ExportMacro(DuiLib::CDuiString path) const;

    // The selected macro's events as edited (saved with SaveMacro).
    const std::vector<MacroEvent>& GetEvents() const { return m_events; }
    int GetSelectedEvent() const;
    int SelectEvent(int index);
    int SaveMacro();
    // Drops unsaved edits.
    int CancelEdit();

    void StartRecording(int delayMode, int insertKind);
    // The press that clicked Stop ends the recording and is no part of it: a recording
    // never ends in a left-button press of its own.
    void StopRecording();
    bool IsRecording() const { return m_recording; }
    // A hook message while recording: wParam the input message, lParam the packed input.
    void AddHookEvent(int insertKind, WPARAM wParam, LPARAM lParam);

    // Editing of the event list.
    int MoveEventUp();
    int MoveEventDown();
    int MoveEventToTop();
    int MoveEventToBottom();
    int DeleteEvent();
    int DeleteAllEvents();
    // A mouse-button event after the selected event (at the end when none is selected).
    void InsertMouseEvent(int button, bool down);
    // A press and release of an arrow key after the selected event (the insert buttons
    // beside the event list).
    void InsertHorizontalMoveKey(bool left);
    void InsertVerticalMoveKey(bool up);

  private:
    std::string IndexPath() const;
    std::string MacroPath(int index) const;
    int SaveIndex() const;
    void ShowMacroList();
    void ShowEvents(int select);
    void LoadEvents();
    int InsertAt(int insertKind) const;
    uint32_t DelayBefore(uint32_t time);
    int MoveEvent(int to);
    void InsertEvents(const std::vector<MacroEvent>& events);
    void DropStopPress();

    std::string m_folder;
    std::vector<MacroIndexEntry> m_entries;
    int m_selected = -1;
    std::vector<MacroEvent> m_events;
    bool m_recording = false;
    int m_delayMode = 1;
    bool m_haveLastTime = false;
    uint32_t m_lastTime = 0;
    bool m_replacePending = false;
    // The event a re-recording replaced, given back when nothing but the Stop press came.
    std::optional<MacroEvent> m_replaced;
    int m_nextInsert = -1;
    int m_recordedCount = 0;
};
