#include "app/DevicePages.h"

#include "app/SynchronisedLighting.h"
#include "common/Diag.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/LightRules.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QBoxLayout>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>

namespace q407::app {
namespace {

namespace hid = q407::hid;
namespace diag = q407::diag;

bool IsReceiverType(int type) {
    return type == hid::kDeviceMouseReceiver || type == hid::kDeviceKeyboardReceiver;
}

const char* ArrivalLine(int kind) {
    switch (kind) {
    case hid::kDeviceMouse:
        return "添加一个鼠标设备";
    case hid::kDeviceKeyboard:
        return "添加一个键盘设备";
    default:
        return "添加一个鼠标垫设备";
    }
}

const char* RemovalLine(int kind) {
    switch (kind) {
    case hid::kDeviceMouse:
        return "删除一个鼠标设备";
    case hid::kDeviceKeyboard:
        return "删除一个键盘设备";
    default:
        return "删除一个鼠标垫设备";
    }
}

const char* LostLine(int kind) {
    switch (kind) {
    case hid::kDeviceMouse:
        return "鼠标设备丢失";
    case hid::kDeviceKeyboard:
        return "键盘设备丢失";
    default:
        return "鼠标垫设备丢失";
    }
}

// The slot of the product's other connection when it is present and links back, else -1.
int PresentPairSlot(int commandRow, const std::vector<hid::DeviceIdentity>& slots) {
    const auto rows = hid::SupportedDevices();
    if (commandRow < 0 || rows[static_cast<std::size_t>(commandRow)].hasPair == 0) {
        return -1;
    }
    const int pair = rows[static_cast<std::size_t>(commandRow)].pairIndex;
    if (pair < 0 || static_cast<std::size_t>(pair) >= slots.size() ||
        rows[static_cast<std::size_t>(pair)].pairIndex != commandRow ||
        slots[static_cast<std::size_t>(pair)].occupied == 0) {
        return -1;
    }
    return pair;
}

// The headset's lighting is not the program's to hand over; the other kinds follow the switch.
bool TakesLightControl(int kind) {
    return kind == q407::devices::kKindMouse || kind == q407::devices::kKindMousePad ||
           kind == q407::devices::kKindKeyboard;
}

QWidget* BuildInto(const QString& layout, QWidget* parent) {
    return toolkit::BuildFromSkin(layout, parent, [](const QString& className, QWidget* owner) {
        return pages::DevicePageControl(className, owner);
    });
}

} // namespace

int PageRowOfSlot(const hid::DeviceIdentity& slot) {
    const int commandRow =
        hid::FindTableRow(slot.vendorId, slot.productId, slot.deviceType, hid::kRoleCommand);
    if (commandRow < 0 || !IsReceiverType(slot.deviceType)) {
        return commandRow;
    }
    const auto rows = hid::SupportedDevices();
    const auto& row = rows[static_cast<std::size_t>(commandRow)];
    if (row.hasPair != 0 && row.pairIndex < rows.size() &&
        rows[row.pairIndex].pairIndex == static_cast<std::uint16_t>(commandRow)) {
        return row.pairIndex;
    }
    return commandRow;
}

DevicePages::DevicePages(toolkit::WindowImplBase& window, hid::HidBackend* backend)
    : m_window(window), m_backend(backend), m_windowHidden(!window.isVisible()) {}

DevicePages::~DevicePages() {
    // Pages stop their own threads; they go before the entries that drive them.
    for (auto& record : m_pages) {
        delete record.page.data();
    }
}

bool DevicePages::CreatePage(int optionRow) {
    const auto options = hid::DeviceOptions();
    const auto layouts = hid::DeviceLayouts();
    if (optionRow < 0 || static_cast<std::size_t>(optionRow) >= options.size() ||
        m_backend == nullptr) {
        return false;
    }
    for (const auto& record : m_pages) {
        if (record.optionRow == optionRow) {
            return true;
        }
    }
    const auto& option = options[static_cast<std::size_t>(optionRow)];
    const auto& layout = layouts[static_cast<std::size_t>(optionRow)];
    auto* powerStack = m_window.FindControl<QStackedWidget>(QStringLiteral("device_power_switch"));
    auto* pageStack = m_window.FindControl<QStackedWidget>(QStringLiteral("device_switch"));
    QWidget* selector = m_window.FindControl(QStringLiteral("device_select_layout"));
    if (powerStack == nullptr || pageStack == nullptr || selector == nullptr) {
        return false;
    }

    // The command-interface row of the product: the first command row with its ids and kind.
    const int kind = option.i[6];
    const int commandRow = hid::FindTableRow(static_cast<std::uint16_t>(option.i[4]),
                                             static_cast<std::uint16_t>(option.i[5]),
                                             static_cast<std::uint16_t>(kind), hid::kRoleCommand);
    if (commandRow < 0) {
        return false;
    }
    auto* power = qobject_cast<pages::CMpDevicePowerUI*>(
        BuildInto(QStringLiteral("XML/CustomControlXML/MpDevicePower.xml"), powerStack));
    auto* entry = qobject_cast<pages::CDeviceOptionUI*>(
        BuildInto(QString::fromLatin1(option.entryLayout.data(),
                                      static_cast<qsizetype>(option.entryLayout.size())),
                  selector));
    auto* page = qobject_cast<pages::CKestravaUSBDevice*>(
        BuildInto(QString::fromLatin1(layout.pageLayout.data(),
                                      static_cast<qsizetype>(layout.pageLayout.size())),
                  pageStack));
    if (power == nullptr || entry == nullptr || page == nullptr) {
        // Nothing is added when any part cannot be built.
        delete page;
        delete entry;
        delete power;
        diag::Line("device page of option row " + std::to_string(optionRow) + " cannot be built");
        return false;
    }
    powerStack->addWidget(power);
    page->SetUp(*m_backend, option, layout, optionRow,
                hid::SupportedDevices()[static_cast<std::size_t>(commandRow)], &m_window);
    page->SetPowerIndicator(power);
    page->Model().SetPreviewPaused(true); // until it is selected in a shown window
    if (TakesLightControl(kind)) {
        page->Model().SetLightOutput(m_lightControl);
    }
    pageStack->addWidget(page);
    toolkit::SizeStackToCurrentPage(pageStack);

    const int pageIndex = static_cast<int>(m_pages.size());
    entry->setObjectName(QStringLiteral("device_option_%1").arg(pageIndex));
    // The entry shows the product's name: text id "device_name_" + the option row's product.
    toolkit::SetControlText(
        toolkit::FindSubControlByName(entry, QStringLiteral("device_select")),
        QStringLiteral("device_name_") +
            QString::fromLatin1(option.productName.data(),
                                static_cast<qsizetype>(option.productName.size())));
    entry->SetPage(page, pageIndex);
    QObject::connect(entry, &pages::CDeviceOptionUI::Activated, entry,
                     [this, pageIndex] { OnActivated(pageIndex); });
    entry->hide();
    if (auto* list = qobject_cast<QBoxLayout*>(selector->layout())) {
        list->insertWidget(pageIndex, entry); // above the spacer and the power indicator
    }
    m_pages.push_back({optionRow, kind, 0, -1, page, entry, power, {}});
    return true;
}

int DevicePages::PageFor(int commandRow, bool create) {
    if (commandRow < 0) {
        return -1;
    }
    const auto& row = hid::SupportedDevices()[static_cast<std::size_t>(commandRow)];
    const int optionRow =
        hid::FindOptionRow(row.vendorId, row.productId, hid::KindOfDeviceType(row.deviceType), 0);
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].optionRow == optionRow) {
            return static_cast<int>(i);
        }
    }
    if (!create || optionRow < 0 || !CreatePage(optionRow)) {
        return -1;
    }
    return PageCount() - 1;
}

