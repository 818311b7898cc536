#pragma once

// The battery indicator of a device page, built from "XML/CustomControlXML/MpDevicePower.xml"
// (root class CMpDevicePowerUI). It shows the six power-state bytes a page reads from its device:
// byte 0 level in percent, 1 charging state (0 discharging, 1 charging, 2 full), 3 wireless
// flag, 5 the phone on a mouse pad's charger (1 and 2 the two kinds the charger tells apart,
// 3 another phone, else none).

#include <QWidget>
#include <array>
#include <cstdint>
#include <span>

namespace q407::pages {

class CMpDevicePowerUI : public QWidget {
    Q_OBJECT
public:
    static constexpr std::size_t kStateSize = 6;

    explicit CMpDevicePowerUI(QWidget* parent = nullptr);

    // Shows a power state for a page of `kind` (1 keyboard, 2 mouse, 3 mouse pad, 7 headset).
    // Fewer than six bytes are ignored.
    void SetPowerState(std::span<const std::uint8_t> state, int kind);
    // The last state shown (zeros before the first).
    const std::array<std::uint8_t, kStateSize>& State() const { return m_state; }

private:
    void SetImage(const char* control, const QString& image);
    void SetVisible(const char* control, bool visible);

    std::array<std::uint8_t, kStateSize> m_state{};
};

} // namespace q407::pages
