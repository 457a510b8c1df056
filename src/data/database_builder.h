#pragma once

#include <QString>

namespace db {
class Connection;
}

namespace data {

// What goes into a delivered working database.
struct BuildOptions
{
    QString referenceDir;  // one "<table>.csv" per table, header = column names
    QString templatesDir;  // print templates: "<名称>.docx"/"<名称>.xlsx", files or unpacked folders
    QString password = QStringLiteral("384952");
    // Issued settings for one selecting body; 0/0 lets the first start choose.
    int channel = 0;
    int department = 0;
};

// Creates a new working database at `path` with the schema, the reference data, the templates and
// the issued settings. Refuses to touch an existing file; on failure nothing is left at `path`.
void buildDatabase(const QString& path, const BuildOptions& options);

// Inserts the rows of one CSV file into the table of the same name (header = column names).
void loadCsvTable(db::Connection& connection, const QString& table, const QString& csvPath);
// Stores every template of a folder in 打印模板 under its name without extension.
void loadTemplates(db::Connection& connection, const QString& templatesDir);

} // namespace data
