#include "printing_fixtures.h"

#include "printing/report_lib.h"
#include "printing/xlsx_workbook.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace printing;

namespace {

constexpr const char* kWorkbookContentType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";

// A list template in miniature: a heading in row 4, the data style (thin box, id 1) in row 5, and
// a stale calculation chain.
QByteArray listTemplate()
{
    OoxmlPackage package;
    const QByteArray d = printing_fixtures::kXmlDeclaration;
    package.setPart(QStringLiteral("[Content_Types].xml"),
                    d + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml\"/>"
                        "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                        "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                        "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>"
                        "</Types>");
    package.setPart(QStringLiteral("_rels/.rels"),
                    d + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
                        "</Relationships>");
    package.setPart(QStringLiteral("xl/workbook.xml"),
                    d + "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                        "<sheets><sheet name=\"名单\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    package.setPart(QStringLiteral("xl/_rels/workbook.xml.rels"),
                    d + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
                        "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain\" Target=\"calcChain.xml\"/>"
                        "</Relationships>");
    package.setPart(QStringLiteral("xl/calcChain.xml"),
                    d + "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"A1\" i=\"1\"/></calcChain>");
    package.setPart(QStringLiteral("xl/styles.xml"),
                    d + "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                        "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"宋体\"/></font></fonts>"
                        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
                        "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border>"
                        "<border diagonalUp=\"1\"><left style=\"thin\"><color indexed=\"8\"/></left><right style=\"thin\"><color indexed=\"8\"/></right>"
                        "<top style=\"thin\"><color indexed=\"8\"/></top><bottom style=\"thin\"><color indexed=\"8\"/></bottom>"
                        "<diagonal style=\"thin\"><color indexed=\"8\"/></diagonal></border></borders>"
                        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                        "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                        "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyBorder=\"1\"><alignment wrapText=\"1\"/></xf></cellXfs>"
                        "</styleSheet>");
    package.setPart(QStringLiteral("xl/worksheets/sheet1.xml"),
                    d + "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                        "<dimension ref=\"A4:F5\"/><sheetViews><sheetView workbookViewId=\"0\"><selection activeCell=\"C9\" sqref=\"C9\"/></sheetView></sheetViews>"
                        "<sheetData><row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>姓名</t></is></c></row>"
                        "<row r=\"5\" spans=\"1:6\" ht=\"22\" customHeight=\"1\"><c r=\"A5\" s=\"1\"/><c r=\"B5\" s=\"1\"/><c r=\"C5\" s=\"1\"/>"
                        "<c r=\"D5\" s=\"1\"/><c r=\"E5\" s=\"1\"/><c r=\"F5\" s=\"1\"/></row></sheetData></worksheet>");
    return package.toBytes();
}

struct SavedWorkbook
{
    explicit SavedWorkbook(const XlsxWorkbook& workbook)
        : package(OoxmlPackage::fromBytes(workbook.toBytes()))
    {
        printing_fixtures::loadPart(sheet, package, QStringLiteral("xl/worksheets/sheet1.xml"));
        printing_fixtures::loadPart(styles, package, QStringLiteral("xl/styles.xml"));
        printing_fixtures::loadPart(strings, package, QStringLiteral("xl/sharedStrings.xml"));
    }

    pugi::xml_node cell(const char* reference) const
    {
        return sheet.select_node(QStringLiteral("//c[@r='%1']").arg(QLatin1String(reference)).toUtf8().constData()).node();
    }
    pugi::xml_node border(const char* reference) const
    {
        const int xf = cell(reference).attribute("s").as_int();
        int index = 0;
        for (pugi::xml_node node : styles.document_element().child("cellXfs").children("xf"))
            if (index++ == xf) {
                int borderIndex = 0;
                for (pugi::xml_node border : styles.document_element().child("borders").children("border"))
                    if (borderIndex++ == node.attribute("borderId").as_int())
                        return border;
            }
        return {};
    }
    // "thick/8" style and colour index of one side of a cell's border, "" when none.
    QString side(const char* reference, const char* name) const
    {
        const pugi::xml_node node = border(reference).child(name);
        if (!node.attribute("style"))
            return {};
        return QStringLiteral("%1/%2").arg(QString::fromUtf8(node.attribute("style").value()),
                                           QString::fromUtf8(node.child("color").attribute("indexed").value()));
    }

    OoxmlPackage package;
    pugi::xml_document sheet;
    pugi::xml_document styles;
    pugi::xml_document strings;
};

} // namespace

