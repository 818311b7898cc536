#pragma once

// The program's own fonts, loaded from the data folder's "Font" for this process only. The UI
// refers to them by family name; a missing or unreadable file is skipped and the UI falls back
// on the system's fonts.

#include <QString>
#include <array>
#include <vector>

namespace q407::app {

class CPrivateFont {
public:
    // Adds the font file `fontFolder` + relative path; true when it was added.
    bool Load(const QString& fontFolder, const QString& relativePath);
    void Unload();
    bool IsLoaded() const { return m_fontId >= 0; }
    QStringList Families() const;

private:
    int m_fontId = -1;
};

// In load order; unloading goes the other way.
inline constexpr std::array<const char*, 8> kPrivateFontFiles{
    "Simplified_Chinese.ttf",    "Tharnock-Regular.otf", "NotoSansThai-Regular.ttf",
    "NotoSansCJKtc-Regular.otf", "MiSans-Normal.ttf",    "MiSans-Demibold.ttf",
    "MiSans-Semibold.ttf",       "MiSans-Light.ttf"};

class PrivateFonts {
public:
    // Loads every file of the table found in `fontFolder`; returns how many were added.
    int LoadAll(const QString& fontFolder);
    void UnloadAll();

private:
    std::array<CPrivateFont, kPrivateFontFiles.size()> m_fonts;
};

} // namespace q407::app
