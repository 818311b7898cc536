#include "app/Startup.h"
#include "hid/LinuxHidBackend.h"

int main(int argc, char** argv) {
    q407::app::StartupOptions options;
    options.makeBackend = [] { return std::make_shared<q407::hid::LinuxHidBackend>(); };
    return q407::app::RunQ407(argc, argv, options);
}