TEST(XlsxWorkbookValues, WritesTextsNumbersAndNullsFromTheStartCell)
{
    XlsxWorkbook workbook = XlsxWorkbook::fromBytes(listTemplate());
    workbook.writeRows(5, 1, {{QStringLiteral("张三"), 42, QVariant(), QStringLiteral("=SUM(A1)"), 1.5, QStringLiteral(" 空格 ")},
                              {QStringLiteral("李四"), QStringLiteral("张三"), QStringLiteral("x")}});
    const SavedWorkbook saved(workbook);

    EXPECT_STREQ(saved.cell("A5").attribute("t").value(), "s");
    EXPECT_STREQ(saved.cell("B5").child_value("v"), "42");
    EXPECT_FALSE(saved.cell("B5").attribute("t"));
    EXPECT_FALSE(saved.cell("C5").child("v"));
    EXPECT_STREQ(saved.cell("C5").attribute("s").value(), "1"); // the empty cell keeps its format
    EXPECT_STREQ(saved.cell("D5").attribute("t").value(), "s");
    EXPECT_FALSE(saved.cell("D5").child("f"));
    EXPECT_STREQ(saved.cell("E5").child_value("v"), "1.5");

    const XlsxWorkbook reread = XlsxWorkbook::fromBytes(saved.package.toBytes());
    EXPECT_EQ(reread.cellValue(5, 1).toString(), QStringLiteral("张三"));
    EXPECT_EQ(reread.cellValue(5, 4).toString(), QStringLiteral("=SUM(A1)"));
    EXPECT_EQ(reread.cellValue(5, 6).toString(), QStringLiteral(" 空格 "));
    EXPECT_EQ(reread.cellValue(6, 2).toString(), QStringLiteral("张三"));
    EXPECT_EQ(reread.cellValue(4, 1).toString(), QStringLiteral("姓名"));

    // Shared strings: 张三 once; count = references, uniqueCount = entries.
    const pugi::xml_node sst = saved.strings.document_element();
    EXPECT_EQ(sst.attribute("uniqueCount").as_int(), 5);
    EXPECT_EQ(sst.attribute("count").as_int(), 6);
    EXPECT_EQ(static_cast<int>(sst.select_nodes("si").size()), 5);

    // Cells in column order within each row, rows in order, a true dimension.
    for (pugi::xml_node row : saved.sheet.document_element().child("sheetData").children("row")) {
        int previous = 0;
        for (pugi::xml_node cell : row.children("c")) {
            int r = 0, c = 0;
            ASSERT_TRUE(parseCellReference(QString::fromUtf8(cell.attribute("r").value()), r, c));
            EXPECT_EQ(r, row.attribute("r").as_int());
            EXPECT_GT(c, previous);
            previous = c;
        }
    }
    EXPECT_STREQ(saved.sheet.select_node("//dimension").node().attribute("ref").value(), "A4:F6");
}

TEST(XlsxWorkbookStructure, DropsTheCalculationChainAndBecomesAWorkbook)
{
    const SavedWorkbook saved(XlsxWorkbook::fromBytes(listTemplate()));
    EXPECT_FALSE(saved.package.hasPart(QStringLiteral("xl/calcChain.xml")));
    EXPECT_FALSE(QString::fromUtf8(saved.package.part(QStringLiteral("xl/_rels/workbook.xml.rels"))).contains(QStringLiteral("calcChain")));
    EXPECT_FALSE(QString::fromUtf8(saved.package.part(QStringLiteral("[Content_Types].xml"))).contains(QStringLiteral("calcChain")));
    EXPECT_EQ(saved.package.contentTypeOf(QStringLiteral("xl/workbook.xml")), QLatin1String(kWorkbookContentType));
    EXPECT_EQ(saved.package.partNames().front(), QStringLiteral("[Content_Types].xml"));
}

TEST(XlsxWorkbookStructure, BlankWorkbookWithoutTemplateTakesRows)
{
    XlsxWorkbook workbook = XlsxWorkbook::fromTemplate(QString());
    workbook.writeRows(5, 1, {{QStringLiteral("王五"), QStringLiteral("男")}});
    FormatCandidateListRows(workbook, 1);
    const SavedWorkbook saved(workbook);
    EXPECT_EQ(XlsxWorkbook::fromBytes(saved.package.toBytes()).cellValue(5, 1).toString(), QStringLiteral("王五"));
    EXPECT_EQ(saved.side("A5", "left"), QStringLiteral("thick/8"));
    EXPECT_EQ(saved.side("F5", "right"), QStringLiteral("thick/8"));
}

