#include "app/CSetWnd.h"

#include "app/CUpdateInfoListItemUI.h"
#include "app/Languages.h"
#include "app/RegisteredMessages.h"
#include "common/Diag.h"
#include "toolkit/CMsgWnd.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QSignalBlocker>
#include <QStackedWidget>

namespace q407::app {
namespace {

namespace update = q407::update;
using update::WindowStatus;

constexpr QSize kWindowSize(630, 500);
constexpr int kRowHeight = 40;
const char* const kRowLayout = "XML/CustomControlXML/device_Update_list_item.xml";

QPointer<CSetWnd>& CurrentWindow() {
    static QPointer<CSetWnd> window;
    return window;
}

const char* StatusTextId(WindowStatus status) {
    switch (status) {
    case WindowStatus::Checking:
        return QT_TRID_NOOP("GetUpdateInfoText");
    case WindowStatus::UpdatesAvailable:
        return QT_TRID_NOOP("HaveUpdateInfoText");
    case WindowStatus::NoInformation:
        return QT_TRID_NOOP("NoUpdateInfoText");
    case WindowStatus::Updating:
        return QT_TRID_NOOP("ISUpdateINGText");
    case WindowStatus::UpToDate:
        return QT_TRID_NOOP("UpdateOkText");
    }
    return "";
}

} // namespace

SetWndServices DefaultSetWndServices() {
    SetWndServices services;
    services.engine.server = update::LoadUpdateServerSettings(update::UpdateSettingsFile());
    services.launcher = update::MakeSystemLauncher();
    services.languageCatalogue = DefaultLanguageCatalogueFile();
    return services;
}

CSetWnd::CSetWnd(QWidget* owner, std::vector<update::UpdateComponent> components,
                 SetWndServices services, SetWndRequest request)
    : WindowImplBase(owner), m_services(std::move(services)), m_request(std::move(request)) {
    setWindowFlag(Qt::Tool, true);
    if (!m_services.launcher) {
        m_services.launcher = update::MakeSystemLauncher();
    }
    m_engine = std::make_unique<update::UpdateEngine>(std::move(components), m_services.engine,
                                                      *m_services.launcher,
                                                      static_cast<UpdateObserver&>(*this));
    CurrentWindow() = this;
}

CSetWnd::~CSetWnd() {
    if (CurrentWindow() == this) {
        CurrentWindow() = nullptr;
    }
    // No observer call may reach a window that is going away.
    m_engine->Stop();
}

// ---- the main window's side ---------------------------------------------------------------

void CSetWnd::Open(QWidget* mainWindow, SetWndRequest request, SetWndServices services) {
    if (IsOpen()) {
        return;
    }
    std::vector<update::UpdateComponent> components = update::OfferedComponents(
        update::BuildUpdateComponents(request.selectorEntries, request.applicationVersion));
    const bool centred = request.centred;
    const int dpi = toolkit::ValidDpiOr96(request.dpi, "SET_WND DPI SET ERROR");
    auto window = std::make_unique<CSetWnd>(mainWindow, std::move(components), std::move(services),
                                            std::move(request));
    if (!window->Create(QStringLiteral("SetWnd"), kWindowSize)) {
        return;
    }
    toolkit::ResourceManager::Instance().SetAllDPI(dpi);
    // The layout's size is for 96 DPI whatever the DPI was when the window was built.
    const double scale = toolkit::ResourceManager::Instance().Scale();
    window->resize(static_cast<int>(kWindowSize.width() * scale + 0.5),
                   static_cast<int>(kWindowSize.height() * scale + 0.5));
    if (centred || mainWindow == nullptr) {
        window->CenterWindow();
    } else {
        const QRect main = mainWindow->frameGeometry();
        window->move(main.right() + 1 - window->width() - static_cast<int>(30 * scale),
                     main.top() + static_cast<int>(60 * scale));
    }
    window->ShowModal();
}

bool CSetWnd::IsOpen() {
    return !CurrentWindow().isNull() && !CurrentWindow()->m_stopped;
}

CSetWnd* CSetWnd::Current() {
    return CurrentWindow().data();
}

void CSetWnd::OnRelayedMessage(qint64 wParam, qint64 lParam) {
    // Looked up on the UI thread, where the window lives and dies.
    QMetaObject::invokeMethod(
        qApp,
        [wParam, lParam] {
            if (CSetWnd* window = Current()) {
                qint64 result = 0;
                window->HandleMessage(MessageNumber(RegisteredMessage::AppControl), wParam, lParam,
                                      result);
            }
        },
        Qt::QueuedConnection);
}

bool CSetWnd::RequestClose() {
    CSetWnd* window = Current();
    if (!IsOpen()) {
        return true;
    }
    return window->SendMessage(kCloseMessage) != 0;
}

void CSetWnd::LanguageChanged() {
    if (CSetWnd* window = Current()) {
        qint64 result = 0;
        window->HandleMessage(kLanguageChangedMessage, 0, 0, result);
    }
}

// ---- the window -----------------------------------------------------------------------------

QWidget* CSetWnd::CreateControl(const QString& className, QWidget* parent) {
    if (className == QLatin1String("UpdateInfoListItemUI") ||
        className == QLatin1String("CUpdateInfoListItemUI")) {
        return new CUpdateInfoListItemUI(parent);
    }
    return nullptr;
}

void CSetWnd::InitWindow() {
    if (auto* max = FindControl(QStringLiteral("restorebtn"))) {
        max->setVisible(false);
    }
    ShowConfirm(false);
    ShowPage(0);
    FillLanguageCombo();
    BindSdkServerCheck();
    m_engine->Start();
}

void CSetWnd::BindSdkServerCheck() {
    auto* check = FindControl<QCheckBox>(QStringLiteral("sdk_server_check"));
    if (check == nullptr) {
        return;
    }
    {
        const QSignalBlocker blocker(check); // showing the state is no choice of the user's
        check->setChecked(m_request.sdkServerOn);
    }
    connect(check, &QCheckBox::toggled, this, [this](bool on) {
        if (m_request.sdkServerChosen) {
            m_request.sdkServerChosen(on);
        }
    });
}

void CSetWnd::Notify(toolkit::TNotifyUI& msg) {
    const QString name = msg.SenderName();
    if (msg.sType == QLatin1String("click")) {
        if (name == QLatin1String("closebtn") || name == QLatin1String("laterbtn")) {
            StopAndClose();
        } else if (name == QLatin1String("set_in_update_wnd_btn")) {
            if (QWidget* tip = FindControl(QStringLiteral("update_tishi_layout"))) {
                tip->setVisible(false);
            }
            const double scale = toolkit::ResourceManager::Instance().Scale();
            resize(static_cast<int>(kWindowSize.width() * scale + 0.5),
                   static_cast<int>(kWindowSize.height() * scale + 0.5));
        } else if (name == QLatin1String("update_fw_and_ap")) {
            ShowPage(1);
        } else if (name == QLatin1String("update_OK_btn")) {
            m_engine->Confirm();
            if (QWidget* confirm = FindControl(QStringLiteral("update_fw_and_ap"))) {
                confirm->setEnabled(false);
            }
            ShowPage(0);
        } else {
            HandleCaptionButton(name); // "menubtn" and "homepage_btn" do nothing
        }
    } else if (msg.sType == QLatin1String("selectchanged") &&
               name == QLatin1String("check_name_select")) {
        if (const std::ptrdiff_t index = RowIndexOf(msg.pSender); index >= 0) {
            m_engine->SetTicked(static_cast<std::size_t>(index), msg.wParam != 0);
        }
    } else if (msg.sType == QLatin1String("itemselect") &&
               name == QLatin1String("Language_combox_info")) {
        if (m_request.languageChosen && msg.wParam >= 0) {
            m_request.languageIndex = static_cast<int>(msg.wParam);
            m_request.languageChosen(m_request.languageIndex);
        }
    }
}

bool CSetWnd::HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) {
    result = 0;
    if (message == MessageNumber(RegisteredMessage::AppControl)) {
        if (!m_stopped) {
            m_engine->OnInstallerReport(wParam, lParam);
            HandleMessage(kCloseMessage, 0, 0, result);
        }
        return true;
    }
    if (message == kCloseMessage) {
        if (!m_stopped && !m_engine->CanClose()) {
            q407::diag::Line("settings window: a component is being updated; not closing");
            return true;
        }
        StopAndClose();
        result = 1;
        return true;
    }
    if (message == kLanguageChangedMessage) {
        if (m_status == WindowStatus::UpToDate) {
            ShowStatus(m_status);
        }
        RetextLanguageCombo();
        update();
        return true;
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam, result);
}

