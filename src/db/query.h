#pragma once

#include "db/row_source.h"
#include "db/statement.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <functional>
#include <vector>

namespace db {

class Connection;
class Query;

// A stable handle of a row of an open query; 0 is "no row".
using Bookmark = quint64;

// A read view of one row, handed to row filters.
class Record
{
public:
    Record(const Query& query, int row)
        : m_query(query)
        , m_row(row)
    {
    }
    QVariant value(const QString& column) const;
    QVariant value(int column) const;

private:
    const Query& m_query;
    int m_row;
};

// One column of the current row of an open query.
class Field
{
public:
    Field(Query* query, int column)
        : m_query(query)
        , m_column(column)
    {
    }

    QString name() const;
    int index() const { return m_column; }
    QVariant value() const;
    bool isNull() const;
    // Null reads as empty text; dates in the stored text form.
    QString asString() const;
    // Checked: Null or a value that is not a whole number throws.
    qint64 asInteger() const;
    // Invalid for Null or for text that is not a date.
    QDateTime asDateTime() const;
    // Only while the query is editing or inserting.
    void setValue(const QVariant& value) const;

private:
    Query* m_query;
    int m_column;
};

// A statement and the rows it returned: the program's query with a cursor.
//
// - The statement text is given as one text or as lines; parameters are written ":name" and are
//   set by name, or taken from the same-named columns of a master row source (the query then
//   runs again whenever the master's current row changes). Opening with a parameter that has no
//   value is an error.
// - Static queries hold a snapshot. Editable queries read one table; append/edit/post write the
//   row at once and read it back, so that autonumber keys and defaults show after post.
// - A row filter hides rows from navigation and counting; lookup fields add display columns whose
//   values are resolved from another column of the row and never written.
// - Moving while editing posts the edit first.
class Query : public RowSource
{
    Q_OBJECT
public:
    enum class CursorKind { Static, Editable };
    enum class State { Inactive, Browse, Edit, Insert };
    enum class Match { Exact, CaseInsensitive };
    using RowFilter = std::function<bool(const Record&)>;
    using LookupResolver = std::function<QVariant(const QVariant& key)>;

    explicit Query(Connection* connection = nullptr, QObject* parent = nullptr);
    ~Query() override;

    void setConnection(Connection* connection);
    Connection* connection() const { return m_connection; }

    void setSql(const QString& sql);
    void setSqlLines(const QStringList& lines);
    QString sql() const { return m_sql; }

    void setCursorKind(CursorKind kind);
    CursorKind cursorKind() const { return m_kind; }
    // The table an editable query writes; found from the statement's columns when not set.
    void setUpdateTable(const QString& table);

    void setParam(const QString& name, const QVariant& value);
    void clearParams();
    const Params& params() const { return m_params; }
    void setMaster(RowSource* master);

    void setFilter(RowFilter filter);
    void clearFilter();
    // Adds a display column `name` whose value is resolve(value of `keyColumn`). Set before open.
    void addLookupField(const QString& name, const QString& keyColumn, LookupResolver resolve);

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // Runs the statement again and returns to the same row where it still exists.
    void refresh();

    void first();
    void next();
    void prior();
    void last();
    // Moves to the visible row with this 0-based position.
    void moveTo(int position);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_visible.empty(); }
    int recordCount() const { return static_cast<int>(m_visible.size()); }
    // 0-based position of the current row among the visible rows, -1 when there is none.
    int recNo() const { return m_position; }

    int fieldCount() const { return m_columns.size(); }
    QStringList fieldNames() const;
    int fieldIndex(const QString& name) const;
    Field field(const QString& name);
    Field field(int column);
    QVariant value(const QString& name) const;
    QString columnDeclType(int column) const;

    // Moves to the first row whose column equals the value; false (position kept) when none.
    bool locate(const QString& column, const QVariant& value, Match match = Match::Exact);

    State state() const { return m_state; }
    void append();
    void edit();
    void setValue(const QString& column, const QVariant& value);
    void setValue(int column, const QVariant& value);
    void post();
    void cancel();
    void deleteRow();

    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark bookmark);

    // RowSource
    int columnIndex(const QString& name) const override { return fieldIndex(name); }
    QVariant currentValue(int column) const override;
    int rowCount() const override { return recordCount(); }
    QVariant valueAt(int row, int column) const override { return rowValue(m_visible.at(row), column); }
    int currentRow() const override { return m_position; }
    void setCurrentRow(int row) override { moveTo(row); }

    // Value of a column of a stored row (0-based row index, not the visible position).
    QVariant rowValue(int row, int column) const;

private:
    struct Column
    {
        QString name;
        QString declType;
        QString table;
        QString origin;
        int lookupKey = -1; // for lookup columns: the key column
        LookupResolver resolve;
    };
    struct Row
    {
        QVector<QVariant> values;
        qint64 rowid = 0;
        Bookmark bookmark = 0;
    };
    struct LookupDefinition
    {
        QString name;
        QString keyColumn;
        LookupResolver resolve;
    };

    Params effectiveParams(const Statement& statement) const;
    void readRows(Statement& statement, int skipColumns);
    void rebuildVisible();
    void setPosition(int position);
    void checkOpen() const;
    void checkBrowseMode();
    void requireEditable() const;
    QString detectUpdateTable(const Statement& statement) const;
    QString editableSql() const;
    qint64 writeRow(const QVector<QVariant>& values, const QVector<bool>& changed, qint64 rowid);
    void rereadRow(Row& row);
    void onMasterChanged();

    Connection* m_connection = nullptr;
    QString m_sql;
    CursorKind m_kind = CursorKind::Static;
    QString m_updateTable;
    QString m_detectedTable;
    Params m_params;
    QPointer<RowSource> m_master;
    RowFilter m_filter;
    std::vector<LookupDefinition> m_lookups;

    State m_state = State::Inactive;
    QVector<Column> m_columns;
    QHash<QString, int> m_columnByName; // lower-case name -> first column with it
    std::vector<Row> m_rows;
    std::vector<int> m_visible; // indexes into m_rows
    int m_position = -1;
    bool m_eof = true;
    bool m_bof = true;
    Bookmark m_nextBookmark = 1;

    QVector<QVariant> m_buffer; // the row being edited or inserted
    QVector<bool> m_changed;
};

} // namespace db
