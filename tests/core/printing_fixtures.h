#pragma once

// Small documents built in code for the printing tests.

#include "printing/docx_document.h"
#include "printing/ooxml_package.h"
#include "printing/xml_util.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <pugixml.hpp>

namespace printing_fixtures {

inline const QByteArray kXmlDeclaration = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
inline const char* const kWordNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"";

struct DocxParts
{
    QString body;                 // inner XML of w:body, without sectPr
    QString styles;               // inner XML of w:styles
    QString numbering;            // inner XML of w:numbering; no numbering part when empty
    QString extraRelationships;   // more <Relationship/> elements of the main document
    QString extraContentTypes;    // more <Default/>/<Override/> elements
    QMap<QString, QByteArray> extraParts;
    QString sectPr = QStringLiteral("<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr>");
};

inline QByteArray makeDocx(const DocxParts& parts)
{
    printing::OoxmlPackage package;
    const bool numbered = !parts.numbering.isEmpty();
    package.setPart(QStringLiteral("[Content_Types].xml"),
                    kXmlDeclaration
                        + QStringLiteral("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                                         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                                         "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                                         "<Override PartName=\"/word/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
                                         "%1%2</Types>")
                              .arg(numbered ? QStringLiteral("<Override PartName=\"/word/numbering.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\"/>") : QString(),
                                   parts.extraContentTypes)
                              .toUtf8());
    package.setPart(QStringLiteral("_rels/.rels"),
                    kXmlDeclaration
                        + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
                          "</Relationships>");
    package.setPart(QStringLiteral("word/_rels/document.xml.rels"),
                    kXmlDeclaration
                        + QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
                                         "%1%2</Relationships>")
                              .arg(numbered ? QStringLiteral("<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering\" Target=\"numbering.xml\"/>") : QString(),
                                   parts.extraRelationships)
                              .toUtf8());
    package.setPart(QStringLiteral("word/styles.xml"),
                    kXmlDeclaration + QStringLiteral("<w:styles %1>%2</w:styles>").arg(QLatin1String(kWordNamespaces), parts.styles).toUtf8());
    if (numbered)
        package.setPart(QStringLiteral("word/numbering.xml"),
                        kXmlDeclaration + QStringLiteral("<w:numbering %1>%2</w:numbering>").arg(QLatin1String(kWordNamespaces), parts.numbering).toUtf8());
    package.setPart(QStringLiteral("word/document.xml"),
                    kXmlDeclaration
                        + QStringLiteral("<w:document %1><w:body>%2%3</w:body></w:document>")
                              .arg(QLatin1String(kWordNamespaces), parts.body, parts.sectPr)
                              .toUtf8());
    for (auto it = parts.extraParts.constBegin(); it != parts.extraParts.constEnd(); ++it)
        package.setPart(it.key(), it.value());
    return package.toBytes();
}

inline QByteArray makeDocx(const QString& body)
{
    DocxParts parts;
    parts.body = body;
    return makeDocx(parts);
}

inline QString paragraph(const QString& text)
{
    return QStringLiteral("<w:p><w:r><w:t xml:space=\"preserve\">%1</w:t></w:r></w:p>").arg(text);
}

inline QString bookmarkParagraph(const QString& name, int id, const QString& before = {})
{
    return QStringLiteral("<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>%1</w:t></w:r>"
                          "<w:bookmarkStart w:id=\"%2\" w:name=\"%3\"/><w:bookmarkEnd w:id=\"%2\"/></w:p>")
        .arg(before)
        .arg(id)
        .arg(name);
}

inline QString tableRow(const QString& cellContent)
{
    return QStringLiteral("<w:tr><w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>%1</w:tc></w:tr>").arg(cellContent);
}

// Parses a part of a saved package.
inline void loadPart(pugi::xml_document& document, const printing::OoxmlPackage& package, const QString& part)
{
    printing::xml::load(document, package.part(part), part);
}

} // namespace printing_fixtures
