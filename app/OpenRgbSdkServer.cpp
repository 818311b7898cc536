#include "app/OpenRgbSdkServer.h"

#include "app/DevicePages.h"
#include "app/Languages.h"
#include "common/Diag.h"
#include "devices/DeviceModel.h"
#include "devices/KeyNames.h"
#include "devices/KeyboardModel.h"
#include "devices/KeyboardTables.h"
#include "devices/PageEventTable.h"
#include "editors/CLightControlUI.h"
#include "hid/DeviceTable.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "toolkit/ResourceManager.h"

#include <QComboBox>
#include <QSettings>
#include <QStandardItemModel>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <numeric>

namespace q407::app {
namespace sdk = devices::sdk;
namespace {

// The text id the lighting panel of a page shows while a client drives its lights.
const QString kDrivenStatusId = QStringLiteral("light_client_status_text");
// The largest speed and brightness level of the pages' light settings.
constexpr std::uint32_t kLevelMax = 4;
// The controllers are the products of this machine.
constexpr std::uint32_t kControllerFlagLocal = 1U << 0;
// What clients of protocol 6 are told.
constexpr const char* kServerName = "Q407";
constexpr std::uint32_t kServerFlags =
    sdk::kServerSupportsControllers | sdk::kServerSupportsDetection;
// The answer to a settings request: this server keeps no settings for clients.
constexpr const char* kNoSettings = "{}";

QComboBox* ModeCombo(pages::CKestravaUSBDevice* page) {
    editors::CLightControlUI* panel = page->LightPanel();
    return panel == nullptr ? nullptr
                            : qobject_cast<QComboBox*>(toolkit::FindSubControlByName(
                                  panel, QStringLiteral("light_combo_modeSelect")));
}

std::int32_t ControllerType(int kind) {
    switch (kind) {
    case devices::kKindKeyboard:
        return sdk::kTypeKeyboard;
    case devices::kKindMousePad:
        return sdk::kTypeMouseMat;
    case devices::kKindHeadset:
        return sdk::kTypeHeadset;
    default:
        return sdk::kTypeMouse;
    }
}

std::string Translated(const std::string& textId) {
    return toolkit::ResourceManager::Instance().Text(QString::fromStdString(textId)).toStdString();
}

constexpr const char* kSdkServerKey = "SdkServer";

} // namespace

bool StoredSdkServerOn() {
    const QSettings settings(QString::fromStdString(LanguageSettingsFile().string()),
                             QSettings::IniFormat);
    return settings.value(QLatin1String(kSdkServerKey), false).toBool();
}

bool StoreSdkServerOn(bool on) {
    QSettings settings(QString::fromStdString(LanguageSettingsFile().string()),
                       QSettings::IniFormat);
    settings.setValue(QLatin1String(kSdkServerKey), on);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

OpenRgbSdkServer::OpenRgbSdkServer(DevicePages& pages, QObject* parent)
    : QObject(parent), m_pages(pages), m_server(std::make_unique<QTcpServer>()) {
    connect(m_server.get(), &QTcpServer::newConnection, this, &OpenRgbSdkServer::OnConnection);
    m_modeTimer.setSingleShot(true);
    connect(&m_modeTimer, &QTimer::timeout, this, &OpenRgbSdkServer::PublishModes);
    // Pages open and learn their keys a while after their products arrive: the list is looked
    // at again whenever a page is shown, hidden or has read its product.
    m_listListener = m_pages.AddListListener([this] { DeviceListChanged(); });
}

OpenRgbSdkServer::~OpenRgbSdkServer() {
    m_pages.RemoveListListener(m_listListener);
    // Every driven page gets its own lighting back.
    while (!m_clients.empty()) {
        OnDisconnected(m_clients.back()->socket);
    }
}

bool OpenRgbSdkServer::Listen(quint16 port, const QHostAddress& address) {
    if (!m_server->listen(address, port)) {
        diag::Line("OpenRGB SDK server: cannot listen on " + address.toString().toStdString() +
                   ":" + std::to_string(port) + ": " + m_server->errorString().toStdString());
        return false;
    }
    m_announced = ControllerPages();
    PublishModes(); // what the controllers show now is the base of the first notices
    diag::Line("OpenRGB SDK server listening on port " + std::to_string(Port()));
    return true;
}

void OpenRgbSdkServer::ScheduleUpdate() {
    if (!m_modeTimer.isActive()) {
        m_modeTimer.start(0);
    }
}

void OpenRgbSdkServer::PublishModes() {
    m_modeTimer.stop();
    std::map<int, std::pair<std::int32_t, std::vector<sdk::Mode>>> now;
    for (const int pageIndex : ControllerPages()) {
        sdk::Controller controller;
        DescribeModes(pageIndex, controller);
        auto& shown = now[pageIndex];
        shown = {controller.activeMode, std::move(controller.modes)};
        // A controller that has just come is described in full on request: no notice for it.
        const auto before = m_shownModes.find(pageIndex);
        if (before != m_shownModes.end() && before->second != shown) {
            SignalUpdate(pageIndex, sdk::kReasonUpdateMode);
        }
    }
    m_shownModes = std::move(now);
}

void OpenRgbSdkServer::SignalUpdate(int pageIndex, sdk::UpdateReason reason, const Client* except) {
    const bool anyone = std::any_of(m_clients.begin(), m_clients.end(), [&](const auto& c) {
        return c.get() != except && c->protocol >= sdk::kIdProtocol;
    });
    if (!anyone) {
        return;
    }
    sdk::Controller controller;
    if (reason == sdk::kReasonUpdateLeds) {
        controller.colours = m_colours[pageIndex];
    } else {
        controller = Describe(pageIndex);
    }
    for (auto& client : m_clients) {
        if (client.get() != except && client->protocol >= sdk::kIdProtocol) {
            Send(*client, static_cast<std::uint32_t>(pageIndex), sdk::kSignalUpdate,
                 sdk::EncodeSignalUpdate(reason, controller, client->protocol));
        }
    }
}

quint16 OpenRgbSdkServer::Port() const {
    return m_server->serverPort();
}

std::vector<int> OpenRgbSdkServer::ControllerPages() const {
    std::vector<int> indexes;
    for (int i = 0; i < m_pages.PageCount(); ++i) {
        pages::CKestravaUSBDevice* page = m_pages.Page(i);
        const pages::CDeviceOptionUI* entry = m_pages.Entry(i);
        // A product counts once its page has read it and while its entry shows (a product
        // behind a receiver whose link is lost is hidden).
        if (page == nullptr || !page->HasModel() || !page->Model().IsOpen() || entry == nullptr ||
            entry->isHidden() || !entry->IsActivated()) {
            continue;
        }
        // A keyboard is listed once it has told which keys have lights.
        const auto* keyboard = dynamic_cast<const devices::KeyboardModel*>(&page->Model());
        if (keyboard == nullptr || keyboard->KeyTablesRead()) {
            indexes.push_back(i);
        }
    }
    return indexes;
}

void OpenRgbSdkServer::DeviceListChanged() {
    const std::vector<int> now = ControllerPages();
    if (now == m_announced) {
        return;
    }
    m_announced = now;
    ScheduleUpdate(); // what a controller that came shows is the base of its notices
    const auto listed = [&now](int page) {
        return std::find(now.begin(), now.end(), page) != now.end();
    };
    // A page that went away is handed back (nobody drives what is not there), but its clients
    // are remembered.
    for (auto& client : m_clients) {
        for (const int page : std::set<int>(client->driven)) {
            if (!listed(page)) {
                Release(*client, page);
                client->suspended.insert(page);
            }
        }
    }
    // One that came back shows its clients' colours again: the device forgot them.
    for (auto& client : m_clients) {
        for (const int page : std::set<int>(client->suspended)) {
            if (listed(page)) {
                client->suspended.erase(page);
                Drive(*client, page);
            }
        }
        Send(*client, 0, sdk::kDeviceListUpdated);
    }
    ReportDriving();
}

bool OpenRgbSdkServer::DrivesAny() const {
    return std::any_of(m_clients.begin(), m_clients.end(), [](const auto& client) {
        return !client->driven.empty() || !client->suspended.empty();
    });
}

void OpenRgbSdkServer::ReportDriving() {
    const bool driving = DrivesAny();
    if (driving == m_drivingReported) {
        return;
    }
    m_drivingReported = driving;
    if (m_drivingHandler) {
        m_drivingHandler(driving);
    }
}

pages::CKestravaUSBDevice* OpenRgbSdkServer::PageOf(const Client& client, std::uint32_t device,
                                                    int& pageIndex) const {
    const std::vector<int> controllers = ControllerPages();
    if (client.protocol >= sdk::kIdProtocol) {
        const auto listed = std::find(controllers.begin(), controllers.end(), device);
        if (listed == controllers.end()) {
            return nullptr;
        }
        pageIndex = *listed;
    } else {
        if (device >= controllers.size()) {
            return nullptr;
        }
        pageIndex = controllers[device];
    }
    return m_pages.Page(pageIndex);
}

std::vector<int> OpenRgbSdkServer::LedsOf(int pageIndex) const {
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    auto* keyboard = page != nullptr && page->HasModel()
                         ? dynamic_cast<devices::KeyboardModel*>(&page->Model())
                         : nullptr;
    if (keyboard == nullptr) {
        std::vector<int> leds(page == nullptr || !page->HasModel()
                                  ? 0
                                  : static_cast<std::size_t>(page->Model().ClientLedCount()));
        std::iota(leds.begin(), leds.end(), 0);
        return leds;
    }
    // The keys of the grid, row by row, that have a light of their own on this keyboard (two
    // keys of the same function share the first one's light).
    std::vector<int> keys;
    std::set<std::uint8_t> slots;
    for (const auto& row : devices::kb::KeyGrid()) {
        for (const std::uint8_t key : row) {
            if (key < devices::kb::kUsedKeys && keyboard->HasStreamedLight(key) &&
                slots.insert(keyboard->LedMap()[key]).second) {
                keys.push_back(key);
            }
        }
    }
    return keys;
}

sdk::Controller OpenRgbSdkServer::Describe(int pageIndex) const {
    sdk::Controller controller;
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    if (page == nullptr || !page->HasModel()) {
        return controller;
    }
    devices::DeviceModel& model = page->Model();
    const int row = m_pages.OptionRowOf(pageIndex);
    const auto options = hid::DeviceOptions();
    controller.type = ControllerType(model.Kind());
    controller.name = row >= 0 && static_cast<std::size_t>(row) < options.size()
                          ? std::string(options[static_cast<std::size_t>(row)].productName)
                          : std::string("Q407 device");
    controller.displayName = controller.name;
    controller.description = "Q407 device page";
    controller.version = std::string(Q407_VERSION);
    controller.location = "Q407 page " + std::to_string(pageIndex);
    DescribeModes(pageIndex, controller);

    const std::vector<int> leds = LedsOf(pageIndex);
    if (model.Kind() == devices::kKindKeyboard) {
        sdk::Zone zone;
        zone.name = "Keys";
        zone.type = sdk::kZoneMatrix;
        zone.ledCount = static_cast<std::uint32_t>(leds.size());
        zone.matrixHeight = static_cast<std::uint32_t>(devices::kb::kGridRows);
        zone.matrixWidth = static_cast<std::uint32_t>(devices::kb::kGridColumns);
        for (const auto& gridRow : devices::kb::KeyGrid()) {
            for (const std::uint8_t key : gridRow) {
                const auto at = std::find(leds.begin(), leds.end(), key);
                zone.matrix.push_back(
                    at == leds.end() ? sdk::kNoLed : static_cast<std::uint32_t>(at - leds.begin()));
            }
        }
        controller.zones.push_back(zone);
        for (const int key : leds) {
            controller.ledNames.push_back(Translated(devices::LogicalKeyNameId(key)));
        }
    } else {
        sdk::Zone zone;
        zone.name = "Lights";
        zone.type = leds.size() == 1 ? sdk::kZoneSingle : sdk::kZoneLinear;
        zone.ledCount = static_cast<std::uint32_t>(leds.size());
        controller.zones.push_back(zone);
        for (const int led : leds) {
            controller.ledNames.push_back(leds.size() == 1 ? std::string("Lights")
                                                           : "LED " + std::to_string(led + 1));
        }
    }
    controller.zones[0].displayName = controller.zones[0].name;
    if (const auto it = m_segments.find(pageIndex); it != m_segments.end()) {
        controller.zones[0].segments = it->second;
    }
    controller.flags = kControllerFlagLocal;
    controller.colours.assign(leds.size(), {});
    if (const auto it = m_colours.find(pageIndex); it != m_colours.end()) {
        std::copy_n(it->second.begin(), std::min(it->second.size(), leds.size()),
                    controller.colours.begin());
    }
    return controller;
}

void OpenRgbSdkServer::DescribeModes(int pageIndex, sdk::Controller& controller) const {
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    if (page == nullptr || !page->HasModel()) {
        return;
    }
    const devices::DeviceModel& model = page->Model();
    sdk::Mode direct;
    direct.name = "Direct";
    direct.value = 0;
    direct.flags = sdk::kModeHasPerLedColour;
    direct.colourMode = sdk::kColourModePerLed;
    controller.modes.push_back(direct);
    const profiles::LightInfo light = page->LightRecord();
    controller.activeMode = 0;
    if (QComboBox* combo = ModeCombo(page)) {
        auto* items = qobject_cast<QStandardItemModel*>(combo->model());
        for (int m = 0; m < combo->count(); ++m) {
            if (items != nullptr && !items->item(m)->isEnabled()) {
                continue; // a mode the product does not offer
            }
            sdk::Mode mode;
            mode.name = combo->itemText(m).toStdString();
            mode.value = m;
            mode.flags =
                sdk::kModeHasSpeed | sdk::kModeHasBrightness | sdk::kModeHasModeSpecificColour;
            mode.speedMax = kLevelMax;
            mode.brightnessMax = kLevelMax;
            mode.coloursMin = 1;
            mode.coloursMax = 1;
            mode.speed = std::min<std::uint32_t>(light.speed, kLevelMax);
            mode.brightness = std::min<std::uint32_t>(light.brightness, kLevelMax);
            mode.colourMode = sdk::kColourModeSpecific;
            mode.colours = {{light.red, light.green, light.blue}};
            if (m == light.mode && !model.IsClientDriven()) {
                controller.activeMode = static_cast<std::int32_t>(controller.modes.size());
            }
            controller.modes.push_back(mode);
        }
    }
}

void OpenRgbSdkServer::OnConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        auto client = std::make_unique<Client>();
        client->socket = socket;
        Client* raw = client.get();
        m_clients.push_back(std::move(client));
        connect(socket, &QTcpSocket::readyRead, this, [this, raw] { OnReadable(*raw); });
        connect(socket, &QTcpSocket::disconnected, this,
                [this, socket] { OnDisconnected(socket); });
    }
}

