#include "sim/FirmwareModel.h"

#include <algorithm>

namespace q407::sim {

namespace p = protocol;

namespace {

constexpr std::size_t kRequestLog = 4096;
constexpr std::uint8_t kStatusDone = 0x00;
constexpr std::size_t kKeyBank = 512;

// Reads or writes `length` bytes at `address` of a memory; refused when out of range.
template <typename Memory>
bool Access(Memory& memory, std::size_t address, std::size_t length, const p::Report& request,
            bool write, std::vector<std::uint8_t>& data) {
    if (address + length > memory.size()) {
        return false;
    }
    if (write) {
        std::copy_n(request.begin() + p::kHeaderSize, length, memory.begin() + address);
    } else {
        data.assign(memory.begin() + address, memory.begin() + address + length);
    }
    return true;
}

} // namespace

FirmwareModel::FirmwareModel(FirmwareSpec spec)
    : m_spec(std::move(spec)), m_macro(m_spec.MacroMemorySize(), 0),
      m_recoil(m_spec.recoilMemorySize, 0), m_lightFrame(m_spec.lightFrameSize, 0) {}

bool FirmwareModel::RequestIntact(const p::Report& request) const {
    std::uint16_t expected = 0;
    if (m_spec.throughReceiver && request[p::kPosCommand] == p::kCmdLightStream) {
        expected = p::FrameCrc(request);
    } else {
        expected = p::CheckValue(request);
    }
    return request[p::kPosCheckLow] == (expected & 0xFF) &&
           request[p::kPosCheckHigh] == (expected >> 8);
}

FirmwareModel::Outcome FirmwareModel::Execute(const p::Report& request) {
    Outcome out;
    const std::uint8_t command = request[p::kPosCommand];
    const std::size_t length = request[p::kPosLength];
    const std::size_t address = request[p::kPosAddressLow] | (request[p::kPosAddressHigh] << 8);
    // Through the receiver a request carries 24 data bytes; recoil reports travel whole.
    const std::size_t carried = m_spec.throughReceiver && command != p::kCmdWriteRecoilData
                                    ? p::kReceiverChunk
                                    : p::kMaxData;
    if (length > carried) {
        out.status = p::kStatusFailed;
        return out;
    }
    bool ok = true;
    switch (command) {
    case p::kCmdBegin:
        break;
    case p::kCmdEnd:
        ++m_commits;
        break;
    case p::kCmdReadDeviceInfo:
        ok = Access(m_spec.deviceInfo, address, length, request, false, out.data);
        break;
    case p::kCmdReadSettings:
    case p::kCmdWriteSettings:
        ok = Access(m_spec.settingsMemory, address, length, request,
                    command == p::kCmdWriteSettings, out.data);
        break;
    case p::kCmdReadDefaultKeyTable:
        ok = Access(m_spec.defaultKeyTable, address, length, request, false, out.data);
        break;
    case p::kCmdReadKeyTable:
    case p::kCmdWriteKeyTable:
        // one bank of 512 bytes
        ok = address + length <= kKeyBank && Access(m_spec.keyTable, address, length, request,
                                                    command == p::kCmdWriteKeyTable, out.data);
        break;
    case p::kCmdReadIndexedBlock:
    case p::kCmdWriteIndexedBlock:
        if (m_spec.indexedMemory.empty()) {
            out.status = p::kStatusRefused;
            return out;
        }
        ok = Access(m_spec.indexedMemory, address, length, request,
                    command == p::kCmdWriteIndexedBlock, out.data);
        break;
    case p::kCmdLightStream:
        if (m_lightFrame.empty()) {
            out.status = p::kStatusRefused;
            return out;
        }
        ok = Access(m_lightFrame, address, length, request, true, out.data);
        if (ok && address + length == m_lightFrame.size()) {
            ++m_lightFrames;
        }
        break;
    case p::kCmdWriteMacroImage:
        ok = Access(m_macro, address, length, request, true, out.data);
        break;
    case p::kCmdWriteRecoilData:
        ok = Access(m_recoil, address, length, request, true, out.data);
        break;
    case p::kCmdReadPowerState:
        ok = Access(m_spec.powerState, address, length, request, false, out.data);
        break;
    case p::kCmdReadLedIndexTable:
        ok = Access(m_spec.ledIndexTable, address, length, request, false, out.data);
        break;
    case p::kCmdResumeHostLighting:
        break;
    case p::kCmdQueryLink:
        out.data = {0xFF};
        break;
    default:
        ok = false;
        break;
    }
    if (!ok) {
        out.status = p::kStatusFailed;
        out.data.clear();
    }
    return out;
}

void FirmwareModel::Seal(p::Report& answer, std::uint8_t command) {
    if (m_spec.throughReceiver) {
        std::fill(answer.begin() + p::kWirelessFrameSize, answer.end(), 0);
        std::uint16_t crc = p::FrameCrc(answer);
        if (m_corruptCrc > 0 && command != p::kCmdQueryLink) {
            --m_corruptCrc;
            crc ^= 0x5AA5;
        }
        answer[p::kPosCheckLow] = static_cast<std::uint8_t>(crc & 0xFF);
        answer[p::kPosCheckHigh] = static_cast<std::uint8_t>(crc >> 8);
    } else {
        answer[p::kPosCheckLow] = 0;
        answer[p::kPosCheckHigh] = 0;
        const std::uint16_t check = p::CheckValue(answer);
        answer[p::kPosCheckLow] = static_cast<std::uint8_t>(check & 0xFF);
        answer[p::kPosCheckHigh] = static_cast<std::uint8_t>(check >> 8);
    }
}

p::Report FirmwareModel::MakeAnswer(const p::Report& request, const Outcome& outcome) {
    p::Report answer{};
    answer[p::kPosReportId] = p::kCommandReportId;
    answer[p::kPosCommand] = request[p::kPosCommand];
    answer[p::kPosLength] = request[p::kPosLength];
    answer[p::kPosAddressLow] = request[p::kPosAddressLow];
    answer[p::kPosAddressHigh] = request[p::kPosAddressHigh];
    answer[p::kPosStatus] = outcome.status;
    std::copy_n(outcome.data.begin(), std::min(outcome.data.size(), p::kMaxData),
                answer.begin() + p::kHeaderSize);
    Seal(answer, request[p::kPosCommand]);
    return answer;
}

std::vector<p::Report> FirmwareModel::Respond(std::span<const std::uint8_t> bytes) {
    std::vector<p::Report> answers;
    std::function<void(std::vector<std::uint8_t>)> hook;
    std::vector<std::uint8_t> state;
    {
        std::lock_guard lock(m_mutex);
        const int commitsBefore = m_commits;
        answers = RespondLocked(bytes);
        if (!m_lateMemory.empty() && --m_lateMemoryCountdown <= 0) {
            ApplyLateMemoryLocked();
        }
        if (m_commits != commitsBefore && m_commitHook) {
            hook = m_commitHook;
            state = StateLocked();
        }
    }
    if (hook) {
        hook(std::move(state));
    }
    return answers;
}

namespace {

constexpr char kStateMagic[] = "Q407SIM1";
constexpr std::size_t kStateMagicSize = sizeof(kStateMagic) - 1;

void PutSection(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& section) {
    const auto size = static_cast<std::uint32_t>(section.size());
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    }
    out.insert(out.end(), section.begin(), section.end());
}

} // namespace

