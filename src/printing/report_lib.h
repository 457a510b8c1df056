#pragma once

#include "db/statement.h"
#include "printing/docx_document.h"
#include "printing/xlsx_workbook.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace db {
class Query;
}

namespace printing {

class DocumentPresenter;

// Extensions of the template kinds. Templates are stored as Office Open XML files.
inline const QString kWordTemplateExt = QStringLiteral(".docx");
inline const QString kExcelTemplateExt = QStringLiteral(".xlsx");
// The value of a dictionary entry that means "typed into the companion column ending in 其他".
inline const QString kHandFilled = QStringLiteral("（手工填写）");

// Writes the content of the template `name` of 打印模板 to a new temporary file whose name ends
// in ".tmp" + `ext` and returns its path; an empty path when no template has that name.
QString LoadPrintTemplate(const QString& name, const QString& ext);

// Opens a copy of a Word template file; the copy is removed once it has been read, since the
// document is filled in memory. Throws app::AppError (with the file's name) when it cannot be
// opened; an empty path names the template as missing.
DocxDocument OpenTemplateDocument(const QString& templatePath, const QString& templateName);

// Replaces every occurrence of `findText` in the main text, ignoring letter case; an empty
// replacement deletes. The whole replacement is printed.
void ReplaceInDocument(DocxDocument& document, const QString& findText, const QString& replaceText);

// A file name made safe from a candidate's name: "/" becomes "_", NUL characters are dropped, a
// leading "." becomes "_".
QString SafeFileBaseName(const QString& name);

// The work folder followed by the base name and ".docx"; when that file exists the number 2 goes
// before the extension, then 3, and so on. Never names an existing file; creates no file.
QString MakeOutputDocName(const QString& baseName);

// Writes the document under the first free name that MakeOutputDocName gives for `baseName`,
// creating the file exclusively so that no existing document is ever overwritten. Returns the
// path; on failure no file is left behind.
QString SaveNewOutputDocument(const DocxDocument& document, const QString& baseName);

// Adds to `replacements` the values of a row set: for every record of the statement (position r
// from 0) and every field f, "$" prefix "$" f r "$" receives the column f ("序号" receives r + 1; a
// column holding exactly "（手工填写）" gives the column f + "其他" instead). Positions from the
// number of records to rowCount - 1 receive an empty text. Returns the number of records.
int CollectPlaceholderRows(Replacements& replacements, const QString& sql, const db::Params& params,
                           const QString& prefix, int rowCount, const QStringList& fields);
// The same, applied to the document at once.
int FillPlaceholderRows(DocxDocument& document, const QString& sql, const db::Params& params,
                        const QString& prefix, int rowCount, const QStringList& fields);

// Inserts column f of the record at position r after the bookmark prefix + f + r, for every record
// and field. A missing bookmark throws app::AppError naming it. Returns the number of records.
int FillBookmarkRows(DocxDocument& document, const QString& sql, const db::Params& params,
                     const QString& prefix, const QStringList& fields);

// One of the nomination document prints.
struct DocumentPrintJob
{
    QString templateName;
    QString outputSuffix;
    QString errorCaption;
    std::function<void(DocxDocument&)> fill;
};

struct PrintOutcome
{
    QString outputPath;   // empty unless the document was saved
    QString errorCaption; // set together with errorText when the print failed
    QString errorText;
    bool succeeded() const { return errorText.isEmpty(); }
};

// The document print sequence: name the output after the candidate, load and open the template,
// fill it, save it under the new name and present it. Any failure ends the print with the job's
// error caption and the error's text; no output file exists unless the save completed.
PrintOutcome RunDocumentPrint(const DocumentPrintJob& job, const QString& candidateName, DocumentPresenter& presenter);

// --- candidate lists -----------------------------------------------------------------------

// Template and file name of the candidate list for the setting 遴选部门类别ID.
QString CandidateListTemplateName(qint64 departmentKind);
QString CandidateListFileName(qint64 departmentKind);

// The list workbook: a copy of the list template (or a blank workbook) that receives the rows of
// a statement from a start cell.
class ExcelReport
{
public:
    // `templatePath` may be empty; a template copy is removed once it has been read.
    explicit ExcelReport(const QString& templatePath);

    // Writes every record of the open query from the start cell down, its columns from left to
    // right in statement order, without headings. Returns the number of records.
    int FillSheet(db::Query& records, int startRow, int startColumn);
    // Writes the workbook under `path`, replacing a file of that name.
    void SaveAs(const QString& path);
    void Show(DocumentPresenter& presenter) const;

    XlsxWorkbook& workbook() { return m_workbook; }
    const QString& fileName() const { return m_fileName; }

private:
    XlsxWorkbook m_workbook;
    QString m_fileName;
};

// The look of the candidate rows A5:F(N + 4): the format of row 5 on every row, a thick black
// outline, thin black inside lines when there is more than one row, no diagonals, A1 selected.
void FormatCandidateListRows(XlsxWorkbook& workbook, int recordCount);

} // namespace printing
