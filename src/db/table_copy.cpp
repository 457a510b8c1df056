#include "db/table_copy.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/value.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace db {

namespace {

int declaredLength(const QString& declType)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*TEXT\\s*\\(\\s*(\\d+)\\s*\\)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(declType);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool isMissing(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return true;
    return value.typeId() == QMetaType::QString && value.toString().isEmpty();
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool aNull = a.isNull() || !a.isValid();
    const bool bNull = b.isNull() || !b.isValid();
    if (aNull || bNull)
        return aNull == bNull;
    if (a.typeId() == QMetaType::QByteArray || b.typeId() == QMetaType::QByteArray)
        return a.toByteArray() == b.toByteArray();
    return variantToText(a) == variantToText(b);
}

} // namespace

TableCopy::TableCopy(Connection* connection, const QString& table, QObject* parent)
    : RowSource(parent)
    , m_connection(connection)
    , m_table(table)
{
}

TableCopy::~TableCopy() = default;

void TableCopy::setLoadSql(const QStringList& lines)
{
    m_loadSql = lines.join(QLatin1Char('\n'));
}

void TableCopy::setParam(const QString& name, const QVariant& value)
{
    m_params.insert(name, value);
}

void TableCopy::setKeyColumns(const QStringList& columns)
{
    m_keyColumns = columns;
}

void TableCopy::setOrderColumn(const QString& column)
{
    m_orderColumn = column;
}

void TableCopy::setReadOnlyColumns(const QStringList& columns)
{
    m_readOnly = QSet<QString>(columns.begin(), columns.end());
}

void TableCopy::setRequiredColumns(const QStringList& columns)
{
    m_required = columns;
}

void TableCopy::setStoreRequiredColumns(const QStringList& columns)
{
    m_storeRequired = columns;
}

void TableCopy::loadColumns()
{
    m_columns.clear();
    Statement info(m_connection->handle(), QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(m_table)));
    while (info.step()) {
        Column column;
        column.name = info.columnValue(1).toString();
        column.declType = info.columnValue(2).toString();
        column.maxLength = declaredLength(column.declType);
        column.lazy = column.declType.compare(QLatin1String("BLOB"), Qt::CaseInsensitive) == 0;
        column.readOnly = m_readOnly.contains(column.name);
        column.key = m_keyColumns.contains(column.name);
        m_columns.push_back(column);
    }
    if (m_columns.isEmpty())
        throw DbError(QStringLiteral("数据表“%1”不存在").arg(m_table));
    for (const QString& key : m_keyColumns) {
        if (fieldIndex(key) < 0)
            throw DbError(QStringLiteral("数据表“%1”没有关键字段“%2”").arg(m_table, key));
    }
}

