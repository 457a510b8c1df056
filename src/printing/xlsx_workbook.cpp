#include "printing/xlsx_workbook.h"

#include "app/app_error.h"
#include "printing/xml_util.h"

#include <QFileInfo>

#include <cstring>

namespace printing {

namespace {

constexpr const char* kSheetRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr const char* kStylesRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr const char* kSharedStringsRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
constexpr const char* kCalcChainRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain";
constexpr const char* kWorkbookContentType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr const char* kTemplateContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
constexpr const char* kSharedStringsContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
constexpr const char* kSpreadsheetNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

QByteArray declaration()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
}

OoxmlPackage blankPackage()
{
    OoxmlPackage package;
    package.setPart(QStringLiteral("[Content_Types].xml"),
                    declaration()
                        + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                          "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                          "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                          "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + QByteArray(kWorkbookContentType) + "\"/>"
                          "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                          "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                          "</Types>");
    package.setPart(QStringLiteral("_rels/.rels"),
                    declaration()
                        + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"" + QByteArray(ooxml::kOfficeDocumentRel) + "\" Target=\"xl/workbook.xml\"/>"
                          "</Relationships>");
    package.setPart(QStringLiteral("xl/workbook.xml"),
                    declaration()
                        + "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                          "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    package.setPart(QStringLiteral("xl/_rels/workbook.xml.rels"),
                    declaration()
                        + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"" + QByteArray(kSheetRel) + "\" Target=\"worksheets/sheet1.xml\"/>"
                          "<Relationship Id=\"rId2\" Type=\"" + QByteArray(kStylesRel) + "\" Target=\"styles.xml\"/>"
                          "</Relationships>");
    package.setPart(QStringLiteral("xl/worksheets/sheet1.xml"),
                    declaration()
                        + "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                          "<dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
                          "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/></worksheet>");
    package.setPart(QStringLiteral("xl/styles.xml"),
                    declaration()
                        + "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                          "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"宋体\"/><family val=\"2\"/><charset val=\"134\"/></font></fonts>"
                          "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
                          "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
                          "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                          "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
                          "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
                          "</styleSheet>");
    return package;
}

QString relationTargetOfType(const OoxmlPackage& package, const QString& source, const char* type)
{
    for (const Relationship& relationship : package.relationships(source))
        if (!relationship.external && relationship.type == QLatin1String(type))
            return OoxmlPackage::resolveTarget(source, relationship.target);
    return {};
}

int columnOfReference(const char* reference)
{
    int column = 0;
    for (const char* p = reference; *p >= 'A' && *p <= 'Z'; ++p)
        column = column * 26 + (*p - 'A' + 1);
    return column;
}

} // namespace

QString cellReference(int row, int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

bool parseCellReference(const QString& reference, int& row, int& column)
{
    qsizetype i = 0;
    column = 0;
    while (i < reference.size() && reference.at(i) >= u'A' && reference.at(i) <= u'Z')
        column = column * 26 + (reference.at(i++).unicode() - u'A' + 1);
    bool ok = false;
    row = reference.mid(i).toInt(&ok);
    return ok && column > 0 && row > 0 && i > 0;
}

// --- styles ---------------------------------------------------------------------------------

// styles.xml: derives cell formats that differ from an existing one only in their borders.
class XlsxWorkbook::Styles
{
public:
    enum Side { Left = 1, Right = 2, Top = 4, Bottom = 8, DiagonalDown = 16, DiagonalUp = 32 };

    Styles(const OoxmlPackage& package, const QString& part)
        : m_part(part)
    {
        xml::load(m_xml, package.part(part), part);
        pugi::xml_node root = m_xml.document_element();
        m_borders = root.child("borders");
        if (!m_borders) {
            m_borders = root.insert_child_before("borders", root.child("cellStyleXfs"));
            m_borders.append_child("border");
        }
        m_cellXfs = root.child("cellXfs");
        for (pugi::xml_node xf : m_cellXfs.children("xf"))
            m_xfs.push_back(xf);
        for (pugi::xml_node border : m_borders.children("border"))
            m_borderNodes.push_back(border);
    }

    // The format `xf` with the given sides drawn with `line`.
    int withBorder(int xf, int sides, const BorderLine& line)
    {
        const QString key = QStringLiteral("%1/%2/%3/%4/%5").arg(xf).arg(sides).arg(line.style).arg(line.weight).arg(line.colorIndex);
        const auto known = m_derived.constFind(key);
        if (known != m_derived.constEnd())
            return known.value();
        const pugi::xml_node base = xf >= 0 && xf < static_cast<int>(m_xfs.size()) ? m_xfs[static_cast<size_t>(xf)] : m_xfs.front();
        const int baseBorder = base.attribute("borderId").as_int();
        const int border = addBorder(m_borderNodes.at(static_cast<size_t>(baseBorder)), sides, line);
        pugi::xml_node copy = m_cellXfs.append_copy(base);
        xml::setAttribute(copy, "borderId", QString::number(border));
        xml::setAttribute(copy, "applyBorder", QStringLiteral("1"));
        m_xfs.push_back(copy);
        const int index = static_cast<int>(m_xfs.size()) - 1;
        m_derived.insert(key, index);
        return index;
    }

    QByteArray save()
    {
        xml::setAttribute(m_borders, "count", QString::number(m_borderNodes.size()));
        xml::setAttribute(m_cellXfs, "count", QString::number(m_xfs.size()));
        return xml::save(m_xml);
    }
    const QString& part() const { return m_part; }

private:
    static void drawSide(pugi::xml_node side, const BorderLine& line)
    {
        while (side.first_child())
            side.remove_child(side.first_child());
        side.remove_attribute("style");
        if (line.style == BorderLine::None)
            return;
        const char* style = line.weight == BorderLine::Thick      ? "thick"
                            : line.weight == BorderLine::Medium   ? "medium"
                            : line.weight == BorderLine::Hairline ? "hair"
                                                                  : "thin";
        side.append_attribute("style") = style;
        // Excel's colour index n is entry n + 7 of the indexed palette (8 is black).
        side.append_child("color").append_attribute("indexed") = line.colorIndex + 7;
    }

    int addBorder(const pugi::xml_node& base, int sides, const BorderLine& line)
    {
        pugi::xml_node border = m_borders.append_copy(base);
        // Children in schema order: left, right, top, bottom, diagonal (then vertical, horizontal).
        static const char* const order[] = {"left", "right", "top", "bottom", "diagonal", "vertical", "horizontal"};
        for (const char* name : order) {
            pugi::xml_node child = border.child(name);
            if (!child && std::strcmp(name, "vertical") != 0 && std::strcmp(name, "horizontal") != 0)
                child = border.append_child(name);
            else if (child)
                border.append_move(child);
        }
        // Older files may spell left and right as start and end.
        border.remove_child("start");
        border.remove_child("end");
        if (sides & Left)
            drawSide(border.child("left"), line);
        if (sides & Right)
            drawSide(border.child("right"), line);
        if (sides & Top)
            drawSide(border.child("top"), line);
        if (sides & Bottom)
            drawSide(border.child("bottom"), line);
        if (sides & (DiagonalDown | DiagonalUp)) {
            const char* flag = (sides & DiagonalDown) ? "diagonalDown" : "diagonalUp";
            border.remove_attribute(flag);
            if (line.style != BorderLine::None)
                border.append_attribute(flag) = "1";
            const bool anyDiagonal = border.attribute("diagonalDown").as_bool() || border.attribute("diagonalUp").as_bool();
            if (line.style != BorderLine::None || !anyDiagonal)
                drawSide(border.child("diagonal"), line);
        }
        m_borderNodes.push_back(border);
        return static_cast<int>(m_borderNodes.size()) - 1;
    }

    QString m_part;
    pugi::xml_document m_xml;
    pugi::xml_node m_borders;
    pugi::xml_node m_cellXfs;
    std::vector<pugi::xml_node> m_xfs;
    std::vector<pugi::xml_node> m_borderNodes;
    QHash<QString, int> m_derived;
};

// --- shared strings -------------------------------------------------------------------------

class XlsxWorkbook::SharedStrings
{
public:
    SharedStrings(OoxmlPackage& package, const QString& workbookPart)
    {
        m_part = relationTargetOfType(package, workbookPart, kSharedStringsRel);
        if (m_part.isEmpty() || !package.hasPart(m_part)) {
            m_part = QStringLiteral("xl/sharedStrings.xml");
            package.setOverrideContentType(m_part, QString::fromLatin1(kSharedStringsContentType));
            package.addRelationship(workbookPart, QString::fromLatin1(kSharedStringsRel), QStringLiteral("sharedStrings.xml"));
            m_xml.append_child(pugi::node_declaration).append_attribute("version") = "1.0";
            m_xml.first_child().append_attribute("encoding") = "UTF-8";
            m_xml.first_child().append_attribute("standalone") = "yes";
            m_xml.append_child("sst").append_attribute("xmlns") = kSpreadsheetNs;
        } else {
            xml::load(m_xml, package.part(m_part), m_part);
        }
        m_root = m_xml.document_element();
        int index = 0;
        for (pugi::xml_node item : m_root.children("si")) {
            if (item.child("t") && !item.child("r"))
                m_index.insert(QString::fromUtf8(item.child("t").text().get()), index);
            m_texts.push_back(item);
            ++index;
        }
    }

    int indexOf(const QString& text)
    {
        const auto known = m_index.constFind(text);
        if (known != m_index.constEnd())
            return known.value();
        pugi::xml_node t = m_root.append_child("si").append_child("t");
        t.text().set(text.toUtf8().constData());
        if (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()))
            t.append_attribute("xml:space") = "preserve";
        m_texts.push_back(t.parent());
        const int index = static_cast<int>(m_texts.size()) - 1;
        m_index.insert(text, index);
        return index;
    }

    QString text(int index) const
    {
        if (index < 0 || index >= static_cast<int>(m_texts.size()))
            return {};
        QString result;
        for (const pugi::xpath_node& t : m_texts[static_cast<size_t>(index)].select_nodes(".//t"))
            result += QString::fromUtf8(t.node().text().get());
        return result;
    }

    QByteArray save(int references)
    {
        xml::setAttribute(m_root, "count", QString::number(references));
        xml::setAttribute(m_root, "uniqueCount", QString::number(m_texts.size()));
        return xml::save(m_xml);
    }
    const QString& part() const { return m_part; }

private:
    QString m_part;
    pugi::xml_document m_xml;
    pugi::xml_node m_root;
    std::vector<pugi::xml_node> m_texts;
    QHash<QString, int> m_index;
};

// --- workbook -------------------------------------------------------------------------------

XlsxWorkbook::XlsxWorkbook(OoxmlPackage package)
    : m_package(std::move(package))
    , m_sheet(std::make_unique<pugi::xml_document>())
{
    m_workbookPart = m_package.mainDocumentPart();
    if (m_package.contentTypeOf(m_workbookPart) == QLatin1String(kTemplateContentType))
        m_package.setOverrideContentType(m_workbookPart, QString::fromLatin1(kWorkbookContentType));

    pugi::xml_document workbook;
    xml::load(workbook, m_package.part(m_workbookPart), m_workbookPart);
    const QString firstSheetId = xml::attribute(workbook.document_element().child("sheets").child("sheet"), "r:id");
    for (const Relationship& relationship : m_package.relationships(m_workbookPart))
        if (relationship.id == firstSheetId)
            m_sheetPart = OoxmlPackage::resolveTarget(m_workbookPart, relationship.target);
    if (m_sheetPart.isEmpty())
        throw app::AppError(QStringLiteral("工作簿中没有工作表"));
    xml::load(*m_sheet, m_package.part(m_sheetPart), m_sheetPart);

    const QString stylesPart = relationTargetOfType(m_package, m_workbookPart, kStylesRel);
    if (stylesPart.isEmpty())
        throw app::AppError(QStringLiteral("工作簿缺少样式部件"));
    m_styles = std::make_unique<Styles>(m_package, stylesPart);
    m_strings = std::make_unique<SharedStrings>(m_package, m_workbookPart);
    removeCalculationChain();
    indexRows();
}

XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook& XlsxWorkbook::operator=(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook::~XlsxWorkbook() = default;

XlsxWorkbook XlsxWorkbook::fromTemplate(const QString& templatePath)
{
    if (templatePath.isEmpty())
        return blank();
    return XlsxWorkbook(OoxmlPackage::fromFile(templatePath));
}

XlsxWorkbook XlsxWorkbook::fromBytes(const QByteArray& bytes)
{
    return XlsxWorkbook(OoxmlPackage::fromBytes(bytes));
}

XlsxWorkbook XlsxWorkbook::blank()
{
    return XlsxWorkbook(blankPackage());
}

void XlsxWorkbook::removeCalculationChain()
{
    // Excel rebuilds the chain; a stale one makes it report the file as damaged.
    const QString chain = relationTargetOfType(m_package, m_workbookPart, kCalcChainRel);
    if (chain.isEmpty())
        return;
    m_package.removeRelationshipsTo(m_workbookPart, chain);
    m_package.removeOverrideContentType(chain);
    m_package.removePart(chain);
}

void XlsxWorkbook::indexRows()
{
    pugi::xml_node sheetData = m_sheet->document_element().child("sheetData");
    if (!sheetData)
        throw app::AppError(QStringLiteral("工作表缺少数据区"));
    int implied = 0;
    for (pugi::xml_node row : sheetData.children("row")) {
        // Rows and cells may leave out their position; give every one an explicit reference.
        const int number = row.attribute("r") ? row.attribute("r").as_int() : implied + 1;
        if (!row.attribute("r"))
            row.append_attribute("r") = number;
        implied = number;
        int column = 0;
        for (pugi::xml_node cell : row.children("c")) {
            column = cell.attribute("r") ? columnOfReference(cell.attribute("r").value()) : column + 1;
            if (!cell.attribute("r"))
                cell.append_attribute("r") = cellReference(number, column).toUtf8().constData();
        }
        m_rows[number] = row;
    }
}

pugi::xml_node XlsxWorkbook::rowNode(int row, bool create)
{
    const auto found = m_rows.find(row);
    if (found != m_rows.end())
        return found->second;
    if (!create)
        return {};
    pugi::xml_node sheetData = m_sheet->document_element().child("sheetData");
    const auto after = m_rows.upper_bound(row);
    pugi::xml_node node = after == m_rows.end() ? sheetData.append_child("row")
                                                : sheetData.insert_child_before("row", after->second);
    node.append_attribute("r") = row;
    m_rows[row] = node;
    return node;
}

pugi::xml_node XlsxWorkbook::findCell(int row, int column) const
{
    const auto found = m_rows.find(row);
    if (found == m_rows.end())
        return {};
    for (pugi::xml_node cell : found->second.children("c"))
        if (columnOfReference(cell.attribute("r").value()) == column)
            return cell;
    return {};
}

pugi::xml_node XlsxWorkbook::cellNode(int row, int column, bool create)
{
    pugi::xml_node rowElement = rowNode(row, create);
    if (!rowElement)
        return {};
    pugi::xml_node before;
    for (pugi::xml_node cell : rowElement.children("c")) {
        const int existing = columnOfReference(cell.attribute("r").value());
        if (existing == column)
            return cell;
        if (existing > column) {
            before = cell;
            break;
        }
    }
    if (!create)
        return {};
    rowElement.remove_attribute("spans"); // only a hint; stale once the row grows
    pugi::xml_node cell = before ? rowElement.insert_child_before("c", before) : rowElement.append_child("c");
    cell.append_attribute("r") = cellReference(row, column).toUtf8().constData();
    // A new cell takes the row's format when the row has one.
    if (rowElement.attribute("customFormat").as_bool() && rowElement.attribute("s"))
        cell.append_attribute("s") = rowElement.attribute("s").value();
    return cell;
}

void XlsxWorkbook::writeRows(int startRow, int startColumn, const std::vector<QVariantList>& rows)
{
    for (size_t r = 0; r < rows.size(); ++r) {
        const QVariantList& values = rows[r];
        for (qsizetype c = 0; c < values.size(); ++c) {
            pugi::xml_node cell = cellNode(startRow + static_cast<int>(r), startColumn + static_cast<int>(c), true);
            cell.remove_attribute("t");
            while (cell.first_child())
                cell.remove_child(cell.first_child());
            const QVariant& value = values[c];
            if (value.isNull() || !value.isValid())
                continue;
            switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Double:
            case QMetaType::Float:
                cell.append_child("v").text().set(value.toString().toUtf8().constData());
                break;
            case QMetaType::Bool:
                cell.append_attribute("t") = "b";
                cell.append_child("v").text().set(value.toBool() ? "1" : "0");
                break;
            default: {
                const int index = m_strings->indexOf(xml::stripForbiddenCharacters(value.toString()));
                cell.append_attribute("t") = "s";
                cell.append_child("v").text().set(index);
            }
            }
        }
    }
}

int XlsxWorkbook::cellStyle(int row, int column) const
{
    const pugi::xml_node cell = findCell(row, column);
    return cell ? cell.attribute("s").as_int() : 0;
}

void XlsxWorkbook::copyRowFormat(int sourceRow, const CellRange& target)
{
    std::vector<QString> styles;
    for (int column = target.firstColumn; column <= target.lastColumn; ++column)
        styles.push_back(QString::number(cellStyle(sourceRow, column)));
    const pugi::xml_node source = rowNode(sourceRow, false);
    const bool hasHeight = source && source.attribute("ht");
    for (int row = target.firstRow; row <= target.lastRow; ++row) {
        // Rows of a list look alike only with the height of the model row too.
        if (hasHeight && row != sourceRow) {
            pugi::xml_node rowElement = rowNode(row, true);
            xml::setAttribute(rowElement, "ht", xml::attribute(source, "ht"));
            rowElement.remove_attribute("customHeight");
            if (source.attribute("customHeight"))
                xml::setAttribute(rowElement, "customHeight", xml::attribute(source, "customHeight"));
        }
        for (int column = target.firstColumn; column <= target.lastColumn; ++column) {
            pugi::xml_node cell = cellNode(row, column, true);
            xml::setAttribute(cell, "s", styles[static_cast<size_t>(column - target.firstColumn)]);
        }
    }
}

void XlsxWorkbook::setBorder(const CellRange& range, BorderEdge edge, const BorderLine& line)
{
    auto draw = [&](int row, int column, int sides) {
        pugi::xml_node cell = cellNode(row, column, true);
        const int style = m_styles->withBorder(cell.attribute("s").as_int(), sides, line);
        xml::setAttribute(cell, "s", QString::number(style));
    };
    using S = Styles::Side;
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            int sides = 0;
            switch (edge) {
            case BorderEdge::Left:
                sides = column == range.firstColumn ? S::Left : 0;
                break;
            case BorderEdge::Right:
                sides = column == range.lastColumn ? S::Right : 0;
                break;
            case BorderEdge::Top:
                sides = row == range.firstRow ? S::Top : 0;
                break;
            case BorderEdge::Bottom:
                sides = row == range.lastRow ? S::Bottom : 0;
                break;
            case BorderEdge::InsideVertical:
                // Both neighbours carry the line, so each cell shows it on its own.
                sides = (column > range.firstColumn ? S::Left : 0) | (column < range.lastColumn ? S::Right : 0);
                break;
            case BorderEdge::InsideHorizontal:
                sides = (row > range.firstRow ? S::Top : 0) | (row < range.lastRow ? S::Bottom : 0);
                break;
            case BorderEdge::DiagonalDown:
                sides = S::DiagonalDown;
                break;
            case BorderEdge::DiagonalUp:
                sides = S::DiagonalUp;
                break;
            }
            if (sides)
                draw(row, column, sides);
        }
}

