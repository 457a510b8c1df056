#include "db/row_source_model.h"

#include "db/db_error.h"
#include "db/value.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace db {

RowSourceModel::RowSourceModel(RowSource* source, QVector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_source(source)
    , m_columns(std::move(columns))
{
    for (GridColumn& column : m_columns) {
        if (column.title.isEmpty())
            column.title = column.field;
    }
    resolveColumns();
    connect(source, &RowSource::rowsChanged, this, [this] {
        beginResetModel();
        resolveColumns();
        endResetModel();
    });
    connect(source, &RowSource::currentRowChanged, this, [this] {
        // The current row may be showing values being edited.
        const int row = m_source ? m_source->currentRow() : -1;
        for (int changed : {m_shownCurrentRow, row}) {
            if (changed >= 0 && changed < rowCount())
                Q_EMIT dataChanged(index(changed, 0), index(changed, columnCount() - 1));
        }
        m_shownCurrentRow = row;
    });
}

void RowSourceModel::resolveColumns()
{
    m_sourceColumns.clear();
    for (const GridColumn& column : m_columns)
        m_sourceColumns << (m_source ? m_source->columnIndex(column.field) : -1);
}

int RowSourceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_source ? 0 : m_source->rowCount();
}

int RowSourceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QString RowSourceModel::displayText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime dateTime = value.toDateTime();
        return dateTime.time() == QTime(0, 0) ? dateTime.toString(QStringLiteral("yyyy-MM-dd"))
                                              : dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return variantToText(value);
}

QVariant RowSourceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_source || role != Qt::DisplayRole)
        return {};
    const int column = m_sourceColumns.value(index.column(), -1);
    if (column < 0)
        return {};
    return displayText(m_source->valueAt(index.row(), column));
}

QVariant RowSourceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_columns.value(section).title;
}

GridBinding::GridBinding(QTableView* view, RowSourceModel* model, std::function<void(const QString&)> onError)
    : QObject(view)
    , m_view(view)
    , m_model(model)
    , m_onError(std::move(onError))
{
    m_view->setModel(model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onViewRowChanged(current); });
    connect(model, &QAbstractItemModel::modelReset, this, &GridBinding::selectSourceRow);
    connect(model->source(), &RowSource::currentRowChanged, this, &GridBinding::selectSourceRow);
    selectSourceRow();
}

// Widths in characters are measured in digits of the grid's font; columns without one fit their
// title, and a stretching last column fills what is left.
void GridBinding::applyColumnWidths()
{
    if (!m_sizesColumns) {
        m_sizesColumns = true;
        m_view->installEventFilter(this);
    }
    const QFontMetrics metrics(m_view->font());
    const QFontMetrics headerMetrics(m_view->horizontalHeader()->font());
    const QVector<GridColumn>& columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i) {
        const int title = headerMetrics.horizontalAdvance(columns[i].title) + 24;
        const bool stretches = i == columns.size() - 1 && m_view->horizontalHeader()->stretchLastSection();
        const int chars = stretches ? 0 : columns[i].widthChars; // the last column takes the rest of the grid
        const int content = metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 24;
        m_view->setColumnWidth(i, std::max(title, content));
    }
}

bool GridBinding::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::FontChange)
        applyColumnWidths();
    return QObject::eventFilter(watched, event);
}

void GridBinding::selectSourceRow()
{
    if (m_syncing)
        return;
    m_syncing = true;
    const int row = m_model->source() ? m_model->source()->currentRow() : -1;
    if (row >= 0 && row < m_model->rowCount())
        m_view->setCurrentIndex(m_model->index(row, std::max(0, m_view->currentIndex().column())));
    else
        m_view->clearSelection();
    m_syncing = false;
}

void GridBinding::onViewRowChanged(const QModelIndex& current)
{
    if (m_syncing || !current.isValid() || !m_model->source())
        return;
    if (current.row() == m_model->source()->currentRow())
        return;
    try {
        m_model->source()->setCurrentRow(current.row());
    } catch (const DbError& error) {
        if (m_onError)
            m_onError(error.message());
        selectSourceRow();
    }
}

} // namespace db
