#include "editors/CColorSelectWnd.h"

#include "common/Diag.h"
#include "common/Paths.h"
#include "editors/CColorPaletteUI.h"
#include "editors/CLightControlUI.h"
#include "editors/LightRules.h"
#include "profiles/JsonFile.h"
#include "toolkit/CMsgWnd.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <array>

namespace q407::editors {
namespace {

namespace pj = q407::profiles;

constexpr const char* kFileName = "color_option_info.config";
constexpr const char* kPresetPrefix = "color_option_";
constexpr const char* kCollectPrefix = "collect_color_option_";
constexpr const char* kSevenColourImage = "common/base1.png";
constexpr std::uint32_t kEmptySwatch = 0xFFFFFFFFu;
constexpr std::array<const char*, 3> kEdits{"color_edit_r", "color_edit_g", "color_edit_b"};

std::uint32_t Compose(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<std::uint32_t>(red) << 16) |
           (static_cast<std::uint32_t>(green) << 8) | static_cast<std::uint32_t>(blue);
}

// A user swatch that holds a colour ("1") loses the dashed look of an empty one.
void SetUserData(QWidget* swatch, const QString& data) {
    swatch->setProperty("userdata", data);
    swatch->setProperty("filled", data == QLatin1String("1") ? QStringLiteral("true")
                                                             : QStringLiteral("false"));
    swatch->style()->unpolish(swatch);
    swatch->style()->polish(swatch);
}

void SetChecked(QWidget* control, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button == nullptr) {
        return;
    }
    // An exclusive option refuses to be unchecked directly.
    const QSignalBlocker blocker(button);
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

bool IsChecked(const QWidget* control) {
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return button != nullptr && button->isChecked();
}

Json::Value& Info(Json::Value& document) {
    return pj::MutableMember(document, "coloroptioninfo");
}

} // namespace