std::vector<std::uint8_t> FirmwareModel::StateLocked() const {
    std::vector<std::uint8_t> out(kStateMagic, kStateMagic + kStateMagicSize);
    for (const auto* section :
         {&m_spec.settingsMemory, &m_spec.keyTable, &m_spec.indexedMemory, &m_macro, &m_recoil}) {
        PutSection(out, *section);
    }
    return out;
}

std::vector<std::uint8_t> FirmwareModel::SaveState() const {
    std::lock_guard lock(m_mutex);
    return StateLocked();
}

bool FirmwareModel::RestoreState(std::span<const std::uint8_t> state) {
    std::lock_guard lock(m_mutex);
    std::vector<std::uint8_t>* sections[] = {&m_spec.settingsMemory, &m_spec.keyTable,
                                             &m_spec.indexedMemory, &m_macro, &m_recoil};
    if (state.size() < kStateMagicSize ||
        !std::equal(state.begin(), state.begin() + kStateMagicSize, kStateMagic)) {
        return false;
    }
    // Check every section before anything is taken, so a damaged block changes nothing.
    std::size_t at = kStateMagicSize;
    std::vector<std::span<const std::uint8_t>> parts;
    for (const auto* section : sections) {
        if (state.size() - at < 4) {
            return false;
        }
        const std::size_t size = std::size_t{state[at]} | std::size_t{state[at + 1]} << 8 |
                                 std::size_t{state[at + 2]} << 16 |
                                 std::size_t{state[at + 3]} << 24;
        at += 4;
        if (size != section->size() || state.size() - at < size) {
            return false;
        }
        parts.push_back(state.subspan(at, size));
        at += size;
    }
    if (at != state.size()) {
        return false;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::copy(parts[i].begin(), parts[i].end(), sections[i]->begin());
    }
    return true;
}

