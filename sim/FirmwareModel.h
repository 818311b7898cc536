#pragma once

// The command side of a simulated product's firmware: it takes one request report and gives the
// answer reports, keeping the device's memories. Pure logic, no threads or timing (the product in
// SimulatedProduct.h adds the link), so tests can drive it directly.
//
// Answers: report id 4, byte 3 the request's command byte, bytes 4-6 the request's length and
// address, byte 7 the status (0 done, 0xFF refused: bad check value, address out of range or
// unknown command; 0xFE: the command is not supported by this kind of product), data from byte 8.
// Through the receiver only bytes 0-31 travel (recoil reports excepted, which the receiver
// forwards whole), bytes 1-2 carry the frame CRC, and a request with a bad CRC or check value is
// refused; by cable bytes 1-2 carry the answer's check value.

#include "protocol/Frame.h"
#include "sim/FirmwareSpec.h"
#include "sim/ProductInterfaces.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace q407::sim {

class FirmwareModel {
public:
    explicit FirmwareModel(FirmwareSpec spec);

    // The answers to one output report (report id in byte 0): none, one, or a stray answer
    // followed by the right one when that fault is armed.
    std::vector<protocol::Report> Respond(std::span<const std::uint8_t> request);

    // --- Faults (each armed one counts down as requests arrive) --------------------------------
    // The next `count` requests get no answer.
    void DropAnswers(int count);
    // The next `count` answers are preceded by an answer echoing another command byte.
    void WrongEchoFirst(int count);
    // The `chunk`-th (0-based, counted from now) request with `command` is answered with
    // `status` and not carried out.
    void StatusOnChunk(std::uint8_t command, int chunk, std::uint8_t status);
    // Through the receiver: the next `count` answers carry a wrong CRC.
    void CorruptCrc(int count);
    // Through the receiver: the device behind it is switched off; the receiver answers every
    // request itself with echo 0xAA (and link byte 0).
    void SetSwitchedOff(bool off);
    bool SwitchedOff() const;

    // --- The product's own buttons ----------------------------------------------------------
    // The profile button (stage < 0) or the DPI button was pressed: the current-profile byte
    // becomes `slot` and, on a mouse and for the DPI button, that slot's active-stage byte
    // becomes `stage`. Returns the event value the product reports for it (0x10s0 + slot, or
    // 0x11 with stage and slot). Normally the memory changes before the event goes out; with
    // SetEventBeforeMemory(true) it changes only after kLateMemoryRequests more requests have
    // been answered, as firmware that reports the button before updating its memory does.
    std::uint16_t PressButton(int slot, int stage);
    void SetEventBeforeMemory(bool eventFirst);
    static constexpr int kLateMemoryRequests = 16;

    // --- What the device holds and saw --------------------------------------------------------
    FirmwareSpec Memory() const; // the spec with the memories as they are now
    std::vector<std::uint8_t> MacroMemory() const;
    std::vector<std::uint8_t> RecoilMemory() const;
    std::vector<std::uint8_t> LightFrame() const;
    int LightFramesCompleted() const; // frames whose last byte arrived
    // Requests seen (the last 4096), in order.
    std::vector<protocol::Report> Requests() const;
    int RequestCount(std::uint8_t command) const;
    void ClearRequests();
    int Commits() const; // configuration sequences closed with 0x02
    // Replaces one field's worth of the device at run time (a test's "the user changed it").
    void SetSettingsByte(std::size_t address, std::uint8_t value);
    void SetPowerState(const std::array<std::uint8_t, 8>& state);

    // --- Keeping the memories across runs (q407-demo) ------------------------------------------
    // What the device would keep without power: settings, key table, colour groups, macro and
    // recoil memory, as one block of bytes.
    std::vector<std::uint8_t> SaveState() const;
    // Takes a block SaveState made; false, with nothing changed, when it is not one or its
    // memories differ in size from this device's.
    bool RestoreState(std::span<const std::uint8_t> state);
    // Called with SaveState's block after every configuration sequence the device closed
    // (command 0x02), outside the device's lock, on the thread that sent the request.
    void SetCommitHook(std::function<void(std::vector<std::uint8_t>)> hook);

    // Headset: the LED registers its 17-byte output reports set (report id 0xFF, byte 1 group,
    // byte 2 register, data from byte 4); empty when never written.
    std::vector<std::uint8_t> LedRegister(std::uint8_t group, std::uint8_t reg) const;
    int LedReports() const;

private:
    struct Outcome {
        std::uint8_t status = 0;
        std::vector<std::uint8_t> data;
    };
    std::vector<protocol::Report> RespondLocked(std::span<const std::uint8_t> request);
    std::vector<std::uint8_t> StateLocked() const;
    Outcome Execute(const protocol::Report& request);
    bool RequestIntact(const protocol::Report& request) const;
    protocol::Report MakeAnswer(const protocol::Report& request, const Outcome& outcome);
    void Seal(protocol::Report& answer, std::uint8_t command);

    mutable std::mutex m_mutex;
    FirmwareSpec m_spec;
    std::vector<std::uint8_t> m_macro;
    std::vector<std::uint8_t> m_recoil;
    std::vector<std::uint8_t> m_lightFrame;
    int m_lightFrames = 0;
    int m_commits = 0;
    std::function<void(std::vector<std::uint8_t>)> m_commitHook;
    std::vector<protocol::Report> m_requests;
    std::map<std::uint8_t, int> m_counts;
    std::map<std::uint16_t, std::vector<std::uint8_t>> m_ledRegisters; // group << 8 | register
    int m_ledReports = 0;

    bool m_eventBeforeMemory = false;
    std::vector<std::pair<std::size_t, std::uint8_t>> m_lateMemory; // address, value
    int m_lateMemoryCountdown = 0;
    void ApplyLateMemoryLocked();

    int m_drop = 0;
    int m_wrongEcho = 0;
    int m_corruptCrc = 0;
    bool m_switchedOff = false;
    struct StatusFault {
        std::uint8_t command = 0;
        int remaining = 0;
        std::uint8_t status = 0;
    };
    std::optional<StatusFault> m_statusFault;
};

} // namespace q407::sim