void OpenRgbSdkServer::OnReadable(Client& client) {
    QTcpSocket* socket = client.socket;
    if (socket == nullptr) {
        return;
    }
    const QByteArray bytes = socket->readAll();
    client.reader.Append(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size())));
    while (auto packet = client.reader.Next()) {
        Handle(client, *packet);
        if (client.socket == nullptr) {
            return;
        }
    }
    ReportDriving();
    if (client.reader.Broken()) {
        diag::Line("OpenRGB SDK server: a client sent a damaged packet; closing its connection");
        socket->abort(); // emits disconnected, which releases what it drove
    }
}

void OpenRgbSdkServer::OnDisconnected(QTcpSocket* socket) {
    const auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                 [socket](const auto& c) { return c->socket == socket; });
    if (it == m_clients.end()) {
        return;
    }
    std::unique_ptr<Client> client = std::move(*it);
    m_clients.erase(it);
    for (const int page : std::set<int>(client->driven)) {
        Release(*client, page);
    }
    ReportDriving();
    if (socket != nullptr) {
        socket->disconnect(this);
        socket->deleteLater();
    }
}

void OpenRgbSdkServer::Send(Client& client, std::uint32_t device, std::uint32_t id,
                            const std::vector<std::uint8_t>& payload) {
    if (client.socket == nullptr) {
        return;
    }
    const std::vector<std::uint8_t> packet = sdk::EncodePacket(device, id, payload);
    client.socket->write(reinterpret_cast<const char*>(packet.data()),
                         static_cast<qint64>(packet.size()));
}

