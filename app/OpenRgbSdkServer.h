#pragma once

// The OpenRGB SDK server: lighting programs connect over TCP (127.0.0.1:6742 by default) and see
// one controller per connected product page, in page order. The keyboard's keys are one matrix
// zone whose colours the keyboard takes as host-streamed frames; the headset's ear-cup LEDs are a
// linear zone written LED by LED; the mouse and the mouse pad take one colour for all their
// lights: their only light command is the settings block, which holds one colour (the light
// stream is the keyboard's alone). Each product's own light modes are listed after "Direct";
// choosing one goes through the page's own light operation (saved in the profile, written to the
// device, shown in the window). While a client drives a page's lights the page's own effect
// pauses and its lighting panel says so; when the last client driving it disconnects or picks a
// native mode, the page's lighting comes back. A product that goes away (unplugged, its
// receiver's link lost) and comes back is driven again by the clients that drove it, with their
// colours. Clients may name segments of a zone; the server keeps them while it runs.
//
// The server runs on the UI thread, like the pages it drives; it starts only when asked.

#include "devices/OpenRgbSdk.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace q407::pages {
class CKestravaUSBDevice;
}

namespace q407::app {

class DevicePages;

// Whether the user chose in the settings window to run the server at start (kept in the program's
// settings file beside the language); storing says whether it was written.
bool StoredSdkServerOn();
bool StoreSdkServerOn(bool on);

class OpenRgbSdkServer : public QObject {
    Q_OBJECT
public:
    // `pages` must outlive the server.
    explicit OpenRgbSdkServer(DevicePages& pages, QObject* parent = nullptr);
    ~OpenRgbSdkServer() override;

    // Port 0 takes any free port. False when the address cannot be bound.
    bool Listen(quint16 port = devices::sdk::kDefaultPort,
                const QHostAddress& address = QHostAddress::LocalHost);
    quint16 Port() const;
    int ClientCount() const { return static_cast<int>(m_clients.size()); }
    // Whether some client holds a product's lights (also one whose product is away a moment).
    bool DrivesAny() const;
    // Called with DrivesAny() whenever it changes, so the program can tell other lighting tools.
    void SetDrivingHandler(std::function<void(bool)> handler) {
        m_drivingHandler = std::move(handler);
    }

    // A product came or went: when the list of controllers changed, every client is told, and
    // a product that came back is driven again by the clients that drove it before.
    void DeviceListChanged();

    // The controllers as a client sees them now (page indexes of the connected product pages).
    std::vector<int> ControllerPages() const;
    devices::sdk::Controller Describe(int pageIndex) const;
    // The page's LEDs in the controller's order (the keyboard: logical keys, by grid rows).
    std::vector<int> LedsOf(int pageIndex) const;

private:
    struct Client {
        QPointer<QTcpSocket> socket;
        devices::sdk::PacketReader reader;
        std::uint32_t protocol = 0;
        std::string name;
        std::set<int> driven;    // page indexes
        std::set<int> suspended; // driven pages that went away, driven again when back
    };

    void OnConnection();
    void OnReadable(Client& client);
    void OnDisconnected(QTcpSocket* socket);
    void Handle(Client& client, const devices::sdk::Packet& packet);
    void Send(Client& client, std::uint32_t device, std::uint32_t id,
              const std::vector<std::uint8_t>& payload = {});
    // The page of controller `index`, or nullptr.
    pages::CKestravaUSBDevice* PageOf(std::uint32_t index, int& pageIndex) const;
    // `client` drives the page from now on (its effect pauses), or stops driving it.
    void Drive(Client& client, int pageIndex);
    void Release(Client& client, int pageIndex);
    void SelectNativeMode(int pageIndex, const devices::sdk::Mode& mode);
    void SetColours(int pageIndex, std::size_t first, const std::vector<devices::Rgb>& colours);
    // A client's segment of zone `zone` of the page: kept when it lies within the zone.
    void AddSegment(int pageIndex, const devices::sdk::SegmentAdd& add);
    // Tells the driving handler when DrivesAny() changed.
    void ReportDriving();

    DevicePages& m_pages;
    std::unique_ptr<QTcpServer> m_server;
    std::vector<std::unique_ptr<Client>> m_clients;
    std::map<int, std::vector<devices::Rgb>> m_colours; // per page, one per controller LED
    std::vector<int> m_announced;                       // the controller pages clients last saw
    std::map<int, std::vector<devices::sdk::Segment>> m_segments; // per page, of its one zone
    int m_listListener = -1;
    std::function<void(bool)> m_drivingHandler;
    bool m_drivingReported = false;
};

} // namespace q407::app
