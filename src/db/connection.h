#pragma once

#include "db/statement.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3;

namespace db {

// Where a database lives and the password that opens it. A connection can be read back as this
// pair so that a second connection to the same file can be opened.
struct ConnectionInfo
{
    QString filePath;
    QString password;
};

// One open, password-protected database file. Opening never creates a file: a missing file, a
// file that is not a database and a wrong password all fail with a DbError.
class Connection
{
public:
    explicit Connection(const ConnectionInfo& info);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Creates a new, empty database file protected by the password; fails if the file exists.
    static void createDatabase(const ConnectionInfo& info);

    const ConnectionInfo& info() const { return m_info; }
    sqlite3* handle() const { return m_db; }

    // Runs one statement that returns no rows; returns the number of rows it changed.
    int execute(const QString& sql, const Params& params = {});
    // Runs several statements separated by ";" that take no parameters (schema scripts).
    void executeScript(const QString& sql);
    // The first column of the first row, or Null when there is no row.
    QVariant scalar(const QString& sql, const Params& params = {});
    qint64 lastInsertId() const;

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    QStringList columnNames(const QString& table);
    // The CREATE TABLE statement of a table as stored in the database.
    QString tableDefinition(const QString& table);

    // Creates `table` in the database file `target` with this table's own definition (types,
    // defaults, checks, keys), then copies the rows chosen by `where` in column order. The target
    // file must exist; the table must not exist there yet.
    void copyTableTo(const QString& table, const ConnectionInfo& target, const QString& where = {},
                     const Params& params = {});

private:
    // Statements run through execute() and scalar() are prepared once and kept.
    Statement& cachedStatement(const QString& sql);

    ConnectionInfo m_info;
    sqlite3* m_db = nullptr;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
};

// Runs a block in a transaction: commits when the block ends normally, rolls back when an
// exception leaves it.
class Transaction
{
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

// Quotes an identifier (table or column name) for SQL text; values are never quoted, they are bound.
QString quoteIdentifier(const QString& name);

} // namespace db
