#include "db/statement.h"

#include "db/db_error.h"
#include "db/value.h"

#include <sqlcipher/sqlite3.h>

namespace db {

QString lastErrorText(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

namespace {

// Text length checks are constraints named after their columns (the only checks the schema has).
QString explainEngineError(const QString& message)
{
    static const QString checkFailed = QStringLiteral("CHECK constraint failed: ");
    if (!message.startsWith(checkFailed))
        return message;
    const QString column = message.mid(checkFailed.size());
    return QStringLiteral("字段“%1”的内容超过了允许的长度（%2）").arg(column, message);
}

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK)
        throw DbError(lastErrorText(db));
}

} // namespace

void bindVariant(sqlite3* db, sqlite3_stmt* stmt, int position, const QVariant& value)
{
    if (value.isNull() || !value.isValid()) {
        check(db, sqlite3_bind_null(stmt, position));
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        check(db, sqlite3_bind_int64(stmt, position, value.toLongLong()));
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        check(db, sqlite3_bind_double(stmt, position, value.toDouble()));
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        check(db, sqlite3_bind_blob64(stmt, position, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                      SQLITE_TRANSIENT));
        return;
    }
    default:
        break;
    }
    const QString text = value.typeId() == QMetaType::QDate ? dateToText(value.toDate()) : variantToText(value);
    const QByteArray utf8 = text.toUtf8();
    check(db, sqlite3_bind_text64(stmt, position, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                                  SQLITE_TRANSIENT, SQLITE_UTF8));
}

Statement::Statement(sqlite3* db, const QString& sql)
    : m_db(db)
    , m_sql(sql)
{
    if (!db)
        throw DbError(QStringLiteral("数据库连接没有打开"));
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    check(m_db, sqlite3_prepare_v2(m_db, utf8.constData(), static_cast<int>(utf8.size()), &m_stmt, &tail));
    if (!m_stmt)
        throw DbError(QStringLiteral("语句为空"));
    if (tail && QByteArray(tail).trimmed().size() > 0 && QByteArray(tail).trimmed() != ";") {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(QStringLiteral("一次只能执行一条语句：%1").arg(sql));
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

QStringList Statement::parameterNames() const
{
    QStringList names;
    const int count = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(m_stmt, i);
        names << (name ? QString::fromUtf8(name + 1) : QString());
    }
    return names;
}

void Statement::bind(const Params& params)
{
    const int count = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 1; i <= count; ++i) {
        const char* rawName = sqlite3_bind_parameter_name(m_stmt, i);
        if (!rawName)
            throw DbError(QStringLiteral("语句中有未命名的参数：%1").arg(m_sql));
        const QString name = QString::fromUtf8(rawName + 1);
        const auto it = params.constFind(name);
        if (it == params.constEnd())
            throw DbError(QStringLiteral("参数 :%1 没有赋值").arg(name));
        bindVariant(m_db, m_stmt, i, it.value());
    }
}

void Statement::bindValue(int position, const QVariant& value)
{
    bindVariant(m_db, m_stmt, position, value);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = lastErrorText(m_db);
    sqlite3_reset(m_stmt);
    throw DbError(explainEngineError(message));
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::columnDeclType(int column) const
{
    return QString::fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

QString Statement::columnTableName(int column) const
{
    return QString::fromUtf8(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::columnOriginName(int column) const
{
    return QString::fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

QVariant Statement::columnValue(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qint64>(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return QVariant();
    }
}

} // namespace db
