#pragma once

// What a page's worker threads hand to the UI thread. The listening and light threads never touch
// a control; they call this interface, which the UI side implements by posting the work to the UI
// thread (a queued call or a toolkit timer on the page's selector entry). Every method may be
// called from a worker thread and must return without waiting for the UI thread.

namespace q407::devices {

class PageEvents {
public:
    virtual ~PageEvents() = default;

    // The device asks to be read again: after `delayMs` the UI thread runs the page's
    // OnProfileSelected (the selector entry's timer 1002).
    virtual void RequestResync(int delayMs) = 0;
    // The device's own buttons changed the profile slot (and, when `stage` is not negative, the
    // DPI stage); the model holds the new values already. The UI thread runs RefreshPage.
    virtual void ProfileSlotChanged(int slot, int stage) = 0;
};

} // namespace q407::devices
