#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// Named parameter values, keyed by name without the leading colon.
using Params = QVariantMap;

// One prepared statement. Parameters are written ":name" in the text and always bound from
// `Params`; a statement whose parameter has no value is refused instead of reading Null.
class Statement
{
public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Names of the statement's parameters in order, without the colon.
    QStringList parameterNames() const;
    void bind(const Params& params);
    void bindValue(int position, const QVariant& value); // 1-based
    // Advances to the next row; false when done. Throws DbError on failure.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QString columnDeclType(int column) const;
    QString columnTableName(int column) const;
    QString columnOriginName(int column) const;
    QVariant columnValue(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

// Binds a value to a statement position, converting Qt types to the stored forms.
void bindVariant(sqlite3* db, sqlite3_stmt* stmt, int position, const QVariant& value);

QString lastErrorText(sqlite3* db);

} // namespace db