void OpenRgbSdkServer::Acknowledge(Client& client, const sdk::Packet& packet,
                                   sdk::AckStatus status) {
    if (client.protocol >= sdk::kIdProtocol) {
        Send(client, packet.device, sdk::kAck, sdk::EncodeAck(packet.id, status));
    }
}

void OpenRgbSdkServer::Handle(Client& client, const sdk::Packet& packet) {
    int pageIndex = -1;
    switch (packet.id) {
    case sdk::kRequestProtocolVersion:
        // The answer is the version both speak, so a client that takes it as it comes never
        // asks for a layout it cannot read.
        client.protocol = sdk::NegotiatedProtocol(packet.payload);
        Send(client, 0, packet.id, sdk::EncodeU32(client.protocol));
        if (client.protocol >= sdk::kIdProtocol) {
            Send(client, 0, sdk::kSetServerName, sdk::EncodeText(kServerName));
        }
        return;
    case sdk::kRequestControllerCount: {
        const std::vector<int> controllers = ControllerPages();
        if (client.protocol >= sdk::kIdProtocol) {
            Send(client, 0, packet.id,
                 sdk::EncodeControllerIds(
                     std::vector<std::uint32_t>(controllers.begin(), controllers.end())));
        } else {
            Send(client, 0, packet.id,
                 sdk::EncodeU32(static_cast<std::uint32_t>(controllers.size())));
        }
        return;
    }
    case sdk::kRequestControllerData: {
        if (PageOf(client, packet.device, pageIndex) == nullptr) {
            // No such controller: nothing to describe (a client of protocol 6 is told so).
            Acknowledge(client, packet, sdk::kStatusInvalidId);
            return;
        }
        // The block is laid out for the version the request names (none: version 0).
        const std::uint32_t protocol =
            packet.payload.empty() ? 0 : sdk::NegotiatedProtocol(packet.payload);
        Send(client, packet.device, packet.id,
             sdk::EncodeControllerData(Describe(pageIndex), protocol));
        return;
    }
    case sdk::kSetClientFlags:
        if (client.protocol < sdk::kIdProtocol) {
            break;
        }
        if (const auto flags = sdk::DecodeU32(packet.payload)) {
            // Only a client on this machine may be the local one.
            client.local = (*flags & sdk::kClientRequestsLocal) != 0 && client.socket != nullptr &&
                           client.socket->peerAddress().isLoopback();
            Send(client, 0, sdk::kSetServerFlags,
                 sdk::EncodeU32(kServerFlags | (client.local ? sdk::kServerLocalClient : 0)));
            return;
        }
        break;
    case sdk::kRequestProfileList:
    case sdk::kRequestPluginList:
    case sdk::kGetI2cBusInfo:
    case sdk::kGetHidDeviceInfo:
    case sdk::kGetUsbDeviceInfo:
    case sdk::kGetSerialPorts:
    case sdk::kGetUsbSerialPorts:
        // Profiles belong to the pages here, and the products are reached through the pages
        // only: clients see no profiles, plugins or devices of their own.
        Send(client, 0, packet.id, sdk::EncodeEmptyList());
        return;
    case sdk::kDownloadProfile:
    case sdk::kGetActiveProfile:
        // No profile of the client's kind is active, and there is none to download.
        Send(client, 0, packet.id, sdk::EncodeText(std::string()));
        return;
    case sdk::kGetSettings:
    case sdk::kGetSettingsSchema:
        Send(client, 0, packet.id, sdk::EncodeText(kNoSettings));
        return;
    case sdk::kGetLogLevel:
        Send(client, 0, packet.id, sdk::EncodeU32(0)); // no log is kept for clients
        return;
    default:
        break;
    }
    Acknowledge(client, packet, Perform(client, packet));
}

