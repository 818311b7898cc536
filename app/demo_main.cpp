// q407-demo: the same program, on the virtual HID bus with one simulated device of each kind.
#include "app/Startup.h"

int main(int argc, char** argv) {
    return app::RunQ407(argc, argv, app::StartupOptions{.demo = true});
}
