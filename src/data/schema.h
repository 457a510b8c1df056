#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace db {
class Connection;
}

namespace data {

// The one description of the database: every table with its columns in their stored order
// (exchange files copy tables column by column), and the views over the dictionaries.
enum class ColumnType {
    AutoNumber, // INTEGER PRIMARY KEY AUTOINCREMENT: keys are never reused
    Long,       // whole number
    Text,       // text of at most `length` characters, letter case ignored in comparisons
    FixedText,  // the same; kept unpadded
    Memo,       // long text
    DateTime,   // local time as text "yyyy-MM-dd HH:mm:ss.zzz"
    Binary,     // bytes (photo, documents, templates)
    Double,     // number with fraction
};

struct ColumnDef
{
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0;
    QString defaultSql;   // SQL expression, empty for none
    bool primaryKey = false; // for tables whose key is not an autonumber
    bool required = false;
};

struct TableDef
{
    QString name;
    std::vector<ColumnDef> columns;

    const ColumnDef* column(const QString& name) const;
    QStringList columnNames() const;
};

struct ViewDef
{
    QString name;
    QString select;
};

const std::vector<TableDef>& tables();
const std::vector<ViewDef>& views();
const TableDef* findTable(const QString& name);

// The CREATE TABLE statement of a table: lengths are checked by constraints named after their
// columns, so that a refused value names its column.
QString createTableSql(const TableDef& table);
QString createViewSql(const ViewDef& view);

// Creates every table and view in an empty database.
void createSchema(db::Connection& connection);

// The candidate detail tables that travel with a candidate, in their fixed order.
const QStringList& candidateDetailTables();

} // namespace data