void CSetWnd::closeEvent(QCloseEvent* event) {
    // Closing from the window frame is the close button's action.
    m_engine->Stop();
    m_stopped = true;
    WindowImplBase::closeEvent(event);
}

void CSetWnd::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const bool maximised = isMaximized();
        if (QWidget* max = FindControl(QStringLiteral("maxbtn"))) {
            max->setVisible(!maximised);
        }
        if (QWidget* restore = FindControl(QStringLiteral("restorebtn"))) {
            restore->setVisible(maximised);
        }
    }
    WindowImplBase::changeEvent(event);
}

void CSetWnd::StopAndClose() {
    m_engine->Stop();
    m_stopped = true;
    Close(0);
}

CUpdateInfoListItemUI* CSetWnd::Row(std::size_t index) const {
    return index < m_rows.size() ? m_rows[index].data() : nullptr;
}

std::ptrdiff_t CSetWnd::RowIndexOf(const QWidget* control) const {
    for (const QWidget* w = control; w != nullptr; w = w->parentWidget()) {
        if (const auto* row = qobject_cast<const CUpdateInfoListItemUI*>(w)) {
            for (std::size_t i = 0; i < m_rows.size(); ++i) {
                if (m_rows[i] == row) {
                    return static_cast<std::ptrdiff_t>(i);
                }
            }
            return -1;
        }
    }
    return -1;
}

