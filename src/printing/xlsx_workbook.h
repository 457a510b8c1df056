#pragma once

#include "printing/ooxml_package.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <vector>

namespace printing {

// A block of cells, 1-based and inclusive.
struct CellRange
{
    int firstRow;
    int firstColumn;
    int lastRow;
    int lastColumn;
};

// The sides that a border setting addresses, numbered as Excel numbers them.
enum class BorderEdge {
    DiagonalDown = 5,
    DiagonalUp = 6,
    Left = 7,
    Top = 8,
    Bottom = 9,
    Right = 10,
    InsideVertical = 11,
    InsideHorizontal = 12,
};

// A border line the way Excel's object model describes it.
struct BorderLine
{
    enum Style { None = -4142, Continuous = 1 };
    enum Weight { Hairline = 1, Thin = 2, Medium = -4138, Thick = 4 };
    Style style = Continuous;
    int weight = Thin;
    int colorIndex = 1; // 1 is black in Excel's palette

    static BorderLine none() { return {None, Thin, 1}; }
};

// "A1" style reference of a cell.
QString cellReference(int row, int column);
// Parses "B12"; false when the text is not a cell reference.
bool parseCellReference(const QString& reference, int& row, int& column);

// An Excel workbook (.xlsx) being filled: its first worksheet, shared strings and styles are held
// parsed; everything else passes through untouched. Failures throw app::AppError.
class XlsxWorkbook
{
public:
    // A workbook based on the template file; a blank workbook when `templatePath` is empty.
    static XlsxWorkbook fromTemplate(const QString& templatePath);
    static XlsxWorkbook fromBytes(const QByteArray& bytes);
    static XlsxWorkbook blank();

    XlsxWorkbook(XlsxWorkbook&&) noexcept;
    XlsxWorkbook& operator=(XlsxWorkbook&&) noexcept;
    ~XlsxWorkbook();

    // Writes rows of values from the start cell down, each row's values from left to right. Texts
    // go to the shared strings (a text starting with "=" stays a text), numbers are numbers, Null
    // leaves an empty cell that keeps its format.
    void writeRows(int startRow, int startColumn, const std::vector<QVariantList>& rows);
    // Gives every cell of `target` the format of the cell of `sourceRow` in the same column, and
    // every row of it the height of `sourceRow` when that row has one.
    void copyRowFormat(int sourceRow, const CellRange& target);
    // Sets one border of the block, as Range.Borders(edge) does in Excel.
    void setBorder(const CellRange& range, BorderEdge edge, const BorderLine& line);
    void selectCell(int row, int column);

    // Reading back (checks and tests).
    QVariant cellValue(int row, int column) const;
    int cellStyle(int row, int column) const;
    int lastRow() const;

    QByteArray toBytes() const;
    void saveAs(const QString& path) const;

private:
    class Styles;
    class SharedStrings;

    explicit XlsxWorkbook(OoxmlPackage package);
    pugi::xml_node rowNode(int row, bool create);
    pugi::xml_node cellNode(int row, int column, bool create);
    pugi::xml_node findCell(int row, int column) const;
    void indexRows();
    void removeCalculationChain();
    void updateDimension() const;
    QByteArray serialisedPackage() const;

    OoxmlPackage m_package;
    QString m_workbookPart;
    QString m_sheetPart;
    std::unique_ptr<pugi::xml_document> m_sheet;
    std::map<int, pugi::xml_node> m_rows;
    std::unique_ptr<Styles> m_styles;
    std::unique_ptr<SharedStrings> m_strings;
};

} // namespace printing
