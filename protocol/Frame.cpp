#include "protocol/Frame.h"

#include <algorithm>

namespace q407::protocol {

std::uint16_t CheckValue(std::span<const std::uint8_t, kReportSize> report) {
    std::uint32_t sum = 0;
    for (std::size_t i = kPosCommand; i < kReportSize; ++i) {
        sum += report[i];
    }
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::uint16_t Crc16Modbus(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001U)
                                  : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

std::uint16_t FrameCrc(std::span<const std::uint8_t, kReportSize> report) {
    return Crc16Modbus(report.subspan(kPosCommand, kWirelessFrameSize - kPosCommand));
}

void SealRequest(Report& request) {
    request[kPosCheckLow] = 0;
    request[kPosCheckHigh] = 0;
    const std::uint16_t check = CheckValue(request);
    request[kPosCheckLow] = static_cast<std::uint8_t>(check & 0xFF);
    request[kPosCheckHigh] = static_cast<std::uint8_t>(check >> 8);
}

Report BuildRequest(std::uint8_t command, std::uint16_t address, std::span<const std::uint8_t> data,
                    std::uint8_t length) {
    Report request{};
    request[kPosReportId] = kCommandReportId;
    request[kPosCommand] = command;
    request[kPosLength] = length;
    request[kPosAddressLow] = static_cast<std::uint8_t>(address & 0xFF);
    request[kPosAddressHigh] = static_cast<std::uint8_t>(address >> 8);
    request[kPosStatus] = 0;
    const std::size_t n = std::min(data.size(), kMaxData);
    std::copy_n(data.begin(), n, request.begin() + kHeaderSize);
    SealRequest(request);
    return request;
}

AnswerKind ClassifyAnswer(std::span<const std::uint8_t, kReportSize> request,
                          std::span<const std::uint8_t, kReportSize> answer, std::size_t count,
                          const AnswerCheck& check) {
    if (count < kHeaderSize || answer[kPosReportId] != kCommandReportId) {
        return AnswerKind::Other;
    }
    const std::uint8_t echo = answer[kPosCommand];
    if (check.wireless && echo == kCmdQueryLink && request[kPosCommand] != kCmdQueryLink) {
        return AnswerKind::Unreachable;
    }
    if (check.wireless && check.checkCrc && echo != kCmdQueryLink) {
        const std::uint16_t crc = FrameCrc(answer);
        if (answer[kPosCheckLow] != (crc & 0xFF) || answer[kPosCheckHigh] != (crc >> 8)) {
            return AnswerKind::BadCrc;
        }
    }
    return echo == request[kPosCommand] ? AnswerKind::Match : AnswerKind::Other;
}

int StatusResult(std::span<const std::uint8_t, kReportSize> answer) {
    switch (answer[kPosStatus]) {
    case kStatusFailed:
        return kResultStatusFF;
    case kStatusRefused:
        return kResultStatusFE;
    default:
        return kResultOk;
    }
}

std::array<std::string, 2> HexLines(std::span<const std::uint8_t, kReportSize> report) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::array<std::string, 2> lines;
    for (std::size_t half = 0; half < 2; ++half) {
        std::string& line = lines[half];
        line.reserve(110);
        for (std::size_t i = 0; i < 32; ++i) {
            const std::uint8_t byte = report[half * 32 + i];
            if (i > 0) {
                // groups of four: three spaces after the first three groups, then two
                line += (i % 4 != 0) ? " " : (i <= 12 ? "   " : "  ");
            }
            line += kDigits[byte >> 4];
            line += kDigits[byte & 0x0F];
        }
    }
    return lines;
}

} // namespace q407::protocol
