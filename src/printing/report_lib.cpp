#include "printing/report_lib.h"

#include "app/app_error.h"
#include "app/lib.h"
#include "data/global_data.h"
#include "db/db_error.h"
#include "db/query.h"
#include "printing/document_presenter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace printing {

namespace {

db::Query& runOnQueryTemp(const QString& sql, const db::Params& params)
{
    data::TGlobalData* globalData = data::GlobalData();
    if (!globalData || !globalData->QueryTemp)
        throw app::AppError(QStringLiteral("数据库尚未打开"));
    db::Query& query = *globalData->QueryTemp;
    query.close();
    query.clearParams();
    query.setSql(sql);
    for (auto it = params.constBegin(); it != params.constEnd(); ++it)
        query.setParam(it.key(), it.value());
    query.open();
    query.first();
    return query;
}

// Removes a temporary template copy together with the ".tmp" file that reserved its name.
void removeTemporaryCopy(const QString& path)
{
    if (path.isEmpty())
        return;
    QFile::remove(path);
    const QString reservation = path.left(path.lastIndexOf(QLatin1String(".tmp")) + 4);
    if (reservation.endsWith(QLatin1String(".tmp")) && reservation != path && QFileInfo(reservation).size() == 0)
        QFile::remove(reservation);
}

QString fieldText(db::Query& query, const QString& field)
{
    return query.field(field).asString();
}

} // namespace

QString LoadPrintTemplate(const QString& name, const QString& ext)
{
    db::Query& query = runOnQueryTemp(QStringLiteral("SELECT 内容 FROM 打印模板 WHERE 名称=:name"),
                                      {{QStringLiteral("name"), name}});
    if (query.eof()) {
        query.close();
        return {};
    }
    const QByteArray content = query.field(0).value().toByteArray();
    query.close();
    const QString path = app::MakeTempFileName(ext);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        const QString error = file.errorString();
        file.close();
        removeTemporaryCopy(path);
        throw app::AppError(QStringLiteral("无法写入临时文件“%1”：%2").arg(QDir::toNativeSeparators(path), error));
    }
    return path;
}

DocxDocument OpenTemplateDocument(const QString& templatePath, const QString& templateName)
{
    if (templatePath.isEmpty())
        throw app::AppError(QStringLiteral("数据库中没有名为“%1”的打印模板").arg(templateName));
    struct Cleanup
    {
        QString path;
        ~Cleanup() { removeTemporaryCopy(path); }
    } cleanup{templatePath};
    return DocxDocument::open(templatePath);
}

void ReplaceInDocument(DocxDocument& document, const QString& findText, const QString& replaceText)
{
    document.replaceAll(findText, replaceText);
}

QString SafeFileBaseName(const QString& name)
{
    QString safe = name;
    safe.remove(QChar(u'\0'));
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (safe.startsWith(QLatin1Char('.')))
        safe[0] = QLatin1Char('_');
    return safe;
}

QString MakeOutputDocName(const QString& baseName)
{
    const QString base = SafeFileBaseName(baseName);
    QString path = app::GetWorkFolder() + base + kWordTemplateExt;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = app::GetWorkFolder() + base + QString::number(n) + kWordTemplateExt;
    return path;
}

