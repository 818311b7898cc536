// Runs a libFuzzer entry point over files and folders given on the command line, so fuzz targets
// also build with GCC and their seed corpus becomes a regression test. Exits non-zero when a
// path cannot be read; a crash or sanitizer report fails the run by itself.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool RunFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    ok = RunFile(entry.path()) && ok;
                    ++inputs;
                }
            }
        } else {
            ok = RunFile(path) && ok;
            ++inputs;
        }
    }
    // The empty input is always worth one run.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("ran %d inputs\n", inputs + 1);
    return ok && inputs > 0 ? 0 : 1;
}
