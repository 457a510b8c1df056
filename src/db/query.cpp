#include "db/query.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/value.h"

#include <QRegularExpression>

namespace db {

namespace {

const QString kRowidColumn = QStringLiteral("__rowid__");

} // namespace

QVariant Record::value(const QString& column) const
{
    const int index = m_query.fieldIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(column));
    return m_query.rowValue(m_row, index);
}

QVariant Record::value(int column) const
{
    return m_query.rowValue(m_row, column);
}

QString Field::name() const
{
    return m_query->fieldNames().value(m_column);
}

QVariant Field::value() const
{
    return m_query->currentValue(m_column);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return v.isNull() || !v.isValid();
}

QString Field::asString() const
{
    return variantToText(value());
}

qint64 Field::asInteger() const
{
    return variantToInt(value(), name());
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (v.typeId() == QMetaType::QString)
        return dateTimeFromText(v.toString());
    return {};
}

void Field::setValue(const QVariant& value) const
{
    m_query->setValue(m_column, value);
}

Query::Query(Connection* connection, QObject* parent)
    : RowSource(parent)
    , m_connection(connection)
{
}

Query::~Query() = default;

void Query::setConnection(Connection* connection)
{
    if (isOpen())
        close();
    m_connection = connection;
}

void Query::setSql(const QString& sql)
{
    if (isOpen())
        close();
    m_sql = sql;
}

void Query::setSqlLines(const QStringList& lines)
{
    setSql(lines.join(QLatin1Char('\n')));
}

void Query::setCursorKind(CursorKind kind)
{
    if (isOpen())
        close();
    m_kind = kind;
}

void Query::setUpdateTable(const QString& table)
{
    m_updateTable = table;
}

void Query::setParam(const QString& name, const QVariant& value)
{
    m_params.insert(name, value);
}

void Query::clearParams()
{
    m_params.clear();
}

void Query::setMaster(RowSource* master)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    if (m_master)
        connect(m_master, &RowSource::currentRowChanged, this, &Query::onMasterChanged);
}

void Query::onMasterChanged()
{
    if (isOpen()) {
        if (m_state != State::Browse)
            cancel();
        open();
    }
}

void Query::setFilter(RowFilter filter)
{
    m_filter = std::move(filter);
    if (isOpen()) {
        checkBrowseMode();
        rebuildVisible();
        Q_EMIT rowsChanged();
        setPosition(m_visible.empty() ? -1 : 0);
    }
}

void Query::clearFilter()
{
    setFilter({});
}

void Query::addLookupField(const QString& name, const QString& keyColumn, LookupResolver resolve)
{
    m_lookups.push_back({name, keyColumn, std::move(resolve)});
}

Params Query::effectiveParams(const Statement& statement) const
{
    Params result;
    for (const QString& name : statement.parameterNames()) {
        const int masterColumn = m_master ? m_master->columnIndex(name) : -1;
        if (masterColumn >= 0)
            result.insert(name, m_master->currentValue(masterColumn));
        else if (m_params.contains(name))
            result.insert(name, m_params.value(name));
    }
    return result;
}

QString Query::detectUpdateTable(const Statement& statement) const
{
    if (!m_updateTable.isEmpty())
        return m_updateTable;
    QString table;
    for (int i = 0; i < statement.columnCount(); ++i) {
        const QString columnTable = statement.columnTableName(i);
        if (columnTable.isEmpty())
            continue;
        if (!table.isEmpty() && table != columnTable)
            throw DbError(QStringLiteral("可编辑的查询只能读取一个数据表：%1").arg(m_sql));
        table = columnTable;
    }
    if (table.isEmpty())
        throw DbError(QStringLiteral("无法确定查询要修改的数据表：%1").arg(m_sql));
    return table;
}

// An editable query reads the row id of its table in a hidden first column.
QString Query::editableSql() const
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = select.match(m_sql);
    if (!match.hasMatch())
        throw DbError(QStringLiteral("可编辑的查询必须是 SELECT 语句：%1").arg(m_sql));
    return match.captured(0) + quoteIdentifier(m_detectedTable) + QStringLiteral(".rowid AS ")
        + quoteIdentifier(kRowidColumn) + QStringLiteral(", ") + m_sql.mid(match.capturedEnd());
}

