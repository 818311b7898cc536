#pragma once

// The device pages of the main window: created from the option and layout tables when a
// product's interface first arrives, attached and detached as its interfaces come and go (cable,
// receiver, event interface), and shown through their selector entries. Pages are never
// destroyed on removal; they stay hidden and are reattached on the next arrival.

#include "hid/DeviceTable.h"
#include "hid/HidBackend.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QWidget;

namespace q407::toolkit {
class WindowImplBase;
}
namespace q407::devices {
class DeviceModel;
}
namespace q407::pages {
class CDeviceOptionUI;
class CKestravaUSBDevice;
class CMpDevicePowerUI;
} // namespace q407::pages

namespace q407::app {

class SynchronisedLighting;

class DevicePages {
public:
    DevicePages(toolkit::WindowImplBase& window, q407::hid::HidBackend* backend);
    ~DevicePages();
    DevicePages(const DevicePages&) = delete;
    DevicePages& operator=(const DevicePages&) = delete;

    // Creates in advance, hidden, the page of an option row (the two mouse products at start).
    bool CreatePage(int optionRow);
    // An interface arrived in `slot`; `slots` are the window's slots after the arrival.
    void OnArrival(int slot, const std::vector<q407::hid::DeviceIdentity>& slots);
    // The interface that was in `slot` (`before` is the slot as it was) went away; `slots` are
    // the window's slots after the removal.
    void OnRemoval(int slot, const q407::hid::DeviceIdentity& before,
                   const std::vector<q407::hid::DeviceIdentity>& slots);

    // Shows or hides the selector entry of page `pageIndex` (message 0x0D03): a shown entry is
    // selected when no other entry is visible; hiding the selected entry selects another one.
    void ShowEntry(int pageIndex, bool shown);
    // Selects the page of entry `pageIndex` (it must be visible).
    void Select(int pageIndex);
    // Selects the visible entry before (`step` -1) or after (1) the selected one in the list;
    // false when there is none that way.
    bool SelectNeighbour(int step);
    // The page whose selector entry contains `control`, or -1.
    int PageIndexOf(const QWidget* control) const;

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    pages::CKestravaUSBDevice* Page(int pageIndex) const;
    pages::CDeviceOptionUI* Entry(int pageIndex) const;
    // The selected page (its entry visible and selected), or -1.
    int SelectedPage() const;
    int VisibleEntryCount() const;
    // The option row a page was made from, or -1.
    int OptionRowOf(int pageIndex) const;
    // How the page's product is connected: 0 not, 1 by cable, 2 through its receiver.
    int ConnectionOf(int pageIndex) const;
    // The command interface the page's product is reached through (the receiver's ids through
    // a receiver); empty while not connected.
    q407::hid::DeviceIdentity IdentityOf(int pageIndex) const;
    // The window is hidden (true) or shown. Only the selected page of a shown window animates
    // its picture; every other page's preview is paused.
    void SetPreviewsPaused(bool paused);
    // Updates "No_device_Link" and the stacks for the entries' visibility.
    void UpdateNoDeviceHint();
    // `listener` is called whenever the shown and activated pages may have changed: an entry
    // shown or hidden (arrival, removal, a receiver's link lost or back), a page that has read its
    // product. The id removes it again.
    int AddListListener(std::function<void()> listener);
    void RemoveListListener(int id);
    // Whether this program drives the lighting: every mouse, mouse pad and keyboard page takes
    // the flag (pages made later too); keyboards are told to resume host lighting when it is on.
    void ApplyLightControl(bool on);
    // The pages' models in the order the shared lighting effect reaches them: mouse, mouse pad,
    // headset, keyboard.
    std::vector<q407::devices::DeviceModel*> SharedLightingOrder() const;
    // No page follows the shared lighting effect any more; those that did show their own
    // lighting again on their devices.
    void StopSharedLighting();
    // The effect pages follow; pages that followed it when fewer than two products were left
    // follow it again when another one comes back (it must outlive the pages).
    void SetSharedLighting(SynchronisedLighting* shared) { m_sharedLighting = shared; }
    // Some page of a connected device shows a light mode that follows the computer's sound.
    bool AnyConnectedPageListens() const;
    // A profile was added: pages of the same product share the folder, so every page shows its
    // list again.
    void ReloadProfileLists();
    // The line of every page's audio page about the sound (a text id; empty hides it).
    void SetAudioStatus(const QString& textOrId);

private:
    struct PageRecord {
        int optionRow = -1;
        int kind = 0;
        int commandMode = 0; // 0 not connected, 1 cable, 2 receiver
        int commandSlot = -1;
        QPointer<pages::CKestravaUSBDevice> page;
        QPointer<pages::CDeviceOptionUI> entry;
        QPointer<pages::CMpDevicePowerUI> power;
        q407::hid::DeviceIdentity commandIdentity; // the interface in use while connected
        int activations = 0; // first activations so far: more than one means it came back
        // The page followed the shared effect when fewer than two products were left.
        bool resumeSharedLighting = false;
    };

    int PageFor(int commandRow, bool create);
    void AttachCommand(PageRecord& record, int pageIndex, int slot,
                       const q407::hid::DeviceIdentity& identity);
    void SwitchConnection(PageRecord& record, int pageIndex, int toSlot,
                          const q407::hid::DeviceIdentity& to);
    void QueryReceiverLink(int pageIndex, int attemptsLeft);
    void ApplyPreviewPause();
    void NotifyListListeners();
    void OnActivated(int pageIndex);
    void PauseSharedLighting();
    void ResumeSharedLighting();

    toolkit::WindowImplBase& m_window;
    q407::hid::HidBackend* m_backend;
    std::vector<PageRecord> m_pages;
    bool m_lightControl = true;
    bool m_windowHidden = true;
    std::map<int, std::function<void()>> m_listListeners;
    int m_nextListenerId = 0;
    SynchronisedLighting* m_sharedLighting = nullptr;
};

// The command-interface row whose page a slot's interface belongs to: the slot's own command row,
// or, for a receiver whose pair row links back, the pair (cable) row. -1 when none.
int PageRowOfSlot(const q407::hid::DeviceIdentity& slot);

} // namespace q407::app
