#include "app/PrivateFonts.h"

#include <QFile>
#include <QFontDatabase>

namespace q407::app {

bool CPrivateFont::Load(const QString& fontFolder, const QString& relativePath) {
    Unload();
    QFile file(fontFolder + QLatin1Char('/') + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    m_fontId = QFontDatabase::addApplicationFontFromData(file.readAll());
    return m_fontId >= 0;
}

void CPrivateFont::Unload() {
    if (m_fontId >= 0) {
        QFontDatabase::removeApplicationFont(m_fontId);
        m_fontId = -1;
    }
}

QStringList CPrivateFont::Families() const {
    return m_fontId >= 0 ? QFontDatabase::applicationFontFamilies(m_fontId) : QStringList();
}

int PrivateFonts::LoadAll(const QString& fontFolder) {
    int loaded = 0;
    for (std::size_t i = 0; i < kPrivateFontFiles.size(); ++i) {
        loaded += m_fonts[i].Load(fontFolder, QString::fromLatin1(kPrivateFontFiles[i])) ? 1 : 0;
    }
    return loaded;
}

void PrivateFonts::UnloadAll() {
    for (auto it = m_fonts.rbegin(); it != m_fonts.rend(); ++it) {
        it->Unload();
    }
}

} // namespace q407::app