void Query::open()
{
    if (!m_connection)
        throw DbError(QStringLiteral("查询没有数据库连接"));
    if (isOpen())
        close();

    std::unique_ptr<Statement> statement = std::make_unique<Statement>(m_connection->handle(), m_sql);
    int skip = 0;
    if (m_kind == CursorKind::Editable) {
        m_detectedTable = detectUpdateTable(*statement);
        statement = std::make_unique<Statement>(m_connection->handle(), editableSql());
        skip = 1;
    }
    statement->bind(effectiveParams(*statement));

    m_columns.clear();
    m_columnByName.clear();
    for (int i = skip; i < statement->columnCount(); ++i) {
        Column column;
        column.name = statement->columnName(i);
        column.declType = statement->columnDeclType(i);
        column.table = statement->columnTableName(i);
        column.origin = statement->columnOriginName(i);
        m_columns.push_back(column);
    }
    for (const LookupDefinition& lookup : m_lookups) {
        Column column;
        column.name = lookup.name;
        column.resolve = lookup.resolve;
        m_columns.push_back(column);
    }
    for (int i = m_columns.size() - 1; i >= 0; --i)
        m_columnByName.insert(m_columns[i].name.toLower(), i); // the first column of a name wins
    const int firstLookup = m_columns.size() - static_cast<int>(m_lookups.size());
    for (std::size_t i = 0; i < m_lookups.size(); ++i) {
        Column& column = m_columns[firstLookup + static_cast<int>(i)];
        column.lookupKey = m_columnByName.value(m_lookups[i].keyColumn.toLower(), -1);
        if (column.lookupKey < 0 || column.lookupKey >= firstLookup)
            throw DbError(QStringLiteral("查找字段“%1”的关键字段“%2”不存在").arg(m_lookups[i].name, m_lookups[i].keyColumn));
    }

    readRows(*statement, skip);
    m_state = State::Browse;
    rebuildVisible();
    Q_EMIT rowsChanged();
    setPosition(m_visible.empty() ? -1 : 0);
}

void Query::readRows(Statement& statement, int skipColumns)
{
    m_rows.clear();
    const int stored = statement.columnCount() - skipColumns;
    while (statement.step()) {
        Row row;
        row.values.resize(stored);
        for (int i = 0; i < stored; ++i)
            row.values[i] = storedColumnValue(statement.columnValue(i + skipColumns), m_columns[i].declType);
        row.rowid = skipColumns ? statement.columnValue(0).toLongLong() : 0;
        row.bookmark = m_nextBookmark++;
        m_rows.push_back(std::move(row));
    }
}

void Query::close()
{
    if (m_state == State::Inactive)
        return;
    m_state = State::Inactive;
    m_rows.clear();
    m_visible.clear();
    m_columns.clear();
    m_columnByName.clear();
    m_buffer.clear();
    m_changed.clear();
    m_position = -1;
    m_eof = m_bof = true;
    Q_EMIT rowsChanged();
    Q_EMIT currentRowChanged();
}

void Query::refresh()
{
    checkOpen();
    checkBrowseMode();
    const int position = m_position;
    qint64 rowid = 0;
    Bookmark mark = 0;
    if (position >= 0) {
        rowid = m_rows[m_visible[position]].rowid;
        mark = m_rows[m_visible[position]].bookmark;
    }
    QSignalBlocker blocker(this);
    open();
    if (m_kind == CursorKind::Editable && rowid != 0) {
        for (std::size_t i = 0; i < m_visible.size(); ++i) {
            if (m_rows[m_visible[i]].rowid == rowid) {
                m_rows[m_visible[i]].bookmark = mark;
                setPosition(static_cast<int>(i));
                break;
            }
        }
    } else if (position >= 0 && !m_visible.empty()) {
        setPosition(std::min(position, recordCount() - 1));
    }
    blocker.unblock();
    Q_EMIT rowsChanged();
    Q_EMIT currentRowChanged();
}

void Query::rebuildVisible()
{
    m_visible.clear();
    m_visible.reserve(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_filter || m_filter(Record(*this, static_cast<int>(i))))
            m_visible.push_back(static_cast<int>(i));
    }
}

void Query::setPosition(int position)
{
    m_position = position;
    m_eof = m_bof = m_visible.empty();
    Q_EMIT currentRowChanged();
}

void Query::checkOpen() const
{
    if (!isOpen())
        throw DbError(QStringLiteral("查询没有打开"));
}

