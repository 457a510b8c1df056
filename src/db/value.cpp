#include "db/value.h"

#include "db/db_error.h"

#include <QUuid>

namespace db {

QString dateTimeToText(const QDateTime& value)
{
    return value.toLocalTime().toString(QString::fromLatin1(kDateTimeFormat));
}

QString dateToText(const QDate& value)
{
    return dateTimeToText(QDateTime(value, QTime(0, 0)));
}

namespace {

// Reads `count` digits at `pos`; -1 when any is not a digit.
int digitsAt(QStringView text, qsizetype pos, int count)
{
    if (pos + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool charAt(QStringView text, qsizetype pos, char16_t expected)
{
    return pos < text.size() && text[pos].unicode() == expected;
}

} // namespace

// Hand-written for the few stored forms: dates are read for every row of every list.
QDateTime dateTimeFromText(const QString& text)
{
    const QStringView value = QStringView(text).trimmed();
    const int year = digitsAt(value, 0, 4);
    const int month = digitsAt(value, 5, 2);
    const int day = digitsAt(value, 8, 2);
    if (year < 0 || month < 0 || day < 0 || !charAt(value, 4, u'-') || !charAt(value, 7, u'-'))
        return {};
    const QDate date(year, month, day);
    if (!date.isValid())
        return {};
    if (value.size() == 10)
        return QDateTime(date, QTime(0, 0));

    const int hour = digitsAt(value, 11, 2);
    const int minute = digitsAt(value, 14, 2);
    if (!charAt(value, 10, u' ') || hour < 0 || minute < 0 || !charAt(value, 13, u':'))
        return {};
    int second = 0;
    int millisecond = 0;
    if (value.size() > 16) {
        second = digitsAt(value, 17, 2);
        if (!charAt(value, 16, u':') || second < 0)
            return {};
        if (value.size() > 19) {
            millisecond = digitsAt(value, 20, 3);
            if (!charAt(value, 19, u'.') || millisecond < 0 || value.size() != 23)
                return {};
        } else if (value.size() != 19) {
            return {};
        }
    } else if (value.size() != 16) {
        return {};
    }
    const QTime time(hour, minute, second, millisecond);
    if (!time.isValid())
        return {};
    return QDateTime(date, time);
}

QString newGuidText()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

QVariant storedColumnValue(const QVariant& value, const QString& declType)
{
    if (value.typeId() != QMetaType::QString || declType.compare(QLatin1String(kDateTimeDeclType), Qt::CaseInsensitive) != 0)
        return value;
    const QDateTime parsed = dateTimeFromText(value.toString());
    return parsed.isValid() ? QVariant(parsed) : value;
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