sdk::AckStatus OpenRgbSdkServer::Perform(Client& client, const sdk::Packet& packet) {
    switch (packet.id) {
    case sdk::kSetClientName:
        client.name = sdk::DecodeName(packet.payload);
        diag::Line("OpenRGB SDK client: " + client.name);
        return sdk::kStatusOk;
    case sdk::kSetClientFlags:
    case sdk::kSetLogLevel:
        return packet.payload.size() < 4 ? sdk::kStatusInvalidData : sdk::kStatusUnsupported;
    case sdk::kRequestRescanDevices:
        Rescan(client);
        return sdk::kStatusOk;
    case sdk::kClearActiveProfile:
    case sdk::kClearLogBuffer:
    case sdk::kGetLogBuffer:
        return sdk::kStatusOk; // nothing is active or logged: done at once
    case sdk::kPluginSpecific:
        return sdk::kStatusInvalidId; // there are no plugins
    default:
        break;
    }
    int pageIndex = -1;
    if (packet.id < sdk::kResizeZone) {
        return sdk::kStatusUnsupported; // the profile and settings commands and unknown ones
    }
    if (PageOf(client, packet.device, pageIndex) == nullptr) {
        return sdk::kStatusInvalidId; // a controller that went away, or none at all
    }
    return PerformOnController(client, packet, pageIndex);
}

