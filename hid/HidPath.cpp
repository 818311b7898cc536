#include "hid/HidPath.h"

#include <cstdio>

namespace q407::hid {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t FindNoCase(std::string_view text, std::string_view marker) {
    if (marker.size() > text.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = 0; i + marker.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < marker.size() && Lower(text[i + j]) == marker[j]) {
            ++j;
        }
        if (j == marker.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = Lower(c);
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::uint16_t HexAfter(std::string_view path, std::string_view marker) {
    const std::size_t at = FindNoCase(path, marker);
    if (at == std::string_view::npos) {
        return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = at + marker.size(); i < path.size(); ++i) {
        const int digit = HexDigit(path[i]);
        if (digit < 0) {
            break;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::uint16_t VendorIdFromPath(std::string_view path) {
    return HexAfter(path, "vid_");
}
std::uint16_t ProductIdFromPath(std::string_view path) {
    return HexAfter(path, "pid_");
}
std::uint16_t InterfaceNumberFromPath(std::string_view path) {
    return HexAfter(path, "&mi_");
}
std::uint16_t CollectionNumberFromPath(std::string_view path) {
    return HexAfter(path, "&col");
}

std::string MakeInterfacePath(std::string_view node, std::uint16_t vendorId,
                              std::uint16_t productId, std::uint16_t interfaceNumber,
                              std::size_t collection, std::size_t collectionCount) {
    char markers[64];
    int length = std::snprintf(markers, sizeof markers, "&vid_%04x&pid_%04x&mi_%02x", vendorId,
                               productId, interfaceNumber);
    if (collectionCount > 1 && length > 0) {
        length += std::snprintf(markers + length, sizeof markers - static_cast<std::size_t>(length),
                                "&col%02zx", collection);
    }
    std::string path(node);
    path.append(markers, static_cast<std::size_t>(length));
    return path;
}

int CollectionIndexOfPath(std::string_view path, std::size_t collectionCount) {
    const std::uint16_t number = CollectionNumberFromPath(path);
    if (collectionCount == 1 && number <= 1) {
        return 0;
    }
    if (number >= 1 && number <= collectionCount) {
        return number - 1;
    }
    return -1;
}

std::string_view NodeOfPath(std::string_view path) {
    return path.substr(0, path.find('&'));
}

} // namespace q407::hid
