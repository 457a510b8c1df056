#include "printing/docx_document.h"

#include "app/app_error.h"
#include "printing/document_inserter.h"
#include "printing/wordml.h"
#include "printing/xml_util.h"

#include <QDir>

namespace printing {

namespace {

// Where a new run after `anchor` takes its formatting from: the run before it in the paragraph,
// else the run after it, else the paragraph mark.
pugi::xml_node formattingSource(pugi::xml_node anchor, pugi::xml_node paragraph)
{
    for (pugi::xml_node node = anchor.previous_sibling(); node; node = node.previous_sibling())
        if (wordml::is(node, "w:r"))
            return node.child("w:rPr");
    for (pugi::xml_node node = anchor.next_sibling(); node; node = node.next_sibling())
        if (wordml::is(node, "w:r"))
            return node.child("w:rPr");
    return paragraph.child("w:pPr").child("w:rPr");
}

void copyRunProperties(pugi::xml_node run, pugi::xml_node source)
{
    if (!source)
        return;
    pugi::xml_node properties = run.prepend_child("w:rPr");
    for (pugi::xml_node child : source.children()) {
        // Revision marks of a paragraph mark do not belong on a run.
        if (wordml::is(child, "w:ins") || wordml::is(child, "w:del") || wordml::is(child, "w:moveFrom")
            || wordml::is(child, "w:moveTo") || wordml::is(child, "w:rPrChange"))
            continue;
        properties.append_copy(child);
    }
}

// The paragraph that holds `node`, or the first paragraph after it when it stands between
// paragraphs (bookmarks may sit at table or body level).
pugi::xml_node paragraphForInsertion(pugi::xml_node node, pugi::xml_node body, bool& atStart)
{
    atStart = false;
    if (pugi::xml_node paragraph = wordml::ancestorOrSelf(node.parent(), "w:p"))
        return paragraph;
    atStart = true;
    bool passed = false;
    pugi::xml_node found;
    wordml::forEachElement(body, [&](pugi::xml_node element) {
        if (found)
            return false;
        if (element == node)
            passed = true;
        else if (passed && wordml::is(element, "w:p"))
            found = element;
        return true;
    });
    if (!found)
        found = node.parent().insert_child_after("w:p", node);
    return found;
}

} // namespace

DocxDocument::DocxDocument(OoxmlPackage package)
    : m_package(std::move(package))
    , m_xml(std::make_unique<pugi::xml_document>())
{
    m_mainPart = m_package.mainDocumentPart();
    xml::load(*m_xml, m_package.part(m_mainPart), m_mainPart);
    if (!body())
        throw app::AppError(QStringLiteral("文档“%1”没有正文").arg(m_mainPart));
}

DocxDocument::DocxDocument(DocxDocument&&) noexcept = default;
DocxDocument& DocxDocument::operator=(DocxDocument&&) noexcept = default;
DocxDocument::~DocxDocument() = default;

DocxDocument DocxDocument::open(const QString& path)
{
    return DocxDocument(OoxmlPackage::fromFile(path));
}

DocxDocument DocxDocument::fromBytes(const QByteArray& bytes)
{
    return DocxDocument(OoxmlPackage::fromBytes(bytes));
}

pugi::xml_node DocxDocument::body() const
{
    return m_xml->document_element().child("w:body");
}

int DocxDocument::replaceAll(const QString& find, const QString& replacement)
{
    return replaceAll(Replacements{{find, replacement}});
}

int DocxDocument::replaceAll(const Replacements& replacements)
{
    return TextReplacer(replacements).replaceIn(body());
}

pugi::xml_node DocxDocument::requireBookmark(const QString& bookmark) const
{
    const pugi::xml_node start = wordml::findBookmarkStart(body(), bookmark);
    if (!start)
        throw app::AppError(QStringLiteral("打印模板中缺少书签“%1”").arg(bookmark));
    return start;
}

bool DocxDocument::hasBookmark(const QString& bookmark) const
{
    return wordml::findBookmarkStart(body(), bookmark);
}

QStringList DocxDocument::bookmarkNames() const
{
    QStringList names;
    wordml::forEachElement(body(), [&](pugi::xml_node node) {
        if (wordml::is(node, "w:bookmarkStart"))
            names << xml::attribute(node, "w:name");
        return true;
    });
    return names;
}

void DocxDocument::insertTextAfterBookmark(const QString& bookmark, const QString& text)
{
    const pugi::xml_node start = requireBookmark(bookmark);
    const QString value = xml::stripForbiddenCharacters(text);
    if (value.isEmpty())
        return;
    pugi::xml_node anchor = wordml::findBookmarkEnd(body(), start);
    if (!anchor)
        anchor = start;
    bool atStart = false;
    pugi::xml_node paragraph = paragraphForInsertion(anchor, body(), atStart);
    pugi::xml_node run;
    if (atStart) {
        pugi::xml_node properties = paragraph.child("w:pPr");
        run = properties ? paragraph.insert_child_after("w:r", properties) : paragraph.prepend_child("w:r");
        copyRunProperties(run, paragraph.child("w:pPr").child("w:rPr"));
    } else {
        run = anchor.parent().insert_child_after("w:r", anchor);
        copyRunProperties(run, formattingSource(run, anchor.parent()));
    }
    wordml::writeValue(run, run.last_child(), value);
}

void DocxDocument::insertDocumentAtBookmark(const QString& bookmark, const QByteArray& sourceDocx)
{
    const pugi::xml_node start = requireBookmark(bookmark);
    if (sourceDocx.isEmpty())
        return;
    DocxDocument source = fromBytes(sourceDocx);
    DocumentInserter(*this, source).insertAt(start);
}

void DocxDocument::deleteBookmarkRows(const QString& bookmark)
{
    const pugi::xml_node start = requireBookmark(bookmark);
    pugi::xml_node row = wordml::ancestorOrSelf(start, "w:tr");
    if (!row && wordml::is(start.parent(), "w:tbl"))
        row = start.next_sibling("w:tr");
    if (!row)
        throw app::AppError(QStringLiteral("书签“%1”不在表格行中").arg(bookmark));

    const pugi::xml_node end = wordml::findBookmarkEnd(body(), start);
    if (end && !wordml::ancestorOrSelf(end, "w:tr"))
        end.parent().remove_child(end);
    pugi::xml_node table = row.parent();
    const pugi::xml_node next = row.next_sibling("w:tr");
    if (next)
        table.remove_child(next);
    table.remove_child(row);

    // A table without rows is not valid; a cell must end with a paragraph.
    if (!table.child("w:tr")) {
        pugi::xml_node container = table.parent();
        container.remove_child(table);
        if (wordml::is(container, "w:tc") && !container.child("w:p"))
            container.append_child("w:p");
    }
}

QString DocxDocument::plainText() const
{
    QStringList lines;
    wordml::forEachElement(body(), [&](pugi::xml_node node) {
        if (!wordml::is(node, "w:p"))
            return true;
        QString line;
        wordml::forEachElement(node, [&](pugi::xml_node inner) {
            if (wordml::is(inner, "w:p"))
                return false;
            if (wordml::is(inner, "w:t"))
                line += QString::fromUtf8(inner.text().get());
            else if (wordml::is(inner, "w:br"))
                line += QLatin1Char('\n');
            else if (wordml::is(inner, "w:tab"))
                line += QLatin1Char('\t');
            return true;
        });
        lines << line;
        return true;
    });
    return lines.join(QLatin1Char('\n'));
}

QByteArray DocxDocument::toBytes() const
{
    OoxmlPackage package = m_package;
    package.setPart(m_mainPart, xml::save(*m_xml));
    return package.toBytes();
}

void DocxDocument::saveAs(const QString& path) const
{
    OoxmlPackage package = m_package;
    package.setPart(m_mainPart, xml::save(*m_xml));
    package.saveToFile(path);
}

} // namespace printing
