#pragma once

// The key assignment panel of mouse and keyboard pages (control "KeySetControlItem", content from
// "XML/CustomControlXML/KeySetControl.xml"). It shows the function of the key selected on the
// device picture and reads back the function the user chose; the rules between a function and
// what the panel shows live in devices/KeyAssignment.h. The panel raises no device writes
// itself: the main window asks it to encode and hands the result to the page.
//
// The function combo's rows carry their function number (0-11) as user data, and the tab layout
// "function_switch_tablayout" has one page per number. Keyboards (kind 1) offer no DPI (4) or
// gun (10) functions.

#include "devices/KeyAssignment.h"
#include "editors/EditorPanel.h"

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace q407::editors {

class CKeySetControlUI : public CEditorPanel {
    Q_OBJECT
public:
    explicit CKeySetControlUI(QWidget* parent = nullptr);

    // Kind 1 (keyboard) drops the DPI and gun rows of the function combo.
    void SetDeviceKind(int kind);
    int GetDeviceKind() const { return m_kind; }

    // The macro combo: one row per library name, in library order.
    void SetMacroNames(const std::vector<std::string>& names);
    void AddMacroName(const std::string& name);
    void RenameMacro(int index, const std::string& name);
    void RemoveMacro(int index);
    int MacroCount() const;

    // Shows or hides the panel body "keyset_layout".
    void ShowPanel(bool show);
    bool IsPanelShown() const;

    // Key `index` with its current and default function: shows the current one (function 0 while
    // it is the default). The key's current function may become the empty key (see
    // ShowKeyFunction); CurrentFunction tells.
    void ShowKey(int index, const q407::devices::KeyFunctionCode& current,
                 const q407::devices::KeyFunctionCode& defaults);
    void ShowCurrent();
    void ShowDefault();
    int SelectedKey() const { return m_key; }
    q407::devices::KeyFunctionCode CurrentFunction() const { return m_current; }
    q407::devices::KeyFunctionCode DefaultFunction() const { return m_default; }

    // Reads the panel into the current function (kept when the panel names none) and returns it;
    // numbers held at the function's limits are shown as held.
    q407::devices::KeyFunctionCode Encode();

    // Every combo on its first row; fire interval 50, fire count 2, macro count 1.
    void ResetEditors();

    // The user chose a function in the function combo: its page is shown; the keyboard page
    // also starts empty, without a modifier.
    void OnFunctionChosen();
    // The repeat combo shows the count only for "n times".
    void OnRepeatChosen();
    // A key pressed while the key edit captures; false for a key the tables do not know.
    bool CaptureKey(q407::devices::ScanCode scan);

    // Store, cancel and write are enabled while edits are pending.
    void SetEditsPending(bool pending);
    bool EditsPending() const { return m_pending; }

    // The panel's state as KeyForm (what Encode reads) and back.
    q407::devices::KeyForm ReadForm() const;
    void ShowForm(const q407::devices::KeyForm& form);

private:
    void ShowFunction(const q407::devices::KeyFunctionCode& code);
    void FillTableCombos();
    void SelectFunctionRow(int function);
    int SelectedFunction() const;
    int EditNumber(const char* name) const;
    void SetEditNumber(const char* name, int value);
    void ShowKeyName(int keyIndex);

    int m_kind = 0;
    int m_key = -1;
    q407::devices::KeyFunctionCode m_current;
    q407::devices::KeyFunctionCode m_default;
    int m_keyIndex = -1; // the key named in the key edit
    bool m_pending = false;
};

} // namespace q407::editors
