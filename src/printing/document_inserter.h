#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <pugixml.hpp>

#include <vector>

namespace printing {

class DocxDocument;

// Copies the body of one document into another at a bookmark, the way a paste with source
// formatting does:
// - styles are matched by name; a style the target lacks is copied (with what it is based on);
// - lists are copied with fresh abstractNum and num ids, every abstractNum before every num;
// - bookmark ids and drawing ids (wp:docPr, pic:cNvPr) are renumbered; a bookmark whose name the
//   target already uses is dropped;
// - parts the body refers to (pictures, charts, ...) are copied with their content types and
//   relationships; hyperlinks keep their external targets;
// - the source's default font, size and line spacing are written onto the pasted paragraphs and
//   runs that do not set their own, so the text keeps its look under the target's defaults;
// - the source's section properties are dropped, as are references to its notes and comments.
// The blocks go before the paragraph holding the bookmark when no text precedes the bookmark in
// it, otherwise after that paragraph.
class DocumentInserter
{
public:
    DocumentInserter(DocxDocument& target, DocxDocument& source);
    void insertAt(pugi::xml_node bookmarkStart);

private:
    std::vector<pugi::xml_node> copyBlocks(pugi::xml_node bookmarkStart);
    void declareSourceNamespaces();

    void mergeNumbering();
    QString mapStyle(const QString& sourceId);
    void remapStyleReferences(pugi::xml_node root);
    void remapNumberingReferences(pugi::xml_node root);
    void renumberBookmarks(const std::vector<pugi::xml_node>& blocks);
    void renumberDrawings(const std::vector<pugi::xml_node>& blocks);
    void dropForeignReferences(const std::vector<pugi::xml_node>& blocks);
    void carrySourceDefaults(const std::vector<pugi::xml_node>& blocks);
    void remapRelationships(pugi::xml_node root);
    QString copyRelationship(const QString& sourceId);
    QString copyPart(const QString& sourcePart);

    struct XmlPart
    {
        QString name;
        pugi::xml_document xml;
        bool loaded = false;
    };
    bool loadPart(XmlPart& part, const DocxDocument& document, const char* relationshipType);
    void storePart(XmlPart& part, DocxDocument& document);

    DocxDocument& m_target;
    DocxDocument& m_source;

    XmlPart m_targetStyles;
    XmlPart m_sourceStyles;
    XmlPart m_targetNumbering;
    XmlPart m_sourceNumbering;

    QHash<QString, QString> m_styleIds;   // source style id -> target style id
    int m_numIdOffset = 0;
    int m_abstractNumIdOffset = 0;
    QHash<QString, QString> m_relationshipIds; // source relationship id -> target relationship id
    QHash<QString, QString> m_copiedParts;     // source part -> target part
    QString m_relationshipPrefix = QStringLiteral("r");
};

} // namespace printing