QString ColourText(std::uint32_t colour) {
    return QStringLiteral("%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

std::filesystem::path CColorSelectWnd::UserFile() {
    return paths::UserDir() / kFileName;
}

std::filesystem::path CColorSelectWnd::DefaultFile() {
    return paths::DataDir() / "DefaultData" / kFileName;
}

CColorSelectWnd::CColorSelectWnd(QWidget* owner) : WindowImplBase(owner) {
    setWindowFlag(Qt::Tool, true);
    setObjectName(QStringLiteral("PalletDialog"));
}

std::optional<std::uint32_t> CColorSelectWnd::PickColour(QWidget* owner, std::uint32_t colour,
                                                         int dpi, bool sevenColour) {
    CColorSelectWnd window(owner);
    if (!window.Create(QStringLiteral("PalletDialog"), QSize(800, 572))) {
        return std::nullopt;
    }
    window.SetDpi(dpi);
    window.SetColour(colour);
    window.EnableSevenColour(sevenColour);
    window.CenterWindow();
    if (window.ShowModal() != 1) {
        return std::nullopt;
    }
    return window.GetColour();
}

void CColorSelectWnd::SetDpi(int dpi) {
    m_dpi = toolkit::ValidDpiOr96(dpi, "SET_WND DPI SET ERROR");
    toolkit::ResourceManager::Instance().SetAllDPI(m_dpi);
}

QWidget* CColorSelectWnd::Swatch(const char* prefix, int n) const {
    return FindControl(QLatin1String(prefix) + QString::number(n));
}

void CColorSelectWnd::SetPalette(std::uint32_t colour) {
    if (auto* palette = FindControl<CColorPaletteUI>(QStringLiteral("Pallet"))) {
        palette->SetColour(colour);
    }
}

void CColorSelectWnd::ShowComponents(std::uint32_t colour) {
    const std::array<std::uint32_t, 3> components{(colour >> 16) & 0xFF, (colour >> 8) & 0xFF,
                                                  colour & 0xFF};
    for (std::size_t c = 0; c < kEdits.size(); ++c) {
        if (auto* edit = FindControl<QLineEdit>(QLatin1String(kEdits[c]))) {
            const QSignalBlocker blocker(edit);
            edit->setText(QString::number(components[c]));
        }
    }
}

void CColorSelectWnd::SetColour(std::uint32_t colour) {
    QWidget* shown = FindControl(QStringLiteral("color_show_btn"));
    toolkit::SetAttribute(shown, QStringLiteral("bkimage"), QString());
    SetBackgroundColour(shown, colour);
    SetPalette(colour);
    m_current = colour;
    ShowComponents(colour);
}

void CColorSelectWnd::EnableSevenColour(bool enabled) {
    if (QWidget* check = FindControl(QStringLiteral("7color"))) {
        check->setEnabled(enabled);
        if (!enabled) {
            SetChecked(check, false);
        }
    }
    if (QWidget* group = FindControl(QStringLiteral("7color_layout"))) {
        group->setVisible(enabled);
    }
}

void CColorSelectWnd::SetSevenColourMode(bool on) {
    m_sevenColour = on;
    SetChecked(FindControl(QStringLiteral("7color")), on);
    toolkit::SetAttribute(FindControl(QStringLiteral("color_show_btn")), QStringLiteral("bkimage"),
                          on ? QLatin1String(kSevenColourImage) : QString());
}

void CColorSelectWnd::LoadSwatches() {
    pj::JsonDocument document = pj::ReadJsonDocument(UserFile());
    if (document.state != pj::JsonFileState::Ok || !document.value.isObject()) {
        // A damaged file is kept aside; the default copy takes its place.
        if (document.state != pj::JsonFileState::Missing) {
            pj::SetAsideDamagedFile(UserFile());
        }
        document.value = pj::ReadJsonFile(DefaultFile());
        if (!document.value.isNull()) {
            pj::WriteJsonFile(document.value, UserFile());
        }
    }
    SetColour(m_current);
    SetSevenColourMode(m_sevenColour);
    const Json::Value& info = pj::Member(document.value, "coloroptioninfo");
    if (const Json::Value& preset = pj::Member(info, "palletDialogcoloroption_selectitem");
        preset.isIntegral()) {
        m_presetIndex = pj::AsInt(preset);
    }
    const Json::Value& collected = pj::Member(info, "palletDialogcollectcoloroption");
    for (int i = 0; i < kSwatchCount; ++i) {
        QWidget* swatch = Swatch(kCollectPrefix, i);
        const Json::Value& entry = pj::Element(collected, static_cast<Json::ArrayIndex>(i));
        if (swatch == nullptr || !pj::Member(entry, "color").isString()) {
            continue;
        }
        const QString userData =
            QString::fromStdString(pj::AsString(pj::Member(entry, "UserData")));
        SetBackgroundColour(swatch, kEmptySwatch);
        SetUserData(swatch, userData);
        bool ok = false;
        const std::uint32_t stored =
            QString::fromStdString(pj::AsString(pj::Member(entry, "color"))).toUInt(&ok, 16);
        if (userData == QLatin1String("1") && ok) {
            SetBackgroundColour(swatch, stored);
        }
    }
    m_collectedIndex = -1;
    for (int i = 0; i < kSwatchCount; ++i) {
        SetChecked(Swatch(kCollectPrefix, i), false);
    }
}

void CColorSelectWnd::WritePresets() {
    Json::Value document = pj::ReadJsonFile(UserFile());
    Json::Value& info = Info(document);
    Json::Value& presets = pj::MutableMember(info, "palletDialogcoloroption");
    for (int i = 0; i < kSwatchCount; ++i) {
        pj::MutableMember(pj::MutableElement(presets, static_cast<Json::ArrayIndex>(i)), "color") =
            ColourText(BackgroundColour(Swatch(kPresetPrefix, i))).toStdString();
    }
    pj::MutableMember(info, "palletDialogcoloroption_selectitem") = m_presetIndex;
    pj::WriteJsonFile(document, UserFile());
}

void CColorSelectWnd::WriteCollected() {
    Json::Value document = pj::ReadJsonFile(UserFile());
    Json::Value& info = Info(document);
    Json::Value& collected = pj::MutableMember(info, "palletDialogcollectcoloroption");
    for (int i = 0; i < kSwatchCount; ++i) {
        const QWidget* swatch = Swatch(kCollectPrefix, i);
        Json::Value& entry = pj::MutableElement(collected, static_cast<Json::ArrayIndex>(i));
        pj::MutableMember(entry, "color") = ColourText(BackgroundColour(swatch)).toStdString();
        pj::MutableMember(entry, "UserData") =
            swatch != nullptr ? swatch->property("userdata").toString().toStdString() : "";
    }
    pj::MutableMember(info, "palletDialogcollectcoloroption_selectitem") = m_collectedIndex;
    pj::WriteJsonFile(document, UserFile());
}

void CColorSelectWnd::ApplyCurrentColour() {
    QWidget* collected = m_collectedIndex >= 0 ? Swatch(kCollectPrefix, m_collectedIndex) : nullptr;
    if (IsChecked(collected)) {
        // The selected user swatch collects the colour.
        SetBackgroundColour(collected, m_current);
        SetUserData(collected, QStringLiteral("1"));
        WriteCollected();
    }
    SetBackgroundColour(FindControl(QStringLiteral("color_show_btn")), m_current);
    SetSevenColourMode(false);
}

void CColorSelectWnd::OnPreset(int n) {
    m_presetIndex = n;
    WritePresets();
    m_current = BackgroundColour(Swatch(kPresetPrefix, n));
    SetPalette(m_current);
    ApplyCurrentColour();
    ShowComponents(m_current);
}

void CColorSelectWnd::OnCollected(int n) {
    m_collectedIndex = n;
    QWidget* swatch = Swatch(kCollectPrefix, n);
    if (swatch == nullptr || swatch->property("userdata").toString() != QLatin1String("1")) {
        return;
    }
    WriteCollected();
    const std::uint32_t colour = BackgroundColour(swatch);
    // The window's colour becomes the swatch's too, so what is shown is what is confirmed and
    // what the next edit starts from.
    m_current = colour;
    SetBackgroundColour(FindControl(QStringLiteral("color_show_btn")), colour);
    SetSevenColourMode(false);
    SetPalette(colour);
    ShowComponents(colour);
}

void CColorSelectWnd::OnEditLeft() {
    std::array<int, 3> components{};
    for (std::size_t c = 0; c < kEdits.size(); ++c) {
        auto* edit = FindControl<QLineEdit>(QLatin1String(kEdits[c]));
        if (edit == nullptr) {
            return;
        }
        const ColourComponentEdit parsed = ParseColourComponent(edit->text().toStdString());
        components[c] = parsed.value;
        const QSignalBlocker blocker(edit);
        edit->setText(QString::fromStdString(parsed.shown));
    }
    m_current = Compose(components[0], components[1], components[2]);
    SetPalette(m_current);
    ApplyCurrentColour();
}

void CColorSelectWnd::Notify(toolkit::TNotifyUI& msg) {
    const QString name = msg.SenderName();
    if (msg.sType == QLatin1String("windowinit")) {
        LoadSwatches();
        return;
    }
    if (msg.sType == QLatin1String("selectchanged")) {
        if (msg.wParam == 0) {
            return;
        }
        bool number = false;
        if (name.startsWith(QLatin1String(kPresetPrefix))) {
            const int n = name.mid(int(qstrlen(kPresetPrefix))).toInt(&number);
            if (number && n >= 0 && n < kSwatchCount) {
                OnPreset(n);
            }
        } else if (name.startsWith(QLatin1String(kCollectPrefix))) {
            const int n = name.mid(int(qstrlen(kCollectPrefix))).toInt(&number);
            if (number && n >= 0 && n < kSwatchCount) {
                OnCollected(n);
            }
        }
        return;
    }
    if (msg.sType == QLatin1String("click") && name == QLatin1String("7color")) {
        m_sevenColour = IsChecked(msg.pSender);
        toolkit::SetAttribute(FindControl(QStringLiteral("color_show_btn")),
                              QStringLiteral("bkimage"),
                              m_sevenColour ? QLatin1String(kSevenColourImage) : QString());
        return;
    }
    if (msg.sType == QLatin1String("colorchanged") && name == QLatin1String("Pallet")) {
        if (auto* palette = FindControl<CColorPaletteUI>(QStringLiteral("Pallet"))) {
            m_current = palette->GetColour();
            ApplyCurrentColour();
            ShowComponents(m_current);
        }
        return;
    }
    if (msg.sType == QLatin1String("killfocus") &&
        (name == QLatin1String(kEdits[0]) || name == QLatin1String(kEdits[1]) ||
         name == QLatin1String(kEdits[2]))) {
        OnEditLeft();
        return;
    }
    if (msg.sType != QLatin1String("click")) {
        return;
    }
    if (name == QLatin1String("okbtn")) {
        if (FindControl(QStringLiteral("Pallet")) == nullptr) {
            Close(2);
            return;
        }
        m_result = BackgroundColour(FindControl(QStringLiteral("color_show_btn")));
        Close(1);
    } else if (name == QLatin1String("closebtn") || name == QLatin1String("laterbtn")) {
        Close(0);
    } else {
        HandleCaptionButton(name);
    }
}

void UseColorSelectWndForColours() {
    toolkit::SetColourPicker([](QWidget* owner, const QColor& initial) -> std::optional<QColor> {
        const auto colour = CColorSelectWnd::PickColour(
            owner, initial.rgba() | 0xFF000000u, toolkit::ResourceManager::Instance().Dpi(), false);
        if (!colour) {
            return std::nullopt;
        }
        return QColor::fromRgba(*colour);
    });
}

} // namespace q407::editors
