#pragma once

#include <QDateTime>
#include <QVariant>

namespace db {

// Dates and times are stored as local-time text in this form; columns holding them are declared
// DATETEXT so that SQLite keeps them as text.
inline constexpr const char* kDateTimeFormat = "yyyy-MM-dd HH:mm:ss.zzz";
inline constexpr const char* kDateTimeDeclType = "DATETEXT";

QString dateTimeToText(const QDateTime& value);
QString dateToText(const QDate& value);
// Accepts the stored form and its shorter variants ("yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd").
// Returns an invalid QDateTime for anything else.
QDateTime dateTimeFromText(const QString& text);

// A new GUID in its 38-character braced upper-case text form.
QString newGuidText();

// A value as read from a column declared `declType`: text of a DATETEXT column becomes a
// QDateTime when it is a stored date; everything else stays as it is.
QVariant storedColumnValue(const QVariant& value, const QString& declType);

// Converts a value read from a column to text the way the pages show it: Null reads as empty.
QString variantToText(const QVariant& value);

// Checked conversion of a value to an integer; throws DbError naming `what` when the value
// is Null or not a whole number.
qint64 variantToInt(const QVariant& value, const QString& what);

} // namespace db
