#include "pages/CDeviceOptionUI.h"

#include "pages/CKestravaUSBDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QAbstractButton>
#include <QTimer>
#include <array>
#include <cstdint>

namespace q407::pages {

CDeviceOptionUI::CDeviceOptionUI(QWidget* parent) : QWidget(parent) {}

CDeviceOptionUI::~CDeviceOptionUI() = default;

void CDeviceOptionUI::SetPage(CKestravaUSBDevice* page, int pageIndex) {
    m_page = page;
    m_pageIndex = pageIndex;
    if (page != nullptr) {
        page->SetSelectorEntry(this);
    }
}

void CDeviceOptionUI::StartTimer(int id, int milliseconds) {
    QTimer*& timer = m_timers[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(milliseconds);
}

void CDeviceOptionUI::StopTimer(int id) {
    if (QTimer* timer = m_timers.value(id)) {
        timer->stop();
    }
}

bool CDeviceOptionUI::IsTimerActive(int id) const {
    const QTimer* timer = m_timers.value(id);
    return timer != nullptr && timer->isActive();
}

void CDeviceOptionUI::StartRefresh() {
    m_activated = false;
    StartTimer(kTimerActivate, kActivateDelayMs);
}

void CDeviceOptionUI::StopDeviceTimers() {
    for (int id : {kTimerPreview, kTimerActivate, kTimerResync, kTimerPower, kTimerLink}) {
        StopTimer(id);
    }
    m_activated = false;
}

void CDeviceOptionUI::SetPreviewPaused(bool paused) {
    if (paused) {
        StopTimer(kTimerPreview);
        return;
    }
    if (m_activated && m_page != nullptr && m_page->HasModel() && m_page->Model().IsOpen()) {
        StartTimer(kTimerPreview,
                   m_page->Model().IsWireless() ? kPreviewReceiverMs : kPreviewCableMs);
    }
}

void CDeviceOptionUI::SetSelected(bool selected) {
    if (auto* option = qobject_cast<QAbstractButton*>(
            toolkit::FindSubControlByName(this, QStringLiteral("device_select")))) {
        option->setChecked(selected);
    }
}

bool CDeviceOptionUI::IsSelected() const {
    const auto* option = qobject_cast<const QAbstractButton*>(
        toolkit::FindSubControlByName(this, QStringLiteral("device_select")));
    return option != nullptr && option->isChecked();
}

void CDeviceOptionUI::ReportShown(bool shown) {
    if (m_page == nullptr) {
        return;
    }
    if (toolkit::WindowImplBase* window = m_page->MainWindow()) {
        window->PostMessage(kShowEntryMessage, m_pageIndex, shown ? 1 : 0);
    }
}

void CDeviceOptionUI::MarkOnline(bool online) {
    m_online = online;
    if (QWidget* mark =
            toolkit::FindSubControlByName(this, QStringLiteral("device_offline_mark"))) {
        mark->setVisible(!online);
    }
}

void CDeviceOptionUI::OnTimer(int id) {
    if (m_page == nullptr || !m_page->HasModel()) {
        StopTimer(id);
        return;
    }
    q407::devices::DeviceModel& model = m_page->Model();
    switch (id) {
    case kTimerActivate:
        FirstActivation();
        break;
    case kTimerPreview:
        if (!model.IsOpen() || model.IsPreviewPaused()) {
            StopTimer(id);
            break;
        }
        // Only a page on screen is painted, and only when the light thread made a new frame:
        // the pages of the other devices and a still picture cost nothing.
        // A picture is painted at most as often as its page says (30 times a second for most).
        if (!m_page->isVisible() || model.FrameCount() == m_renderedFrame ||
            (m_renderClock.isValid() && m_renderClock.elapsed() < m_page->PreviewFrameGapMs())) {
            break;
        }
        m_renderedFrame = model.FrameCount();
        m_renderClock.start();
        m_page->RenderPreview();
        if (IsSelected() && model.PreviewVisible()) {
            m_page->update();
        }
        break;
    case kTimerResync:
        StopTimer(id);
        m_page->OnProfileSelected();
        m_page->TellShownChanged();
        break;
    case kTimerPower:
        StartTimer(id, kPowerPeriodMs);
        if (model.IsOpen()) {
            const CMpDevicePowerUI* power = m_page->PowerIndicator();
            std::array<std::uint8_t, CMpDevicePowerUI::kStateSize> before{};
            if (power != nullptr) {
                before = power->State();
            }
            m_page->PollPower();
            if (power != nullptr && power->State() != before) {
                m_page->TellShownChanged();
            }
        }
        break;
    case kTimerLink:
        WatchLink();
        break;
    default:
        StopTimer(id);
        break;
    }
}

void CDeviceOptionUI::FirstActivation() {
    StopTimer(kTimerActivate);
    q407::devices::DeviceModel& model = m_page->Model();
    const bool wireless = model.IsWireless();
    if (wireless && model.IsOpen()) {
        if (!model.IsLinkOnline()) {
            if (!isHidden()) {
                ReportShown(false);
            }
            MarkOnline(false);
            StartTimer(kTimerActivate, kOfflineRetryMs);
            return;
        }
        if (!m_online || isHidden()) {
            ReportShown(true);
        }
        MarkOnline(true);
    }
    if (!m_activated) {
        m_activated = true;
        m_page->Activate();
        Q_EMIT Activated(m_pageIndex);
        m_page->TellShownChanged();
    }
    if (model.IsOpen()) {
        if (!model.IsPreviewPaused()) {
            StartTimer(kTimerPreview, wireless ? kPreviewReceiverMs : kPreviewCableMs);
        }
        if (model.HasPower()) {
            StartTimer(kTimerPower, kPowerFirstMs);
        }
    }
    if (wireless) {
        StartTimer(kTimerLink, kLinkFirstMs);
    }
}

void CDeviceOptionUI::WatchLink() {
    q407::devices::DeviceModel& model = m_page->Model();
    const bool online = model.IsOpen() && model.IsLinkOnline();
    const bool wasOnline = m_online;
    MarkOnline(online);
    if (online && !wasOnline) {
        // The device was away: what it holds may have changed meanwhile (its own buttons, another
        // computer), so it is read again as at first start, which also shows the entry.
        StopTimer(kTimerLink);
        StartRefresh();
        return;
    }
    if (online && isHidden()) {
        ReportShown(true);
        m_page->PollPower();
    } else if (!online) {
        model.MarkDeviceAway();
        if (!isHidden()) {
            ReportShown(false);
        }
    }
    // While the device is away its return is looked for more often.
    StartTimer(kTimerLink, online ? kLinkPeriodMs : kLinkOfflinePeriodMs);
}

} // namespace q407::pages
