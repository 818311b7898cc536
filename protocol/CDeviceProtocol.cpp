#include "protocol/CDeviceProtocol.h"

#include "common/Diag.h"

#include <algorithm>
#include <cstring>

namespace q407::protocol {

namespace {

using namespace std::chrono_literals;

constexpr auto kCommandPause = 20ms; // lets the device act on a request before we read
constexpr auto kEndPause = 10ms;     // before closing a configuration sequence
constexpr std::uint64_t kAddressLimit = 0x10000;
constexpr int kBankStride = 512; // key table banks (only bank 0 is used)

// Counts a transaction as running for the lifetime of the guard.
class CountedScope {
public:
    explicit CountedScope(std::atomic<int>& counter) : m_counter(counter) { ++m_counter; }
    ~CountedScope() { --m_counter; }
    CountedScope(const CountedScope&) = delete;
    CountedScope& operator=(const CountedScope&) = delete;

private:
    std::atomic<int>& m_counter;
};

void WriteReportLines(std::string_view title, const Report& report) {
    if (!diag::Enabled()) {
        return;
    }
    const auto lines = HexLines(report);
    diag::Line(title);
    diag::Line(lines[0]);
    diag::Line(lines[1]);
}

// index × stride; beyond every address when either is negative.
std::uint64_t IndexedBase(int index, int stride) {
    return index < 0 || stride < 0
               ? kAddressLimit
               : static_cast<std::uint64_t>(index) * static_cast<unsigned>(stride);
}

} // namespace

CDeviceProtocol::CDeviceProtocol(hid::HidBackend& backend, Pacer& pacer)
    : m_cable(backend), m_receiver(backend), m_pacer(pacer) {}

CDeviceProtocol::~CDeviceProtocol() {
    Detach();
}

void CDeviceProtocol::SetConnectionMode(int mode) {
    if (mode == kModeReceiver) {
        m_wireless = 1;
        m_chunkSize = kReceiverChunk;
    } else {
        m_wireless = 0;
        m_chunkSize = kCableChunk;
    }
}

bool CDeviceProtocol::Attach(int mode, std::string_view path) {
    m_opened = 0;
    m_cable.CancelTransfer();
    m_receiver.CancelTransfer();
    std::lock_guard io(m_ioLock);
    m_cable.Close();
    m_receiver.Close();
    hid::CHidDevice& record = mode == kModeReceiver ? m_receiver : m_cable;
    if (!record.Open(path, true, true, true, false)) {
        return false;
    }
    SetConnectionMode(mode);
    m_opened = 1;
    return true;
}

void CDeviceProtocol::Detach() {
    m_opened = 0;
    m_cable.CancelTransfer();
    m_receiver.CancelTransfer();
    std::lock_guard io(m_ioLock);
    m_cable.Close();
    m_receiver.Close();
}

bool CDeviceProtocol::SetTableSize(std::uint16_t size) {
    if (size > kMaxTableSize) {
        return false;
    }
    m_tableSize = size;
    return true;
}

void CDeviceProtocol::SetTimeouts(const TransactTimeouts& timeouts) {
    std::lock_guard lock(m_timeoutsMutex);
    m_timeouts = timeouts;
}

TransactTimeouts CDeviceProtocol::Timeouts() const {
    std::lock_guard lock(m_timeoutsMutex);
    return m_timeouts;
}

void CDeviceProtocol::DiscardStaleAnswers(hid::CHidDevice& record) {
    // Answers that arrived after their transaction gave up would otherwise be taken for the
    // answer to the next request with the same command byte. Only done while no transaction is
    // waiting for its answer, so a light-stream answer in flight is never thrown away.
    m_kept.clear();
    Report stale{};
    std::size_t count = 0;
    for (int i = 0; i < 64 && record.Read(stale.data(), stale.size(), &count, 0); ++i) {
    }
}

void CDeviceProtocol::EndAwaiting(bool linkQuery) {
    if (linkQuery) {
        --m_linkQueriesAwaiting;
    }
    --m_awaitingAnswers;
}

void CDeviceProtocol::KeepAnswer(const Report& answer, std::size_t count) {
    // Only worth keeping while another transaction waits; a few are enough, since at most the
    // light stream and one command are in flight together.
    if (m_awaitingAnswers.load() < 2 || count < kHeaderSize ||
        answer[kPosReportId] != kCommandReportId) {
        return;
    }
    if (m_kept.size() >= kKeptAnswers) {
        m_kept.erase(m_kept.begin());
    }
    m_kept.push_back({answer, count});
}

bool CDeviceProtocol::TakeKeptAnswer(const Report& request, const AnswerCheck& check,
                                     Report& answer, std::size_t& count) {
    for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
        if (ClassifyAnswer(request, it->report, it->count, check) == AnswerKind::Match) {
            answer = it->report;
            count = it->count;
            m_kept.erase(it);
            return true;
        }
    }
    return false;
}

