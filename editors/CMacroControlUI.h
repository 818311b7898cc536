#pragma once

// The macro panel of mouse and keyboard pages (control "MacroControlItem", content from
// "XML/CustomControlXML/MacroControl.xml"): the device's macro library ("macro_name_list"), the
// events of the selected macro ("macro_action_list", one row per event: action, key or button,
// and its delay, which the user may edit), and recording.
//
// The panel keeps the events as a MacroEventList and shows them; every change of the list is
// saved to the macro's event file at once. While recording, the captured keys and buttons the
// main window hands over are placed by the recorder (devices/MacroRecorder.h); the rows are
// redrawn by the panel's timer 4101 at most every 50 ms, so a burst of input costs one redraw.
//
// Library actions that need the user's consent (new, delete, import) are asked by the main
// window, which then calls the operations here.

#include "devices/MacroRecorder.h"
#include "editors/EditorPanel.h"
#include "profiles/CMacroLibrary.h"

#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

class QListWidget;
class QTableWidget;
class QTableWidgetItem;

namespace q407::editors {

// "RedioMacroButton": a button whose foreground image ("redioimage") pulses while it is
// pulsing: every step of its timer 100 moves the fade by 20 between 80 and 255 and back, one
// step every 50 ms.
class CRedioMacroButtonUI : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kTimerId = 100;
    explicit CRedioMacroButtonUI(QWidget* parent = nullptr);

    void SetPulsing(bool pulsing);
    bool IsPulsing() const { return m_pulsing; }
    int Fade() const { return m_fade; }
    // One step of the fade (what the timer runs).
    void Step();

private:
    void ShowFade();

    QTimer m_timer;
    bool m_pulsing = false;
    int m_fade = 255;
    bool m_falling = true;
};

class CMacroControlUI : public CEditorPanel {
    Q_OBJECT
public:
    static constexpr int kRowsTimerId = 4101;
    static constexpr int kRowsTimerMs = 50;

    explicit CMacroControlUI(QWidget* parent = nullptr);

    // The device data folder holding "macro.config" and the event files; loads the library.
    void SetMacroFolder(const std::filesystem::path& folder);
    const std::filesystem::path& MacroFolder() const { return m_folder; }
    profiles::CMacroLibrary Library() const { return profiles::CMacroLibrary(m_folder); }

    // Reads the library again and selects row `select` (-1: the row selected before, if any).
    void LoadMacroList(int select = -1);
    std::vector<std::string> MacroNames() const;
    int MacroCount() const;
    int SelectedMacro() const { return m_selectedMacro; }
    // Selects a macro: its name goes to "macro_edit_macroname" and its events are loaded.
    void SelectMacro(int index);
    QString EditedName() const;

    // --- Events --------------------------------------------------------------------------------
    const q407::devices::MacroEventList& Events() const { return m_events; }
    // Reloads the selected macro's event file ("macro_btn_cancel").
    void ReloadEvents();
    // Writes the event file of the selected macro; the library's result (kRefused without a
    // selected macro).
    int SaveEvents();
    // The row the user selected in the event list (-1: none).
    void SelectEvent(int row);
    // List edits: each changes the list, shows it and saves it. False when nothing changed.
    bool MoveUp();
    bool MoveDown();
    bool MoveToTop();
    bool MoveToBottom();
    bool DeleteEvent();
    bool DeleteAllEvents();
    // A button press, release or both (a click) after the selected event, with the fixed
    // delay; a pointer move by the distance of its edit (0 left, 1 right, 2 up, 3 down).
    enum class Press { Down, Up, Click };
    bool InsertButton(q407::devices::MouseButton button, Press press);
    bool InsertMove(int direction);
    // A delay cell the user left: the event takes it (empty is 0, at most 65535) and the list
    // is saved.
    void CommitDelay(int row, const QString& text);

    // --- Recording -----------------------------------------------------------------------------
    // The timing the start button and the "record time" menu items use: fixed delay when
    // "macro_check_time" is checked, else real time.
    q407::devices::MacroTiming CheckedTiming() const;
    // The fixed delay of "macro_fixed_time_edit", held at 65535 (the edit shows what is used).
    int ReadFixedDelay();
    // Enters the recording state in `mode` (a recording hook mode).
    void StartRecording(q407::devices::MacroTiming timing, int mode, std::uint64_t nowMs);
    // Leaves it and saves the events.
    void StopRecording();
    bool IsRecording() const { return m_recorder.IsRecording(); }
    int RecordingMode() const { return m_mode; }
    // Captured input while recording; true when the list changed.
    bool OnRecordedKey(const q407::devices::KeyInput& key, std::uint64_t nowMs);
    bool OnRecordedMouse(const q407::devices::MouseInput& mouse, std::uint64_t nowMs);
    // The stop button's rectangle on the screen.
    QRect StopButtonRect() const;
    bool RowsRefreshPending() const { return m_rowsTimer.isActive(); }

    // --- Library -------------------------------------------------------------------------------
    // Each returns the library's result and shows the library again.
    int NewMacro();
    int RenameSelected(const std::string& name);
    int DeleteSelected(std::span<const std::filesystem::path> profileFiles, int deviceIndex,
                       std::vector<std::filesystem::path>* changedProfiles);
    int ImportMacro(const std::filesystem::path& file);
    int ExportSelected(const std::filesystem::path& file) const;

private:
    QTableWidget* Rows() const;
    void ShowRows();
    void ScheduleRows();
    void FillRow(int row, const profiles::MacroEvent& event);
    QString RowName(const profiles::MacroEvent& event) const;
    bool AfterEdit(bool changed);
    void EnableEditing();
    void SetRecordingState(bool recording);
    int MoveDistance(const char* edit) const;

    std::filesystem::path m_folder;
    std::vector<profiles::MacroInfo> m_macros;
    int m_selectedMacro = -1;
    q407::devices::MacroEventList m_events;
    q407::devices::MacroRecorder m_recorder;
    int m_mode = 0;
    QTimer m_rowsTimer;
    bool m_showingRows = false;
};

} // namespace q407::editors