void DevicePages::OnArrival(int slot, const std::vector<hid::DeviceIdentity>& slots) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots.size()) {
        return;
    }
    const auto& identity = slots[static_cast<std::size_t>(slot)];
    const int kind = hid::KindOfDeviceType(identity.deviceType);
    diag::Line(ArrivalLine(kind));
    const int pageIndex = PageFor(PageRowOfSlot(identity), true);
    if (pageIndex < 0) {
        return; // no page for this product: the slot stays occupied, nothing is shown
    }
    PageRecord& record = m_pages[static_cast<std::size_t>(pageIndex)];
    if (identity.interfaceRole != hid::kRoleCommand) {
        record.page->AttachEvents(identity.devicePath, identity.deviceType);
        return;
    }
    const int commandRow = hid::FindTableRow(identity.vendorId, identity.productId,
                                             identity.deviceType, hid::kRoleCommand);
    const int pairSlot = PresentPairSlot(commandRow, slots);
    if (pairSlot >= 0 && record.commandMode != 0) {
        // Present through both connections: only a cable arrival changes anything.
        if (!IsReceiverType(identity.deviceType)) {
            SwitchConnection(record, pageIndex, slot, identity);
        }
        return;
    }
    AttachCommand(record, pageIndex, slot, identity);
}