void XlsxWorkbook::selectCell(int row, int column)
{
    pugi::xml_node root = m_sheet->document_element();
    pugi::xml_node views = root.child("sheetViews");
    if (!views) {
        pugi::xml_node anchor = root.child("dimension") ? root.child("dimension") : root.child("sheetPr");
        views = anchor ? root.insert_child_after("sheetViews", anchor) : root.prepend_child("sheetViews");
    }
    pugi::xml_node view = views.child("sheetView");
    if (!view) {
        view = views.append_child("sheetView");
        view.append_attribute("workbookViewId") = "0";
    }
    const pugi::xml_node pane = view.child("pane");
    while (view.child("selection"))
        view.remove_child("selection");
    pugi::xml_node selection = view.append_child("selection");
    if (pane && pane.attribute("activePane"))
        selection.append_attribute("pane") = pane.attribute("activePane").value();
    const QByteArray reference = cellReference(row, column).toUtf8();
    selection.append_attribute("activeCell") = reference.constData();
    selection.append_attribute("sqref") = reference.constData();
}

QVariant XlsxWorkbook::cellValue(int row, int column) const
{
    const pugi::xml_node cell = findCell(row, column);
    if (!cell || (!cell.child("v") && !cell.child("is")))
        return {};
    const QString type = xml::attribute(cell, "t");
    const QString value = QString::fromUtf8(cell.child("v").text().get());
    if (type == QLatin1String("s"))
        return m_strings->text(value.toInt());
    if (type == QLatin1String("inlineStr"))
        return QString::fromUtf8(cell.child("is").child("t").text().get());
    if (type == QLatin1String("str") || type == QLatin1String("e"))
        return value;
    if (type == QLatin1String("b"))
        return value == QLatin1String("1");
    return value.toDouble();
}

