#include "printing_fixtures.h"

#include "app/app_error.h"
#include "printing/ooxml_package.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace printing;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QString unpackedTemplate(const QTemporaryDir& dir)
{
    const QString root = dir.filePath(QStringLiteral("模板.docx"));
    writeFile(root + QStringLiteral("/word/document.xml"), "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body/></w:document>");
    writeFile(root + QStringLiteral("/_rels/.rels"),
              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
              "</Relationships>");
    writeFile(root + QStringLiteral("/[Content_Types].xml"),
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
              "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
              "</Types>");
    return root;
}

} // namespace

TEST(PackDirectory, PutsContentTypesFirstAndPacksTheSameFolderToTheSameBytes)
{
    QTemporaryDir dir;
    const QString root = unpackedTemplate(dir);
    const QByteArray first = packDirectory(root);
    EXPECT_EQ(first, packDirectory(root));

    const OoxmlPackage package = OoxmlPackage::fromBytes(first);
    EXPECT_EQ(package.partNames(), (QStringList{"[Content_Types].xml", "_rels/.rels", "word/document.xml"}));
    EXPECT_EQ(package.mainDocumentPart(), QStringLiteral("word/document.xml"));
}

TEST(PackDirectory, RefusesPartsWithoutAContentTypeAndFoldersWithoutTypes)
{
    QTemporaryDir dir;
    const QString root = unpackedTemplate(dir);
    writeFile(root + QStringLiteral("/word/media/image1.png"), "png");
    EXPECT_THROW(packDirectory(root), app::AppError);
    QFile::remove(root + QStringLiteral("/[Content_Types].xml"));
    EXPECT_THROW(packDirectory(root), app::AppError);
    EXPECT_THROW(packDirectory(dir.filePath(QStringLiteral("没有"))), app::AppError);
}

TEST(OoxmlPackageParts, RoundTripsPartsContentTypesAndRelationships)
{
    QTemporaryDir dir;
    OoxmlPackage package = OoxmlPackage::fromBytes(packDirectory(unpackedTemplate(dir)));
    package.setPart(QStringLiteral("word/media/图.png"), QByteArray("\x89PNG", 4));
    package.setDefaultContentType(QStringLiteral("png"), QStringLiteral("image/png"));
    const QString id = package.addRelationship(QStringLiteral("word/document.xml"),
                                               QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"),
                                               QStringLiteral("media/图.png"));
    package.setOverrideContentType(QStringLiteral("/word/extra.xml"), QStringLiteral("application/x-extra"));

    const QString path = dir.filePath(QStringLiteral("out.docx"));
    package.saveToFile(path);
    const OoxmlPackage reread = OoxmlPackage::fromFile(path);
    EXPECT_EQ(reread.part(QStringLiteral("word/media/图.png")), QByteArray("\x89PNG", 4));
    EXPECT_EQ(reread.contentTypeOf(QStringLiteral("word/media/图.png")), QStringLiteral("image/png"));
    EXPECT_EQ(reread.contentTypeOf(QStringLiteral("word/extra.xml")), QStringLiteral("application/x-extra"));
    const std::vector<Relationship> relationships = reread.relationships(QStringLiteral("word/document.xml"));
    ASSERT_EQ(relationships.size(), 1u);
    EXPECT_EQ(relationships[0].id, id);
    EXPECT_EQ(OoxmlPackage::resolveTarget(QStringLiteral("word/document.xml"), relationships[0].target), QStringLiteral("word/media/图.png"));
    EXPECT_EQ(reread.unusedPartName(QStringLiteral("word/media/图.png")), QStringLiteral("word/media/图_2.png"));

    OoxmlPackage changed = reread;
    changed.removeRelationshipsTo(QStringLiteral("word/document.xml"), QStringLiteral("word/media/图.png"));
    changed.removeOverrideContentType(QStringLiteral("word/extra.xml"));
    changed.removePart(QStringLiteral("word/media/图.png"));
    EXPECT_TRUE(changed.relationships(QStringLiteral("word/document.xml")).empty());
    EXPECT_TRUE(changed.contentTypeOf(QStringLiteral("word/extra.xml")).isEmpty());
    EXPECT_FALSE(changed.hasPart(QStringLiteral("word/media/图.png")));
    EXPECT_THROW(changed.part(QStringLiteral("word/media/图.png")), app::AppError);
}

TEST(OoxmlPackageParts, ResolvesTargetsAndRelationshipPartNames)
{
    struct Case
    {
        const char* source;
        const char* target;
        const char* resolved;
    };
    for (const Case& c : {Case{"word/document.xml", "media/a.png", "word/media/a.png"},
                          Case{"word/document.xml", "../customXml/item1.xml", "customXml/item1.xml"},
                          Case{"word/document.xml", "/word/theme/theme1.xml", "word/theme/theme1.xml"},
                          Case{"", "word/document.xml", "word/document.xml"}})
        EXPECT_EQ(OoxmlPackage::resolveTarget(QLatin1String(c.source), QLatin1String(c.target)), QLatin1String(c.resolved));
    EXPECT_EQ(OoxmlPackage::relationshipsPartOf(QString()), QStringLiteral("_rels/.rels"));
    EXPECT_EQ(OoxmlPackage::relationshipsPartOf(QStringLiteral("xl/workbook.xml")), QStringLiteral("xl/_rels/workbook.xml.rels"));
}

TEST(OoxmlPackageParts, RejectsBytesThatAreNotAnArchive)
{
    EXPECT_THROW(OoxmlPackage::fromBytes(QByteArray("not a zip file")), app::AppError);
    EXPECT_THROW(OoxmlPackage::fromFile(QStringLiteral("/nonexistent/file.docx")), app::AppError);
}
