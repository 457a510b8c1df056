#include "printing_fixtures.h"

#include "app/app_error.h"
#include "printing/docx_document.h"

#include <gtest/gtest.h>

using namespace printing;
using namespace printing_fixtures;

namespace {

DocxDocument reopen(const DocxDocument& document)
{
    return DocxDocument::fromBytes(document.toBytes());
}

QString documentXml(const DocxDocument& document)
{
    return QString::fromUtf8(reopen(document).package().part(QStringLiteral("word/document.xml")));
}

int count(const pugi::xml_node& root, const char* xpath)
{
    return static_cast<int>(root.select_nodes(xpath).size());
}

} // namespace

// --- replacing text -------------------------------------------------------------------------

struct ReplaceCase
{
    const char* name;
    QString body;
    QString find;
    QString value;
    QString expectedText;
};

class ReplaceTest : public ::testing::TestWithParam<ReplaceCase>
{
};

TEST_P(ReplaceTest, ReplacesEveryOccurrence)
{
    const ReplaceCase& c = GetParam();
    DocxDocument document = DocxDocument::fromBytes(makeDocx(c.body));
    document.replaceAll(c.find, c.value);
    EXPECT_EQ(reopen(document).plainText(), c.expectedText);
}

INSTANTIATE_TEST_SUITE_P(
    DocxReplaceCases, ReplaceTest,
    ::testing::Values(
        ReplaceCase{"plain", paragraph(QStringLiteral("姓名：$候$姓名$。")), QStringLiteral("$候$姓名$"), QStringLiteral("张三"),
                    QStringLiteral("姓名：张三。")},
        ReplaceCase{"ignoresLetterCase", paragraph(QStringLiteral("a $X$Name$ b")), QStringLiteral("$x$NAME$"), QStringLiteral("v"),
                    QStringLiteral("a v b")},
        ReplaceCase{"repeated", paragraph(QStringLiteral("$a$b$ and $A$B$")) + paragraph(QStringLiteral("$a$b$")),
                    QStringLiteral("$a$b$"), QStringLiteral("1"), QStringLiteral("1 and 1\n1")},
        ReplaceCase{"emptyDeletes", paragraph(QStringLiteral("[$a$b$]")), QStringLiteral("$a$b$"), QString(), QStringLiteral("[]")},
        ReplaceCase{"notFoundIsNoError", paragraph(QStringLiteral("text")), QStringLiteral("$a$b$"), QStringLiteral("x"),
                    QStringLiteral("text")},
        ReplaceCase{"valueIsLiteral", paragraph(QStringLiteral("$a$b$")), QStringLiteral("$a$b$"), QStringLiteral("<&>$a$b$\\1"),
                    QStringLiteral("<&>$a$b$\\1")},
        ReplaceCase{"keepsOuterSpaces", paragraph(QStringLiteral("[$a$b$]")), QStringLiteral("$a$b$"), QStringLiteral("  x  "),
                    QStringLiteral("[  x  ]")},
        ReplaceCase{"stripsForbiddenCharacters", paragraph(QStringLiteral("$a$b$")), QStringLiteral("$a$b$"),
                    QStringLiteral("a") + QChar(0x01) + QStringLiteral("b") + QChar(0xFFFF), QStringLiteral("ab")},
        ReplaceCase{"insideTables",
                    QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl>").arg(tableRow(paragraph(QStringLiteral("$a$b$")))),
                    QStringLiteral("$a$b$"), QStringLiteral("cell"), QStringLiteral("cell")},
        ReplaceCase{"insideTextBoxes",
                    QStringLiteral("<w:p><w:r><w:t>out</w:t></w:r><w:r><w:pict><v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\">"
                                   "<v:textbox><w:txbxContent>%1</w:txbxContent></v:textbox></v:shape></w:pict></w:r></w:p>")
                        .arg(paragraph(QStringLiteral("$a$b$"))),
                    QStringLiteral("$a$b$"), QStringLiteral("boxed"), QStringLiteral("out\nboxed")}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(DocxReplace, FindsTextSplitOverRunsAndKeepsTheFormattingOfTheFirstRun)
{
    const QString body = QStringLiteral(
        "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>前$候</w:t></w:r><w:proofErr w:type=\"spellStart\"/>"
        "<w:r><w:rPr><w:i/></w:rPr><w:t>$姓</w:t></w:r><w:r><w:rPr><w:u w:val=\"single\"/></w:rPr><w:t>名$后</w:t></w:r></w:p>");
    DocxDocument document = DocxDocument::fromBytes(makeDocx(body));
    EXPECT_EQ(document.replaceAll(QStringLiteral("$候$姓名$"), QStringLiteral("张三")), 1);

    const DocxDocument saved = reopen(document);
    EXPECT_EQ(saved.plainText(), QStringLiteral("前张三后"));
    const pugi::xml_node bold = saved.body().select_node("//w:r[w:rPr/w:b]/w:t").node();
    EXPECT_STREQ(bold.text().get(), "前张三");
    const pugi::xml_node underlined = saved.body().select_node("//w:r[w:rPr/w:u]/w:t").node();
    EXPECT_STREQ(underlined.text().get(), "后");
}

TEST(DocxReplace, LineBreaksAndTabsBecomeBreakAndTabElementsInTheSameRun)
{
    DocxDocument document = DocxDocument::fromBytes(
        makeDocx(QStringLiteral("<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>[$a$b$]</w:t></w:r></w:p>")));
    document.replaceAll(QStringLiteral("$a$b$"), QStringLiteral("one\r\ntwo\nthree\tfour"));
    const DocxDocument saved = reopen(document);
    EXPECT_EQ(saved.plainText(), QStringLiteral("[one\ntwo\nthree\tfour]"));
    EXPECT_EQ(count(saved.body(), "//w:r"), 1);
    EXPECT_EQ(count(saved.body(), "//w:r/w:br"), 2);
    EXPECT_EQ(count(saved.body(), "//w:r/w:tab"), 1);
}

TEST(DocxReplace, PrintsLongValuesWhole)
{
    const QString value = QString(300, QChar(u'长'));
    DocxDocument document = DocxDocument::fromBytes(makeDocx(paragraph(QStringLiteral("$候$学风道德$"))));
    document.replaceAll(QStringLiteral("$候$学风道德$"), value);
    EXPECT_EQ(reopen(document).plainText(), value);
}

TEST(DocxReplace, BatchReplacesInOnePassPreferringTheLongestAndTheFirstEntry)
{
    DocxDocument document = DocxDocument::fromBytes(
        makeDocx(paragraph(QStringLiteral("$候$单位$|$候$单位电话$|$学$学校1$|$学$学校10$|$X$Y$"))));
    const int replaced = document.replaceAll(Replacements{
        {QStringLiteral("$候$单位$"), QStringLiteral("U")},
        {QStringLiteral("$候$单位电话$"), QStringLiteral("T")},
        {QStringLiteral("$学$学校1$"), QStringLiteral("S1")},
        {QStringLiteral("$学$学校10$"), QStringLiteral("S10")},
        {QStringLiteral("$x$y$"), QStringLiteral("first")},
        {QStringLiteral("$X$Y$"), QStringLiteral("second")},
        // a value holding another placeholder is printed as it is, not searched again
        {QStringLiteral("$未用$"), QStringLiteral("$候$单位$")},
    });
    EXPECT_EQ(replaced, 5);
    EXPECT_EQ(reopen(document).plainText(), QStringLiteral("U|T|S1|S10|first"));
}

TEST(DocxReplace, SeveralMatchesInOneRunAndAcrossRunsInOneParagraph)
{
    const QString body = QStringLiteral(
        "<w:p><w:r><w:t>$a$1$-$a$2$-$a</w:t></w:r><w:r><w:t>$3$-x</w:t></w:r><w:r><w:tab/></w:r><w:r><w:t>$a$1$</w:t></w:r></w:p>");
    DocxDocument document = DocxDocument::fromBytes(makeDocx(body));
    document.replaceAll(Replacements{{QStringLiteral("$a$1$"), QStringLiteral("one\nline")},
                                     {QStringLiteral("$a$2$"), QStringLiteral("two")},
                                     {QStringLiteral("$a$3$"), QStringLiteral("three")}});
    EXPECT_EQ(reopen(document).plainText(), QStringLiteral("one\nline-two-three-x\tone\nline"));
}

// --- bookmarks ------------------------------------------------------------------------------

TEST(DocxBookmarks, InsertsTextRightAfterTheBookmarkInTheFormattingBeforeIt)
{
    DocxDocument document = DocxDocument::fromBytes(
        makeDocx(bookmarkParagraph(QStringLiteral("意见"), 0, QStringLiteral("意见："))
                 + QStringLiteral("<w:p><w:r><w:t>下一段</w:t></w:r></w:p>")));
    const QString opinion = QString(300, QChar(u'好')) + QStringLiteral("\n第二行");
    document.insertTextAfterBookmark(QStringLiteral("意见"), opinion);

    const DocxDocument saved = reopen(document);
    EXPECT_EQ(saved.plainText(), QStringLiteral("意见：") + opinion + QStringLiteral("\n下一段"));
    EXPECT_TRUE(saved.hasBookmark(QStringLiteral("意见")));
    const pugi::xml_node inserted = saved.body().select_node("//w:bookmarkEnd/following-sibling::w:r[1]").node();
    EXPECT_TRUE(inserted.child("w:rPr").child("w:b"));
    EXPECT_TRUE(inserted.child("w:br"));
}

TEST(DocxBookmarks, MissingBookmarkThrowsNamingIt)
{
    DocxDocument document = DocxDocument::fromBytes(makeDocx(paragraph(QStringLiteral("x"))));
    try {
        document.insertTextAfterBookmark(QStringLiteral("院士意见6"), QStringLiteral("text"));
        FAIL() << "no error";
    } catch (const app::AppError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("院士意见6")));
    }
    EXPECT_THROW(document.deleteBookmarkRows(QStringLiteral("无")), app::AppError);
    EXPECT_THROW(document.insertDocumentAtBookmark(QStringLiteral("无"), {}), app::AppError);
}

