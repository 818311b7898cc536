#include "XTestInjector.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

Display* Of(void* display) {
    return static_cast<Display*>(display);
}

} // namespace

XTestInjector::XTestInjector() : m_display(XOpenDisplay(nullptr)) {}

XTestInjector::~XTestInjector() {
    if (m_display != nullptr) {
        XCloseDisplay(Of(m_display));
    }
}

bool XTestInjector::Usable() const {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    return m_display != nullptr &&
           XTestQueryExtension(Of(m_display), &event, &error, &major, &minor) == True;
}

void XTestInjector::Type(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(Of(m_display), keysym);
    XTestFakeKeyEvent(Of(m_display), code, True, CurrentTime);
    XTestFakeKeyEvent(Of(m_display), code, False, CurrentTime);
    XSync(Of(m_display), False);
}

void XTestInjector::Click(QPoint at, unsigned button) {
    XTestFakeMotionEvent(Of(m_display), -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(Of(m_display), button, True, CurrentTime);
    XTestFakeButtonEvent(Of(m_display), button, False, CurrentTime);
    XSync(Of(m_display), False);
}
