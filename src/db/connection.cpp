#include "db/connection.h"

#include "db/db_error.h"
#include "db/sql_functions.h"

#include <QFile>
#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

namespace db {

namespace {

const char* const kCopyTargetSchema = "copy_target";

sqlite3* openHandle(const ConnectionInfo& info, int flags)
{
    sqlite3* handle = nullptr;
    const QByteArray path = QFile::encodeName(info.filePath);
    const int rc = sqlite3_open_v2(path.constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = handle ? lastErrorText(handle) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(handle);
        throw DbError(QStringLiteral("无法打开数据库文件“%1”：%2").arg(info.filePath, message));
    }
    const QByteArray key = info.password.toUtf8();
    if (!key.isEmpty() && sqlite3_key(handle, key.constData(), static_cast<int>(key.size())) != SQLITE_OK) {
        sqlite3_close(handle);
        throw DbError(QStringLiteral("无法为数据库文件“%1”设置密码").arg(info.filePath));
    }
    return handle;
}

// Reading the schema is the first access that needs the key: a wrong password or a file that
// is not a database fails here.
void verifyReadable(sqlite3* handle, const QString& path, const char* schema = "main")
{
    char* error = nullptr;
    const QByteArray probe = QByteArray("SELECT count(*) FROM ") + schema + ".sqlite_master";
    const int rc = sqlite3_exec(handle, probe.constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString engineText = error ? QString::fromUtf8(error) : lastErrorText(handle);
        sqlite3_free(error);
        throw DbError(QStringLiteral("无法打开数据库“%1”：密码错误或不是有效的数据库文件（%2）").arg(path, engineText));
    }
}

} // namespace

QString quoteIdentifier(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

Connection::Connection(const ConnectionInfo& info)
    : m_info(info)
{
    const QFileInfo file(info.filePath);
    if (info.filePath.isEmpty() || !file.exists())
        throw DbError(QStringLiteral("数据库文件“%1”不存在").arg(info.filePath));
    if (!file.isFile())
        throw DbError(QStringLiteral("“%1”不是数据库文件").arg(info.filePath));
    if (file.size() == 0)
        throw DbError(QStringLiteral("无法打开数据库“%1”：文件是空的，不是有效的数据库文件").arg(info.filePath));
    m_db = openHandle(info, SQLITE_OPEN_READWRITE);
    try {
        verifyReadable(m_db, info.filePath);
        registerSqlFunctions(m_db);
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

Connection::~Connection()
{
    m_statements.clear();
    sqlite3_close_v2(m_db);
}

Statement& Connection::cachedStatement(const QString& sql)
{
    const auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd())
        return **it;
    if (m_statements.size() >= 64)
        m_statements.clear();
    auto statement = std::make_shared<Statement>(m_db, sql);
    m_statements.insert(sql, statement);
    return *statement;
}

void Connection::createDatabase(const ConnectionInfo& info)
{
    if (QFileInfo::exists(info.filePath))
        throw DbError(QStringLiteral("文件“%1”已经存在").arg(info.filePath));
    sqlite3* handle = openHandle(info, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // The file is written (and encrypted) on the first change.
    char* error = nullptr;
    const int rc = sqlite3_exec(handle, "PRAGMA user_version = 1", nullptr, nullptr, &error);
    const QString message = error ? QString::fromUtf8(error) : QString();
    sqlite3_free(error);
    sqlite3_close(handle);
    if (rc != SQLITE_OK) {
        QFile::remove(info.filePath);
        throw DbError(QStringLiteral("无法创建数据库文件“%1”：%2").arg(info.filePath, message));
    }
}

int Connection::execute(const QString& sql, const Params& params)
{
    Statement& statement = cachedStatement(sql);
    statement.bind(params);
    while (statement.step()) {
    }
    statement.reset();
    return sqlite3_changes(m_db);
}

void Connection::executeScript(const QString& sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : lastErrorText(m_db);
        sqlite3_free(error);
        throw DbError(message);
    }
}

QVariant Connection::scalar(const QString& sql, const Params& params)
{
    Statement& statement = cachedStatement(sql);
    statement.bind(params);
    const QVariant value = statement.step() ? statement.columnValue(0) : QVariant();
    statement.reset();
    return value;
}

qint64 Connection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

void Connection::beginTransaction()
{
    execute(QStringLiteral("BEGIN"));
}

void Connection::commit()
{
    execute(QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    if (inTransaction())
        execute(QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

QStringList Connection::columnNames(const QString& table)
{
    Statement statement(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table)));
    QStringList names;
    while (statement.step())
        names << statement.columnValue(1).toString();
    return names;
}

QString Connection::tableDefinition(const QString& table)
{
    const QVariant sql = scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name=:name"),
                                {{QStringLiteral("name"), table}});
    if (sql.isNull())
        throw DbError(QStringLiteral("数据表“%1”不存在").arg(table));
    return sql.toString();
}

void Connection::copyTableTo(const QString& table, const ConnectionInfo& target, const QString& where,
                             const Params& params)
{
    if (!QFileInfo(target.filePath).isFile())
        throw DbError(QStringLiteral("数据库文件“%1”不存在").arg(target.filePath));
    const QString definition = tableDefinition(table);
    const int bodyStart = definition.indexOf(QLatin1Char('('));
    if (bodyStart < 0)
        throw DbError(QStringLiteral("无法读取数据表“%1”的定义").arg(table));
    const QString schema = QString::fromLatin1(kCopyTargetSchema);
    const QString targetTable = schema + QLatin1Char('.') + quoteIdentifier(table);

    {
        Statement attach(m_db, QStringLiteral("ATTACH DATABASE ? AS %1 KEY ?").arg(schema));
        attach.bindValue(1, target.filePath);
        attach.bindValue(2, target.password);
        attach.step();
    }
    try {
        verifyReadable(m_db, target.filePath, kCopyTargetSchema); // a wrong password fails here, not halfway
        Transaction transaction(*this);
        execute(QStringLiteral("CREATE TABLE ") + targetTable + QLatin1Char(' ') + definition.mid(bodyStart));
        QString copy = QStringLiteral("INSERT INTO %1 SELECT * FROM main.%2").arg(targetTable, quoteIdentifier(table));
        if (!where.trimmed().isEmpty())
            copy += QStringLiteral(" WHERE ") + where;
        execute(copy, params);
        transaction.commit();
    } catch (...) {
        try {
            execute(QStringLiteral("DETACH DATABASE %1").arg(schema));
        } catch (const DbError&) {
        }
        throw;
    }
    execute(QStringLiteral("DETACH DATABASE %1").arg(schema));
}

Transaction::Transaction(Connection& connection)
    : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_connection.rollback();
    } catch (const DbError&) {
    }
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}

} // namespace db
