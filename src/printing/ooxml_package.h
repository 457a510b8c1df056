#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace printing {

// Well-known relationship and content types of the documents we write.
namespace ooxml {
inline constexpr const char* kRelationshipsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr const char* kContentTypesNs = "http://schemas.openxmlformats.org/package/2006/content-types";
inline constexpr const char* kOfficeDocumentRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr const char* kRelationshipsContentType = "application/vnd.openxmlformats-package.relationships+xml";
} // namespace ooxml

// One relationship of a part, as read from its ".rels" part.
struct Relationship
{
    QString id;
    QString type;
    QString target;      // as written: relative to the source part's folder unless external
    bool external = false;
};

// An Office Open XML package held in memory: a zip archive of named parts. Parts are kept in
// archive order; new parts go to the end. Nothing touches the disk except open and save.
class OoxmlPackage
{
public:
    // Throw app::AppError when the bytes or the file are not a readable zip archive.
    static OoxmlPackage fromBytes(const QByteArray& bytes);
    static OoxmlPackage fromFile(const QString& path);

    bool hasPart(const QString& name) const;
    // Throws app::AppError naming the part when it is missing.
    QByteArray part(const QString& name) const;
    void setPart(const QString& name, const QByteArray& content);
    void removePart(const QString& name);
    QStringList partNames() const;

    QByteArray toBytes() const;
    // Writes the archive; an existing file is replaced.
    void saveToFile(const QString& path) const;

    // [Content_Types].xml
    QString contentTypeOf(const QString& partName) const;
    void setDefaultContentType(const QString& extension, const QString& contentType);
    void setOverrideContentType(const QString& partName, const QString& contentType);
    void removeOverrideContentType(const QString& partName);

    // Relationships of a part ("" for the package itself).
    static QString relationshipsPartOf(const QString& sourcePart);
    // The part a relative target of `sourcePart` points to, as a part name without leading "/".
    static QString resolveTarget(const QString& sourcePart, const QString& target);
    std::vector<Relationship> relationships(const QString& sourcePart) const;
    // Adds a relationship and returns its id: `id` when given, else a new "rIdN" unused in that part.
    QString addRelationship(const QString& sourcePart, const QString& type, const QString& target,
                            bool external = false, const QString& id = {});
    // Removes every relationship of `sourcePart` that points at `targetPart`.
    void removeRelationshipsTo(const QString& sourcePart, const QString& targetPart);
    // The part of the package's main document (officeDocument relationship).
    QString mainDocumentPart() const;

    // A part name not yet in use, made from `wanted` by numbering its base name when needed.
    QString unusedPartName(const QString& wanted) const;

private:
    struct Entry
    {
        QString name;
        QByteArray content;
    };
    const Entry* find(const QString& name) const;
    Entry* find(const QString& name);

    std::vector<Entry> m_entries;
};

// Writes bytes to a file through a temporary file, so a failed write never leaves half a file;
// an existing file is replaced. Throws app::AppError.
void saveBytesToFile(const QString& path, const QByteArray& bytes);

// Zips a folder of unpacked OOXML parts into a package: "[Content_Types].xml" first, then every
// other file in sorted path order, with fixed time stamps, so the same folder always gives the
// same bytes. Throws app::AppError when the folder or a file cannot be read.
QByteArray packDirectory(const QString& dir);

} // namespace printing