void FirmwareModel::SetCommitHook(std::function<void(std::vector<std::uint8_t>)> hook) {
    std::lock_guard lock(m_mutex);
    m_commitHook = std::move(hook);
}

std::vector<p::Report> FirmwareModel::RespondLocked(std::span<const std::uint8_t> bytes) {
    if (m_spec.kind == ProductKind::Headset && bytes.size() >= 5 && bytes[0] == kLedReportId) {
        // LED registers: taken, never answered
        // 17-byte reports (a bus may pad them to its longest output report)
        const std::size_t end = std::min<std::size_t>(bytes.size(), 17);
        m_ledRegisters[static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2])].assign(
            bytes.begin() + 4, bytes.begin() + static_cast<std::ptrdiff_t>(end));
        ++m_ledReports;
        return {};
    }
    if (bytes.size() < p::kHeaderSize || bytes[0] != p::kCommandReportId) {
        return {}; // not a command request
    }
    p::Report request{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), p::kReportSize), request.begin());
    if (m_spec.throughReceiver && request[p::kPosCommand] != p::kCmdWriteRecoilData) {
        std::fill(request.begin() + p::kWirelessFrameSize, request.end(), 0);
    }
    if (m_requests.size() >= kRequestLog) {
        m_requests.erase(m_requests.begin());
    }
    m_requests.push_back(request);
    const std::uint8_t command = request[p::kPosCommand];
    ++m_counts[command];

    if (m_drop > 0) {
        --m_drop;
        return {};
    }
    if (m_spec.throughReceiver && m_switchedOff) {
        p::Report answer{};
        answer[p::kPosReportId] = p::kCommandReportId;
        answer[p::kPosCommand] = p::kCmdQueryLink;
        Seal(answer, p::kCmdQueryLink);
        return {answer};
    }

    Outcome outcome;
    bool faulted = false;
    if (m_statusFault && m_statusFault->command == command) {
        if (m_statusFault->remaining-- == 0) {
            outcome.status = m_statusFault->status;
            m_statusFault.reset();
            faulted = true;
        }
    }
    if (!faulted) {
        outcome = RequestIntact(request) ? Execute(request) : Outcome{p::kStatusFailed, {}};
    }
    std::vector<p::Report> answers;
    if (m_wrongEcho > 0) {
        --m_wrongEcho;
        p::Report stray = request;
        stray[p::kPosCommand] = command == p::kCmdBegin ? p::kCmdEnd : p::kCmdBegin;
        answers.push_back(MakeAnswer(stray, Outcome{kStatusDone, {}}));
    }
    answers.push_back(MakeAnswer(request, outcome));
    return answers;
}

void FirmwareModel::DropAnswers(int count) {
    std::lock_guard lock(m_mutex);
    m_drop = count;
}

