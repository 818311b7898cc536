#pragma once

// The music style window ("music.xml"): four styles to choose from ("audio_select_tab1" ... 4),
// each with a name ("audio_edit_name1" ... 4) and a colour of three components 0-9 (the sliders
// "audio_r_slider", "audio_g_slider", "audio_b_slider"). "okbtn" confirms, the close button
// drops every change.

#include "profiles/MusicStyles.h"
#include "toolkit/WindowImplBase.h"

#include <optional>

namespace q407::editors {

class MusicWnd : public toolkit::WindowImplBase {
    Q_OBJECT
public:
    MusicWnd(QWidget* owner, profiles::MusicStyleSet styles);

    QString GetSkinFile() const override { return QStringLiteral("music.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("MusicWnd"); }
    void Notify(toolkit::TNotifyUI& msg) override;

    // The whole use by the main window: the window at `dpi`, filled with `styles`, modal. The
    // edited styles when confirmed, else nothing.
    static std::optional<profiles::MusicStyleSet> Edit(QWidget* owner, int dpi,
                                                       const profiles::MusicStyleSet& styles);
    // Whether the window is open (a second click on the button is ignored meanwhile).
    static bool IsOpen();

    const profiles::MusicStyleSet& Styles() const { return m_styles; }

private:
    void ShowStyles();
    void ShowColour();
    void OnNameLeft(int style);

    profiles::MusicStyleSet m_styles;
};

} // namespace q407::editors