int XlsxWorkbook::lastRow() const
{
    return m_rows.empty() ? 0 : m_rows.rbegin()->first;
}

void XlsxWorkbook::updateDimension() const
{
    int minRow = 0, maxRow = 0, minColumn = 0, maxColumn = 0;
    for (const auto& [number, row] : m_rows)
        for (pugi::xml_node cell : row.children("c")) {
            const int column = columnOfReference(cell.attribute("r").value());
            minRow = minRow == 0 ? number : std::min(minRow, number);
            maxRow = std::max(maxRow, number);
            minColumn = minColumn == 0 ? column : std::min(minColumn, column);
            maxColumn = std::max(maxColumn, column);
        }
    pugi::xml_node root = m_sheet->document_element();
    pugi::xml_node dimension = root.child("dimension");
    if (!dimension) {
        dimension = root.child("sheetPr") ? root.insert_child_after("dimension", root.child("sheetPr")) : root.prepend_child("dimension");
    }
    const QString reference = minRow == 0 ? QStringLiteral("A1")
                              : (minRow == maxRow && minColumn == maxColumn)
                                  ? cellReference(minRow, minColumn)
                                  : cellReference(minRow, minColumn) + QLatin1Char(':') + cellReference(maxRow, maxColumn);
    xml::setAttribute(dimension, "ref", reference);
}