int CDeviceProtocol::Transact(const std::uint8_t* request, std::size_t requestLength,
                              std::uint8_t* answer, std::size_t answerLength,
                              std::size_t* bytesRead) {
    return TransactImpl(request, requestLength, answer, answerLength, bytesRead, false);
}

int CDeviceProtocol::TransactWithCrc(const std::uint8_t* request, std::size_t requestLength,
                                     std::uint8_t* answer, std::size_t answerLength,
                                     std::size_t* bytesRead) {
    return TransactImpl(request, requestLength, answer, answerLength, bytesRead, true);
}

int CDeviceProtocol::TransactImpl(const std::uint8_t* request, std::size_t requestLength,
                                  std::uint8_t* answer, std::size_t answerLength,
                                  std::size_t* bytesRead, bool withCrc) {
    CountedScope busy(m_busy);
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    if (!IsOpened()) {
        return kResultNoAnswer;
    }
    Report out{};
    if (request != nullptr) {
        std::memcpy(out.data(), request, std::min(requestLength, kReportSize));
    }
    const bool wireless = IsWireless();
    const bool isLinkQuery = out[kPosCommand] == kCmdQueryLink;
    if (withCrc && wireless) {
        const std::uint16_t crc = FrameCrc(out);
        out[kPosCheckLow] = static_cast<std::uint8_t>(crc & 0xFF);
        out[kPosCheckHigh] = static_cast<std::uint8_t>(crc >> 8);
    }
    if (!withCrc) {
        WriteReportLines("命令", out);
    }
    const TransactTimeouts timeouts = Timeouts();
    const int writeTimeout = !wireless ? timeouts.cableWrite
                             : withCrc ? timeouts.receiverCrcWrite
                                       : timeouts.receiverWrite;
    const int readTimeout = wireless ? timeouts.receiverRead : timeouts.cableRead;
    hid::CHidDevice& record = wireless ? m_receiver : m_cable;

    bool written = false;
    {
        std::lock_guard io(m_ioLock);
        if (m_awaitingAnswers.load() == 0) {
            DiscardStaleAnswers(record);
        }
        ++m_awaitingAnswers;
        if (isLinkQuery) {
            ++m_linkQueriesAwaiting;
        }
        std::size_t count = 0;
        written = record.Write(out.data(), out.size(), &count, writeTimeout);
    }
    if (!withCrc) {
        m_pacer.Pause(kCommandPause);
    }
    if (!written) {
        EndAwaiting(isLinkQuery);
        return kResultWriteFailed;
    }

    Report in{};
    std::size_t count = 0;
    int result = kResultNoAnswer;
    {
        std::lock_guard io(m_ioLock);
        const AnswerCheck check{wireless, withCrc};
        if (TakeKeptAnswer(out, check, in, count)) {
            result = kResultOk;
        }
        for (int attempt = 0; attempt < 2 && result != kResultOk && IsOpened(); ++attempt) {
            in.fill(0);
            count = 0;
            if (!record.Read(in.data(), in.size(), &count, readTimeout)) {
                // a corrupted frame followed by silence still says the link is bad
                if (result != kResultUnreachable) {
                    result = kResultNoAnswer;
                }
                continue;
            }
            const AnswerKind kind = ClassifyAnswer(out, in, count, check);
            if (kind == AnswerKind::Match) {
                result = kResultOk;
                break;
            }
            if (kind == AnswerKind::Unreachable && m_linkQueriesAwaiting.load() == 0) {
                result = kResultUnreachable;
                break;
            }
            // Another command's answer is never taken for ours, but it is kept for the
            // transaction that waits for it; a corrupted frame may still be followed by the good
            // one.
            // An echo of the link query while a query is in flight is that query's answer.
            if (kind == AnswerKind::Other || kind == AnswerKind::Unreachable) {
                KeepAnswer(in, count);
            }
            result = kind == AnswerKind::BadCrc ? kResultUnreachable : kResultNoAnswer;
        }
        EndAwaiting(isLinkQuery);
    }
    if (answer != nullptr) {
        std::memcpy(answer, in.data(), std::min(answerLength, kReportSize));
    }
    if (bytesRead != nullptr) {
        *bytesRead = count;
    }
    if (!withCrc) {
        WriteReportLines("返回", in);
    }
    return result;
}