// ---- the engine's calls, re-posted to the UI thread -------------------------------------------

template <typename F>
void CSetWnd::OnUiThread(F f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void CSetWnd::RowAdded(std::size_t index, const update::UpdateRowView& row) {
    OnUiThread([this, index, row] { AddRowControl(index, row); });
}

void CSetWnd::RowChanged(std::size_t index, const update::UpdateRowView& row) {
    OnUiThread([this, index, row] { ApplyRow(index, row); });
}

void CSetWnd::RowProgress(std::size_t index, int percent) {
    OnUiThread([this, index, percent] {
        if (CUpdateInfoListItemUI* item = Row(index)) {
            item->SetPercent(percent);
        }
    });
}

void CSetWnd::StatusChanged(WindowStatus status, const std::string& lastCheckDate) {
    OnUiThread([this, status, date = QString::fromStdString(lastCheckDate)] {
        m_lastCheckDate = date;
        ShowStatus(status);
        if (status == WindowStatus::UpToDate && m_request.upToDate) {
            m_request.upToDate();
        }
    });
}

void CSetWnd::ConfirmAvailable(bool available) {
    OnUiThread([this, available] { ShowConfirm(available); });
}

void CSetWnd::InstallerStartFailed(std::size_t index) {
    (void)index;
    OnUiThread([this] {
        toolkit::GetDialogs().MessageBox(
            this, QString(), QStringLiteral(QT_TRID_NOOP("update_failed_text")), true, 0);
    });
}

// ---- controls ------------------------------------------------------------------------------

void CSetWnd::AddRowControl(std::size_t index, const update::UpdateRowView& row) {
    if (m_rows.size() <= index) {
        m_rows.resize(index + 1);
    }
    QWidget* list = FindControl(QStringLiteral("device_update_list_info"));
    if (list == nullptr) {
        return;
    }
    auto* item = qobject_cast<CUpdateInfoListItemUI*>(toolkit::BuildFromSkin(
        QString::fromLatin1(kRowLayout), list, [this](const QString& className, QWidget* parent) {
            return CreateControl(className, parent);
        }));
    if (item == nullptr) {
        return; // a row that cannot be built is left out; the others keep their places
    }
    item->setFixedHeight(kRowHeight);
    // Rows stand above the list's closing stretch, in component order.
    if (auto* layout = qobject_cast<QBoxLayout*>(list->layout())) {
        int position = 0;
        for (std::size_t i = 0; i < index; ++i) {
            position += m_rows[i] ? 1 : 0;
        }
        layout->insertWidget(position, item);
    }
    item->show();
    m_rows[index] = item;
    ApplyRow(index, row);
}

void CSetWnd::ApplyRow(std::size_t index, const update::UpdateRowView& row) {
    CUpdateInfoListItemUI* item = Row(index);
    if (item == nullptr) {
        return;
    }
    item->SetName(QString::fromStdString(row.info.name));
    item->SetNewestVersion(QString::fromStdString(row.newestVersionText));
    item->SetInstalledVersion(QString::fromStdString(row.info.installedVersionText));
    item->SetState(static_cast<int>(row.info.status));
    item->setProperty("userdata", QString::fromStdString(row.info.downloadUrl));
    item->SetCheckEnabled(row.checkEnabled);
    {
        // Mirroring the engine's tick is no choice of the user's.
        auto* check = item->findChild<QAbstractButton*>(QStringLiteral("check_name_select"));
        const QSignalBlocker blocker(check);
        item->SetTicked(row.ticked);
    }
    item->SetPercent(row.percent);
}

void CSetWnd::ShowStatus(WindowStatus status) {
    m_status = status;
    auto* text = FindControl<QLabel>(QStringLiteral("Update_Status_text"));
    if (text != nullptr) {
        if (status == WindowStatus::UpToDate) {
            text->setProperty("textid", QVariant());
            text->setText(toolkit::ResourceManager::Instance().Text(
                              QStringLiteral(QT_TRID_NOOP("UpdateOkText"))) +
                          QLatin1Char(' ') + m_lastCheckDate);
        } else {
            toolkit::SetControlText(text, QString::fromLatin1(StatusTextId(status)));
        }
    }
    if (QWidget* ring = FindControl(QStringLiteral("update_status_ring"))) {
        ring->setVisible(status == WindowStatus::Checking);
    }
    if (QWidget* image = FindControl(QStringLiteral("update_status_image"))) {
        image->setVisible(status != WindowStatus::Checking);
    }
}

void CSetWnd::ShowConfirm(bool available) {
    if (QWidget* confirm = FindControl(QStringLiteral("update_fw_and_ap"))) {
        confirm->setEnabled(available);
        confirm->setVisible(available);
    }
}

void CSetWnd::ShowPage(int page) {
    if (auto* tabs = FindControl<QStackedWidget>(QStringLiteral("get_update_tab_layout"))) {
        tabs->setCurrentIndex(page);
    }
}

void CSetWnd::FillLanguageCombo() {
    auto* combo = FindControl<QComboBox>(QStringLiteral("Language_combox_info"));
    if (combo == nullptr) {
        return;
    }
    const QSignalBlocker blocker(combo); // filling is no choice of the user's
    combo->clear();
    for (const LanguageEntry& language : ReadLanguageCatalogue(m_services.languageCatalogue)) {
        combo->addItem(toolkit::ResourceManager::Instance().Text(language.textId), language.textId);
    }
    if (m_request.languageIndex >= 0 && m_request.languageIndex < combo->count()) {
        combo->setCurrentIndex(m_request.languageIndex);
    }
    // Without a catalogue there is nothing to choose.
    combo->setVisible(combo->count() > 0);
    if (QWidget* label = FindControl(QStringLiteral("language_label"))) {
        label->setVisible(combo->count() > 0);
    }
}

void CSetWnd::RetextLanguageCombo() {
    auto* combo = FindControl<QComboBox>(QStringLiteral("Language_combox_info"));
    if (combo == nullptr) {
        return;
    }
    for (int i = 0; i < combo->count(); ++i) {
        combo->setItemText(
            i, toolkit::ResourceManager::Instance().Text(combo->itemData(i).toString()));
    }
}

} // namespace q407::app
