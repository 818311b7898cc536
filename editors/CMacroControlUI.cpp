#include "editors/CMacroControlUI.h"

#include "profiles/JsonFile.h"
#include "toolkit/Notify.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

namespace q407::editors {
namespace {

namespace dev = q407::devices;
using profiles::CMacroLibrary;
using profiles::MacroEvent;

constexpr int kMaxDelay = CMacroLibrary::kMaxDelay;
constexpr int kMaxDistance = 0xFF; // the device keeps one byte of a distance
constexpr int kRowHeight = 30;
constexpr int kActionColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kDelayColumn = 2;
// Item data: the row's event as styled JSON, and the style name its cell is drawn with.
constexpr int kEventRole = Qt::UserRole;
constexpr int kStyleRole = Qt::UserRole + 2;

constexpr int kFadeLow = 80;
constexpr int kFadeHigh = 255;
constexpr int kFadeStep = 20;
constexpr int kPulseMs = 50;

QString Text(const char* id) {
    return toolkit::ResourceManager::Instance().Text(QString::fromLatin1(id));
}

// The delay cell's editor: an edit named "macro_delay" that takes up to six digits, 0-65535.
class DelayDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        if (index.column() != kDelayColumn) {
            return nullptr;
        }
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("macro_delay"));
        edit->setMaxLength(6);
        edit->setValidator(new QIntValidator(0, kMaxDelay, edit));
        edit->setStyleSheet(QStringLiteral("background: #444444; color: #e8ecef;"));
        return edit;
    }
};

const char* MoveTextId(int type, bool down) {
    if (type == dev::macro_type::kMoveX) {
        return down ? QT_TRID_NOOP("mouse_move_to_left_text")
                    : QT_TRID_NOOP("mouse_move_to_right_text");
    }
    return down ? QT_TRID_NOOP("mouse_move_to_up_text") : QT_TRID_NOOP("mouse_move_to_down_text");
}

bool IsKeyEvent(const MacroEvent& event) {
    return event.type == dev::macro_type::kKey || event.type == dev::macro_type::kModifier;
}

} // namespace

// --- The pulsing record button -------------------------------------------------------------------

CRedioMacroButtonUI::CRedioMacroButtonUI(QWidget* parent) : QPushButton(parent) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CRedioMacroButtonUI::Step);
}

void CRedioMacroButtonUI::SetPulsing(bool pulsing) {
    m_pulsing = pulsing;
    if (pulsing) {
        m_timer.start(kPulseMs);
    } else {
        m_timer.stop();
        m_fade = kFadeHigh;
        m_falling = true;
        ShowFade();
    }
}

void CRedioMacroButtonUI::Step() {
    if (m_falling) {
        m_fade = std::max(kFadeLow, m_fade - kFadeStep);
        m_falling = m_fade > kFadeLow;
    } else {
        m_fade = std::min(kFadeHigh, m_fade + kFadeStep);
        m_falling = m_fade >= kFadeHigh;
    }
    ShowFade();
    if (m_pulsing) {
        m_timer.start(kPulseMs);
    }
}

void CRedioMacroButtonUI::ShowFade() {
    const QString image = property("redioimage").toString();
    if (image.isEmpty()) {
        return;
    }
    // A plain file name or a whole description; either way the fade is added.
    const QString description =
        image.contains(QLatin1Char('=')) ? image : QStringLiteral("file='%1'").arg(image);
    toolkit::SetAttribute(this, QStringLiteral("foreimage"),
                          description + QStringLiteral(" fade='%1'").arg(m_fade));
}

// --- The panel -----------------------------------------------------------------------------------