sdk::AckStatus OpenRgbSdkServer::PerformOnController(Client& client, const sdk::Packet& packet,
                                                     int pageIndex) {
    const std::size_t ledCount = LedsOf(pageIndex).size();
    switch (packet.id) {
    case sdk::kSetCustomMode:
        Drive(client, pageIndex);
        return sdk::kStatusOk;
    case sdk::kUpdateLeds:
    case sdk::kUpdateZoneLeds:
    case sdk::kUpdateSingleLed: {
        std::size_t first = 0;
        std::vector<devices::Rgb> colours;
        if (packet.id == sdk::kUpdateLeds) {
            const auto all = sdk::DecodeUpdateLeds(packet.payload);
            if (!all) {
                return sdk::kStatusInvalidData;
            }
            colours = *all;
        } else if (packet.id == sdk::kUpdateZoneLeds) {
            const auto zone = sdk::DecodeUpdateZoneLeds(packet.payload);
            if (!zone) {
                return sdk::kStatusInvalidData;
            }
            if (zone->zone != 0) {
                return sdk::kStatusInvalidId; // every controller has one zone
            }
            colours = zone->colours;
        } else {
            const auto single = sdk::DecodeUpdateSingleLed(packet.payload);
            if (!single) {
                return sdk::kStatusInvalidData;
            }
            if (single->led >= ledCount) {
                return sdk::kStatusInvalidId;
            }
            first = single->led;
            colours = {single->colour};
        }
        Drive(client, pageIndex);
        SetColours(pageIndex, first, colours);
        SignalUpdate(pageIndex, sdk::kReasonUpdateLeds, &client);
        return sdk::kStatusOk;
    }
    case sdk::kUpdateMode:
    case sdk::kSaveMode: {
        auto update = sdk::DecodeUpdateMode(packet.payload, client.protocol);
        if (!update) {
            return sdk::kStatusInvalidData;
        }
        if (client.protocol >= sdk::kIdProtocol) {
            // A mode is known by its index: its value is ours.
            sdk::Controller listed;
            DescribeModes(pageIndex, listed);
            if (update->index >= listed.modes.size()) {
                return sdk::kStatusInvalidId;
            }
            update->mode.value = listed.modes[update->index].value;
        }
        if (update->index == 0) {
            Drive(client, pageIndex);
            return sdk::kStatusOk;
        }
        Release(client, pageIndex);
        return SelectNativeMode(pageIndex, update->mode) ? sdk::kStatusOk : sdk::kStatusInvalidData;
    }
    case sdk::kUpdateZoneMode: {
        const auto update = sdk::DecodeUpdateZoneMode(packet.payload);
        if (!update) {
            return sdk::kStatusInvalidData;
        }
        // The one zone has no modes of its own: it can only follow the controller's mode, as
        // it does already.
        return update->zone == 0 && update->index == sdk::kControllerMode ? sdk::kStatusOk
                                                                          : sdk::kStatusInvalidId;
    }
    case sdk::kAddSegment: {
        const auto add = sdk::DecodeAddSegment(packet.payload, client.protocol);
        if (!add) {
            return sdk::kStatusInvalidData;
        }
        if (add->zone != 0) {
            return sdk::kStatusInvalidId;
        }
        if (!AddSegment(pageIndex, *add)) {
            return sdk::kStatusInvalidData;
        }
        SignalUpdate(pageIndex, sdk::kReasonAddSegment);
        return sdk::kStatusOk;
    }
    case sdk::kClearSegments: {
        const auto zone = sdk::DecodeClearSegments(packet.payload);
        if (!zone) {
            return sdk::kStatusInvalidData;
        }
        if (*zone != 0) {
            return sdk::kStatusInvalidId;
        }
        m_segments.erase(pageIndex);
        SignalUpdate(pageIndex, sdk::kReasonClearSegments);
        return sdk::kStatusOk;
    }
    default:
        // Resizing and configuring zones, renaming, hiding, the products' own settings: these
        // controllers are the products as they are.
        return sdk::kStatusUnsupported;
    }
}

