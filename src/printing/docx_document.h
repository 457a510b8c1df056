#pragma once

#include "printing/ooxml_package.h"
#include "printing/text_replacer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <memory>

namespace printing {

// A Word document (.docx) being filled: the package with its main document part parsed once.
// All operations work on the main text (the body, including tables and text boxes); headers and
// footers are left alone. Failures throw app::AppError with a text for the user.
class DocxDocument
{
public:
    static DocxDocument open(const QString& path);
    static DocxDocument fromBytes(const QByteArray& bytes);

    DocxDocument(DocxDocument&&) noexcept;
    DocxDocument& operator=(DocxDocument&&) noexcept;
    ~DocxDocument();

    // Replaces every occurrence of `find`, ignoring letter case; an empty replacement deletes.
    // Returns the number of occurrences replaced.
    int replaceAll(const QString& find, const QString& replacement);
    // Many replacements in one pass over the document.
    int replaceAll(const Replacements& replacements);

    // Inserts `text` right after the bookmark, in the formatting of the text before it.
    void insertTextAfterBookmark(const QString& bookmark, const QString& text);
    // Inserts the whole body of another .docx at the bookmark, with its formatting, lists and
    // pictures. Empty bytes insert nothing.
    void insertDocumentAtBookmark(const QString& bookmark, const QByteArray& sourceDocx);
    // Deletes the table row holding the bookmark and the row after it.
    void deleteBookmarkRows(const QString& bookmark);

    bool hasBookmark(const QString& bookmark) const;
    QStringList bookmarkNames() const;
    // The main text, one line per paragraph (tests and checks).
    QString plainText() const;

    QByteArray toBytes() const;
    void saveAs(const QString& path) const;

    // Direct access for the document inserter and for checks.
    OoxmlPackage& package() { return m_package; }
    const OoxmlPackage& package() const { return m_package; }
    const QString& mainPart() const { return m_mainPart; }
    pugi::xml_document& xml() { return *m_xml; }
    const pugi::xml_document& xml() const { return *m_xml; }
    pugi::xml_node body() const;

private:
    explicit DocxDocument(OoxmlPackage package);
    pugi::xml_node requireBookmark(const QString& bookmark) const;

    OoxmlPackage m_package;
    QString m_mainPart;
    std::unique_ptr<pugi::xml_document> m_xml;
};

} // namespace printing