CMacroControlUI::CMacroControlUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/MacroControl.xml"), parent) {
    m_rowsTimer.setSingleShot(true);
    m_rowsTimer.setInterval(kRowsTimerMs);
    connect(&m_rowsTimer, &QTimer::timeout, this, &CMacroControlUI::ShowRows);
    if (QTableWidget* rows = Rows()) {
        rows->setColumnCount(3);
        rows->setItemDelegate(new DelayDelegate(rows));
        rows->horizontalHeader()->setVisible(false);
        rows->verticalHeader()->setVisible(false);
        rows->verticalHeader()->setDefaultSectionSize(kRowHeight);
        rows->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
        rows->setSelectionBehavior(QAbstractItemView::SelectRows);
        rows->setSelectionMode(QAbstractItemView::SingleSelection);
        rows->setEditTriggers(QAbstractItemView::DoubleClicked |
                              QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed);
        // A right click on the rows raises their "menu" notification with the row under the
        // pointer (-1: none); the viewport gets the event, so the table's own notifier would not.
        rows->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(rows, &QWidget::customContextMenuRequested, this, [rows](const QPoint& at) {
            toolkit::SendNotify(rows, QStringLiteral("menu"), rows->rowAt(at.y()));
        });
        connect(rows, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
            if (!m_showingRows && item->column() == kDelayColumn) {
                CommitDelay(item->row(), item->text());
            }
        });
        connect(rows, &QTableWidget::currentCellChanged, this, [this](int row) {
            if (!m_showingRows) {
                m_events.selected = row;
            }
        });
    }
    // A macro is renamed in place too: a double click (or F2) edits its row, and the edited text
    // goes through the name edit, so both ways share one rule.
    if (auto* list = Control<QListWidget>(QStringLiteral("macro_name_list"))) {
        list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
        connect(list, &QListWidget::itemChanged, this, [this, list](QListWidgetItem* item) {
            const int row = list->row(item);
            if (row != m_selectedMacro) {
                return;
            }
            if (auto* name = Control<QLineEdit>(QStringLiteral("macro_edit_macroname"))) {
                const QSignalBlocker quiet(name);
                name->setText(item->text());
            }
            toolkit::SendNotify(list, QStringLiteral("textchanged"), row);
        });
    }
    for (const char* name :
         {"mouse_x_left_edit", "mouse_x_right_edit", "mouse_y_up_edit", "mouse_y_down_edit"}) {
        if (auto* edit = Control<QLineEdit>(QString::fromLatin1(name))) {
            edit->setValidator(new QIntValidator(0, kMaxDistance, edit));
        }
    }
    if (auto* fixed = Control<QLineEdit>(QStringLiteral("macro_fixed_time_edit"))) {
        fixed->setValidator(new QIntValidator(0, 9'999'999, fixed));
    }
    SetRecordingState(false);
    EnableEditing();
}

QTableWidget* CMacroControlUI::Rows() const {
    return Control<QTableWidget>(QStringLiteral("macro_action_list"));
}

// --- Library -------------------------------------------------------------------------------------

void CMacroControlUI::SetMacroFolder(const std::filesystem::path& folder) {
    m_folder = folder;
    m_selectedMacro = -1;
    LoadMacroList(0);
}

void CMacroControlUI::LoadMacroList(int select) {
    m_macros = m_folder.empty() ? std::vector<profiles::MacroInfo>() : Library().Load();
    if (select < 0) {
        select = m_selectedMacro;
    }
    select = m_macros.empty() ? -1 : std::clamp(select, 0, static_cast<int>(m_macros.size()) - 1);
    if (auto* list = Control<QListWidget>(QStringLiteral("macro_name_list"))) {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const profiles::MacroInfo& macro : m_macros) {
            auto* item = new QListWidgetItem(QString::fromStdString(macro.name), list);
            item->setData(Qt::UserRole, QString::fromStdString(macro.guid));
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            item->setSizeHint(QSize(-1, kRowHeight));
        }
    }
    m_selectedMacro = -1;
    SelectMacro(select);
}

std::vector<std::string> CMacroControlUI::MacroNames() const {
    std::vector<std::string> names;
    for (const profiles::MacroInfo& macro : m_macros) {
        names.push_back(macro.name);
    }
    return names;
}

int CMacroControlUI::MacroCount() const {
    return static_cast<int>(m_macros.size());
}

void CMacroControlUI::SelectMacro(int index) {
    if (index < 0 || index >= MacroCount()) {
        m_selectedMacro = -1;
        m_events.Clear();
        ShowRows();
        EnableEditing();
        return;
    }
    m_selectedMacro = index;
    if (auto* list = Control<QListWidget>(QStringLiteral("macro_name_list"))) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(index);
    }
    if (auto* name = Control<QLineEdit>(QStringLiteral("macro_edit_macroname"))) {
        const QSignalBlocker quiet(name);
        name->setText(QString::fromStdString(m_macros[static_cast<std::size_t>(index)].name));
    }
    ReloadEvents();
    EnableEditing();
}