void OpenRgbSdkServer::Rescan(Client& client) {
    // The list follows the products as they come and go, so detection is over at once; a
    // client asking for a rescan hears that its list is current even when nothing changed.
    const auto toDetecting = [this](std::uint32_t id, const std::vector<std::uint8_t>& payload) {
        for (auto& other : m_clients) {
            if (other->protocol >= sdk::kIdProtocol) {
                Send(*other, 0, id, payload);
            }
        }
    };
    toDetecting(sdk::kDetectionStarted, {});
    if (ControllerPages() == m_announced) {
        Send(client, 0, sdk::kDeviceListUpdated);
    } else {
        DeviceListChanged();
    }
    toDetecting(sdk::kDetectionProgressChanged, sdk::EncodeDetectionProgress(100, std::string()));
    toDetecting(sdk::kDetectionComplete, {});
}

bool OpenRgbSdkServer::AddSegment(int pageIndex, const sdk::SegmentAdd& add) {
    const std::uint64_t leds = LedsOf(pageIndex).size();
    std::vector<sdk::Segment>& segments = m_segments[pageIndex];
    const sdk::Segment& segment = add.segment;
    // Every controller has one zone; a segment holds at least one of its LEDs, so a zone has
    // at most as many segments as LEDs. A segment's matrix names LEDs of the segment.
    const bool cellsFit =
        std::all_of(segment.matrix.begin(), segment.matrix.end(), [&](std::uint32_t cell) {
            return cell == sdk::kNoLed || cell < segment.ledCount;
        });
    if (add.zone != 0 || segment.ledCount == 0 ||
        std::uint64_t{segment.start} + segment.ledCount > leds || segments.size() >= leds ||
        !cellsFit) {
        return false;
    }
    segments.push_back(segment);
    return true;
}

