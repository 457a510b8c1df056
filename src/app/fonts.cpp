#include "app/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace app {

namespace {

const QString kNewSongTi = QStringLiteral("新宋体");
const QString kSongTi = QStringLiteral("宋体");

QFont pixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

// The first installed serif face that covers simplified Chinese.
QString installedChineseSerif()
{
    const QStringList families = QFontDatabase::families();
    for (const QString& preferred : {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")}) {
        if (families.contains(preferred))
            return preferred;
    }
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
        return family;
    return {};
}

} // namespace

void InstallFontSubstitutions()
{
    const QString chinese = installedChineseSerif();
    if (!chinese.isEmpty()) {
        QFont::insertSubstitution(kNewSongTi, chinese);
        QFont::insertSubstitution(kSongTi, chinese);
    }
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

QFont WindowFont()
{
    return pixelFont(kNewSongTi, 16);
}

QFont NavigationFont()
{
    return pixelFont(kSongTi, 14);
}

QFont LabelFont()
{
    return pixelFont(kSongTi, 12);
}

} // namespace app