QString CMacroControlUI::EditedName() const {
    const auto* name = Control<QLineEdit>(QStringLiteral("macro_edit_macroname"));
    return name != nullptr ? name->text() : QString();
}

int CMacroControlUI::NewMacro() {
    const int result = Library().NewMacro();
    if (result == CMacroLibrary::kDone) {
        LoadMacroList(MacroCount()); // the new one, at the end
    }
    return result;
}

int CMacroControlUI::RenameSelected(const std::string& name) {
    const int result = Library().RenameMacro(m_selectedMacro, name);
    if (result == CMacroLibrary::kDone) {
        LoadMacroList(m_selectedMacro);
    } else if (auto* list = Control<QListWidget>(QStringLiteral("macro_name_list"))) {
        // A refused name typed into the list itself must not stay there looking accepted.
        const QSignalBlocker quiet(list);
        for (int row = 0; row < list->count() && row < MacroCount(); ++row) {
            list->item(row)->setText(
                QString::fromStdString(m_macros[static_cast<std::size_t>(row)].name));
        }
    }
    return result;
}

int CMacroControlUI::DeleteSelected(std::span<const std::filesystem::path> profileFiles,
                                    int deviceIndex,
                                    std::vector<std::filesystem::path>* changedProfiles) {
    const int deleted = m_selectedMacro;
    const int result = Library().DeleteMacro(deleted, profileFiles, deviceIndex, changedProfiles);
    if (result == CMacroLibrary::kDone) {
        LoadMacroList(std::max(deleted - 1, 0));
    }
    return result;
}

int CMacroControlUI::ImportMacro(const std::filesystem::path& file) {
    const int result = Library().ImportMacro(file);
    if (result == CMacroLibrary::kDone) {
        LoadMacroList(MacroCount());
    }
    return result;
}

int CMacroControlUI::ExportSelected(const std::filesystem::path& file) const {
    return m_selectedMacro < 0 ? CMacroLibrary::kRefused
                               : Library().ExportMacro(m_selectedMacro, file);
}

void CMacroControlUI::EnableEditing() {
    // Without macros there is nothing to edit or export.
    const bool any = !m_macros.empty();
    for (const char* name : {"macro_action_layout", "mouse_move_layout", "macro_btn_export"}) {
        if (QWidget* control = Control<QWidget>(QString::fromLatin1(name))) {
            control->setEnabled(any);
        }
    }
}

// --- Events --------------------------------------------------------------------------------------

void CMacroControlUI::ReloadEvents() {
    m_events.Clear();
    if (m_selectedMacro >= 0) {
        m_events.events = Library().ReadEvents(m_selectedMacro);
    }
    ShowRows();
}

int CMacroControlUI::SaveEvents() {
    if (m_selectedMacro < 0) {
        return CMacroLibrary::kRefused;
    }
    return Library().SaveEvents(m_selectedMacro, m_events.events);
}

void CMacroControlUI::SelectEvent(int row) {
    m_events.selected = row >= 0 && row < static_cast<int>(m_events.events.size()) ? row : -1;
    if (QTableWidget* rows = Rows()) {
        const QSignalBlocker quiet(rows);
        rows->setCurrentCell(m_events.selected, kActionColumn);
    }
}

bool CMacroControlUI::AfterEdit(bool changed) {
    if (changed) {
        ShowRows();
        SaveEvents();
    }
    return changed;
}

bool CMacroControlUI::MoveUp() {
    return AfterEdit(m_events.MoveUp());
}
bool CMacroControlUI::MoveDown() {
    return AfterEdit(m_events.MoveDown());
}
bool CMacroControlUI::MoveToTop() {
    return AfterEdit(m_events.MoveToTop());
}
bool CMacroControlUI::MoveToBottom() {
    return AfterEdit(m_events.MoveToBottom());
}
bool CMacroControlUI::DeleteEvent() {
    return AfterEdit(m_events.DeleteSelected());
}
bool CMacroControlUI::DeleteAllEvents() {
    const bool any = !m_events.events.empty();
    m_events.Clear();
    return AfterEdit(any);
}

