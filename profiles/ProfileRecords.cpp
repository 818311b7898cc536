#include "profiles/ProfileRecords.h"

namespace q407::profiles {

KeyFunctionBytes KeyFunctionFromInt(int value) {
    const auto bits = static_cast<unsigned>(value);
    return {static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits)};
}

int KeyFunctionToInt(const KeyFunctionBytes& bytes) {
    return (bytes[0] << 16) | (bytes[1] << 8) | bytes[2];
}

} // namespace q407::profiles