int CDeviceProtocol::RunCommand(Report& request, Report& answer, Lock lock) {
    int result = 0;
    if (lock == Lock::LightStream) {
        std::lock_guard guard(m_lightStreamLock);
        result =
            TransactWithCrc(request.data(), request.size(), answer.data(), answer.size(), nullptr);
    } else {
        std::lock_guard guard(m_commandLock);
        result = Transact(request.data(), request.size(), answer.data(), answer.size(), nullptr);
    }
    return result == kResultOk ? StatusResult(answer) : result;
}

int CDeviceProtocol::Simple(std::uint8_t command, Report* answer) {
    Report request = BuildRequest(command);
    Report scratch{};
    return RunCommand(request, answer != nullptr ? *answer : scratch, Lock::Command);
}

int CDeviceProtocol::Chunked(const Chunking& shape, std::uint8_t* destination,
                             const std::uint8_t* source) {
    if (shape.length == 0) {
        return kResultOk;
    }
    if ((shape.direction == Direction::Read ? destination == nullptr : source == nullptr) ||
        shape.baseAddress + shape.length > kAddressLimit) {
        return kResultNoAnswer; // nothing sensible can be sent
    }
    const std::size_t chunk = shape.chunk != 0 ? shape.chunk : ChunkSize();
    for (std::size_t offset = 0; offset < shape.length; offset += chunk) {
        const std::size_t n = std::min(chunk, shape.length - offset);
        if (shape.giveUp != nullptr && *shape.giveUp && (*shape.giveUp)()) {
            m_droppedLightChunks.fetch_add((shape.length - offset + chunk - 1) / chunk);
            return kResultOk;
        }
        if (shape.lock == Lock::LightStream && IsBusy()) {
            diag::Line("放弃灯光数据");
            m_droppedLightChunks.fetch_add(1);
            continue;
        }
        const auto address = static_cast<std::uint16_t>(shape.baseAddress + offset);
        std::span<const std::uint8_t> data;
        if (shape.direction == Direction::Write) {
            data = {source + offset, n};
        }
        Report request = BuildRequest(shape.command, address, data, static_cast<std::uint8_t>(n));
        Report answer{};
        const int result = RunCommand(request, answer, shape.lock);
        if (result != kResultOk) {
            return result;
        }
        if (shape.direction == Direction::Read) {
            std::memcpy(destination + offset, answer.data() + kHeaderSize, n);
        }
    }
    return kResultOk;
}

int CDeviceProtocol::BeginConfig() {
    return Simple(kCmdBegin);
}

int CDeviceProtocol::EndConfig(int /*unused*/) {
    m_pacer.Pause(kEndPause);
    return Simple(kCmdEnd);
}

int CDeviceProtocol::ReadDeviceInfo(std::span<std::uint8_t, kDeviceInfoSize> info) {
    return Chunked({kCmdReadDeviceInfo, Direction::Read, kDeviceInfoSize, 0, 0, Lock::Command},
                   info.data(), nullptr);
}