bool CMacroControlUI::InsertButton(dev::MouseButton button, Press press) {
    if (m_selectedMacro < 0) {
        return false;
    }
    const int delay = ReadFixedDelay();
    const int bit = dev::MacroButtonBit(button);
    bool changed = false;
    if (press != Press::Up) {
        changed |= m_events.InsertAfterSelection({true, dev::macro_type::kMouseButton, bit, delay});
    }
    if (press != Press::Down) {
        changed |=
            m_events.InsertAfterSelection({false, dev::macro_type::kMouseButton, bit, delay});
    }
    return AfterEdit(changed);
}

int CMacroControlUI::MoveDistance(const char* edit) const {
    const auto* box = Control<QLineEdit>(QString::fromLatin1(edit));
    return box != nullptr ? std::clamp(box->text().toInt(), 0, kMaxDistance) : 0;
}

bool CMacroControlUI::InsertMove(int direction) {
    struct Move {
        const char* edit;
        int type;
        bool down;
    };
    static constexpr Move kMoves[] = {{"mouse_x_left_edit", dev::macro_type::kMoveX, true},
                                      {"mouse_x_right_edit", dev::macro_type::kMoveX, false},
                                      {"mouse_y_up_edit", dev::macro_type::kMoveY, true},
                                      {"mouse_y_down_edit", dev::macro_type::kMoveY, false}};
    if (m_selectedMacro < 0 || direction < 0 || direction >= 4) {
        return false;
    }
    const Move& move = kMoves[direction];
    return AfterEdit(m_events.InsertAfterSelection(
        {move.down, move.type, MoveDistance(move.edit), ReadFixedDelay()}));
}

void CMacroControlUI::CommitDelay(int row, const QString& text) {
    if (row < 0 || row >= static_cast<int>(m_events.events.size())) {
        return;
    }
    const int delay = std::clamp(text.trimmed().toInt(), 0, kMaxDelay); // empty: 0
    m_events.events[static_cast<std::size_t>(row)].delay = delay;
    if (QTableWidget* rows = Rows(); rows != nullptr && rows->item(row, kDelayColumn) != nullptr) {
        m_showingRows = true;
        rows->item(row, kDelayColumn)->setText(QString::number(delay));
        m_showingRows = false;
    }
    SaveEvents();
}

// --- Rows ----------------------------------------------------------------------------------------

QString CMacroControlUI::RowName(const MacroEvent& event) const {
    if (event.type == dev::macro_type::kMoveX || event.type == dev::macro_type::kMoveY) {
        return Text(MoveTextId(event.type, event.down)) + QLatin1Char(' ') +
               QString::number(event.button);
    }
    const std::string id = dev::MacroEventNameId(event.type, event.button);
    return id.empty() ? QString() : Text(id.c_str());
}

void CMacroControlUI::FillRow(int row, const MacroEvent& event) {
    QTableWidget* rows = Rows();
    auto* action = new QTableWidgetItem(event.down ? Text(QT_TRID_NOOP("macro_action_down"))
                                                   : Text(QT_TRID_NOOP("macro_action_up")));
    action->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    action->setData(kStyleRole, event.down ? QStringLiteral("macro_label_down_style")
                                           : QStringLiteral("macro_label_up_style"));
    action->setForeground(event.down ? QColor(0x19, 0xC3, 0xA6) : QColor(0xE8, 0xA3, 0x3D));
    const Json::Value document = CMacroLibrary::EventDocument({}, {}, {event});
    action->setData(kEventRole,
                    QString::fromStdString(profiles::StyledJsonText(document["Events"][0])));
    auto* name = new QTableWidgetItem(RowName(event));
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    name->setData(kStyleRole, IsKeyEvent(event) ? QStringLiteral("macro_label_keyboard_style")
                                                : QStringLiteral("macro_label_mouse_style"));
    name->setForeground(IsKeyEvent(event) ? QColor(0xE8, 0xEC, 0xEF) : QColor(0x8F, 0xC7, 0xFF));
    auto* delay = new QTableWidgetItem(QString::number(std::clamp(event.delay, 0, kMaxDelay)));
    delay->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    delay->setData(kStyleRole, QStringLiteral("macro_label_text_style"));
    rows->setItem(row, kActionColumn, action);
    rows->setItem(row, kNameColumn, name);
    rows->setItem(row, kDelayColumn, delay);
}

