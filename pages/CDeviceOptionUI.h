#pragma once

// The selector entry of one device page: a row of the device selector built from
// "XML/CustomControlXML/DeviceOption.xml" (root class CDeviceOptionUI) that drives its page with
// timers. The timers belong to the entry, so they end with it; every one runs on the UI thread.
//
//   1001  first activation, 50 ms after StartRefresh: through a receiver the link is asked first
//         (offline: hide, ask again every 2000 ms); then Activate runs once per attach.
//   1000  preview repaint: RenderPreview every 10 ms (50 ms through a receiver) while the device
//         is open; the picture is repainted when the entry is selected and the preview visible.
//   1002  resynchronisation: OnProfileSelected once, after the delay the device asked for.
//   1005  battery: PollPower 50 ms after activation, then every 3000 ms (pages with a battery).
//   1007  wireless link every 3000 ms, first after 2000 ms: offline hides a shown entry and
//         then asks every 500 ms; back online, the device is read again as at first start
//         (first activation at once), which shows the entry and polls the battery.
// Showing and hiding go through the main window with message 0x0D03 (wParam page index, lParam
// 1 show / 0 hide), which also keeps the selection and the "No_device_Link" hint right.

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <cstdint>

class QTimer;

namespace q407::pages {

class CKestravaUSBDevice;

class CDeviceOptionUI : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerPreview = 1000;
    static constexpr int kTimerActivate = 1001;
    static constexpr int kTimerResync = 1002;
    static constexpr int kTimerPower = 1005;
    static constexpr int kTimerLink = 1007;
    static constexpr unsigned kShowEntryMessage = 0x0D03;

    static constexpr int kActivateDelayMs = 50;
    static constexpr int kOfflineRetryMs = 2000;
    static constexpr int kPreviewCableMs = 10;
    static constexpr int kPreviewReceiverMs = 50;
    static constexpr int kPowerFirstMs = 50;
    static constexpr int kPowerPeriodMs = 3000;
    static constexpr int kLinkFirstMs = 2000;
    static constexpr int kLinkPeriodMs = 3000;
    static constexpr int kLinkOfflinePeriodMs = 500;

    explicit CDeviceOptionUI(QWidget* parent = nullptr);
    ~CDeviceOptionUI() override;

    // Links the entry and its page both ways; `pageIndex` is what message 0x0D03 carries.
    void SetPage(CKestravaUSBDevice* page, int pageIndex);
    CKestravaUSBDevice* Page() const { return m_page; }
    int PageIndex() const { return m_pageIndex; }

    // After the command interface was attached: first activation in 50 ms.
    void StartRefresh();
    // After removal: every timer that talks to the device stops, and the next arrival activates
    // the page again.
    void StopDeviceTimers();
    // The picture is repainted only while previews run (the main window is shown): pausing
    // stops the repaint timer, resuming restarts it for an activated, open device.
    void SetPreviewPaused(bool paused);

    // One-shot or periodic timers by id; StartTimer restarts a running one.
    void StartTimer(int id, int milliseconds);
    void StopTimer(int id);
    bool IsTimerActive(int id) const;

    bool IsOnline() const { return m_online; }
    bool IsActivated() const { return m_activated; }
    // The entry's "device_select" option.
    void SetSelected(bool selected);
    bool IsSelected() const;

Q_SIGNALS:
    // The page read its device (Activate) after an attach or after its link came back.
    void Activated(int pageIndex);

private:
    void OnTimer(int id);
    void FirstActivation();
    void WatchLink();
    void ReportShown(bool shown);
    // Online flag and the entry's "device_offline_mark".
    void MarkOnline(bool online);

    QPointer<CKestravaUSBDevice> m_page;
    int m_pageIndex = -1;
    bool m_online = true;
    bool m_activated = false;
    std::uint32_t m_renderedFrame = 0; // the light thread's frame the picture shows
    QElapsedTimer m_renderClock;       // since the picture was last painted
    QHash<int, QTimer*> m_timers;
};

} // namespace q407::pages
