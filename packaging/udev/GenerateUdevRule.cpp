// Writes the udev rule generated from the supported-device table to the file named on the
// command line.

#include "common/AtomicFile.h"
#include "hid/DeviceTable.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::string error;
    if (!q407::WriteFileAtomically(argv[1], q407::hid::GenerateUdevRules(), &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