void CMacroControlUI::ShowRows() {
    m_rowsTimer.stop();
    QTableWidget* rows = Rows();
    if (rows == nullptr) {
        return;
    }
    m_showingRows = true;
    {
        const QSignalBlocker quiet(rows);
        rows->setUpdatesEnabled(false);
        rows->setRowCount(static_cast<int>(m_events.events.size()));
        for (std::size_t i = 0; i < m_events.events.size(); ++i) {
            FillRow(static_cast<int>(i), m_events.events[i]);
        }
        rows->setCurrentCell(m_events.HasSelection() ? m_events.selected : -1, kActionColumn);
        rows->setUpdatesEnabled(true);
    }
    if (m_events.HasSelection()) {
        rows->scrollToItem(rows->item(m_events.selected, kActionColumn));
    }
    m_showingRows = false;
}

void CMacroControlUI::ScheduleRows() {
    if (!m_rowsTimer.isActive()) {
        m_rowsTimer.start();
    }
}

// --- Recording -----------------------------------------------------------------------------------

dev::MacroTiming CMacroControlUI::CheckedTiming() const {
    const auto* fixed = Control<QAbstractButton>(QStringLiteral("macro_check_time"));
    return fixed != nullptr && fixed->isChecked() ? dev::MacroTiming::FixedDelay
                                                  : dev::MacroTiming::RealTime;
}

int CMacroControlUI::ReadFixedDelay() {
    auto* edit = Control<QLineEdit>(QStringLiteral("macro_fixed_time_edit"));
    if (edit == nullptr) {
        return 0;
    }
    bool ok = false;
    const qlonglong typed = edit->text().trimmed().toLongLong(&ok);
    const int delay = ok ? static_cast<int>(std::clamp<qlonglong>(typed, 0, kMaxDelay)) : 0;
    if (!ok || typed != delay) {
        const QSignalBlocker quiet(edit);
        edit->setText(QString::number(delay));
    }
    return delay;
}

void CMacroControlUI::StartRecording(dev::MacroTiming timing, int mode, std::uint64_t nowMs) {
    if (m_selectedMacro < 0 || !dev::IsRecordingMode(mode)) {
        return;
    }
    m_mode = mode;
    const int fixed = timing == dev::MacroTiming::FixedDelay ? ReadFixedDelay() : 0;
    m_recorder.Start(timing, fixed, nowMs);
    SetRecordingState(true);
}

void CMacroControlUI::StopRecording() {
    if (!m_recorder.IsRecording()) {
        return;
    }
    m_recorder.Stop();
    m_mode = 0;
    SetRecordingState(false);
    ShowRows();
    SaveEvents();
}

bool CMacroControlUI::OnRecordedKey(const dev::KeyInput& key, std::uint64_t nowMs) {
    const bool placed = m_recorder.OnKey(m_mode, key, nowMs, m_events);
    if (placed) {
        ScheduleRows();
    }
    return placed;
}

bool CMacroControlUI::OnRecordedMouse(const dev::MouseInput& mouse, std::uint64_t nowMs) {
    const bool onStop = StopButtonRect().contains(mouse.x, mouse.y);
    const bool placed = m_recorder.OnMouse(m_mode, mouse, onStop, nowMs, m_events);
    if (placed) {
        ScheduleRows();
    }
    return placed;
}

QRect CMacroControlUI::StopButtonRect() const {
    const QWidget* stop = Control<QWidget>(QStringLiteral("macro_btn_stopredio"));
    if (stop == nullptr || !stop->isVisible()) {
        return {};
    }
    return {stop->mapToGlobal(QPoint(0, 0)), stop->size()};
}

void CMacroControlUI::SetRecordingState(bool recording) {
    if (QWidget* start = Control<QWidget>(QStringLiteral("macro_btn_starredio"))) {
        start->setVisible(!recording);
    }
    if (QWidget* stop = Control<QWidget>(QStringLiteral("macro_btn_stopredio"))) {
        stop->setVisible(recording);
        if (auto* pulsing = qobject_cast<CRedioMacroButtonUI*>(stop)) {
            pulsing->SetPulsing(recording);
        }
    }
    for (const char* name : {"macro_name_tab", "macro_action_list", "macro_tab_macroaction_edit",
                             "macro_tab_macrodelay_edit"}) {
        if (QWidget* control = Control<QWidget>(QString::fromLatin1(name))) {
            control->setEnabled(!recording);
        }
    }
}

} // namespace q407::editors
