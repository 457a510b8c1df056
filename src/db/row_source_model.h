#pragma once

#include "db/row_source.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

#include <functional>

class QTableView;

namespace db {

// A grid column: the field it shows, its title and its width in characters (0: as wide as needed).
struct GridColumn
{
    QString field;
    QString title;
    int widthChars = 0;
};

// A read-only table model over a row source (query or table copy). Titles default to the field
// names; dates show as yyyy-MM-dd (with the time when it is not midnight).
class RowSourceModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    RowSourceModel(RowSource* source, QVector<GridColumn> columns, QObject* parent = nullptr);

    RowSource* source() const { return m_source; }
    const QVector<GridColumn>& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text a cell shows.
    static QString displayText(const QVariant& value);

private:
    void resolveColumns();

    QPointer<RowSource> m_source;
    QVector<GridColumn> m_columns;
    QVector<int> m_sourceColumns; // field index in the source, -1 when absent
    int m_shownCurrentRow = -1;
};

// Keeps a grid's current row and its source's current row together. Choosing a row in the grid
// moves the source (posting a pending edit first); when that is refused, `onError` gets the message
// and the grid returns to the source's row.
class GridBinding : public QObject
{
    Q_OBJECT
public:
    GridBinding(QTableView* view, RowSourceModel* model, std::function<void(const QString&)> onError = {});

    // Applies the columns' widths in characters with the view's font, now and whenever the font changes.
    void applyColumnWidths();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectSourceRow();
    void onViewRowChanged(const QModelIndex& current);

    QTableView* m_view;
    RowSourceModel* m_model;
    std::function<void(const QString&)> m_onError;
    bool m_syncing = false;
    bool m_sizesColumns = false;
};

} // namespace db
