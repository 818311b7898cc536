#pragma once

// The device page control: the settings page of one product, wrapping its device model.
//
// How the main window uses a page
// -------------------------------
// Creation (UI thread). Build the page from its layout-table file with toolkit::BuildFromSkin; the
// layout's root element names the page class, which the control factory or the window's builder
// callback (DevicePageControl) creates; RegisterDevicePageControls() registers the classes of
// this library, the picture controls among them. Then call SetUp(backend, option row, layout row,
// row index, command-interface identity, main window): it creates the model (MakeModel, replaced by
// each kind of page), applies the rows in the set-up order and runs InitPage. Build the battery
// indicator (CMpDevicePowerUI, from "XML/CustomControlXML/MpDevicePower.xml") and the selector
// entry (CDeviceOptionUI, from the option row's entry layout), then link them:
// SetPowerIndicator(indicator) and entry->SetPage(page, pageIndex) (which calls SetSelectorEntry).
// The entry stays hidden.
//
// Attach (UI thread, on arrival). Command interface: AttachCommand(mode, path) with mode 1
// (cable) or 2 (receiver); then entry->StartRefresh(), which runs the entry's timers: 1001 first
// activation (link check for a receiver, then Activate), 1000 preview repaint (10 ms, 50 ms
// through a receiver), 1005 battery poll (50 ms, then every 3000 ms) and 1007 wireless-link watch
// (every 3000 ms, first after 2000 ms). The entry asks the window to show or hide it with message
// 0x0D03 (wParam page index, lParam 1 show / 0 hide). Event interface: AttachEvents(path,
// channel), channel = the slot's device type (2 or 6 mouse, 1 or 9 keyboard, 3 mouse pad, 7
// headset); a second call restarts the channel.
//
// Hand-off from worker threads. The page implements devices::PageEvents: the listening thread's
// resynchronisation arms the entry's timer 1002 (OnProfileSelected after the delay the event asks
// for), a profile or DPI button queues RefreshPage; both are posted to the UI thread, so threads
// never touch a control. The light thread only writes the model's preview buffers; timer 1000
// copies them onto the light buttons (RenderPreview).
//
// Detach (UI thread, on removal). DetachEvents(channel) stops that listening thread (bounded,
// 500 ms) and closes the event interface; DetachCommand() closes the command connection and
// stops the entry's device timers. The page is kept hidden for the next arrival.
//
// Destruction (with the window, UI thread). The destructor stops the light thread (1000 ms
// bound) and every listening thread (500 ms each); blocking reads are ended through the HID
// cancel, so the stops do not run into their bounds. Delete pages before their selector entries'
// window goes.

#include "devices/DeviceModel.h"
#include "devices/PageEvents.h"
#include "hid/DeviceTable.h"
#include "toolkit/Notify.h"
#include "toolkit/SkinLoader.h"

#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>
#include <memory>
#include <optional>

namespace q407::toolkit {
class WindowImplBase;
}
namespace q407::editors {
class CDeviceProfileUI;
class CLightControlUI;
} // namespace q407::editors

