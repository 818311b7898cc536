#pragma once

// The program's main window: built from "XML_MAIN", hidden while it initialises and shown when
// the first device scan has finished, kept alive in the tray when closed, and the receiver of
// the program-wide messages from the instance bus.

#include "app/AudioCaptureLink.h"
#include "app/CSkinFrame.h"
#include "app/DeviceBus.h"
#include "app/DevicePages.h"
#include "app/InstanceBus.h"
#include "app/KeyMacroActions.h"
#include "app/OpenRgbSdkServer.h"
#include "app/PageActions.h"
#include "app/SkinChange.h"
#include "app/SleepWatch.h"
#include "app/SynchronisedLighting.h"
#include "app/ThreadSlots.h"
#include "app/UnwritableFolderNotice.h"
#include "devices/MusicBands.h"
#include "hid/DeviceTable.h"
#include "hid/Discovery.h"
#include "profiles/MusicStyles.h"
#include "toolkit/TrayIcon.h"
#include "toolkit/WindowImplBase.h"

#include <array>
#include <memory>

namespace q407::pages {
class CKestravaKeyboardDevice;
class CKestravaUSBDevice;
} // namespace q407::pages

namespace q407::app {

// Message numbers the main window handles besides the registered ones.
enum MainWindowMessage : uint {
    kDisplayChangeMessage = 0x007E,
    kPowerBroadcastMessage = 0x0218, // wParam kPowerSuspend or kPowerResume
    kTrayCallbackMessage = 0x0401,   // lParam kTrayLeftUp or kTrayRightUp
    kOpenSettingsWindowMessage = 0x0C15,
    kClearSettingsMarkMessage = 0x0C16,
    kShowEntryMessage = 0x0D03, // wParam page index, lParam 1 show / 0 hide
};
inline constexpr qint64 kPowerSuspend = 0x0004;
inline constexpr qint64 kPowerResume = 0x0012;
inline constexpr qint64 kTrayLeftUp = 0x0202;
inline constexpr qint64 kTrayRightUp = 0x0205;

// Timers of the main window.
enum MainWindowTimer : int {
    kTimerDpiFit = 1011,
    kTimerTrayMenu = 1032,
    kTimerProfileAgain = 1055, // the chosen profile is applied a second time
    kTimerGameLight = 1066,    // a game event's light preview ends
};
inline constexpr int kGameLightMs = 5000;

// The UI DPI for a screen of this size: 144 on screens larger than 1500 x 960, else 96.
int DpiForScreen(QSize screen);

// Splits a control name into its prefix and the decimal number that ends it ("DPI_edit_3" ->
// ("DPI_edit_", 3)); a name without a trailing number gives (name, -1).
std::pair<QString, int> SplitNumberedName(const QString& name);

// The program that opens the desktop's keyboard (page 0) or mouse (page 1) settings, chosen from
// XDG_CURRENT_DESKTOP ("GNOME", "KDE", "XFCE", colon-separated); empty when none is known.
QStringList SystemDeviceSettingsCommand(const QString& desktops, int page);

// The answer to the device-information request: 1024 bytes of little-endian 32-bit values 2, 3,
// 0, 2, the number of device option rows, then each row's vendor id, product id and kind.
QByteArray DeviceInformationBlock();

// Thread slots of the main window's own workers.
enum MainWindowThreadSlot : int {
    kSlotDiscovery = 0,
    kSlotSynchronisedLighting = 8,
};

class CMainWnd : public toolkit::WindowImplBase, public SkinChangedReceiver {
    Q_OBJECT
public:
    // `backend` is where devices are discovered (hidraw, or the virtual bus of the demo); without
    // one no discovery runs and the window shows at once.
    explicit CMainWnd(InstanceBus* bus = nullptr, q407::hid::HidBackend* backend = nullptr);
    ~CMainWnd() override;