TEST(DocxBookmarks, DeletesTheRowOfTheBookmarkAndTheRowAfterIt)
{
    QString rows = tableRow(paragraph(QStringLiteral("header")));
    for (int slot = 0; slot < 3; ++slot) {
        rows += tableRow(bookmarkParagraph(QStringLiteral("院士意见%1").arg(slot), slot, QStringLiteral("opinion%1").arg(slot)));
        rows += tableRow(paragraph(QStringLiteral("sign%1").arg(slot)));
    }
    DocxDocument document = DocxDocument::fromBytes(
        makeDocx(QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl><w:p/>").arg(rows)));
    document.deleteBookmarkRows(QStringLiteral("院士意见1"));
    document.deleteBookmarkRows(QStringLiteral("院士意见2"));

    const DocxDocument saved = reopen(document);
    EXPECT_EQ(saved.plainText(), QStringLiteral("header\nopinion0\nsign0\n"));
    EXPECT_EQ(count(saved.body(), "//w:tr"), 3);
    EXPECT_EQ(saved.bookmarkNames(), QStringList{QStringLiteral("院士意见0")});
    EXPECT_EQ(count(saved.body(), "//w:bookmarkEnd"), 1);
}

TEST(DocxBookmarks, DeletingEveryRowRemovesTheTable)
{
    const QString rows = tableRow(bookmarkParagraph(QStringLiteral("b"), 1)) + tableRow(paragraph(QStringLiteral("x")));
    DocxDocument document = DocxDocument::fromBytes(
        makeDocx(QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl><w:p/>").arg(rows)));
    document.deleteBookmarkRows(QStringLiteral("b"));
    EXPECT_EQ(count(reopen(document).body(), "//w:tbl"), 0);
}

TEST(DocxBookmarks, BookmarkOutsideATableCannotDeleteRows)
{
    DocxDocument document = DocxDocument::fromBytes(makeDocx(bookmarkParagraph(QStringLiteral("b"), 1)));
    EXPECT_THROW(document.deleteBookmarkRows(QStringLiteral("b")), app::AppError);
}

// --- inserting a document -------------------------------------------------------------------

namespace {

// A 1x1 PNG.
QByteArray tinyPng()
{
    return QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
}

QString drawing(const QString& relationshipId, int id)
{
    return QStringLiteral(
               "<w:r><w:drawing><wp:inline><wp:extent cx=\"9525\" cy=\"9525\"/><wp:docPr id=\"%2\" name=\"Picture %2\"/>"
               "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
               "<pic:nvPicPr><pic:cNvPr id=\"%2\" name=\"p.png\"/><pic:cNvPicPr/></pic:nvPicPr>"
               "<pic:blipFill><a:blip r:embed=\"%1\"/></pic:blipFill><pic:spPr/></pic:pic></a:graphicData></a:graphic>"
               "</wp:inline></w:drawing></w:r>")
        .arg(relationshipId)
        .arg(id);
}

QByteArray achievementsSource()
{
    DocxParts parts;
    parts.styles = QStringLiteral(
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"
        "<w:rPr><w:b/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"MyList\"><w:name w:val=\"My List\"/><w:basedOn w:val=\"Normal\"/></w:style>");
    parts.numbering = QStringLiteral(
        "<w:abstractNum w:abstractNumId=\"0\"><w:nsid w:val=\"11111111\"/><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
        "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>");
    parts.body = QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"1\"/></w:pPr><w:r><w:t>一、成就</w:t></w:r>"
                                "<w:bookmarkStart w:id=\"0\" w:name=\"来源书签\"/><w:bookmarkEnd w:id=\"0\"/>"
                                "<w:bookmarkStart w:id=\"1\" w:name=\"意见\"/><w:bookmarkEnd w:id=\"1\"/></w:p>")
                 + QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"MyList\"/><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>"
                                  "<w:r><w:t>第一项</w:t></w:r></w:p>")
                 + QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl>").arg(tableRow(paragraph(QStringLiteral("表格"))))
                 + QStringLiteral("<w:p><w:pPr><w:sectPr><w:pgSz w:w=\"100\" w:h=\"100\"/></w:sectPr></w:pPr>%1</w:p>").arg(drawing(QStringLiteral("rId7"), 1));
    parts.extraRelationships = QStringLiteral(
        "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" Target=\"media/image1.png\"/>");
    parts.extraContentTypes = QStringLiteral("<Default Extension=\"png\" ContentType=\"image/png\"/>");
    parts.extraParts.insert(QStringLiteral("word/media/image1.png"), tinyPng());
    parts.sectPr = QStringLiteral("<w:sectPr><w:pgSz w:w=\"5000\" w:h=\"5000\"/></w:sectPr>");
    return makeDocx(parts);
}

DocxDocument achievementsTarget()
{
    DocxParts parts;
    parts.styles = QStringLiteral(
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"MyList\"><w:name w:val=\"Other\"/></w:style>");
    parts.numbering = QStringLiteral(
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/></w:lvl></w:abstractNum>"
        "<w:abstractNum w:abstractNumId=\"3\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num><w:num w:numId=\"2\"><w:abstractNumId w:val=\"3\"/></w:num>");
    parts.body = paragraph(QStringLiteral("标题")) + bookmarkParagraph(QStringLiteral("主要成就"), 5)
                 + bookmarkParagraph(QStringLiteral("意见"), 6) + QStringLiteral("<w:p><w:r>%1</w:r></w:p>").arg(QString())
                 + QStringLiteral("<w:p>%1</w:p>").arg(drawing(QStringLiteral("rId1"), 4).replace(QStringLiteral("r:embed=\"rId1\""), QString()));
    return DocxDocument::fromBytes(makeDocx(parts));
}

} // namespace

TEST(DocxInsertDocument, PastesListTableAndPictureWithTheirFormatting)
{
    DocxDocument target = achievementsTarget();
    target.insertDocumentAtBookmark(QStringLiteral("主要成就"), achievementsSource());
    const DocxDocument saved = reopen(target);
    const OoxmlPackage& package = saved.package();

    EXPECT_EQ(saved.plainText(), QStringLiteral("标题\n一、成就\n第一项\n表格\n\n\n\n\n"));

    // Styles: "heading 1" matched by name, "My List" copied under a free id.
    pugi::xml_document styles;
    loadPart(styles, package, QStringLiteral("word/styles.xml"));
    EXPECT_STREQ(saved.body().select_node("//w:p[w:r/w:t='一、成就']/w:pPr/w:pStyle").node().attribute("w:val").value(), "Heading1");
    const QString listStyle = QString::fromUtf8(saved.body().select_node("//w:p[w:r/w:t='第一项']/w:pPr/w:pStyle").node().attribute("w:val").value());
    EXPECT_NE(listStyle, QStringLiteral("MyList"));
    EXPECT_EQ(QString::fromUtf8(styles.select_node(QStringLiteral("//w:style[@w:styleId='%1']/w:name").arg(listStyle).toUtf8().constData())
                                    .node().attribute("w:val").value()),
              QStringLiteral("My List"));

    // Numbering: fresh ids, abstractNums before nums, the list points at its own copy.
    pugi::xml_document numbering;
    loadPart(numbering, package, QStringLiteral("word/numbering.xml"));
    const QString numId = QString::fromUtf8(saved.body().select_node("//w:numId").node().attribute("w:val").value());
    EXPECT_EQ(numId, QStringLiteral("3"));
    const pugi::xml_node num = numbering.select_node("//w:num[@w:numId='3']").node();
    ASSERT_TRUE(num);
    EXPECT_STREQ(num.child("w:abstractNumId").attribute("w:val").value(), "4");
    EXPECT_STREQ(numbering.select_node("//w:abstractNum[@w:abstractNumId='4']//w:numFmt").node().attribute("w:val").value(), "decimal");
    bool seenNum = false;
    for (pugi::xml_node child : numbering.document_element().children()) {
        if (std::strcmp(child.name(), "w:num") == 0)
            seenNum = true;
        EXPECT_FALSE(seenNum && std::strcmp(child.name(), "w:abstractNum") == 0);
    }

    // The picture: part, content type and relationship copied; drawing ids unique.
    const QString embed = QString::fromUtf8(saved.body().select_node("//a:blip[@r:embed]").node().attribute("r:embed").value());
    std::vector<Relationship> relationships = package.relationships(QStringLiteral("word/document.xml"));
    const auto image = std::find_if(relationships.begin(), relationships.end(), [&](const Relationship& r) { return r.id == embed; });
    ASSERT_NE(image, relationships.end());
    const QString imagePart = OoxmlPackage::resolveTarget(QStringLiteral("word/document.xml"), image->target);
    EXPECT_EQ(package.part(imagePart), tinyPng());
    EXPECT_EQ(package.contentTypeOf(imagePart), QStringLiteral("image/png"));
    QStringList docPrIds;
    for (const pugi::xpath_node& node : saved.body().select_nodes("//wp:docPr"))
        docPrIds << QString::fromUtf8(node.node().attribute("id").value());
    EXPECT_EQ(docPrIds.size(), 2);
    EXPECT_NE(docPrIds[0], docPrIds[1]);

    // Bookmarks: the target's stay, the source's "意见" (a name in use) is dropped, ids unique.
    EXPECT_EQ(saved.bookmarkNames(), (QStringList{QStringLiteral("来源书签"), QStringLiteral("主要成就"), QStringLiteral("意见")}));
    QStringList startIds;
    for (const pugi::xpath_node& node : saved.body().select_nodes("//w:bookmarkStart"))
        startIds << QString::fromUtf8(node.node().attribute("w:id").value());
    startIds.removeDuplicates();
    EXPECT_EQ(startIds.size(), 3);
    EXPECT_EQ(count(saved.body(), "//w:bookmarkEnd"), 3);

    // Only the target's own section properties remain.
    EXPECT_EQ(count(saved.body(), "//w:sectPr"), 1);
    EXPECT_STREQ(saved.body().child("w:sectPr").child("w:pgSz").attribute("w:w").value(), "11906");
}

TEST(DocxInsertDocument, PlainTextKeepsTheSourcesDefaultFontSizeAndSpacing)
{
    DocxParts source;
    source.styles = QStringLiteral(
        "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:eastAsia=\"宋体\"/><w:sz w:val=\"28\"/></w:rPr></w:rPrDefault>"
        "<w:pPrDefault><w:pPr><w:spacing w:line=\"480\" w:lineRule=\"exact\"/></w:pPr></w:pPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"H\"><w:name w:val=\"heading 1\"/><w:rPr><w:sz w:val=\"40\"/></w:rPr></w:style>");
    source.body = QStringLiteral("<w:p><w:pPr><w:jc w:val=\"both\"/></w:pPr><w:r><w:rPr><w:b/><w:u w:val=\"single\"/></w:rPr><w:t>正文</w:t></w:r>"
                                 "<w:r><w:rPr><w:sz w:val=\"21\"/></w:rPr><w:t>小字</w:t></w:r></w:p>"
                                 "<w:p><w:pPr><w:pStyle w:val=\"H\"/></w:pPr><w:r><w:t>标题</w:t></w:r></w:p>");
    DocxParts target;
    target.styles = QStringLiteral("<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"24\"/></w:rPr></w:rPrDefault></w:docDefaults>");
    target.body = bookmarkParagraph(QStringLiteral("主要成就"), 0);
    DocxDocument document = DocxDocument::fromBytes(makeDocx(target));
    document.insertDocumentAtBookmark(QStringLiteral("主要成就"), makeDocx(source));
    const DocxDocument saved = reopen(document);

    const pugi::xml_node plain = saved.body().select_node("//w:p[w:r/w:t='正文']").node();
    QStringList paragraphOrder;
    for (pugi::xml_node child : plain.child("w:pPr").children())
        paragraphOrder << QString::fromUtf8(child.name());
    EXPECT_EQ(paragraphOrder, (QStringList{"w:spacing", "w:jc"}));
    QStringList runOrder;
    for (pugi::xml_node child : plain.child("w:r").child("w:rPr").children())
        runOrder << QString::fromUtf8(child.name());
    EXPECT_EQ(runOrder, (QStringList{"w:rFonts", "w:b", "w:sz", "w:u"}));
    EXPECT_STREQ(plain.child("w:r").child("w:rPr").child("w:sz").attribute("w:val").value(), "28");
    EXPECT_STREQ(saved.body().select_node("//w:r[w:t='小字']/w:rPr/w:sz").node().attribute("w:val").value(), "21");
    // A styled paragraph takes its look from its style.
    const pugi::xml_node heading = saved.body().select_node("//w:p[w:r/w:t='标题']").node();
    EXPECT_FALSE(heading.child("w:pPr").child("w:spacing"));
    EXPECT_FALSE(heading.child("w:r").child("w:rPr").child("w:sz"));
}

TEST(DocxInsertDocument, EmptySourceInsertsNothing)
{
    DocxDocument target = achievementsTarget();
    const QString before = documentXml(target);
    target.insertDocumentAtBookmark(QStringLiteral("主要成就"), QByteArray());
    EXPECT_EQ(documentXml(target), before);
}

TEST(DocxInsertDocument, TargetWithoutNumberingGetsANumberingPart)
{
    DocxDocument target = DocxDocument::fromBytes(makeDocx(bookmarkParagraph(QStringLiteral("主要成就"), 0)));
    target.insertDocumentAtBookmark(QStringLiteral("主要成就"), achievementsSource());
    const DocxDocument saved = reopen(target);
    ASSERT_TRUE(saved.package().hasPart(QStringLiteral("word/numbering.xml")));
    EXPECT_EQ(saved.package().contentTypeOf(QStringLiteral("word/numbering.xml")),
              QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml"));
    pugi::xml_document numbering;
    loadPart(numbering, saved.package(), QStringLiteral("word/numbering.xml"));
    const QString numId = QString::fromUtf8(saved.body().select_node("//w:numId").node().attribute("w:val").value());
    EXPECT_TRUE(numbering.select_node(QStringLiteral("//w:num[@w:numId='%1']").arg(numId).toUtf8().constData()));
}

TEST(DocxInsertDocument, TableAtTheEndOfACellIsFollowedByAParagraph)
{
    const QString cell = tableRow(bookmarkParagraph(QStringLiteral("主要成就"), 0, QStringLiteral("前文")));
    DocxDocument target = DocxDocument::fromBytes(
        makeDocx(QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl><w:p/>").arg(cell)));
    const QByteArray source = makeDocx(QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"900\"/></w:tblGrid>%1</w:tbl>")
                                           .arg(tableRow(paragraph(QStringLiteral("内表")))));
    target.insertDocumentAtBookmark(QStringLiteral("主要成就"), source);
    const pugi::xml_node outerCell = reopen(target).body().child("w:tbl").child("w:tr").child("w:tc");
    EXPECT_STREQ(outerCell.last_child().name(), "w:p");
    EXPECT_TRUE(outerCell.child("w:tbl"));
}