TEST(XlsxWorkbookFormats, CandidateRowsGetRowFiveFormatThickOutlineAndThinInsideLines)
{
    XlsxWorkbook workbook = XlsxWorkbook::fromBytes(listTemplate());
    std::vector<QVariantList> rows(3, QVariantList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                                    QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f")});
    workbook.writeRows(5, 1, rows);
    FormatCandidateListRows(workbook, 3);
    const SavedWorkbook saved(workbook);

    struct Expected
    {
        const char* cell;
        QString left, right, top, bottom;
    };
    const QString thick = QStringLiteral("thick/8");
    const QString thin = QStringLiteral("thin/8");
    for (const Expected& e : {Expected{"A5", thick, thin, thick, thin}, Expected{"C6", thin, thin, thin, thin},
                              Expected{"F6", thin, thick, thin, thin}, Expected{"A7", thick, thin, thin, thick},
                              Expected{"F7", thin, thick, thin, thick}}) {
        SCOPED_TRACE(e.cell);
        EXPECT_EQ(saved.side(e.cell, "left"), e.left);
        EXPECT_EQ(saved.side(e.cell, "right"), e.right);
        EXPECT_EQ(saved.side(e.cell, "top"), e.top);
        EXPECT_EQ(saved.side(e.cell, "bottom"), e.bottom);
        const pugi::xml_node border = saved.border(e.cell);
        EXPECT_FALSE(border.attribute("diagonalUp").as_bool());
        EXPECT_FALSE(border.child("diagonal").attribute("style"));
        QStringList order;
        for (pugi::xml_node child : border.children())
            order << QString::fromUtf8(child.name());
        EXPECT_EQ(order, (QStringList{"left", "right", "top", "bottom", "diagonal"}));
    }

    // New formats are built on row 5's format (text number format, wrapping) and counts stay true.
    const pugi::xml_node cellXfs = saved.styles.document_element().child("cellXfs");
    const int xf = saved.cell("C6").attribute("s").as_int();
    int index = 0;
    for (pugi::xml_node node : cellXfs.children("xf"))
        if (index++ == xf) {
            EXPECT_STREQ(node.attribute("numFmtId").value(), "49");
            EXPECT_TRUE(node.child("alignment").attribute("wrapText").as_bool());
        }
    EXPECT_EQ(cellXfs.attribute("count").as_int(), static_cast<int>(cellXfs.select_nodes("xf").size()));
    const pugi::xml_node borders = saved.styles.document_element().child("borders");
    EXPECT_EQ(borders.attribute("count").as_int(), static_cast<int>(borders.select_nodes("border").size()));
    EXPECT_LT(cellXfs.select_nodes("xf").size(), 40u); // formats are shared, not one per cell

    EXPECT_STREQ(saved.sheet.select_node("//selection").node().attribute("activeCell").value(), "A1");
    EXPECT_EQ(saved.sheet.select_nodes("//selection").size(), 1u);
    for (const char* row : {"6", "7"}) {
        const pugi::xml_node node = saved.sheet.select_node(QStringLiteral("//row[@r='%1']").arg(QLatin1String(row)).toUtf8().constData()).node();
        EXPECT_STREQ(node.attribute("ht").value(), "22") << row;
        EXPECT_TRUE(node.attribute("customHeight").as_bool()) << row;
    }
}

TEST(XlsxWorkbookFormats, SingleRowGetsTheOutlineAndKeepsRowFiveInsideLines)
{
    XlsxWorkbook workbook = XlsxWorkbook::fromBytes(listTemplate());
    workbook.writeRows(5, 1, {{QStringLiteral("只有一人")}});
    FormatCandidateListRows(workbook, 1);
    const SavedWorkbook saved(workbook);
    EXPECT_EQ(saved.side("A5", "top"), QStringLiteral("thick/8"));
    EXPECT_EQ(saved.side("A5", "bottom"), QStringLiteral("thick/8"));
    EXPECT_EQ(saved.side("A5", "right"), QStringLiteral("thin/8")); // from the row 5 format
    EXPECT_EQ(saved.side("C5", "left"), QStringLiteral("thin/8"));
    EXPECT_FALSE(saved.cell("A6"));
}

TEST(XlsxWorkbookFormats, SavedFileReadsBack)
{
    QTemporaryDir dir;
    XlsxWorkbook workbook = XlsxWorkbook::fromBytes(listTemplate());
    workbook.writeRows(5, 1, {{QStringLiteral("甲")}});
    const QString path = dir.filePath(QStringLiteral("名单.xlsx"));
    workbook.saveAs(path);
    workbook.writeRows(5, 1, {{QStringLiteral("乙")}});
    workbook.saveAs(path); // replaces the file
    EXPECT_EQ(XlsxWorkbook::fromTemplate(path).cellValue(5, 1).toString(), QStringLiteral("乙"));
}

TEST(XlsxCellReferences, ConvertBothWays)
{
    struct Case
    {
        int row, column;
        const char* text;
    };
    for (const Case& c : {Case{1, 1, "A1"}, Case{5, 6, "F5"}, Case{10, 26, "Z10"}, Case{3, 27, "AA3"}, Case{7, 703, "AAA7"}}) {
        EXPECT_EQ(cellReference(c.row, c.column), QLatin1String(c.text));
        int row = 0, column = 0;
        EXPECT_TRUE(parseCellReference(QLatin1String(c.text), row, column));
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(column, c.column);
    }
    int row = 0, column = 0;
    EXPECT_FALSE(parseCellReference(QStringLiteral("12"), row, column));
    EXPECT_FALSE(parseCellReference(QStringLiteral("A"), row, column));
}