void Query::checkBrowseMode()
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Query::first()
{
    checkOpen();
    checkBrowseMode();
    setPosition(m_visible.empty() ? -1 : 0);
    m_bof = true;
}

void Query::last()
{
    checkOpen();
    checkBrowseMode();
    setPosition(recordCount() - 1);
    m_eof = true;
}

void Query::next()
{
    checkOpen();
    checkBrowseMode();
    if (m_position + 1 < recordCount()) {
        setPosition(m_position + 1);
    } else {
        m_eof = true;
    }
    m_bof = false;
}

void Query::prior()
{
    checkOpen();
    checkBrowseMode();
    if (m_position > 0) {
        setPosition(m_position - 1);
    } else {
        m_bof = true;
    }
    m_eof = m_visible.empty();
}

void Query::moveTo(int position)
{
    checkOpen();
    checkBrowseMode();
    if (position < 0 || position >= recordCount())
        throw DbError(QStringLiteral("记录位置超出范围"));
    setPosition(position);
}

QStringList Query::fieldNames() const
{
    QStringList names;
    for (const Column& column : m_columns)
        names << column.name;
    return names;
}

int Query::fieldIndex(const QString& name) const
{
    return m_columnByName.value(name.toLower(), -1);
}

Field Query::field(const QString& name)
{
    checkOpen();
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(name));
    return Field(this, index);
}

Field Query::field(int column)
{
    checkOpen();
    if (column < 0 || column >= m_columns.size())
        throw DbError(QStringLiteral("字段序号 %1 超出范围").arg(column));
    return Field(this, column);
}

QVariant Query::value(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(name));
    return currentValue(index);
}

QString Query::columnDeclType(int column) const
{
    return m_columns.value(column).declType;
}

QVariant Query::rowValue(int row, int column) const
{
    const Column& definition = m_columns[column];
    if (definition.lookupKey >= 0)
        return definition.resolve(rowValue(row, definition.lookupKey));
    return m_rows[row].values.value(column);
}

QVariant Query::currentValue(int column) const
{
    if (column < 0 || column >= m_columns.size())
        return {};
    if (m_state == State::Edit || m_state == State::Insert) {
        const Column& definition = m_columns[column];
        if (definition.lookupKey >= 0)
            return definition.resolve(m_buffer.value(definition.lookupKey));
        return m_buffer.value(column);
    }
    if (m_position < 0)
        return {};
    return rowValue(m_visible[m_position], column);
}

bool Query::locate(const QString& column, const QVariant& value, Match match)
{
    checkOpen();
    checkBrowseMode();
    const int index = fieldIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(column));
    const bool wantNull = value.isNull() || !value.isValid();
    const QString wanted = variantToText(value);
    const Qt::CaseSensitivity sensitivity = match == Match::Exact ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (std::size_t i = 0; i < m_visible.size(); ++i) {
        const QVariant candidate = rowValue(m_visible[i], index);
        const bool isNull = candidate.isNull() || !candidate.isValid();
        const bool equal = wantNull ? isNull : !isNull && variantToText(candidate).compare(wanted, sensitivity) == 0;
        if (equal) {
            setPosition(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void Query::requireEditable() const
{
    checkOpen();
    if (m_kind != CursorKind::Editable)
        throw DbError(QStringLiteral("查询是只读的，不能修改"));
}

void Query::append()
{
    requireEditable();
    checkBrowseMode();
    m_buffer = QVector<QVariant>(m_columns.size());
    m_changed = QVector<bool>(m_columns.size(), false);
    m_state = State::Insert;
    Q_EMIT currentRowChanged();
}

void Query::edit()
{
    requireEditable();
    if (m_state != State::Browse)
        return;
    if (m_position < 0)
        throw DbError(QStringLiteral("没有可以编辑的记录"));
    m_buffer = m_rows[m_visible[m_position]].values;
    m_changed = QVector<bool>(m_columns.size(), false);
    m_state = State::Edit;
}

void Query::setValue(const QString& column, const QVariant& value)
{
    const int index = fieldIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(column));
    setValue(index, value);
}

void Query::setValue(int column, const QVariant& value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("数据集不在编辑或插入状态"));
    if (m_columns[column].lookupKey >= 0)
        throw DbError(QStringLiteral("字段“%1”是查找字段，不能修改").arg(m_columns[column].name));
    m_buffer[column] = value;
    m_changed[column] = true;
    Q_EMIT currentRowChanged();
}

qint64 Query::writeRow(const QVector<QVariant>& values, const QVector<bool>& changed, qint64 rowid)
{
    QStringList columns;
    QVector<QVariant> bound;
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns[i];
        if (!changed[i] || column.table != m_detectedTable || column.origin.isEmpty())
            continue;
        columns << quoteIdentifier(column.origin);
        bound << values[i];
    }
    const QString table = quoteIdentifier(m_detectedTable);
    sqlite3* handle = m_connection->handle();
    if (rowid == 0) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(QLatin1Char(',')),
                                                                       marks.join(QLatin1Char(',')));
        }
        Statement statement(handle, sql);
        for (int i = 0; i < bound.size(); ++i)
            statement.bindValue(i + 1, bound[i]);
        statement.step();
        return m_connection->lastInsertId();
    }
    if (columns.isEmpty())
        return rowid;
    QStringList assignments;
    for (const QString& column : columns)
        assignments << column + QStringLiteral("=?");
    Statement statement(handle, QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table, assignments.join(QLatin1Char(','))));
    for (int i = 0; i < bound.size(); ++i)
        statement.bindValue(i + 1, bound[i]);
    statement.bindValue(bound.size() + 1, rowid);
    statement.step();
    if (m_connection->scalar(QStringLiteral("SELECT changes()")).toLongLong() != 1)
        throw DbError(QStringLiteral("要修改的记录已不存在"));
    return rowid;
}