// The load statement with "*" replaced by the columns read with the rows (long binaries left out).
QString TableCopy::selectSql() const
{
    static const QRegularExpression selectAll(QStringLiteral("^\\s*SELECT\\s+\\*"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = selectAll.match(m_loadSql);
    if (!match.hasMatch())
        throw DbError(QStringLiteral("表副本的读取语句必须以 SELECT * 开始：%1").arg(m_loadSql));
    QStringList columns;
    for (const Column& column : m_columns)
        columns << (column.lazy ? QStringLiteral("NULL") : quoteIdentifier(column.name));
    return QStringLiteral("SELECT ") + columns.join(QLatin1Char(',')) + m_loadSql.mid(match.capturedEnd());
}

std::vector<TableCopy::Row> TableCopy::loadRows() const
{
    Statement statement(m_connection->handle(), selectSql());
    statement.bind(m_params);
    std::vector<Row> rows;
    while (statement.step()) {
        Row row;
        row.values.resize(m_columns.size());
        row.fetched.fill(true, m_columns.size());
        row.changed.fill(false, m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i) {
            if (m_columns[i].lazy)
                row.fetched[i] = false;
            else
                row.values[i] = storedColumnValue(statement.columnValue(i), m_columns[i].declType);
        }
        row.keyValues = keyOf(row);
        rows.push_back(std::move(row));
    }
    return rows;
}

void TableCopy::open()
{
    if (!m_connection)
        throw DbError(QStringLiteral("表副本没有数据库连接"));
    loadColumns();
    m_rows = loadRows();
    m_deleted.clear();
    m_state = State::Browse;
    sortRows();
    announceCurrent(m_rows.empty() ? -1 : 0);
    Q_EMIT rowsChanged();
    Q_EMIT stateChanged();
}

void TableCopy::close()
{
    m_state = State::Inactive;
    m_rows.clear();
    m_deleted.clear();
    m_current = -1;
    m_eof = m_bof = true;
    Q_EMIT rowsChanged();
    Q_EMIT currentRowChanged();
    Q_EMIT stateChanged();
}

void TableCopy::refresh()
{
    checkOpen();
    if (isEditing() || changeCount() > 0)
        throw DbError(QStringLiteral("Must apply updates before refreshing data"));
    reloadKeepingCurrentRow();
}

// Reads the rows again and stays on the row with the same key (or the same position).
void TableCopy::reloadKeepingCurrentRow()
{
    const QVector<QVariant> key = m_current >= 0 ? m_rows[m_current].keyValues : QVector<QVariant>();
    m_rows = loadRows();
    m_deleted.clear();
    sortRows();
    int target = m_rows.empty() ? -1 : std::min(std::max(m_current, 0), recordCount() - 1);
    for (int i = 0; i < recordCount() && !key.isEmpty(); ++i) {
        if (m_rows[i].keyValues == key)
            target = i;
    }
    announceCurrent(target);
    Q_EMIT rowsChanged();
}

QStringList TableCopy::fieldNames() const
{
    QStringList names;
    for (const Column& column : m_columns)
        names << column.name;
    return names;
}

int TableCopy::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TableCopy::maxLength(const QString& column) const
{
    const int index = fieldIndex(column);
    return index < 0 ? 0 : m_columns[index].maxLength;
}

void TableCopy::checkOpen() const
{
    if (!isOpen())
        throw DbError(QStringLiteral("表副本“%1”没有打开").arg(m_table));
}

void TableCopy::checkBrowse()
{
    if (isEditing())
        post();
}

void TableCopy::setCurrent(int row)
{
    m_eof = m_bof = m_rows.empty();
    if (row == m_current)
        return;
    m_current = row;
    Q_EMIT currentRowChanged();
}

// After the rows changed the row at a position may be another one: always announce it.
void TableCopy::announceCurrent(int row)
{
    m_eof = m_bof = m_rows.empty();
    m_current = row;
    Q_EMIT currentRowChanged();
}

void TableCopy::first()
{
    checkOpen();
    checkBrowse();
    setCurrent(m_rows.empty() ? -1 : 0);
    m_bof = true;
}

void TableCopy::last()
{
    checkOpen();
    checkBrowse();
    setCurrent(recordCount() - 1);
    m_eof = true;
}

void TableCopy::next()
{
    checkOpen();
    checkBrowse();
    if (m_current + 1 < recordCount())
        setCurrent(m_current + 1);
    else
        m_eof = true;
    m_bof = false;
}

void TableCopy::prior()
{
    checkOpen();
    checkBrowse();
    if (m_current > 0)
        setCurrent(m_current - 1);
    else
        m_bof = true;
    m_eof = m_rows.empty();
}

void TableCopy::moveTo(int row)
{
    checkOpen();
    if (row == m_current)
        return;
    checkBrowse();
    if (row < 0 || row >= recordCount())
        throw DbError(QStringLiteral("记录位置超出范围"));
    setCurrent(row);
}

bool TableCopy::locate(const QString& column, const QVariant& value)
{
    checkOpen();
    checkBrowse();
    const int index = fieldIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(column));
    for (int i = 0; i < recordCount(); ++i) {
        if (sameValue(cellValue(m_rows[i], index), value)) {
            setCurrent(i);
            return true;
        }
    }
    return false;
}

void TableCopy::fetchLazy(Row& row, int column) const
{
    if (row.fetched[column])
        return;
    row.fetched[column] = true;
    if (row.status == RowStatus::Inserted)
        return;
    Statement statement(m_connection->handle(), QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                                    .arg(quoteIdentifier(m_columns[column].name),
                                                         quoteIdentifier(m_table), keyCondition()));
    statement.bind(keyParams(row.keyValues));
    row.values[column] = statement.step() ? statement.columnValue(0) : QVariant();
}

QVariant TableCopy::cellValue(const Row& row, int column) const
{
    if (!row.fetched[column])
        fetchLazy(const_cast<Row&>(row), column);
    return row.values[column];
}

QVariant TableCopy::value(int column) const
{
    if (column < 0 || column >= m_columns.size() || (!isEditing() && m_current < 0))
        return {};
    if (isEditing()) {
        // The row being edited shares its unfetched long binaries with the stored row.
        if (!m_buffer.fetched[column] && m_current >= 0) {
            const QVariant stored = cellValue(m_rows[m_current], column);
            const_cast<Row&>(m_buffer).values[column] = stored;
            const_cast<Row&>(m_buffer).fetched[column] = true;
        }
        return m_buffer.values[column];
    }
    return cellValue(m_rows[m_current], column);
}

QVariant TableCopy::value(const QString& column) const
{
    const int index = fieldIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(column));
    return value(index);
}