    QString GetSkinFile() const override { return QStringLiteral("XML_MAIN"); }
    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
    void InitWindow() override;
    void Notify(toolkit::TNotifyUI& msg) override;
    bool HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) override;
    QWidget* CreateControl(const QString& className, QWidget* parent) override;
    // The device pages (none without a backend).
    DevicePages* Pages() const { return m_devicePages.get(); }
    // The device API on the instance's bus (none without pages or a bus).
    DeviceBus* DeviceApi() const { return m_deviceBus.get(); }
    // Starts the OpenRGB SDK server on 127.0.0.1:`port` (0: any free port); false without device
    // pages or when the port cannot be bound. The server (nullptr until started) stops with
    // the program and hands every driven page its lights back.
    bool StartSdkServer(quint16 port);
    OpenRgbSdkServer* SdkServer() const { return m_sdkServer.get(); }
    // The key, macro and recoil panels' actions and the input hook.
    KeyMacroActions& KeyMacro() { return *m_keyMacroActions; }

    // The instance bus hands every received registered message here.
    QByteArray OnRegisteredMessage(RegisteredMessage message, qint64 wParam, qint64 lParam);
    // Data blocks from outside programs: kind 1 spectrum data (at most kSpectrumBytes), kind 2
    // light effect data (at most kEffectBytes). Other kinds, empty blocks and blocks longer than
    // their buffer are refused whole. Returns whether the block was taken.
    bool OnDataBlock(qint64 kind, const QByteArray& block);
    static constexpr int kSpectrumBytes = 4284;
    static constexpr int kEffectBytes = 160;
    const QByteArray& SpectrumBuffer() const { return m_spectrum; }
    const QByteArray& EffectBuffer() const { return m_effect; }

    const toolkit::TrayIcon& Tray() const { return m_tray; }
    bool LightControl() const { return m_lightControl; }
    // The device slots as the window last saw them (one per supported-device row).
    const std::vector<q407::hid::DeviceIdentity>& DeviceSlots() const { return m_deviceSlots; }
    bool Running() const { return m_running; }
    int UiDpi() const { return m_uiDpi; }

    // The page of the visible, selected selector entry; nullptr when there is none.
    pages::CKestravaUSBDevice* SelectedPage() const;
    // The lighting effect every device can follow, run by the thread of slot 8.
    SynchronisedLighting& SharedLighting() { return m_sharedLighting; }
    // The audio capture program the audio light modes listen through (none without a bus).
    AudioCaptureLink* AudioCapture() const { return m_audioCapture.get(); }
    // The band levels the spectrum blocks have built so far.
    const q407::devices::MusicBands& MusicBands() const { return m_musicBands; }
    // Spectrum blocks taken since the start.
    int SpectrumBlocksTaken() const { return m_spectrumBlocks; }
    // Starts the audio capture program while a page listens to the sound and ends it otherwise.
    void UpdateAudioCapture();
    // "AudioFile.json" with the music styles.
    const profiles::AudioFile& MusicStyleFile() const { return m_audioFile; }
    // A device page's profiles were reset: the music styles go back to their defaults too.
    void OnPageReset();

    // Sizes the window for its screen: 1000 x 640 at DPI 96 or 1500 x 960 at DPI 144, centred,
    // keeping it shown or hidden as it was.
    void DpiFit();

    // --- language ------------------------------------------------------------------------
    // The language to show at start: the stored choice, else the user's locale, else English.
    int GetSavedLanguageIndex() const;
    // Shows language `index` of the catalogue: its fonts, its texts in every open window and
    // page. Nothing happens when it is shown already.
    void ApplyLanguage(int index);
    // Stores the user's choice; false when the settings file cannot be written.
    bool SaveLanguageId(int id);
    int LanguageIndex() const { return m_languageIndex; }

    // --- skin ----------------------------------------------------------------------------
    // The skin chooser's choice: a colour (and no picture) or a picture on "root".
    int Receive(SkinChangedParam param) override;
    // The skin chooser while it is open.
    CSkinFrame* SkinFrame() const { return m_skinFrame; }

