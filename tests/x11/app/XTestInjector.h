#pragma once

// Input injected into the X server through XTEST, the way a keyboard and a mouse would deliver
// it. Kept apart from the tests: Xlib's macros (None, Status, …) collide with C++ headers.

#include <QPoint>

class XTestInjector {
public:
    // Opens a second connection to the server named by DISPLAY.
    XTestInjector();
    ~XTestInjector();
    XTestInjector(const XTestInjector&) = delete;
    XTestInjector& operator=(const XTestInjector&) = delete;

    // The server is reachable and offers XTEST.
    bool Usable() const;
    // Presses and releases the key of an X key symbol (X11/keysym.h).
    void Type(unsigned long keysym);
    // Moves the pointer to `at` (screen) and presses and releases `button` (1 left, 3 right).
    void Click(QPoint at, unsigned button);

private:
    void* m_display; // Display*
};
