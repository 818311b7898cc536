// Feeds outside bytes to everything that reads an update server's answer: the JSON reading, the
// version reading in both bases, the judgement of the answer and the file name it may produce.

#include "update/UpdateProtocol.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    using namespace q407::update;

    const bool hex = size > 0 && (data[0] & 1) != 0;
    const std::uint32_t version = ParseServerVersion(text, hex);
    (void)version;

    const auto answer = ParseUpdateAnswer(text);
    if (!answer) {
        return 0;
    }
    const UpdateInfo info = EvaluateAnswer(*answer, 0x0103, hex);
    if (info.status != RowState::UpdateAvailable && info.status != RowState::UpToDate) {
        std::abort();
    }
    // Whatever the answer says, a usable name stays one file inside the download folder.
    if (!info.name.empty()) {
        const std::filesystem::path folder = "/q407-fuzz/UpdateData";
        const auto file = DownloadFilePath(folder, info.name, info.downloadUrl);
        if (file.empty() || file.parent_path() != folder || file.filename() == ".." ||
            file.filename() == ".") {
            std::abort();
        }
    }
    return 0;
}