namespace q407::pages {

class CDeviceOptionUI;
class CMpDevicePowerUI;

// The notification of TellShownChanged; its sender is the page.
inline constexpr const char* kShownChangedNotify = "shownchanged";

// Registers CKestravaUSBDevice, CDeviceOptionUI, CMpDevicePowerUI and the picture controls
// (PictureControls.h) with the control factory.
void RegisterDevicePageControls();

class CKestravaUSBDevice : public QWidget,
                           public toolkit::INotifyUI,
                           public q407::devices::PageEvents {
    Q_OBJECT
public:
    explicit CKestravaUSBDevice(QWidget* parent = nullptr);
    ~CKestravaUSBDevice() override;

    // --- Set-up (UI thread) ----------------------------------------------------------------------
    // Creates the model and applies an option row and its layout row; false when the page has a
    // model already. `identity` is the product's command-interface row.
    bool SetUp(q407::hid::HidBackend& backend, const q407::hid::DeviceOption& option,
               const q407::hid::DeviceLayout& layout, int row,
               const q407::hid::DeviceIdentity& identity, toolkit::WindowImplBase* mainWindow);
    q407::devices::DeviceModel& Model() { return *m_model; }
    const q407::devices::DeviceModel& Model() const { return *m_model; }
    bool HasModel() const { return m_model != nullptr; }

    void SetMainWindow(toolkit::WindowImplBase* window);
    toolkit::WindowImplBase* MainWindow() const;
    void SetSelectorEntry(CDeviceOptionUI* entry);
    CDeviceOptionUI* SelectorEntry() const;
    void SetPowerIndicator(CMpDevicePowerUI* indicator);
    CMpDevicePowerUI* PowerIndicator() const;

    // --- Attach and detach (UI thread) -----------------------------------------------------------
    bool AttachCommand(int mode, const std::string& path);
    void DetachCommand();
    bool AttachEvents(const std::string& path, int channel);
    void DetachEvents(int channel);

    // --- Device interface: the operations that touch controls --------------------------------
    virtual void InitPage();
    virtual void RenderPreview();
    // The least time between two paintings of the picture: smooth for light effects, and a
    // fraction of the cost of painting every frame of the light thread.
    virtual int PreviewFrameGapMs() const { return 33; }
    virtual void Activate() {}
    virtual void OnProfileSelected() {}
    virtual void PollPower() {}
    virtual void RefreshPage() {}
    virtual void RefreshKeyAssignments() {}
    virtual void ResetToDefault() {}
    virtual void LoadNameLists() {}
    // Stores the page number in the model and selects the two function tabs.
    virtual void SelectFeaturePage(int page);
    // The main window is active, or the mouse is over it while it is not (a page may, say,
    // take the device's key reports only then).
    virtual void SetForeground(bool foreground) { m_foreground = foreground; }
    bool IsForeground() const { return m_foreground; }

    // The page's profile panel ("DeviceProfileItem") and lighting panel ("LightControlItem"),
    // found on first use; nullptr when the layout has none.
    editors::CDeviceProfileUI* ProfilePanel();
    editors::CLightControlUI* LightPanel();

    // Loads the profile the profile panel has selected, shows it and writes it to the device:
    // 0 done (or nothing to write to), -1 the device did not take it.
    virtual int ApplySelectedProfile() { return 0; }
    // Light settings edited in the lighting panel: they become the preview's and the profile's,
    // the profile is saved and the settings block written. Returns the write's result.
    int ApplyLightRecord(const q407::profiles::LightInfo& record);
    // The page's own light settings (not a game event's preview), the base of every edit.
    q407::profiles::LightInfo LightRecord() const;
    // An audio light record edited on the audio page: it becomes the page's and is shown, the
    // profile is saved and the lighting loaded again; nothing is written to the device.
    void ApplyAudioLightRecord(const q407::profiles::AudioLightInfo& record);
    // The device's own buttons switched profile slot or DPI stage (`stage` -1: unchanged).
    virtual void OnDeviceButtons(int slot, int stage);
    // What the page shows changed other than through a control of the window (the device's own
    // buttons, a resynchronisation, the battery, the first activation, the sound devices): the
    // window is told with notification kShownChangedNotify, so whoever mirrors the page (the
    // device API) looks again.
    void TellShownChanged();

    // --- Game events ---------------------------------------------------------------------------
    // Shows light mode `mode` in the picture for a while; the page's settings stay as they are.
    void PreviewLightMode(std::uint8_t mode);
    // Ends such a preview: the page's own light settings are shown again, in the picture and its
    // lighting panel, and written to the device. Returns the write's result (0 when nothing was
    // written).
    virtual int RestoreLighting();
    // Shows the page's own light settings in its lighting panel.
    virtual void ShowLightSettings();

    // Picture buttons bound by InitPage ("key_N", "light_N"); null where none was bound.
    const QVector<QPointer<QWidget>>& KeyButtons() const { return m_keyButtons; }
    const QVector<QPointer<QWidget>>& LightButtons() const { return m_lightButtons; }
    QWidget* PicturePanel() const { return m_picturePanel; }

    // --- Notifications ---------------------------------------------------------------------------
    // Passes on only the notifications of the page's own controls.
    void Notify(toolkit::TNotifyUI& msg) override;

    // --- PageEvents (any thread) ---------------------------------------------------------------
    void RequestResync(int delayMs) override;
    void ProfileSlotChanged(int slot, int stage) override;

protected:
    // The model of this kind of page.
    virtual std::unique_ptr<q407::devices::DeviceModel> MakeModel(q407::hid::HidBackend& backend);
    // The page's own notification handling (after the filter).
    virtual void HandlePageNotify(toolkit::TNotifyUI& msg) { (void)msg; }
    // Binds the "DeviceKeyButton" children of `panel`; derived pages call it inside their
    // layout.
    void BindPictureButtons(QWidget* panel);
    // A control of the page by name and class; nullptr when the layout has none.
    template <typename T>
    T* PageControl(const QString& name) const {
        return qobject_cast<T*>(
            toolkit::FindSubControlByName(const_cast<CKestravaUSBDevice*>(this), name));
    }
    // Selects option `prefix` + `value` of a numbered option group (numbers 0 to `last`) and
    // clears the others.
    void ShowNumberedOption(const QString& prefix, int value, int last = 15);

private:
    std::unique_ptr<q407::devices::DeviceModel> m_model;
    QPointer<toolkit::WindowImplBase> m_mainWindow;
    QPointer<CDeviceOptionUI> m_selectorEntry;
    QPointer<CMpDevicePowerUI> m_powerIndicator;
    QPointer<QWidget> m_picturePanel;
    QPointer<editors::CDeviceProfileUI> m_profilePanel;
    QPointer<editors::CLightControlUI> m_lightPanel;
    QPointer<QWidget> m_functionSwitch;
    QPointer<QWidget> m_keyFunctionSwitch;
    QVector<QPointer<QWidget>> m_keyButtons;
    QVector<QPointer<QWidget>> m_lightButtons;
    bool m_foreground = false;
    // The preview parameters a game event replaced, until RestoreLighting.
    std::optional<q407::profiles::LightInfo> m_lightBeforeGameEvent;
};

} // namespace q407::pages
