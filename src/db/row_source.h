#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace db {

// Something with a current row whose columns can feed the parameters of a detail query:
// a query, or an in-memory table copy. A detail query takes each parameter from the master's
// same-named column and runs again whenever the master announces currentRowChanged().
class RowSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Index of the column with this name (letter case ignored), or -1.
    virtual int columnIndex(const QString& name) const = 0;
    // Value of a column in the current row; Null when there is no current row.
    virtual QVariant currentValue(int column) const = 0;

Q_SIGNALS:
    // The current row moved, its values changed, or the source was opened or closed.
    void currentRowChanged();
};

} // namespace db