QString TableCopy::text(const QString& column) const
{
    return variantToText(value(column));
}

bool TableCopy::isNull(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() || !v.isValid();
}

QVariant TableCopy::rowValue(int row, const QString& column) const
{
    const int index = fieldIndex(column);
    if (index < 0 || row < 0 || row >= recordCount())
        return {};
    if (isEditing() && row == m_current)
        return value(index);
    return cellValue(m_rows[row], index);
}

QVariant TableCopy::valueAt(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_columns.size())
        return {};
    if (isEditing() && row == m_current)
        return value(column);
    return cellValue(m_rows[row], column);
}

bool TableCopy::isModified() const
{
    if (m_state == State::Insert)
        return true;
    return m_state == State::Edit && std::any_of(m_buffer.changed.begin(), m_buffer.changed.end(), [](bool c) { return c; });
}

void TableCopy::edit()
{
    checkOpen();
    if (isEditing())
        return;
    if (m_current < 0)
        throw DbError(QStringLiteral("没有可以编辑的记录"));
    m_buffer = m_rows[m_current];
    m_state = State::Edit;
    Q_EMIT stateChanged();
}

void TableCopy::append()
{
    checkOpen();
    checkBrowse();
    if (m_beforeInsert)
        m_beforeInsert(*this);
    Row row;
    row.values.resize(m_columns.size());
    row.fetched.fill(true, m_columns.size());
    row.changed.fill(false, m_columns.size());
    row.status = RowStatus::Inserted;
    m_rows.push_back(row);
    m_buffer = row;
    m_state = State::Insert;
    announceCurrent(recordCount() - 1);
    Q_EMIT rowsChanged();
    Q_EMIT stateChanged();
    if (m_afterInsert)
        m_afterInsert(*this);
}

void TableCopy::setValue(const QString& column, const QVariant& value)
{
    const int index = fieldIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("没有找到字段“%1”").arg(column));
    if (!isEditing()) {
        if (m_current < 0 && m_appendWhenEmpty)
            append();
        else
            edit();
    }
    if (m_columns[index].readOnly && m_state != State::Insert)
        throw DbError(QStringLiteral("Field '%1' cannot be modified").arg(m_columns[index].name));
    this->value(index); // bring in an unfetched long binary before it is compared
    if (sameValue(m_buffer.values[index], value))
        return;
    m_buffer.values[index] = value;
    m_buffer.changed[index] = true;
    Q_EMIT fieldChanged(m_columns[index].name);
    Q_EMIT currentRowChanged();
}

