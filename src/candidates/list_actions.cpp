#include "candidates/list_actions.h"

#include "db/table_copy.h"

namespace candidates {

namespace {

const QString kOrder = QStringLiteral("序号");
const QString kKey = QStringLiteral("ID");

} // namespace

ListActions::ListActions(db::TableCopy& table, int maxRecord)
    : m_table(table)
    , m_maxRecord(maxRecord)
{
}

bool ListActions::isIdle() const
{
    return m_table.isOpen() && !m_table.isEditing() && m_table.changeCount() == 0;
}

bool ListActions::canAppend() const
{
    return isIdle() && m_table.recordCount() < m_maxRecord;
}

bool ListActions::canDelete() const
{
    return isIdle() && m_table.recNo() >= 0;
}

bool ListActions::canMoveUp() const
{
    return isIdle() && m_table.recNo() >= 1;
}

bool ListActions::canMoveDown() const
{
    return isIdle() && m_table.recNo() >= 0 && m_table.recNo() < m_table.recordCount() - 1;
}

void ListActions::append()
{
    m_table.append();
    if (m_table.hasField(QStringLiteral("国家ID")))
        m_table.setValue(QStringLiteral("国家ID"), 1);
}

QList<QVariant> ListActions::keysInOrder() const
{
    QList<QVariant> keys;
    for (int row = 0; row < m_table.recordCount(); ++row)
        keys << m_table.rowValue(row, kKey);
    return keys;
}

// Gives the rows with these keys the numbers 1..n in this order, writing only what changes.
void ListActions::renumber(const QList<QVariant>& keys)
{
    for (int i = 0; i < keys.size(); ++i) {
        if (!m_table.locate(kKey, keys[i]))
            continue;
        if (m_table.value(kOrder).toLongLong() != i + 1) {
            m_table.setValue(kOrder, i + 1);
            m_table.post();
        }
    }
}

void ListActions::deleteCurrent()
{
    QList<QVariant> keys = keysInOrder();
    const QVariant removed = m_table.value(kKey);
    const int position = m_table.recNo();
    keys.removeAt(position);
    renumber(keys);
    if (m_table.locate(kKey, removed))
        m_table.deleteRow();
    if (!m_table.isEmpty())
        m_table.moveTo(std::min(position, m_table.recordCount() - 1));
}

void ListActions::moveUp()
{
    QList<QVariant> keys = keysInOrder();
    const int position = m_table.recNo();
    const QVariant moved = keys[position];
    keys.swapItemsAt(position, position - 1);
    renumber(keys);
    m_table.locate(kKey, moved);
}

void ListActions::moveDown()
{
    QList<QVariant> keys = keysInOrder();
    const int position = m_table.recNo();
    const QVariant moved = keys[position];
    keys.swapItemsAt(position, position + 1);
    renumber(keys);
    m_table.locate(kKey, moved);
}

QStringList yearList(int currentYear)
{
    QStringList years;
    for (int year = currentYear; year >= 1949; --year)
        years << QString::number(year);
    return years;
}

int monthPickerYear(const QString& value)
{
    if (value.isEmpty() || value == kUntilNow || value.size() <= 4)
        return 2000;
    bool ok = false;
    const int year = value.left(4).toInt(&ok);
    return ok ? year : 2000;
}

QString formatMonth(int year, int month)
{
    return QStringLiteral("%1.%2").arg(year).arg(month);
}

} // namespace candidates
