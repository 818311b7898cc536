#pragma once

// The per-page protocol object: the two possible command connections (cable and receiver), the
// request/answer transaction with its echo match, and every command of the device's command
// interface.
//
// Threads: commands come from the UI thread and from workers. Every command except the light
// stream holds the command lock around each transaction; the light stream holds its own lock.
// Each write and each answer-read loop holds the I/O lock, which is released between them, so a
// light-stream transaction can fall between a command's write and its read; the echo match, the
// second read and the light stream's skip-while-busy rule keep the answers apart. Lock order is
// always command (or light-stream) lock first, then the I/O lock.

#include "hid/CHidDevice.h"
#include "hid/HidBackend.h"
#include "protocol/Frame.h"
#include "protocol/Pacer.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

namespace q407::protocol {

// Connection modes.
inline constexpr int kModeCable = 1;
inline constexpr int kModeReceiver = 2;

// Sizes fixed by the command set.
inline constexpr std::size_t kDeviceInfoSize = 34;
inline constexpr std::uint16_t kMaxTableSize = 512;
inline constexpr std::uint8_t kRecoilChunk = 56;

// Time-outs of one transaction, in milliseconds.
struct TransactTimeouts {
    int cableWrite = 1000;
    int receiverWrite = 5000;
    int receiverCrcWrite = 500; // the light stream's write through the receiver
    int cableRead = 1000;
    int receiverRead = 500;
};

class CDeviceProtocol {
public:
    explicit CDeviceProtocol(hid::HidBackend& backend, Pacer& pacer = DefaultPacer());
    ~CDeviceProtocol();
    CDeviceProtocol(const CDeviceProtocol&) = delete;
    CDeviceProtocol& operator=(const CDeviceProtocol&) = delete;

    // --- Connection --------------------------------------------------------------------------

    // Mode 2 uses the receiver record with 24-byte chunks; any other mode the cable record with
    // 56-byte chunks.
    void SetConnectionMode(int mode);
    // Opens the record of `mode` on `path` (read and write, not exclusive) under the I/O lock,
    // closing the record used until now; on success the connection is open in that mode. Used
    // for the first attach and for a switch between cable and receiver.
    bool Attach(int mode, std::string_view path);
    // Marks the connection closed and closes both records; a transaction waiting for an answer
    // ends at once.
    void Detach();

    bool IsOpened() const { return m_opened.load() != 0; }
    bool IsBusy() const { return m_busy.load() != 0; }
    bool IsWireless() const { return m_wireless.load() != 0; }
    std::uint8_t ChunkSize() const { return m_chunkSize.load(); }

    // Byte size of the key tables; refused (false, nothing changed) above 512.
    bool SetTableSize(std::uint16_t size);
    std::uint16_t TableSize() const { return m_tableSize.load(); }

    // The shared-lighting flag, kept here for the pages; no transaction reads it.
    void SetFollowsSharedLighting(bool follows) { m_followsSharedLighting = follows ? 1 : 0; }
    bool FollowsSharedLighting() const { return m_followsSharedLighting.load() != 0; }

    void SetTimeouts(const TransactTimeouts& timeouts);
    TransactTimeouts Timeouts() const;

    hid::CHidDevice& CableRecord() { return m_cable; }
    hid::CHidDevice& ReceiverRecord() { return m_receiver; }

    // --- Transactions ------------------------------------------------------------------------

    // Writes `request` (zero-padded to 64 bytes) and reads answers until one echoes its command
    // byte (two reads at most). 1: matched answer in `answer` (up to `answerLength` bytes, count
    // in `bytesRead`); 0: closed, no answer, or no matching answer; -1: write failed; -101:
    // through the receiver, the device behind it does not answer.
    int Transact(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* answer,
                 std::size_t answerLength, std::size_t* bytesRead);
    // The light stream's transaction: no diagnostics and no pause; through the receiver the
    // request carries the frame CRC in bytes 1..2 and every answer's CRC is checked (-101).
    int TransactWithCrc(const std::uint8_t* request, std::size_t requestLength,
                        std::uint8_t* answer, std::size_t answerLength, std::size_t* bytesRead);

    // --- Commands (1 success, or a result code of Frame.h) -----------------------------------