void DevicePages::AttachCommand(PageRecord& record, int pageIndex, int slot,
                                const hid::DeviceIdentity& identity) {
    if (record.commandMode != 0) {
        return;
    }
    const int mode = IsReceiverType(identity.deviceType) ? 2 : 1;
    if (!record.page->AttachCommand(mode, identity.devicePath)) {
        diag::Line("cannot open the command interface " + identity.devicePath);
        return;
    }
    record.commandMode = mode;
    record.commandSlot = slot;
    record.commandIdentity = identity;
    if (mode == 1) {
        ShowEntry(pageIndex, true);
    }
    // A receiver's entry is shown by its own refresh once the device answers behind it.
    record.entry->StartRefresh();
}

void DevicePages::SwitchConnection(PageRecord& record, int pageIndex, int toSlot,
                                   const hid::DeviceIdentity& to) {
    const int mode = IsReceiverType(to.deviceType) ? 2 : 1;
    record.page->DetachCommand();
    record.commandMode = 0;
    if (!record.page->AttachCommand(mode, to.devicePath)) {
        diag::Line("cannot switch the command interface to " + to.devicePath);
        ShowEntry(pageIndex, false);
        return;
    }
    record.commandMode = mode;
    record.commandSlot = toSlot;
    record.commandIdentity = to;
    if (mode == 2) {
        QueryReceiverLink(pageIndex, 26);
        record.entry->StartTimer(pages::CDeviceOptionUI::kTimerActivate, 2000);
    } else {
        record.entry->StartRefresh();
        ShowEntry(pageIndex, true);
    }
}

void DevicePages::QueryReceiverLink(int pageIndex, int attemptsLeft) {
    pages::CKestravaUSBDevice* page = Page(pageIndex);
    if (page == nullptr) {
        return;
    }
    if (page->Model().IsLinkOnline() || attemptsLeft <= 1) {
        diag::Line("获取2");
        page->RefreshPage();
        return;
    }
    diag::Line("获取2.4G模式失败");
    // Asked again after 50 ms, without holding up the window in between.
    QTimer::singleShot(50, page, [this, pageIndex, attemptsLeft] {
        QueryReceiverLink(pageIndex, attemptsLeft - 1);
    });
}

void DevicePages::OnRemoval(int slot, const hid::DeviceIdentity& before,
                            const std::vector<hid::DeviceIdentity>& slots) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots.size()) {
        return;
    }
    const int kind = hid::KindOfDeviceType(before.deviceType);
    diag::Line(RemovalLine(kind));
    const int pageIndex = PageFor(PageRowOfSlot(before), false);
    if (pageIndex < 0) {
        return;
    }
    PageRecord& record = m_pages[static_cast<std::size_t>(pageIndex)];
    if (before.interfaceRole != hid::kRoleCommand) {
        record.page->DetachEvents(before.deviceType);
        return;
    }
    diag::Line(LostLine(kind));
    if (record.commandSlot != slot) {
        return; // the other connection is the one in use
    }
    const int commandRow =
        hid::FindTableRow(before.vendorId, before.productId, before.deviceType, hid::kRoleCommand);
    const int pairSlot = PresentPairSlot(commandRow, slots);
    if (pairSlot >= 0 && !IsReceiverType(before.deviceType)) {
        SwitchConnection(record, pageIndex, pairSlot, slots[static_cast<std::size_t>(pairSlot)]);
        return;
    }
    record.page->DetachCommand();
    record.page->Model().MarkDeviceAway();
    record.commandMode = 0;
    record.commandSlot = -1;
    record.commandIdentity = {};
    record.entry->StopDeviceTimers();
    ShowEntry(pageIndex, false);
}

