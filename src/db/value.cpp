#include "db/value.h"

#include "db/db_error.h"

namespace db {

QString dateTimeToText(const QDateTime& value)
{
    return value.toLocalTime().toString(QString::fromLatin1(kDateTimeFormat));
}

QString dateToText(const QDate& value)
{
    return dateTimeToText(QDateTime(value, QTime(0, 0)));
}

QDateTime dateTimeFromText(const QString& text)
{
    static const char* const formats[] = {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm",
                                          "yyyy-MM-dd"};
    const QString trimmed = text.trimmed();
    for (const char* format : formats) {
        QDateTime parsed = QDateTime::fromString(trimmed, QString::fromLatin1(format));
        if (parsed.isValid())
            return parsed;
    }
    return {};
}

QString currentDateTimeText()
{
    return dateTimeToText(QDateTime::currentDateTime());
}

QString variantToText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::QDateTime)
        return dateTimeToText(value.toDateTime());
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

qint64 variantToInt(const QVariant& value, const QString& what)
{
    if (value.isNull() || !value.isValid())
        throw DbError(QStringLiteral("“%1”没有值，不能转换为整数").arg(what));
    bool ok = false;
    qint64 result = 0;
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return value.toLongLong();
    case QMetaType::Double: {
        const double d = value.toDouble();
        result = static_cast<qint64>(d);
        ok = static_cast<double>(result) == d;
        break;
    }
    default:
        result = value.toString().trimmed().toLongLong(&ok);
        break;
    }
    if (!ok)
        throw DbError(QStringLiteral("“%1”不是有效的整数：%2").arg(what, variantToText(value)));
    return result;
}

} // namespace db
