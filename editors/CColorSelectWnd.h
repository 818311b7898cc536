#pragma once

// The colour palette window ("PalletDialog", skin "PalletDialog.xml"): a modal picker with a
// free palette ("Pallet"), twenty preset swatches ("color_option_" + n), twenty swatches of the
// user's own ("collect_color_option_" + n) and three edits for red, green and blue. The chosen
// colour shows on "color_show_btn"; "okbtn" confirms it.
//
// A user swatch that is selected takes every colour chosen afterwards and keeps it: the user
// swatches (and the last preset chosen) live in "color_option_info.config" in the user folder,
// first copied from the default one in DefaultData. Each change reads that file, changes its
// part and writes it back.

#include "toolkit/WindowImplBase.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace q407::editors {

inline constexpr int kSwatchCount = 20;

class CColorSelectWnd : public toolkit::WindowImplBase {
    Q_OBJECT
public:
    explicit CColorSelectWnd(QWidget* owner);

    QString GetSkinFile() const override { return QStringLiteral("PalletDialog.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ColorSelectWnd"); }
    void Notify(toolkit::TNotifyUI& msg) override;

    // The whole use by a caller: the window at `dpi`, showing `colour`, modal. The chosen colour
    // when the user confirmed, else nothing.
    static std::optional<std::uint32_t> PickColour(QWidget* owner, std::uint32_t colour, int dpi,
                                                   bool sevenColour);

    // 48, 72, 96, 120, 144, 168 or 192; any other DPI is logged and 96 is used.
    void SetDpi(int dpi);
    int Dpi() const { return m_dpi; }
    // Shows `colour` (0xAARRGGBB) on the button, the palette and the edits.
    void SetColour(std::uint32_t colour);
    // The confirmed colour (valid after "okbtn").
    std::uint32_t GetColour() const { return m_result; }
    // Offers (true) or takes away the seven-colour choice; taking it away also unchecks it.
    void EnableSevenColour(bool enabled);
    void SetSevenColourMode(bool on);
    bool SevenColourMode() const { return m_sevenColour; }

    std::uint32_t CurrentColour() const { return m_current; }
    int PresetIndex() const { return m_presetIndex; }
    int CollectedIndex() const { return m_collectedIndex; }

    // The palette file in the user folder and its default in DefaultData.
    static std::filesystem::path UserFile();
    static std::filesystem::path DefaultFile();

private:
    // Reads the file (the default one becomes the user's when the user's is missing or
    // damaged) and shows the stored swatches; no user swatch is selected afterwards.
    void LoadSwatches();
    void ApplyCurrentColour();
    void ShowComponents(std::uint32_t colour);
    void SetPalette(std::uint32_t colour);
    void OnPreset(int n);
    void OnCollected(int n);
    void OnEditLeft();
    void WritePresets();
    void WriteCollected();
    QWidget* Swatch(const char* prefix, int n) const;

    std::uint32_t m_current = 0xFF000000u;
    int m_presetIndex = 4;
    int m_collectedIndex = 0;
    bool m_sevenColour = false;
    int m_dpi = 96;
    std::uint32_t m_result = 0;
};

// A colour as the palette file writes it: 8 upper-case hexadecimal digits, AARRGGBB.
QString ColourText(std::uint32_t colour);

// Makes the palette window the program's colour picker (toolkit::QtDialogs::PickColor).
void UseColorSelectWndForColours();

} // namespace q407::editors