int CDeviceProtocol::ReadSettings(std::uint8_t* destination, std::size_t length,
                                  std::uint16_t address) {
    return Chunked({kCmdReadSettings, Direction::Read, length, address, 0, Lock::Command},
                   destination, nullptr);
}

int CDeviceProtocol::WriteSettings(const std::uint8_t* source, std::size_t length,
                                   std::uint16_t address) {
    return Chunked({kCmdWriteSettings, Direction::Write, length, address, 0, Lock::Command},
                   nullptr, source);
}

int CDeviceProtocol::ReadDefaultKeyTable(std::uint8_t* destination) {
    return Chunked({kCmdReadDefaultKeyTable, Direction::Read, TableSize(), 0, 0, Lock::Command},
                   destination, nullptr);
}

int CDeviceProtocol::ReadKeyTable(std::uint8_t* destination, int bank) {
    if (bank != 0) {
        return kResultBadBank;
    }
    return Chunked({kCmdReadKeyTable, Direction::Read, TableSize(),
                    static_cast<std::uint64_t>(bank * kBankStride), 0, Lock::Command},
                   destination, nullptr);
}

int CDeviceProtocol::WriteKeyTable(const std::uint8_t* source, int bank) {
    if (bank != 0) {
        return kResultBadBank;
    }
    return Chunked({kCmdWriteKeyTable, Direction::Write, TableSize(),
                    static_cast<std::uint64_t>(bank * kBankStride), 0, Lock::Command},
                   nullptr, source);
}

int CDeviceProtocol::ReadIndexedBlock(std::uint8_t* destination, std::size_t length, int index,
                                      int stride) {
    return Chunked({kCmdReadIndexedBlock, Direction::Read, length, IndexedBase(index, stride), 0,
                    Lock::Command},
                   destination, nullptr);
}

int CDeviceProtocol::WriteIndexedBlock(const std::uint8_t* source, std::size_t length, int index,
                                       int stride) {
    return Chunked({kCmdWriteIndexedBlock, Direction::Write, length, IndexedBase(index, stride), 0,
                    Lock::Command},
                   nullptr, source);
}

int CDeviceProtocol::StreamLight(const std::uint8_t* source, std::size_t length,
                                 const std::function<bool()>& giveUp) {
    return Chunked({kCmdLightStream, Direction::Write, length, 0, 0, Lock::LightStream, &giveUp},
                   nullptr, source);
}

int CDeviceProtocol::WriteMacroImage(const std::uint8_t* source, std::size_t length) {
    return Chunked({kCmdWriteMacroImage, Direction::Write, length, 0, 0, Lock::Command}, nullptr,
                   source);
}

int CDeviceProtocol::WriteRecoilData(const std::uint8_t* source, std::size_t length) {
    return Chunked({kCmdWriteRecoilData, Direction::Write, length, 0, kRecoilChunk, Lock::Command},
                   nullptr, source);
}

int CDeviceProtocol::ReadPowerState(std::uint8_t* destination, std::uint8_t length,
                                    std::uint16_t address) {
    if (destination == nullptr) {
        return kResultNoAnswer;
    }
    Report request = BuildRequest(kCmdReadPowerState, address, {}, length);
    Report answer{};
    const int result = RunCommand(request, answer, Lock::Command);
    if (result == kResultOk) {
        // one answer carries at most 56 data bytes
        std::memcpy(destination, answer.data() + kHeaderSize,
                    std::min<std::size_t>(length, kMaxData));
    }
    return result;
}

int CDeviceProtocol::ReadLedIndexTable(std::uint8_t* destination) {
    return Chunked({kCmdReadLedIndexTable, Direction::Read, TableSize() / 3U, 0, 0, Lock::Command},
                   destination, nullptr);
}

int CDeviceProtocol::ResumeHostLighting() {
    return Simple(kCmdResumeHostLighting);
}

bool CDeviceProtocol::QueryWirelessLink() {
    Report answer{};
    return Simple(kCmdQueryLink, &answer) == kResultOk && answer[kHeaderSize] == 0xFF;
}

} // namespace q407::protocol
