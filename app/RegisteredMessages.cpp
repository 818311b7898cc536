#include "app/RegisteredMessages.h"

namespace q407::app {

static_assert(
    [] {
        for (std::size_t i = 0; i < kRegisteredMessages.size(); ++i) {
            if (static_cast<std::size_t>(kRegisteredMessages[i].id) != i ||
                kRegisteredMessages[i].number < 0xC000 || kRegisteredMessages[i].number > 0xFFFF) {
                return false;
            }
        }
        return true;
    }(),
    "the table is indexed by RegisteredMessage and numbers lie in the registered range");

std::optional<RegisteredMessage> FromNumber(std::uint32_t number) {
    for (const auto& info : kRegisteredMessages) {
        if (info.number == number) {
            return info.id;
        }
    }
    return std::nullopt;
}

std::optional<RegisteredMessage> FromBusMember(std::string_view member) {
    for (const auto& info : kRegisteredMessages) {
        if (info.busMember == member) {
            return info.id;
        }
    }
    return std::nullopt;
}

} // namespace q407::app