    int BeginConfig();                                                 // 0x01
    int EndConfig(int unused = 1);                                     // 0x02, after a 10 ms pause
    int ReadDeviceInfo(std::span<std::uint8_t, kDeviceInfoSize> info); // 0x03
    int ReadSettings(std::uint8_t* destination, std::size_t length, std::uint16_t address); // 0x05
    int WriteSettings(const std::uint8_t* source, std::size_t length,
                      std::uint16_t address);                // 0x06
    int ReadDefaultKeyTable(std::uint8_t* destination);      // 0x07, TableSize() bytes
    int ReadKeyTable(std::uint8_t* destination, int bank);   // 0x08, bank 0 only
    int WriteKeyTable(const std::uint8_t* source, int bank); // 0x09, bank 0 only
    int ReadIndexedBlock(std::uint8_t* destination, std::size_t length, int index,
                         int stride); // 0x0A
    int WriteIndexedBlock(const std::uint8_t* source, std::size_t length, int index,
                          int stride); // 0x0B
    // 0x12: chunks that find another transaction running are dropped (and count as sent).
    // Once `giveUp` says so, the chunks left are not sent either (a newer frame waits).
    int StreamLight(const std::uint8_t* source, std::size_t length,
                    const std::function<bool()>& giveUp = {});
    // How many light chunks were dropped so far, so a streamer can tell an incomplete frame.
    std::uint64_t DroppedLightChunks() const { return m_droppedLightChunks.load(); }
    int WriteMacroImage(const std::uint8_t* source, std::size_t length); // 0x15
    int WriteRecoilData(const std::uint8_t* source, std::size_t length); // 0x17, 56-byte chunks
    // 0x1A: one request; at most one answer's data (56 bytes) is returned.
    int ReadPowerState(std::uint8_t* destination, std::uint8_t length, std::uint16_t address);
    int ReadLedIndexTable(std::uint8_t* destination); // 0x1B, TableSize() / 3 bytes
    int ResumeHostLighting();                         // 0x1C
    // 0xAA: true when the device behind the receiver answers.
    bool QueryWirelessLink();

private:
    enum class Lock { Command, LightStream };
    enum class Direction { Read, Write };

    struct Chunking {
        std::uint8_t command = 0;
        Direction direction = Direction::Read;
        std::size_t length = 0;
        std::uint64_t baseAddress = 0;
        std::size_t chunk = 0; // 0: the connection's chunk size
        Lock lock = Lock::Command;
        const std::function<bool()>* giveUp = nullptr; // before each chunk: stop here
    };

    int TransactImpl(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* answer,
                     std::size_t answerLength, std::size_t* bytesRead, bool withCrc);
    // One request under the command's lock; the answer's status mapped to the result.
    int RunCommand(Report& request, Report& answer, Lock lock);
    int Simple(std::uint8_t command, Report* answer = nullptr);
    int Chunked(const Chunking& shape, std::uint8_t* destination, const std::uint8_t* source);
    void DiscardStaleAnswers(hid::CHidDevice& record);
    // Answers read by one transaction that belong to another one in flight (under the I/O lock).
    void KeepAnswer(const Report& answer, std::size_t count);
    void EndAwaiting(bool linkQuery);
    bool TakeKeptAnswer(const Report& request, const AnswerCheck& check, Report& answer,
                        std::size_t& count);

    // Fields in the order the pages know them.
    std::atomic<std::uint16_t> m_tableSize{kMaxTableSize};
    std::atomic<int> m_busy{0}; // transactions running now
    std::atomic<std::uint64_t> m_droppedLightChunks{0};
    std::atomic<int> m_opened{0};
    std::atomic<int> m_followsSharedLighting{0};
    hid::CHidDevice m_cable;
    hid::CHidDevice m_receiver;
    std::mutex m_ioLock;
    std::mutex m_commandLock;
    std::mutex m_lightStreamLock;
    std::atomic<int> m_wireless{0};
    std::atomic<std::uint8_t> m_chunkSize{kReceiverChunk};

    Pacer& m_pacer;
    std::atomic<int> m_awaitingAnswers{0}; // transactions between their write and their last read
    std::atomic<int> m_linkQueriesAwaiting{0}; // of which link queries (0xAA)
    struct KeptAnswer {
        Report report;
        std::size_t count = 0;
    };
    static constexpr std::size_t kKeptAnswers = 4;
    std::vector<KeptAnswer> m_kept; // guarded by the I/O lock
    mutable std::mutex m_timeoutsMutex;
    TransactTimeouts m_timeouts;
};

} // namespace q407::protocol