QString SaveNewOutputDocument(const DocxDocument& document, const QString& baseName)
{
    const QByteArray bytes = document.toBytes();
    for (;;) {
        const QString path = MakeOutputDocName(baseName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                continue; // taken since it was named: use the next number
            throw app::AppError(QStringLiteral("无法保存文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
        }
        const bool written = file.write(bytes) == bytes.size() && file.flush();
        const QString error = file.errorString();
        file.close();
        if (!written) {
            QFile::remove(path);
            throw app::AppError(QStringLiteral("无法保存文件“%1”：%2").arg(QDir::toNativeSeparators(path), error));
        }
        return path;
    }
}

int CollectPlaceholderRows(Replacements& replacements, const QString& sql, const db::Params& params,
                           const QString& prefix, int rowCount, const QStringList& fields)
{
    auto placeholder = [&](const QString& field, int position) {
        return QStringLiteral("$%1$%2%3$").arg(prefix, field).arg(position);
    };
    db::Query& query = runOnQueryTemp(sql, params);
    int position = 0;
    for (; !query.eof(); query.next(), ++position) {
        if (position >= rowCount)
            continue; // the template has no row for it
        for (const QString& field : fields) {
            QString value;
            if (field == QStringLiteral("序号")) {
                value = QString::number(position + 1);
            } else {
                value = fieldText(query, field);
                if (value == kHandFilled)
                    value = fieldText(query, field + QStringLiteral("其他"));
            }
            replacements.emplace_back(placeholder(field, position), value);
        }
    }
    query.close();
    const int records = position;
    for (int blank = records; blank < rowCount; ++blank)
        for (const QString& field : fields)
            replacements.emplace_back(placeholder(field, blank), QString());
    return records;
}

int FillPlaceholderRows(DocxDocument& document, const QString& sql, const db::Params& params,
                        const QString& prefix, int rowCount, const QStringList& fields)
{
    Replacements replacements;
    const int records = CollectPlaceholderRows(replacements, sql, params, prefix, rowCount, fields);
    document.replaceAll(replacements);
    return records;
}

int FillBookmarkRows(DocxDocument& document, const QString& sql, const db::Params& params,
                     const QString& prefix, const QStringList& fields)
{
    db::Query& query = runOnQueryTemp(sql, params);
    int position = 0;
    try {
        for (; !query.eof(); query.next(), ++position)
            for (const QString& field : fields)
                document.insertTextAfterBookmark(prefix + field + QString::number(position), fieldText(query, field));
    } catch (...) {
        query.close();
        throw;
    }
    query.close();
    return position;
}

PrintOutcome RunDocumentPrint(const DocumentPrintJob& job, const QString& candidateName, DocumentPresenter& presenter)
{
    PrintOutcome outcome;
    try {
        const QString baseName = candidateName + job.outputSuffix;
        MakeOutputDocName(baseName); // the work folder must be usable before any work is done
        DocxDocument document = OpenTemplateDocument(LoadPrintTemplate(job.templateName, kWordTemplateExt), job.templateName);
        if (job.fill)
            job.fill(document);
        outcome.outputPath = SaveNewOutputDocument(document, baseName);
        presenter.present(outcome.outputPath);
    } catch (const app::AppError& error) {
        outcome.errorText = error.message();
    } catch (const db::DbError& error) {
        outcome.errorText = error.message();
    } catch (const std::exception& error) {
        outcome.errorText = QString::fromLocal8Bit(error.what());
    }
    if (!outcome.succeeded())
        outcome.errorCaption = job.errorCaption;
    return outcome;
}

// --- candidate lists -----------------------------------------------------------------------

QString CandidateListTemplateName(qint64 departmentKind)
{
    if (departmentKind == 1)
        return QStringLiteral("提名名单院士");
    if (departmentKind == 5)
        return QStringLiteral("提名名单特别");
    return QStringLiteral("提名名单苍岳");
}

QString CandidateListFileName(qint64 departmentKind)
{
    if (departmentKind == 1)
        return QStringLiteral("提名名单院士") + kExcelTemplateExt;
    if (departmentKind == 5)
        return QStringLiteral("提名名单特别提名小组") + kExcelTemplateExt;
    return QStringLiteral("提名名单苍岳联合会") + kExcelTemplateExt;
}

namespace {

XlsxWorkbook openListTemplate(const QString& templatePath)
{
    struct Cleanup
    {
        QString path;
        ~Cleanup() { removeTemporaryCopy(path); }
    } cleanup{templatePath};
    return XlsxWorkbook::fromTemplate(templatePath);
}

} // namespace

ExcelReport::ExcelReport(const QString& templatePath)
    : m_workbook(openListTemplate(templatePath))
{
}

int ExcelReport::FillSheet(db::Query& records, int startRow, int startColumn)
{
    std::vector<QVariantList> rows;
    rows.reserve(static_cast<size_t>(records.recordCount()));
    const int columns = records.fieldCount();
    for (records.first(); !records.eof(); records.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int column = 0; column < columns; ++column)
            row << records.field(column).value();
        rows.push_back(std::move(row));
    }
    m_workbook.writeRows(startRow, startColumn, rows);
    return static_cast<int>(rows.size());
}

void ExcelReport::SaveAs(const QString& path)
{
    m_workbook.selectCell(1, 1);
    m_workbook.saveAs(path);
    m_fileName = path;
}

void ExcelReport::Show(DocumentPresenter& presenter) const
{
    presenter.present(m_fileName);
}

void FormatCandidateListRows(XlsxWorkbook& workbook, int recordCount)
{
    constexpr int firstRow = 5;
    constexpr int lastColumn = 6;
    if (recordCount < 1)
        return;
    const CellRange rows{firstRow, 1, firstRow + recordCount - 1, lastColumn};
    workbook.copyRowFormat(firstRow, rows);
    workbook.setBorder(rows, BorderEdge::DiagonalDown, BorderLine::none());
    workbook.setBorder(rows, BorderEdge::DiagonalUp, BorderLine::none());
    const BorderLine outline{BorderLine::Continuous, BorderLine::Thick, 1};
    for (const BorderEdge edge : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right})
        workbook.setBorder(rows, edge, outline);
    if (recordCount > 1) {
        const BorderLine inside{BorderLine::Continuous, BorderLine::Thin, 1};
        workbook.setBorder(rows, BorderEdge::InsideVertical, inside);
        workbook.setBorder(rows, BorderEdge::InsideHorizontal, inside);
    }
    workbook.selectCell(1, 1);
}

} // namespace printing