QByteArray XlsxWorkbook::serialisedPackage() const
{
    updateDimension();
    int references = 0;
    for (const auto& [number, row] : m_rows)
        for (pugi::xml_node cell : row.children("c"))
            if (std::strcmp(cell.attribute("t").value(), "s") == 0)
                ++references;
    // Other worksheets of a template may use shared strings too.
    for (const Relationship& relationship : m_package.relationships(m_workbookPart)) {
        const QString part = OoxmlPackage::resolveTarget(m_workbookPart, relationship.target);
        if (relationship.type != QLatin1String(kSheetRel) || part == m_sheetPart || !m_package.hasPart(part))
            continue;
        pugi::xml_document other;
        xml::load(other, m_package.part(part), part);
        references += static_cast<int>(other.select_nodes("//c[@t='s']").size());
    }
    OoxmlPackage package = m_package;
    package.setPart(m_sheetPart, xml::save(*m_sheet));
    package.setPart(m_styles->part(), m_styles->save());
    package.setPart(m_strings->part(), m_strings->save(references));
    return package.toBytes();
}

QByteArray XlsxWorkbook::toBytes() const
{
    return serialisedPackage();
}

void XlsxWorkbook::saveAs(const QString& path) const
{
    saveBytesToFile(path, serialisedPackage());
}

} // namespace printing
