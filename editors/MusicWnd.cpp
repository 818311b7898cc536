#include "editors/MusicWnd.h"

#include "toolkit/CMsgWnd.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

namespace q407::editors {
namespace {

constexpr std::array<const char*, 3> kSliders{"audio_r_slider", "audio_g_slider", "audio_b_slider"};
bool g_open = false;

QString Numbered(const char* prefix, int style) {
    return QLatin1String(prefix) + QString::number(style + 1);
}

// The style a control name ends in ("audio_select_tab3" -> 2), or -1.
int StyleOf(const QString& name, const char* prefix) {
    if (!name.startsWith(QLatin1String(prefix))) {
        return -1;
    }
    bool number = false;
    const int n = name.mid(int(qstrlen(prefix))).toInt(&number);
    return number && n >= 1 && n <= profiles::kMusicStyleCount ? n - 1 : -1;
}

} // namespace

MusicWnd::MusicWnd(QWidget* owner, profiles::MusicStyleSet styles)
    : WindowImplBase(owner), m_styles(std::move(styles)) {
    setWindowFlag(Qt::Tool, true);
    setObjectName(QStringLiteral("MusicWnd"));
}

bool MusicWnd::IsOpen() {
    return g_open;
}

std::optional<profiles::MusicStyleSet> MusicWnd::Edit(QWidget* owner, int dpi,
                                                      const profiles::MusicStyleSet& styles) {
    if (g_open) {
        return std::nullopt;
    }
    MusicWnd window(owner, styles);
    toolkit::ResourceManager::Instance().SetAllDPI(
        toolkit::ValidDpiOr96(dpi, "SET_WND DPI SET ERROR"));
    if (!window.Create(QStringLiteral("MusicWnd"), QSize(369, 276))) {
        return std::nullopt;
    }
    window.CenterWindow();
    g_open = true;
    const int result = window.ShowModal();
    g_open = false;
    if (result != 1) {
        return std::nullopt;
    }
    return window.Styles();
}

void MusicWnd::ShowStyles() {
    for (int style = 0; style < profiles::kMusicStyleCount; ++style) {
        if (auto* name = FindControl<QLineEdit>(Numbered("audio_edit_name", style))) {
            const QSignalBlocker blocker(name);
            name->setText(QString::fromStdString(m_styles.names[static_cast<std::size_t>(style)]));
        }
    }
    if (auto* tab = FindControl<QAbstractButton>(Numbered("audio_select_tab", m_styles.index))) {
        const QSignalBlocker blocker(tab);
        tab->setChecked(true);
    }
    ShowColour();
}

void MusicWnd::ShowColour() {
    const auto& colour = m_styles.colours[static_cast<std::size_t>(m_styles.index)];
    for (std::size_t c = 0; c < kSliders.size(); ++c) {
        if (auto* slider = FindControl<QAbstractSlider>(QLatin1String(kSliders[c]))) {
            const QSignalBlocker blocker(slider);
            slider->setValue(colour[c]);
        }
    }
}

void MusicWnd::OnNameLeft(int style) {
    auto* edit = FindControl<QLineEdit>(Numbered("audio_edit_name", style));
    if (edit == nullptr) {
        return;
    }
    std::string name = edit->text().toStdString();
    if (name.empty()) {
        name = profiles::DefaultMusicStyleName(style);
        const QSignalBlocker blocker(edit);
        edit->setText(QString::fromStdString(name));
    }
    m_styles.names[static_cast<std::size_t>(style)] = name;
}

void MusicWnd::Notify(toolkit::TNotifyUI& msg) {
    const QString name = msg.SenderName();
    if (msg.sType == QLatin1String("windowinit")) {
        ShowStyles();
    } else if (msg.sType == QLatin1String("selectchanged")) {
        if (const int style = StyleOf(name, "audio_select_tab"); style >= 0 && msg.wParam != 0) {
            m_styles.index = style;
            ShowColour();
        }
    } else if (msg.sType == QLatin1String("valuechanged")) {
        for (std::size_t c = 0; c < kSliders.size(); ++c) {
            if (name == QLatin1String(kSliders[c])) {
                if (auto* slider = qobject_cast<QAbstractSlider*>(msg.pSender)) {
                    m_styles.colours[static_cast<std::size_t>(m_styles.index)][c] =
                        std::clamp(slider->value(), 0, profiles::kMusicComponentMax);
                }
            }
        }
    } else if (msg.sType == QLatin1String("killfocus")) {
        if (const int style = StyleOf(name, "audio_edit_name"); style >= 0) {
            OnNameLeft(style);
        }
    } else if (msg.sType == QLatin1String("click")) {
        if (name == QLatin1String("okbtn")) {
            // A name still being typed counts as left.
            for (int style = 0; style < profiles::kMusicStyleCount; ++style) {
                OnNameLeft(style);
            }
            Close(1);
        } else if (name == QLatin1String("closebtn")) {
            Close(0);
        }
    }
}

} // namespace q407::editors