void TableCopy::checkRequired(const Row& row) const
{
    for (const QString& name : m_required) {
        const int index = fieldIndex(name);
        if (index >= 0 && isMissing(row.values[index]))
            throw DbError(QStringLiteral("Field '%1' must have a value").arg(m_columns[index].name));
    }
    for (const QString& name : m_storeRequired) {
        const int index = fieldIndex(name);
        if (index >= 0 && isMissing(row.values[index]))
            throw DbError(QStringLiteral("Field value required."));
    }
}

void TableCopy::post()
{
    if (!isEditing())
        return;
    if (m_beforePost)
        m_beforePost(*this);
    checkRequired(m_buffer);
    const bool anyChange = std::any_of(m_buffer.changed.begin(), m_buffer.changed.end(), [](bool c) { return c; });
    Row& stored = m_rows[m_current];
    if (m_state == State::Insert) {
        m_buffer.status = RowStatus::Inserted;
        stored = m_buffer;
    } else if (anyChange) {
        // The log entry follows the stored row: an applied insert is updated from now on.
        m_buffer.status = stored.status == RowStatus::Unmodified ? RowStatus::Modified : stored.status;
        m_buffer.keyValues = stored.keyValues;
        stored = m_buffer;
    } else {
        stored.fetched = m_buffer.fetched;
        stored.values = m_buffer.values;
    }
    m_state = State::Browse;
    m_buffer = Row();
    sortRows();
    Q_EMIT rowsChanged();
    Q_EMIT stateChanged();
}

void TableCopy::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = m_state == State::Insert;
    m_state = State::Browse;
    m_buffer = Row();
    if (inserting) {
        m_rows.erase(m_rows.begin() + m_current);
        announceCurrent(m_rows.empty() ? -1 : recordCount() - 1);
    } else {
        Q_EMIT currentRowChanged();
    }
    Q_EMIT rowsChanged();
    Q_EMIT stateChanged();
}

void TableCopy::deleteRow()
{
    checkOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    checkBrowse();
    if (m_current < 0)
        throw DbError(QStringLiteral("没有可以删除的记录"));
    if (m_rows[m_current].status != RowStatus::Inserted)
        m_deleted.push_back(m_rows[m_current]);
    m_rows.erase(m_rows.begin() + m_current);
    const int target = m_rows.empty() ? -1 : std::min(m_current, recordCount() - 1);
    announceCurrent(target);
    Q_EMIT rowsChanged();
}

// Stable, so that rows with equal numbers keep their order.
void TableCopy::sortRows()
{
    const int order = m_orderColumn.isEmpty() ? -1 : fieldIndex(m_orderColumn);
    if (order < 0 || m_rows.size() < 2)
        return;
    std::vector<int> indexes(m_rows.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    auto number = [&](int row) {
        const QVariant v = m_rows[row].values[order];
        return v.isNull() ? std::numeric_limits<qint64>::max() : v.toLongLong();
    };
    std::stable_sort(indexes.begin(), indexes.end(), [&](int a, int b) { return number(a) < number(b); });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    int current = m_current;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (indexes[i] == m_current)
            current = static_cast<int>(i);
        sorted.push_back(std::move(m_rows[indexes[i]]));
    }
    m_rows = std::move(sorted);
    if (current != m_current) {
        m_current = current;
        Q_EMIT currentRowChanged();
    }
}

bool TableCopy::isLogged(int row) const
{
    // The row being inserted joins the log when it is posted.
    return m_rows[row].status != RowStatus::Unmodified && !(m_state == State::Insert && row == m_current);
}

int TableCopy::changeCount() const
{
    int logged = 0;
    for (int row = 0; row < recordCount(); ++row)
        logged += isLogged(row) ? 1 : 0;
    return logged + static_cast<int>(m_deleted.size());
}

