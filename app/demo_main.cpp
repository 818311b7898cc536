// q407-demo: the same program, on the virtual HID bus with simulated products instead of hidraw.
#include "app/Startup.h"
#include "sim/VirtualHidBus.h"

int main(int argc, char** argv) {
    app::StartupOptions options;
    options.makeBackend = [] { return std::make_shared<q407::sim::VirtualHidBus>(); };
    return app::RunQ407(argc, argv, options);
}
