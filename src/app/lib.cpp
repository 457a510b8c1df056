#include "app/lib.h"

#include "app/app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

namespace app {

QString GetEnvironmentString(const QString& name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString GetSpecialFolder(int csidl)
{
    QStandardPaths::StandardLocation location;
    switch (csidl) {
    case kCsidlPersonal:
        location = QStandardPaths::DocumentsLocation;
        break;
    case 0:
        location = QStandardPaths::DesktopLocation;
        break;
    case 26:
        location = QStandardPaths::AppDataLocation;
        break;
    default:
        return {};
    }
    QString path = QStandardPaths::writableLocation(location);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString GetWorkFolder()
{
    const QString path = GetSpecialFolder(kCsidlPersonal) + QStringLiteral("/QZV2009/");
    if (!QDir(path).exists() && !QDir().mkpath(path))
        throw AppError(QStringLiteral("无法创建文件夹“%1”").arg(QDir::toNativeSeparators(path)));
    return QDir::toNativeSeparators(path);
}

QString MakeTempFileName(const QString& ext)
{
    QString folder = GetEnvironmentString(QStringLiteral("Temp"));
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QDir dir(folder);
    QString lastError;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const quint32 number = QRandomGenerator::global()->bounded(0x10000u, 0xFFFFFFFFu);
        const QString path = dir.absoluteFilePath(QStringLiteral("_%1.tmp").arg(QString::number(number, 16).toUpper()));
        if (!ext.isEmpty() && QFileInfo::exists(path + ext))
            continue;
        QFile file(path);
        // NewOnly creates the file exclusively: a name in use is never handed out.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            return QDir::toNativeSeparators(path + ext);
        }
        lastError = file.errorString();
        if (!dir.exists())
            break;
    }
    throw AppError(QStringLiteral("无法在“%1”中创建临时文件：%2").arg(QDir::toNativeSeparators(folder), lastError));
}

} // namespace app