void DevicePages::ShowEntry(int pageIndex, bool shown) {
    pages::CDeviceOptionUI* entry = Entry(pageIndex);
    if (entry == nullptr) {
        return;
    }
    const bool wasSelected = SelectedPage() == pageIndex;
    const int visibleBefore = VisibleEntryCount();
    entry->setVisible(shown);
    if (shown && visibleBefore == 0) {
        Select(pageIndex);
    } else if (!shown && wasSelected) {
        entry->SetSelected(false);
        for (int other = 0; other < PageCount(); ++other) {
            if (Entry(other) != nullptr && !Entry(other)->isHidden()) {
                Select(other);
                break;
            }
        }
    }
    UpdateNoDeviceHint();
    ApplyPreviewPause();
    NotifyListListeners();
}

int DevicePages::AddListListener(std::function<void()> listener) {
    m_listListeners.emplace(m_nextListenerId, std::move(listener));
    return m_nextListenerId++;
}

void DevicePages::RemoveListListener(int id) {
    m_listListeners.erase(id);
}

void DevicePages::NotifyListListeners() {
    // A listener may add or remove listeners: one removed meanwhile is not called.
    std::vector<int> ids;
    for (const auto& [id, listener] : m_listListeners) {
        ids.push_back(id);
    }
    for (const int id : ids) {
        if (const auto it = m_listListeners.find(id); it != m_listListeners.end()) {
            const std::function<void()> listener = it->second;
            listener();
        }
    }
}

void DevicePages::Select(int pageIndex) {
    pages::CDeviceOptionUI* entry = Entry(pageIndex);
    if (entry == nullptr || entry->isHidden()) {
        return;
    }
    for (int other = 0; other < PageCount(); ++other) {
        if (other != pageIndex && Entry(other) != nullptr) {
            Entry(other)->SetSelected(false);
        }
    }
    entry->SetSelected(true);
    const PageRecord& record = m_pages[static_cast<std::size_t>(pageIndex)];
    if (auto* pageStack = m_window.FindControl<QStackedWidget>(QStringLiteral("device_switch"))) {
        pageStack->setCurrentWidget(record.page);
    }
    if (auto* powerStack =
            m_window.FindControl<QStackedWidget>(QStringLiteral("device_power_switch"))) {
        if (record.power != nullptr && record.page->Model().HasPower()) {
            powerStack->setCurrentWidget(record.power);
        } else {
            powerStack->setCurrentIndex(0);
        }
    }
    UpdateNoDeviceHint();
    ApplyPreviewPause();
}

int DevicePages::PageIndexOf(const QWidget* control) const {
    for (const QWidget* widget = control; widget != nullptr; widget = widget->parentWidget()) {
        for (int i = 0; i < PageCount(); ++i) {
            if (m_pages[static_cast<std::size_t>(i)].entry == widget) {
                return i;
            }
        }
    }
    return -1;
}

pages::CKestravaUSBDevice* DevicePages::Page(int pageIndex) const {
    return pageIndex >= 0 && pageIndex < PageCount()
               ? m_pages[static_cast<std::size_t>(pageIndex)].page.data()
               : nullptr;
}

pages::CDeviceOptionUI* DevicePages::Entry(int pageIndex) const {
    return pageIndex >= 0 && pageIndex < PageCount()
               ? m_pages[static_cast<std::size_t>(pageIndex)].entry.data()
               : nullptr;
}

