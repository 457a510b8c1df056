#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace db {

// Rows with a current row: a query or an in-memory table copy. Grids show any row source; a
// detail query takes each of its parameters from its master source's same-named column and runs
// again whenever the master announces currentRowChanged().
class RowSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Index of the column with this name (letter case ignored), or -1.
    virtual int columnIndex(const QString& name) const = 0;
    // Value of a column in the current row; Null when there is no current row.
    virtual QVariant currentValue(int column) const = 0;

    // The rows as a grid shows them.
    virtual int rowCount() const = 0;
    virtual QVariant valueAt(int row, int column) const = 0;
    // Position of the current row among the rows, -1 when there is none.
    virtual int currentRow() const = 0;
    // Moves to a row; a pending edit is posted first (and may refuse with an error).
    virtual void setCurrentRow(int row) = 0;

Q_SIGNALS:
    // The current row moved, its values changed, or the source was opened or closed.
    void currentRowChanged();
    // Rows were loaded, added, removed, reordered or changed.
    void rowsChanged();
};

} // namespace db