void OpenRgbSdkServer::Drive(Client& client, int pageIndex) {
    client.driven.insert(pageIndex);
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    if (page == nullptr || page->Model().IsClientDriven()) {
        return;
    }
    diag::Line("OpenRGB SDK client " + client.name + " drives page " + std::to_string(pageIndex));
    page->Model().SetClientDriven(true);
    ScheduleUpdate(); // its active mode is now the client's
    std::vector<devices::Rgb>& colours = m_colours[pageIndex];
    colours.resize(LedsOf(pageIndex).size());
    SetColours(pageIndex, 0, {});
    if (editors::CLightControlUI* panel = page->LightPanel()) {
        panel->SetClientStatus(kDrivenStatusId);
    }
}

void OpenRgbSdkServer::Release(Client& client, int pageIndex) {
    if (client.driven.erase(pageIndex) == 0) {
        return;
    }
    const bool othersDrive = std::any_of(m_clients.begin(), m_clients.end(), [&](const auto& c) {
        return c.get() != &client && c->driven.count(pageIndex) != 0;
    });
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    if (othersDrive || page == nullptr) {
        return;
    }
    diag::Line("OpenRGB SDK: page " + std::to_string(pageIndex) + " has its lights back");
    page->Model().SetClientDriven(false);
    ScheduleUpdate(); // it shows its own mode again
    if (editors::CLightControlUI* panel = page->LightPanel()) {
        panel->SetClientStatus(QString());
    }
}