bool DevicePages::SelectNeighbour(int step) {
    const int selected = SelectedPage();
    if (selected < 0) {
        return false;
    }
    for (int i = selected + step; i >= 0 && i < PageCount(); i += step) {
        if (Entry(i) != nullptr && !Entry(i)->isHidden()) {
            Select(i);
            return true;
        }
    }
    return false;
}

int DevicePages::SelectedPage() const {
    for (int i = 0; i < PageCount(); ++i) {
        const auto* entry = Entry(i);
        if (entry != nullptr && !entry->isHidden() && entry->IsSelected()) {
            return i;
        }
    }
    return -1;
}

int DevicePages::VisibleEntryCount() const {
    int visible = 0;
    for (int i = 0; i < PageCount(); ++i) {
        visible += Entry(i) != nullptr && !Entry(i)->isHidden() ? 1 : 0;
    }
    return visible;
}

int DevicePages::OptionRowOf(int pageIndex) const {
    return pageIndex >= 0 && pageIndex < PageCount()
               ? m_pages[static_cast<std::size_t>(pageIndex)].optionRow
               : -1;
}

int DevicePages::ConnectionOf(int pageIndex) const {
    return pageIndex >= 0 && pageIndex < PageCount()
               ? m_pages[static_cast<std::size_t>(pageIndex)].commandMode
               : 0;
}

void DevicePages::ReloadProfileLists() {
    for (const PageRecord& record : m_pages) {
        if (record.page != nullptr && record.page->ProfilePanel() != nullptr) {
            record.page->ProfilePanel()->ReloadProfileCombo();
        }
    }
}

hid::DeviceIdentity DevicePages::IdentityOf(int pageIndex) const {
    return pageIndex >= 0 && pageIndex < PageCount()
               ? m_pages[static_cast<std::size_t>(pageIndex)].commandIdentity
               : hid::DeviceIdentity{};
}

void DevicePages::SetPreviewsPaused(bool paused) {
    m_windowHidden = paused;
    ApplyPreviewPause();
}

void DevicePages::ApplyPreviewPause() {
    // Only the picture on screen is animated: the selected page while the window is shown.
    const int selected = SelectedPage();
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const PageRecord& record = m_pages[i];
        const bool paused = m_windowHidden || static_cast<int>(i) != selected;
        if (record.page != nullptr && record.page->HasModel()) {
            record.page->Model().SetPreviewPaused(paused);
        }
        if (record.entry != nullptr) {
            record.entry->SetPreviewPaused(paused);
        }
    }
}

void DevicePages::ApplyLightControl(bool on) {
    m_lightControl = on;
    for (const auto& record : m_pages) {
        if (record.page == nullptr || !record.page->HasModel() || !TakesLightControl(record.kind)) {
            continue;
        }
        auto& model = record.page->Model();
        model.SetLightOutput(on);
        if (on && record.kind == q407::devices::kKindKeyboard && model.IsOpen()) {
            model.Protocol().ResumeHostLighting();
        }
    }
}

void DevicePages::UpdateNoDeviceHint() {
    const bool none = VisibleEntryCount() == 0;
    if (QWidget* hint = m_window.FindControl(QStringLiteral("No_device_Link"))) {
        hint->setVisible(none);
    }
    if (none) {
        if (auto* pages = m_window.FindControl<QStackedWidget>(QStringLiteral("device_switch"))) {
            pages->setCurrentIndex(0);
        }
        if (auto* power =
                m_window.FindControl<QStackedWidget>(QStringLiteral("device_power_switch"))) {
            power->setCurrentIndex(0);
        }
    }
    // A lighting effect can be copied to other devices only when there are others to see.
    const bool several = VisibleEntryCount() > 1;
    for (const auto& record : m_pages) {
        if (record.page != nullptr) {
            if (editors::CLightControlUI* light = record.page->LightPanel()) {
                light->SetSameModeAvailable(several);
            }
        }
    }
    if (several) {
        ResumeSharedLighting();
    } else {
        PauseSharedLighting();
    }
}

