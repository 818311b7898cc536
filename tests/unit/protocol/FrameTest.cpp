// The byte rules of the protocol: check value, frame CRC, request layout, the answer decoder and
// the diagnostic hex lines.

#include "protocol/Frame.h"

#include <gtest/gtest.h>
#include <string_view>

namespace q407::protocol {
namespace {

TEST(Frame, Crc16ModbusOfTheStandardCheckString) {
    const std::string_view text = "123456789";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(Crc16Modbus({bytes, text.size()}), 0x4B37);
    EXPECT_EQ(Crc16Modbus({}), 0xFFFF);
}

TEST(Frame, FrameCrcCoversBytesThreeToThirtyOneOnly) {
    Report report{};
    const std::string_view text = "123456789";
    std::copy(text.begin(), text.end(), report.begin() + 3);
    // bytes 12..31 are zero and part of the frame, so the CRC is not that of the text alone
    const std::uint16_t crc = FrameCrc(report);
    Report changedOutside = report;
    changedOutside[0] = 9;
    changedOutside[1] = 9;
    changedOutside[2] = 9;
    changedOutside[32] = 9;
    changedOutside[63] = 9;
    EXPECT_EQ(FrameCrc(changedOutside), crc);
    Report changedInside = report;
    changedInside[31] = 1;
    EXPECT_NE(FrameCrc(changedInside), crc);
    EXPECT_EQ(crc, Crc16Modbus(std::span(report).subspan(3, 29)));
}

TEST(Frame, RequestCarriesItsFieldsAndTheSixteenBitSumLowByteFirst) {
    std::array<std::uint8_t, 56> data{};
    data.fill(0xFF);
    const Report request = BuildRequest(kCmdWriteSettings, 0x1234, data, 56);
    EXPECT_EQ(request[0], 4);
    EXPECT_EQ(request[3], 0x06);
    EXPECT_EQ(request[4], 56);
    EXPECT_EQ(request[5], 0x34);
    EXPECT_EQ(request[6], 0x12);
    EXPECT_EQ(request[7], 0);
    // 0x06 + 56 + 0x34 + 0x12 + 56 × 0xFF = 0x3864; carries above 16 bits are dropped
    const std::uint32_t sum = 0x06 + 56 + 0x34 + 0x12 + 56 * 0xFF;
    EXPECT_EQ(request[1], sum & 0xFF);
    EXPECT_EQ(request[2], (sum >> 8) & 0xFF);
    EXPECT_EQ(CheckValue(request), sum & 0xFFFF);

    Report wraps{};
    wraps.fill(0xFF);
    EXPECT_EQ(CheckValue(wraps), (61 * 0xFF) & 0xFFFF);
    // data beyond 56 bytes is not sent
    std::array<std::uint8_t, 80> tooMuch{};
    tooMuch.fill(1);
    const Report clipped = BuildRequest(kCmdWriteSettings, 0, tooMuch, 56);
    EXPECT_EQ(clipped[63], 1);
}

TEST(Frame, AnswerDecoderMatchesOnlyTheEchoOfACommandReport) {
    const Report request = BuildRequest(kCmdReadSettings, 0, {}, 1);
    Report answer = request;
    answer[kPosStatus] = 0;
    const AnswerCheck cable{false, false};
    EXPECT_EQ(ClassifyAnswer(request, answer, 64, cable), AnswerKind::Match);
    EXPECT_EQ(ClassifyAnswer(request, answer, 7, cable), AnswerKind::Other); // no full header
    Report otherId = answer;
    otherId[0] = 5;
    EXPECT_EQ(ClassifyAnswer(request, otherId, 64, cable), AnswerKind::Other);
    Report otherCommand = answer;
    otherCommand[kPosCommand] = kCmdBegin;
    EXPECT_EQ(ClassifyAnswer(request, otherCommand, 64, cable), AnswerKind::Other);
    Report link = answer;
    link[kPosCommand] = kCmdQueryLink;
    EXPECT_EQ(ClassifyAnswer(request, link, 64, cable), AnswerKind::Other);
    EXPECT_EQ(ClassifyAnswer(request, link, 64, {true, false}), AnswerKind::Unreachable);
    // the link query's own answer is a match, not a lost device
    const Report query = BuildRequest(kCmdQueryLink);
    EXPECT_EQ(ClassifyAnswer(query, link, 64, {true, true}), AnswerKind::Match);
}

TEST(Frame, CrcCheckedAnswersThroughTheReceiver) {
    const Report request = BuildRequest(kCmdLightStream, 0, {}, 24);
    Report answer = request;
    const std::uint16_t crc = FrameCrc(answer);
    answer[1] = static_cast<std::uint8_t>(crc & 0xFF);
    answer[2] = static_cast<std::uint8_t>(crc >> 8);
    const AnswerCheck crcChecked{true, true};
    EXPECT_EQ(ClassifyAnswer(request, answer, 64, crcChecked), AnswerKind::Match);
    Report oneByteOff = answer;
    oneByteOff[2] ^= 0x01;
    EXPECT_EQ(ClassifyAnswer(request, oneByteOff, 64, crcChecked), AnswerKind::BadCrc);
    Report payloadOff = answer;
    payloadOff[20] ^= 0x80;
    EXPECT_EQ(ClassifyAnswer(request, payloadOff, 64, crcChecked), AnswerKind::BadCrc);
    // bytes beyond the wireless frame do not count
    Report tail = answer;
    tail[40] = 0x55;
    EXPECT_EQ(ClassifyAnswer(request, tail, 64, crcChecked), AnswerKind::Match);
    // the CRC is only checked through the receiver
    EXPECT_EQ(ClassifyAnswer(request, payloadOff, 64, {false, true}), AnswerKind::Match);
}

TEST(Frame, StatusByteGivesTheCommandResult) {
    Report answer{};
    EXPECT_EQ(StatusResult(answer), kResultOk);
    answer[kPosStatus] = 0xFF;
    EXPECT_EQ(StatusResult(answer), kResultStatusFF);
    answer[kPosStatus] = 0xFE;
    EXPECT_EQ(StatusResult(answer), kResultStatusFE);
    answer[kPosStatus] = 0x01;
    EXPECT_EQ(StatusResult(answer), kResultOk);
}

TEST(Frame, HexLinesGroupThirtyTwoBytesInEights) {
    Report report{};
    for (std::size_t i = 0; i < report.size(); ++i) {
        report[i] = static_cast<std::uint8_t>(i * 4 + 0x0A);
    }
    const auto lines = HexLines(report);
    EXPECT_EQ(lines[0], "0a 0e 12 16   1a 1e 22 26   2a 2e 32 36   3a 3e 42 46  "
                        "4a 4e 52 56  5a 5e 62 66  6a 6e 72 76  7a 7e 82 86");
    EXPECT_EQ(lines[1].substr(0, 11), "8a 8e 92 96");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 2), "06");
}

} // namespace
} // namespace q407::protocol