void Query::rereadRow(Row& row)
{
    Statement statement(m_connection->handle(),
                        QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(quoteIdentifier(m_detectedTable)));
    statement.bindValue(1, row.rowid);
    if (!statement.step())
        return;
    QHash<QString, QVariant> stored;
    for (int i = 0; i < statement.columnCount(); ++i)
        stored.insert(statement.columnName(i), statement.columnValue(i));
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns[i];
        if (column.table == m_detectedTable && stored.contains(column.origin))
            row.values[i] = storedColumnValue(stored.value(column.origin), column.declType);
    }
}

void Query::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    const bool inserting = m_state == State::Insert;
    const qint64 currentRowid = inserting ? 0 : m_rows[m_visible[m_position]].rowid;
    const qint64 rowid = writeRow(m_buffer, m_changed, currentRowid);

    Row row;
    row.values = m_buffer;
    row.values.resize(m_columns.size() - static_cast<int>(m_lookups.size()));
    row.rowid = rowid;
    rereadRow(row);
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    if (inserting) {
        row.bookmark = m_nextBookmark++;
        m_rows.push_back(std::move(row));
        rebuildVisible();
        Q_EMIT rowsChanged();
        int position = recordCount() - 1;
        for (std::size_t i = 0; i < m_visible.size(); ++i) {
            if (m_visible[i] == static_cast<int>(m_rows.size()) - 1)
                position = static_cast<int>(i);
        }
        setPosition(position);
    } else {
        Row& target = m_rows[m_visible[m_position]];
        row.bookmark = target.bookmark;
        target = std::move(row);
        Q_EMIT rowsChanged();
        Q_EMIT currentRowChanged();
    }
}

void Query::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    Q_EMIT currentRowChanged();
}

void Query::deleteRow()
{
    requireEditable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    m_state = State::Browse;
    if (m_position < 0)
        throw DbError(QStringLiteral("没有可以删除的记录"));
    const int stored = m_visible[m_position];
    Statement statement(m_connection->handle(),
                        QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(quoteIdentifier(m_detectedTable)));
    statement.bindValue(1, m_rows[stored].rowid);
    statement.step();
    m_rows.erase(m_rows.begin() + stored);
    const int position = m_position;
    rebuildVisible();
    Q_EMIT rowsChanged();
    setPosition(m_visible.empty() ? -1 : std::min(position, recordCount() - 1));
}

Bookmark Query::bookmark() const
{
    if (!isOpen() || m_position < 0)
        return 0;
    return m_rows[m_visible[m_position]].bookmark;
}

bool Query::gotoBookmark(Bookmark bookmark)
{
    checkOpen();
    checkBrowseMode();
    for (std::size_t i = 0; i < m_visible.size(); ++i) {
        if (m_rows[m_visible[i]].bookmark == bookmark) {
            setPosition(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

} // namespace db