bool OpenRgbSdkServer::SelectNativeMode(int pageIndex, const sdk::Mode& mode) {
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    QComboBox* combo = page == nullptr ? nullptr : ModeCombo(page);
    if (combo == nullptr || mode.value < 0 || mode.value >= combo->count()) {
        return false;
    }
    if (auto* items = qobject_cast<QStandardItemModel*>(combo->model());
        items != nullptr && !items->item(mode.value)->isEnabled()) {
        return false;
    }
    // The same operation as an edit in the lighting panel: saved, written and shown.
    profiles::LightInfo record = page->LightRecord();
    record.mode = static_cast<std::uint8_t>(mode.value);
    record.speed = static_cast<std::uint8_t>(std::min(mode.speed, kLevelMax));
    record.brightness = static_cast<std::uint8_t>(std::min(mode.brightness, kLevelMax));
    if (!mode.colours.empty()) {
        record.red = mode.colours[0].red;
        record.green = mode.colours[0].green;
        record.blue = mode.colours[0].blue;
    }
    page->ApplyLightRecord(record);
    page->ShowLightSettings();
    ScheduleUpdate();
    return true;
}

void OpenRgbSdkServer::SetColours(int pageIndex, std::size_t first,
                                  const std::vector<devices::Rgb>& colours) {
    pages::CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    if (page == nullptr) {
        return;
    }
    const std::vector<int> leds = LedsOf(pageIndex);
    std::vector<devices::Rgb>& stored = m_colours[pageIndex];
    stored.resize(leds.size());
    // Colours past the controller's LEDs are dropped.
    for (std::size_t i = 0; i < colours.size() && first + i < stored.size(); ++i) {
        stored[first + i] = colours[i];
    }
    if (auto* keyboard = dynamic_cast<devices::KeyboardModel*>(&page->Model())) {
        keyboard->SetClientKeyColours(leds, stored);
    } else {
        page->Model().SetClientColours(stored);
    }
}

} // namespace q407::app
