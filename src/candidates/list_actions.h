#pragma once

#include <QStringList>

namespace db {
class TableCopy;
}

namespace candidates {

// The four list actions of an editor tab over a list table ordered by 序号. A list changes one
// step at a time: every action needs the table browsing with no pending change.
class ListActions
{
public:
    explicit ListActions(db::TableCopy& table, int maxRecord = 10);

    void setMaxRecord(int maxRecord) { m_maxRecord = maxRecord; }
    int maxRecord() const { return m_maxRecord; }

    bool canAppend() const;
    bool canDelete() const;
    bool canMoveUp() const;
    bool canMoveDown() const;

    // Appends a row (the copy's insert rules give it its keys and number); a table with a
    // country column starts at the home country.
    void append();
    // Deletes the current row and numbers the rest 1..n in their order.
    void deleteCurrent();
    // Swaps the current row with its neighbour; the moved row stays current.
    void moveUp();
    void moveDown();

private:
    bool isIdle() const;
    QList<QVariant> keysInOrder() const;
    void renumber(const QList<QVariant>& keys);

    db::TableCopy& m_table;
    int m_maxRecord;
};

// Years offered by year lists: the current year down to 1949, newest first.
QStringList yearList(int currentYear);

// The year a month picker opens on for a stored month value ("2016.3", "至今" or empty).
int monthPickerYear(const QString& value);

// A month value: the year, a full stop and the month without a leading zero.
QString formatMonth(int year, int month);

inline const QString kUntilNow = QStringLiteral("至今");

} // namespace candidates