void DevicePages::OnActivated(int pageIndex) {
    if (pageIndex < 0 || pageIndex >= PageCount()) {
        return;
    }
    NotifyListListeners();
    PageRecord& record = m_pages[static_cast<std::size_t>(pageIndex)];
    if (++record.activations < 2) {
        return; // the first start
    }
    // The page may have followed the effect all the time it was away: the effect's thread,
    // idle without an open follower, looks again now instead of after its idle second.
    ResumeSharedLighting();
}

void DevicePages::PauseSharedLighting() {
    // The pages on screen stop following and show their own lighting. A page whose product is
    // away keeps following: it shows nothing until it comes back, and then reads back from its
    // device only what the effect did not write. Every page remembers that it followed.
    for (int i = 0; i < PageCount(); ++i) {
        PageRecord& record = m_pages[static_cast<std::size_t>(i)];
        if (record.page == nullptr || !record.page->HasModel()) {
            continue;
        }
        auto& model = record.page->Model();
        if (!model.FollowsSharedLighting()) {
            continue;
        }
        record.resumeSharedLighting = true;
        if (Entry(i) != nullptr && !Entry(i)->isHidden()) {
            model.SetFollowsSharedLighting(false);
            model.WriteConfig(0, 0, 1, 0, 0);
        }
    }
}

void DevicePages::ResumeSharedLighting() {
    if (m_sharedLighting == nullptr) {
        return;
    }
    const q407::devices::SharedSettings settings = m_sharedLighting->Settings();
    bool following = false;
    for (int i = 0; i < PageCount(); ++i) {
        PageRecord& record = m_pages[static_cast<std::size_t>(i)];
        if (record.page == nullptr || !record.page->HasModel()) {
            continue;
        }
        auto& model = record.page->Model();
        const bool shown = Entry(i) != nullptr && !Entry(i)->isHidden() && model.IsOpen();
        if (record.resumeSharedLighting && shown) {
            record.resumeSharedLighting = false;
            // Only a page still showing the effect's lighting follows it again: one the user
            // changed meanwhile, or whose device came back with other lighting, keeps its own.
            const q407::profiles::LightInfo light = record.page->LightRecord();
            if (q407::devices::LightModeFor(record.kind, settings.mode) &&
                q407::devices::FollowingRecord(record.kind, light, settings) == light) {
                model.SetFollowsSharedLighting(true);
            }
        }
        following = following || (shown && model.FollowsSharedLighting());
    }
    if (following) {
        m_sharedLighting->Wake();
    }
}

std::vector<q407::devices::DeviceModel*> DevicePages::SharedLightingOrder() const {
    std::vector<q407::devices::DeviceModel*> models;
    for (int kind : {q407::devices::kKindMouse, q407::devices::kKindMousePad,
                     q407::devices::kKindHeadset, q407::devices::kKindKeyboard}) {
        for (const auto& record : m_pages) {
            if (record.kind == kind && record.page != nullptr && record.page->HasModel()) {
                models.push_back(&record.page->Model());
            }
        }
    }
    return models;
}

void DevicePages::StopSharedLighting() {
    for (const auto& record : m_pages) {
        if (record.page == nullptr || !record.page->HasModel()) {
            continue;
        }
        auto& model = record.page->Model();
        if (model.FollowsSharedLighting()) {
            model.SetFollowsSharedLighting(false);
            model.WriteConfig(0, 0, 1, 0, 0);
        }
    }
}

bool DevicePages::AnyConnectedPageListens() const {
    return std::any_of(m_pages.begin(), m_pages.end(), [](const PageRecord& record) {
        return record.commandMode != 0 && record.page != nullptr &&
               editors::IsAudioLightMode(record.kind, record.page->LightRecord().mode);
    });
}

void DevicePages::SetAudioStatus(const QString& textOrId) {
    for (const auto& record : m_pages) {
        if (record.page != nullptr && record.page->LightPanel() != nullptr) {
            record.page->LightPanel()->SetAudioStatus(textOrId);
        }
    }
}

} // namespace q407::app