    // The window is active, or the mouse is over it while it is not; the pages are told.
    bool IsForeground() const { return m_foreground; }

protected:
    // The pages' preview animation runs only while the window can be seen.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Activation and the mouse over the window make the foreground flag.
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Updates the "No_device_Link" hint, then brings the window to the front.
    void ShowAndRaise();

    void BringToFront();
    void ToggleFromTray();
    // The window's own click rows; false when none names the control.
    bool OnClick(const QString& name);
    void OnCloseButton(int);
    void OnLightStatusButton(int);
    void OnSettingsButton(int);
    void OnMusicSettingButton(int);
    // The colour sliders of the audio light: the label shows the value and the capture program
    // takes it as a component of the colour input.
    // R_light_slider, G_light_slider, B_light_slider: the capture program's colour (commands 6,
    // 7, 8); false for any other control.
    bool OnColourInputSlider(QWidget* slider, int value);
    void OnSkinButton(int);
    void OnSelectPrevious(int);
    void OnSelectNext(int);
    void OnNetworkButton(int);
    void SetForeground(bool foreground);
    void OpenSystemDeviceSettings(int page);
    // Shows the window sized for its screen and brings it to the front.
    void ShowFitted();
    void OnMenuItem(const QString& item);
    void ExitRoutine();
    // Opens the settings window (centred, or at the window's top right) with the facts of the
    // selector entries.
    void OpenSettingsWindow(bool centred);
    // This program drives the device lighting (true) or leaves it to others.
    void SetLightControl(bool on);
    void ApplyLightControl();

    class DiscoveryBridge;
    void OnDeviceArrived(int slot);
    void OnDeviceRemoved(int slot);
    // Keyboard connections among the occupied slots (a keyboard by cable and through its
    // receiver counts twice).
    int KeyboardSlots() const;
    void OnSpectrumBlock(const QByteArray& block);
    // The first keyboard page, which the music levels and the colour input go to.
    pages::CKestravaKeyboardDevice* FirstKeyboardPage() const;

    InstanceBus* m_bus = nullptr;
    q407::hid::HidBackend* m_backend = nullptr;
    toolkit::TrayIcon m_tray;
    std::vector<q407::hid::DeviceIdentity> m_deviceSlots;
    std::unique_ptr<DiscoveryBridge> m_discoveryBridge;
    std::unique_ptr<q407::hid::CDeviceDiscovery> m_discovery;
    std::unique_ptr<DevicePages> m_devicePages;
    std::unique_ptr<DeviceBus> m_deviceBus; // the device API, while there are pages and a bus
    std::unique_ptr<OpenRgbSdkServer> m_sdkServer; // after the pages: it drives them
    std::unique_ptr<PageActions> m_pageActions;
    std::unique_ptr<KeyMacroActions> m_keyMacroActions;
    SynchronisedLighting m_sharedLighting; // before m_threads: its thread uses it
    ThreadSlots m_threads;
    std::unique_ptr<SleepWatch> m_sleepWatch;
    std::unique_ptr<UnwritableFolderNotice> m_folderNotice;
    std::unique_ptr<AudioCaptureLink> m_audioCapture;
    q407::devices::MusicBands m_musicBands;
    // The colour sliders' red, green, blue, given again to every capture program that starts.
    std::array<int, 3> m_colourInput{255, 255, 255};
    int m_spectrumBlocks = 0;
    profiles::AudioFile m_audioFile;
    bool m_exiting = false;
    bool m_lightControl = true;
    bool m_running = true; // false while the machine sleeps
    bool m_displayChanged = false;
    bool m_noticeFlag = false; // set while no old-firmware notice is pending
    int m_uiDpi = 96;
    int m_languageIndex = -1; // none applied yet
    QPointer<CSkinFrame> m_skinFrame;
    bool m_active = false;
    bool m_foreground = false;
    QByteArray m_spectrum = QByteArray(kSpectrumBytes, '\0');
    QByteArray m_effect = QByteArray(kEffectBytes, '\0');
};

} // namespace q407::app