QVector<QVariant> TableCopy::keyOf(const Row& row) const
{
    QVector<QVariant> key;
    for (const QString& name : m_keyColumns)
        key << row.values[fieldIndex(name)];
    return key;
}

QString TableCopy::keyCondition() const
{
    QStringList parts;
    for (int i = 0; i < m_keyColumns.size(); ++i)
        parts << QStringLiteral("%1=:key%2").arg(quoteIdentifier(m_keyColumns[i])).arg(i);
    return parts.join(QStringLiteral(" AND "));
}

Params TableCopy::keyParams(const QVector<QVariant>& keyValues) const
{
    Params params;
    for (int i = 0; i < keyValues.size(); ++i)
        params.insert(QStringLiteral("key%1").arg(i), keyValues[i]);
    return params;
}

void TableCopy::writeDelete(const Row& row)
{
    const int changed = m_connection->execute(
        QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoteIdentifier(m_table), keyCondition()), keyParams(row.keyValues));
    if (changed != 1)
        throw DbError(QStringLiteral("要删除的记录在“%1”中已不存在").arg(m_table));
}

void TableCopy::writeUpdate(const Row& row)
{
    QStringList assignments;
    Params params = keyParams(row.keyValues);
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!row.changed[i] || m_columns[i].readOnly)
            continue;
        assignments << QStringLiteral("%1=:v%2").arg(quoteIdentifier(m_columns[i].name)).arg(i);
        params.insert(QStringLiteral("v%1").arg(i), row.values[i]);
    }
    if (assignments.isEmpty())
        return;
    const int changed = m_connection->execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                                  .arg(quoteIdentifier(m_table), assignments.join(QLatin1Char(',')),
                                                       keyCondition()),
                                              params);
    if (changed != 1)
        throw DbError(QStringLiteral("要保存的记录在“%1”中已不存在").arg(m_table));
}

void TableCopy::writeInsert(Row& row)
{
    QStringList columns;
    QStringList marks;
    Params params;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].readOnly || row.values[i].isNull() || !row.values[i].isValid())
            continue;
        columns << quoteIdentifier(m_columns[i].name);
        marks << QStringLiteral(":v%1").arg(i);
        params.insert(QStringLiteral("v%1").arg(i), row.values[i]);
    }
    const QString table = quoteIdentifier(m_table);
    if (columns.isEmpty())
        m_connection->execute(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
    else
        m_connection->execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                              params);
    if (m_keyColumns.size() == 1) {
        const int key = fieldIndex(m_keyColumns.front());
        if (row.values[key].isNull())
            row.values[key] = m_connection->lastInsertId();
    }
}

// Writes the logged rows; a row still being edited or inserted is left as it is.
void TableCopy::applyUpdates()
{
    checkOpen();
    if (changeCount() == 0)
        return;
    std::vector<Row> written = m_rows; // keys of new rows land here until the commit succeeded
    Transaction transaction(*m_connection);
    for (const Row& row : m_deleted)
        writeDelete(row);
    for (int i = 0; i < recordCount(); ++i) {
        if (!isLogged(i))
            continue;
        if (written[i].status == RowStatus::Modified)
            writeUpdate(written[i]);
        else
            writeInsert(written[i]);
    }
    transaction.commit();

    for (int i = 0; i < recordCount(); ++i) {
        if (!isLogged(i))
            continue;
        Row& row = written[i];
        row.status = RowStatus::Unmodified;
        row.changed.fill(false);
        row.keyValues = keyOf(row);
    }
    m_rows = std::move(written);
    m_deleted.clear();
    Q_EMIT rowsChanged();
}

void TableCopy::cancelUpdates()
{
    checkOpen();
    const bool wasEditing = isEditing();
    cancel();
    if (changeCount() == 0 && !wasEditing)
        return;
    // The log holds whole rows: reading the table again is the faithful way back.
    reloadKeepingCurrentRow();
}

} // namespace db
