#include "data/database_builder.h"

#include "data/csv_reader.h"
#include "data/schema.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "printing/ooxml_package.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace data {

namespace {

QString readTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw db::DbError(QStringLiteral("无法读取文件“%1”：%2").arg(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

void loadReferenceData(db::Connection& connection, const QString& referenceDir)
{
    if (referenceDir.isEmpty())
        return;
    for (const TableDef& table : tables()) {
        const QString csv = QDir(referenceDir).filePath(table.name + QStringLiteral(".csv"));
        if (QFileInfo::exists(csv))
            loadCsvTable(connection, table.name, csv);
    }
}

void issueSettings(db::Connection& connection, const BuildOptions& options)
{
    const QString update = QStringLiteral("UPDATE 下发系统设置 SET 值=:value WHERE 字段=:key");
    connection.execute(update, {{QStringLiteral("key"), QStringLiteral("遴选部门类别ID")},
                                {QStringLiteral("value"), QString::number(options.channel)}});
    connection.execute(update, {{QStringLiteral("key"), QStringLiteral("遴选部门ID")},
                                {QStringLiteral("value"), QString::number(options.department)}});
}

} // namespace

void loadCsvTable(db::Connection& connection, const QString& table, const QString& csvPath)
{
    const std::vector<QStringList> rows = parseCsv(readTextFile(csvPath));
    if (rows.empty())
        return;
    const QStringList header = rows.front();
    QStringList columns;
    QStringList marks;
    for (int i = 0; i < header.size(); ++i) {
        columns << db::quoteIdentifier(header[i].trimmed());
        marks << QStringLiteral(":c%1").arg(i);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(db::quoteIdentifier(table), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        if (row.size() != header.size())
            throw db::DbError(QStringLiteral("%1 第 %2 行有 %3 个字段，应为 %4 个")
                                  .arg(csvPath)
                                  .arg(r + 1)
                                  .arg(row.size())
                                  .arg(header.size()));
        db::Params params;
        for (int i = 0; i < row.size(); ++i)
            params.insert(QStringLiteral("c%1").arg(i), row[i].isNull() ? QVariant() : QVariant(row[i]));
        try {
            connection.execute(sql, params);
        } catch (const db::DbError& error) {
            throw db::DbError(QStringLiteral("%1 第 %2 行：%3").arg(csvPath).arg(r + 1).arg(error.message()));
        }
    }
}

// Templates live in the repository unpacked ("<名称>.docx/" folders of XML parts) so that they can
// be read and reviewed; they are stored packed. Plain template files are stored as they are.
void loadTemplates(db::Connection& connection, const QString& templatesDir)
{
    if (templatesDir.isEmpty() || !QFileInfo(templatesDir).isDir())
        return;
    const QFileInfoList entries = QDir(templatesDir).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString suffix = entry.suffix().toLower();
        if (suffix != QLatin1String("docx") && suffix != QLatin1String("xlsx"))
            continue;
        QByteArray content;
        if (entry.isDir()) {
            content = printing::packDirectory(entry.filePath());
        } else {
            QFile input(entry.filePath());
            if (!input.open(QIODevice::ReadOnly))
                throw db::DbError(QStringLiteral("无法读取模板“%1”：%2").arg(entry.filePath(), input.errorString()));
            content = input.readAll();
        }
        connection.execute(QStringLiteral("INSERT INTO 打印模板 (名称, 内容) VALUES (:name, :content)"),
                           {{QStringLiteral("name"), entry.completeBaseName()}, {QStringLiteral("content"), content}});
    }
}

void buildDatabase(const QString& path, const BuildOptions& options)
{
    const db::ConnectionInfo info{path, options.password};
    db::Connection::createDatabase(info);
    try {
        db::Connection connection(info);
        createSchema(connection);
        db::Transaction transaction(connection);
        loadReferenceData(connection, options.referenceDir);
        loadTemplates(connection, options.templatesDir);
        issueSettings(connection, options);
        transaction.commit();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

} // namespace data
