#include "devices/AudioConfLib.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace q407::devices {
namespace {

std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<AudioConfLib>& Library() {
    static std::shared_ptr<AudioConfLib> library;
    return library;
}

} // namespace

void SetAudioLibrary(std::shared_ptr<AudioConfLib> library) {
    std::lock_guard lock(LibraryMutex());
    Library() = std::move(library);
}

std::shared_ptr<AudioConfLib> GetAudioLibrary() {
    std::lock_guard lock(LibraryMutex());
    return Library();
}

std::int32_t BufferInt(const std::uint8_t* buffer) {
    std::int32_t value = 0;
    std::memcpy(&value, buffer, sizeof value);
    return value;
}

float BufferFloat(const std::uint8_t* buffer) {
    float value = 0;
    std::memcpy(&value, buffer, sizeof value);
    return value;
}

void PutBufferInt(std::uint8_t* buffer, std::int32_t value) {
    std::memcpy(buffer, &value, sizeof value);
}

void PutBufferFloat(std::uint8_t* buffer, float value) {
    std::memcpy(buffer, &value, sizeof value);
}

void PutAnswerText(std::uint8_t* buffer, std::string_view text) {
    const std::size_t length = std::min(text.size(), kAudioBufferSize - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
}

std::optional<double> AnswerNumber(const std::uint8_t* buffer) {
    const char* text = reinterpret_cast<const char*>(buffer);
    const std::size_t length = ::strnlen(text, kAudioBufferSize);
    const char* begin = text;
    const char* end = text + length;
    while (begin < end && (*begin == ' ' || *begin == '\t')) {
        ++begin;
    }
    if (begin < end && *begin == '+') {
        ++begin;
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop == begin || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string AnswerText(double value) {
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::vector<std::string> AnswerFields(const std::uint8_t* buffer, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(buffer);
    const std::string_view all(text, ::strnlen(text, size));
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = all.find(',', start);
        fields.emplace_back(
            all.substr(start, comma == std::string_view::npos ? all.npos : comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return fields;
}

} // namespace q407::devices