void FirmwareModel::WrongEchoFirst(int count) {
    std::lock_guard lock(m_mutex);
    m_wrongEcho = count;
}

void FirmwareModel::StatusOnChunk(std::uint8_t command, int chunk, std::uint8_t status) {
    std::lock_guard lock(m_mutex);
    m_statusFault = StatusFault{command, chunk, status};
}

void FirmwareModel::CorruptCrc(int count) {
    std::lock_guard lock(m_mutex);
    m_corruptCrc = count;
}

void FirmwareModel::SetSwitchedOff(bool off) {
    std::lock_guard lock(m_mutex);
    m_switchedOff = off;
}

bool FirmwareModel::SwitchedOff() const {
    std::lock_guard lock(m_mutex);
    return m_switchedOff;
}

FirmwareSpec FirmwareModel::Memory() const {
    std::lock_guard lock(m_mutex);
    return m_spec;
}

std::vector<std::uint8_t> FirmwareModel::MacroMemory() const {
    std::lock_guard lock(m_mutex);
    return m_macro;
}

std::vector<std::uint8_t> FirmwareModel::RecoilMemory() const {
    std::lock_guard lock(m_mutex);
    return m_recoil;
}

std::vector<std::uint8_t> FirmwareModel::LightFrame() const {
    std::lock_guard lock(m_mutex);
    return m_lightFrame;
}

int FirmwareModel::LightFramesCompleted() const {
    std::lock_guard lock(m_mutex);
    return m_lightFrames;
}

std::vector<p::Report> FirmwareModel::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int FirmwareModel::RequestCount(std::uint8_t command) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_counts.find(command);
    return it == m_counts.end() ? 0 : it->second;
}

void FirmwareModel::ClearRequests() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
    m_counts.clear();
}

int FirmwareModel::Commits() const {
    std::lock_guard lock(m_mutex);
    return m_commits;
}

std::uint16_t FirmwareModel::PressButton(int slot, int stage) {
    std::lock_guard lock(m_mutex);
    const auto slotByte = static_cast<std::uint8_t>(slot & 0x0F);
    const auto stageByte = static_cast<std::uint8_t>(stage & 0x0F);
    ApplyLateMemoryLocked(); // an earlier press has landed by now
    m_lateMemory.emplace_back(0, slotByte);
    if (stage >= 0 && m_spec.kind == ProductKind::Mouse) {
        m_lateMemory.emplace_back(slotByte * kMouseBlockStride + 12, stageByte);
    }
    if (m_eventBeforeMemory) {
        m_lateMemoryCountdown = kLateMemoryRequests;
    } else {
        ApplyLateMemoryLocked();
    }
    return static_cast<std::uint16_t>(stage < 0 ? 0x1000 | slotByte
                                                : 0x1100 | stageByte << 4 | slotByte);
}

void FirmwareModel::SetEventBeforeMemory(bool eventFirst) {
    std::lock_guard lock(m_mutex);
    m_eventBeforeMemory = eventFirst;
}

void FirmwareModel::ApplyLateMemoryLocked() {
    for (const auto& [address, value] : m_lateMemory) {
        if (address < m_spec.settingsMemory.size()) {
            m_spec.settingsMemory[address] = value;
        }
    }
    m_lateMemory.clear();
}

void FirmwareModel::SetSettingsByte(std::size_t address, std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    if (address < m_spec.settingsMemory.size()) {
        m_spec.settingsMemory[address] = value;
    }
}

void FirmwareModel::SetPowerState(const std::array<std::uint8_t, 8>& state) {
    std::lock_guard lock(m_mutex);
    m_spec.powerState = state;
}

std::vector<std::uint8_t> FirmwareModel::LedRegister(std::uint8_t group, std::uint8_t reg) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_ledRegisters.find(static_cast<std::uint16_t>(group << 8 | reg));
    return it == m_ledRegisters.end() ? std::vector<std::uint8_t>{} : it->second;
}

int FirmwareModel::LedReports() const {
    std::lock_guard lock(m_mutex);
    return m_ledReports;
}

} // namespace q407::sim
