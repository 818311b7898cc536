#include "app/Startup.h"

int main(int argc, char** argv) {
    return app::RunQ407(argc, argv, app::StartupOptions{});
}
