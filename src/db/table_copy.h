#pragma once

#include "db/row_source.h"
#include "db/statement.h"

#include <QSet>
#include <QStringList>
#include <QVector>

#include <functional>
#include <vector>

namespace db {

class Connection;

// An in-memory copy of the rows of one table with a change log.
//
// Contract (every page and tab relies on it):
// - open() loads the rows of the load statement ("SELECT * FROM <table> WHERE ..." with :params);
//   long binary columns are left out and fetched from the table when first read.
// - The copy has a current row. edit()/append() start changing it; setValue() changes a column of
//   the row being edited and announces fieldChanged(); post() checks the required columns and
//   keeps the row in the copy, logged as modified or inserted; cancel() drops the unposted edit.
//   Moving to another row posts a pending edit first. deleteRow() removes the current row.
// - Rows stay sorted by the order column (序号) where one is set.
// - changeCount() counts the logged rows (posted changes and deletes; an unposted edit is not
//   logged yet). applyUpdates() writes the log to the table in one
//   transaction: deletes, updates (only the changed columns, by the row's key, exactly one row
//   each) and inserts; the first error rolls the table back and the log stays as it was. The log
//   is cleared only after the commit succeeded. Read-only columns, looked-up columns and long
//   binary columns never read are never written.
// - cancelUpdates() drops every logged change. refresh() reloads from the table and keeps the
//   current row by key; it refuses while changes are pending or a row is being edited.
// - Hooks run on user-driven changes only, never on load or refresh.
class TableCopy : public RowSource
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class RowStatus { Unmodified, Modified, Inserted };

    using Hook = std::function<void(TableCopy&)>;

    TableCopy(Connection* connection, const QString& table, QObject* parent = nullptr);
    ~TableCopy() override;

    const QString& table() const { return m_table; }
    void setLoadSql(const QStringList& lines);
    void setParam(const QString& name, const QVariant& value);
    // The columns that identify a row in the table; "ID" unless set.
    void setKeyColumns(const QStringList& columns);
    // The column that orders the rows (序号); none unless set.
    void setOrderColumn(const QString& column);
    void setReadOnlyColumns(const QStringList& columns);
    // Columns reported as "Field '<name>' must have a value" when left empty on post.
    void setRequiredColumns(const QStringList& columns);
    // Columns the store requires without naming them: reported as "Field value required.".
    void setStoreRequiredColumns(const QStringList& columns);

    void setBeforeInsert(Hook hook) { m_beforeInsert = std::move(hook); }
    void setAfterInsert(Hook hook) { m_afterInsert = std::move(hook); }
    // Runs before the required-column check; throw to abort the post (the row stays in edit).
    void setBeforePost(Hook hook) { m_beforePost = std::move(hook); }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    void refresh();

    // Columns
    int fieldCount() const { return m_columns.size(); }
    QStringList fieldNames() const;
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // Declared text length, 0 for columns without one.
    int maxLength(const QString& column) const;

    // Navigation
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    int recNo() const { return m_current; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);
    bool locate(const QString& column, const QVariant& value);

    // Values of the current row (the edit buffer while editing).
    QVariant value(const QString& column) const;
    QVariant value(int column) const;
    QString text(const QString& column) const;
    bool isNull(const QString& column) const;
    // A value of any row, without moving.
    QVariant rowValue(int row, const QString& column) const;

    // Editing
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    // A row is being inserted, or edited with a changed column.
    bool isModified() const;
    // One-row tables: the first change of an empty copy appends the row.
    void setAppendWhenEmpty(bool append) { m_appendWhenEmpty = append; }
    void edit();
    void append();
    void setValue(const QString& column, const QVariant& value);
    void post();
    void cancel();
    void deleteRow();

    // Change log
    int changeCount() const;
    void applyUpdates();
    void cancelUpdates();

    // RowSource
    int columnIndex(const QString& name) const override { return fieldIndex(name); }
    QVariant currentValue(int column) const override { return value(column); }
    int rowCount() const override { return recordCount(); }
    QVariant valueAt(int row, int column) const override;
    int currentRow() const override { return m_current; }
    void setCurrentRow(int row) override { moveTo(row); }

Q_SIGNALS:
    // A column of the current row was set by setValue().
    void fieldChanged(const QString& column);
    void stateChanged();

private:
    struct Column
    {
        QString name;
        QString declType;
        int maxLength = 0;
        bool lazy = false;     // long binary, fetched when first read
        bool readOnly = false;
        bool key = false;
    };
    struct Row
    {
        QVector<QVariant> values;
        QVector<bool> fetched;  // per column: lazy value present
        QVector<bool> changed;  // per column: set since load
        QVector<QVariant> keyValues; // key as loaded, for the write-back
        RowStatus status = RowStatus::Unmodified;
    };

    void loadColumns();
    void reloadKeepingCurrentRow();
    std::vector<Row> loadRows() const;
    QString selectSql() const;
    QVariant cellValue(const Row& row, int column) const;
    void fetchLazy(Row& row, int column) const;
    void checkOpen() const;
    void checkBrowse();
    void setCurrent(int row);
    void announceCurrent(int row);
    void sortRows();
    void checkRequired(const Row& row) const;
    bool isLogged(int row) const;
    void writeDelete(const Row& row);
    void writeUpdate(const Row& row);
    void writeInsert(Row& row);
    Params keyParams(const QVector<QVariant>& keyValues) const;
    QString keyCondition() const;
    QVector<QVariant> keyOf(const Row& row) const;

    Connection* m_connection;
    QString m_table;
    QString m_loadSql;
    Params m_params;
    QStringList m_keyColumns{QStringLiteral("ID")};
    QString m_orderColumn;
    QSet<QString> m_readOnly;
    QStringList m_required;
    QStringList m_storeRequired;
    Hook m_beforeInsert;
    Hook m_afterInsert;
    Hook m_beforePost;

    State m_state = State::Inactive;
    QVector<Column> m_columns;
    std::vector<Row> m_rows;
    std::vector<Row> m_deleted;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    Row m_buffer; // the row being edited or inserted
    bool m_appendWhenEmpty = false;
};

} // namespace db
