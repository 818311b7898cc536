#pragma once

// Interface paths. One path names one top-level collection of one HID node, and carries the
// markers the rest of the program reads ids from:
//
//     /dev/hidraw3&vid_1a2b&pid_3c4d&mi_00&col05
//
// The part before the first '&' names the node; "vid_" and "pid_" give the vendor and product
// id, "&mi_" the interface number, "&col" the 1-based top-level collection ("&col" is left out
// when the node has a single collection). All numbers are hexadecimal.

#include <cstdint>
#include <string>
#include <string_view>

namespace q407::hid {

// The four path parsers: each finds its marker without regard to case and reads the hexadecimal
// digits that follow it; a missing marker (or no digit after it) gives 0. Values wider than 16
// bits keep their low 16 bits.
std::uint16_t VendorIdFromPath(std::string_view path);
std::uint16_t ProductIdFromPath(std::string_view path);
std::uint16_t InterfaceNumberFromPath(std::string_view path);
std::uint16_t CollectionNumberFromPath(std::string_view path);

// Builds the path of collection `collection` (1-based) of a node with `collectionCount`
// top-level collections.
std::string MakeInterfacePath(std::string_view node, std::uint16_t vendorId,
                              std::uint16_t productId, std::uint16_t interfaceNumber,
                              std::size_t collection, std::size_t collectionCount);

// Index (0-based) of the collection a path names on a node with `collectionCount` collections,
// or -1 when the path names none of them. A path without "&col" names the only collection.
int CollectionIndexOfPath(std::string_view path, std::size_t collectionCount);

// The node part of a path (everything before the first '&').
std::string_view NodeOfPath(std::string_view path);

} // namespace q407::hid
