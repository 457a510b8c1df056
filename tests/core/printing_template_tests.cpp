// The delivered templates hold exactly the placeholders, row sets, bookmarks and cells that the
// prints fill, and nothing else that looks like a placeholder.

#include "printing_fixtures.h"

#include "printing/docx_document.h"
#include "printing/ooxml_package.h"
#include "printing/wordml.h"
#include "printing/xlsx_workbook.h"

#include <QDir>

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

using namespace printing;

namespace {

QString templateFolder(const QString& name)
{
    return QStringLiteral(QZ_SOURCE_DIR "/data/templates/") + name;
}

DocxDocument wordTemplate(const QString& name)
{
    return DocxDocument::fromBytes(packDirectory(templateFolder(name + QStringLiteral(".docx"))));
}

QStringList singles(const QString& group, const QStringList& fields)
{
    QStringList result;
    for (const QString& field : fields)
        result << QStringLiteral("$%1$%2$").arg(group, field);
    return result;
}

QStringList rowSet(const QString& prefix, int rows, const QStringList& fields)
{
    QStringList result;
    for (int row = 0; row < rows; ++row)
        for (const QString& field : fields)
            result << QStringLiteral("$%1$%2%3$").arg(prefix, field).arg(row);
    return result;
}

const QStringList kCoverFields{QStringLiteral("姓名"), QStringLiteral("技术职务"), QStringLiteral("专业专长"),
                               QStringLiteral("拟提名学部")};
const QStringList kRecordFields{QStringLiteral("序号"), QStringLiteral("基本信息"), QStringLiteral("作用贡献")};

QStringList personalInformationPlaceholders()
{
    return singles(QStringLiteral("候"),
                   {"姓名", "性别", "出生日期", "民族", "学风道德", "领导干部", "机关干部", "军队干部", "出生地", "籍贯",
                    "证件类型", "证件号码", "专业专长", "专业技术职务", "接受提名", "提名渠道", "党派", "手机", "住宅电话",
                    "传真", "电子信箱", "工作单位", "单位电话", "行政职务", "单位所属部门", "单位通讯地址", "单位所在地",
                    "单位邮编", "单位"})
           + singles(QStringLiteral("侯"), {"玄苑提名历史", "紫垣提名历史"})
           + rowSet(QStringLiteral("学"), 6, {"起止年月", "学校", "专业", "学位"})
           + rowSet(QStringLiteral("经"), 10, {"起止年月", "工作单位", "职务职称"})
           + rowSet(QStringLiteral("兼"), 6, {"起止年月", "团体名称", "兼职职称"})
           + rowSet(QStringLiteral("科"), 6, kRecordFields) + rowSet(QStringLiteral("专"), 6, kRecordFields)
           + rowSet(QStringLiteral("论"), 10, kRecordFields)
           + rowSet(QStringLiteral("成"), 5, {"序号", "简介", "作用贡献"});
}

QStringList selectionPlaceholders()
{
    return singles(QStringLiteral("遴选"), {"投票人数", "得票数"})
           + rowSet(QStringLiteral("遴选"), 20, {"姓名", "职务", "工作单位"});
}

QStringList academicianSlots()
{
    QStringList slots;
    for (int slot = 0; slot < 6; ++slot)
        slots << QStringLiteral("院士意见%1").arg(slot);
    return slots;
}

struct WordTemplateCase
{
    QString name;
    QStringList placeholders;
    QStringList bookmarks;
};

std::vector<WordTemplateCase> wordTemplates()
{
    return {
        {QStringLiteral("提名书封皮院士"), singles(QStringLiteral("候选人"), kCoverFields) + rowSet(QStringLiteral("候"), 6, {"院"}), {}},
        {QStringLiteral("提名书封皮特别"), singles(QStringLiteral("候选人"), kCoverFields + QStringList{"推荐部门学术团体"}), {}},
        {QStringLiteral("提名书封皮苍岳"), singles(QStringLiteral("候选人"), kCoverFields + QStringList{"推荐部门学术团体"}), {}},
        {QStringLiteral("提名书个人信息"), personalInformationPlaceholders(), {QStringLiteral("主要成就")}},
        {QStringLiteral("提名书单位审核意见"), singles(QStringLiteral("提"), {"附件", "密级"}), {QStringLiteral("意见")}},
        {QStringLiteral("提名书院士推荐意见"), {}, academicianSlots()},
        {QStringLiteral("提名书部门推荐意见"), {}, {QStringLiteral("意见")}},
        {QStringLiteral("提名书学术团体推荐意见"), {}, {QStringLiteral("意见")}},
        {QStringLiteral("提名书特别小组评审意见"), selectionPlaceholders(), {QStringLiteral("意见")}},
        {QStringLiteral("提名书苍岳遴选意见"), selectionPlaceholders(), {QStringLiteral("意见")}},
        {QStringLiteral("提名书主要成就"), {}, {}},
    };
}

// Every "$group$field$" in the main text, each found within one paragraph; `strays` receives the
// paragraphs that still hold a "$" once the placeholders are taken out.
QStringList placeholdersOf(const DocxDocument& document, QStringList& strays)
{
    static const QRegularExpression placeholder(QStringLiteral("\\$[^$\\s]+\\$[^$\\s]+\\$"));
    QStringList found;
    for (QString line : document.plainText().split(QLatin1Char('\n'))) {
        for (const QRegularExpressionMatch& match : placeholder.globalMatch(line))
            found << match.captured();
        line.remove(placeholder);
        if (line.contains(QLatin1Char('$')))
            strays << line;
    }
    return found;
}

} // namespace

class WordTemplateTest : public ::testing::TestWithParam<WordTemplateCase>
{
};

TEST_P(WordTemplateTest, HoldsExactlyThePlaceholdersAndBookmarksItsPrintFills)
{
    const WordTemplateCase& c = GetParam();
    const DocxDocument document = wordTemplate(c.name);
    QStringList strays;
    QStringList found = placeholdersOf(document, strays);
    EXPECT_TRUE(strays.isEmpty()) << strays.join(u'|').toStdString();

    const QSet<QString> expected(c.placeholders.begin(), c.placeholders.end());
    const QSet<QString> actual(found.begin(), found.end());
    EXPECT_EQ(expected.size(), c.placeholders.size()) << "the expectation repeats a name";
    for (const QString& missing : expected - actual)
        ADD_FAILURE() << "missing " << missing.toStdString();
    for (const QString& extra : actual - expected)
        ADD_FAILURE() << "unexpected " << extra.toStdString();

    QStringList bookmarks = document.bookmarkNames();
    bookmarks.sort();
    QStringList expectedBookmarks = c.bookmarks;
    expectedBookmarks.sort();
    EXPECT_EQ(bookmarks, expectedBookmarks);
}

TEST_P(WordTemplateTest, IsAnA4DocumentInSongti)
{
    const DocxDocument document = wordTemplate(GetParam().name);
    const pugi::xml_node pageSize = document.body().child("w:sectPr").child("w:pgSz");
    EXPECT_STREQ(pageSize.attribute("w:w").value(), "11906");
    EXPECT_STREQ(pageSize.attribute("w:h").value(), "16838");
    pugi::xml_document styles;
    printing_fixtures::loadPart(styles, document.package(), QStringLiteral("word/styles.xml"));
    const pugi::xml_node fonts = styles.select_node("//w:docDefaults//w:rFonts").node();
    EXPECT_EQ(QString::fromUtf8(fonts.attribute("w:eastAsia").value()), QStringLiteral("宋体"));
    EXPECT_EQ(QString::fromUtf8(fonts.attribute("w:ascii").value()), QStringLiteral("宋体"));
}

INSTANTIATE_TEST_SUITE_P(Templates, WordTemplateTest, ::testing::ValuesIn(wordTemplates()),
                         [](const ::testing::TestParamInfo<WordTemplateCase>& info) { return "t" + std::to_string(info.index); });

TEST(WordTemplates, EachAcademicianSlotIsTwoTableRowsWithTheBookmarkInTheFirst)
{
    const DocxDocument document = wordTemplate(QStringLiteral("提名书院士推荐意见"));
    pugi::xml_node previousSecondRow;
    for (const QString& slot : academicianSlots()) {
        SCOPED_TRACE(slot.toStdString());
        const pugi::xml_node start = wordml::findBookmarkStart(document.body(), slot);
        const pugi::xml_node row = wordml::ancestorOrSelf(start, "w:tr");
        ASSERT_TRUE(row);
        const pugi::xml_node second = row.next_sibling("w:tr");
        ASSERT_TRUE(second);
        EXPECT_FALSE(second.select_node(".//w:bookmarkStart"));
        EXPECT_TRUE(wordml::ancestorOrSelf(wordml::findBookmarkEnd(document.body(), start), "w:tr") == row);
        if (previousSecondRow) {
            EXPECT_TRUE(previousSecondRow.next_sibling("w:tr") == row); // slots follow each other
        }
        previousSecondRow = second;
    }
    EXPECT_FALSE(previousSecondRow.next_sibling("w:tr"));
}

TEST(WordTemplates, MainAchievementsUseFourteenPointWithExactTwentyFourPointLinesOnThePersonalFormsPage)
{
    const DocxDocument achievements = wordTemplate(QStringLiteral("提名书主要成就"));
    const DocxDocument form = wordTemplate(QStringLiteral("提名书个人信息"));

    for (const char* element : {"w:pgSz", "w:pgMar"}) {
        const pugi::xml_node mine = achievements.body().child("w:sectPr").child(element);
        const pugi::xml_node theirs = form.body().child("w:sectPr").child(element);
        for (pugi::xml_attribute attribute : theirs.attributes())
            EXPECT_STREQ(mine.attribute(attribute.name()).value(), attribute.value()) << element << " " << attribute.name();
    }

    pugi::xml_document styles;
    printing_fixtures::loadPart(styles, achievements.package(), QStringLiteral("word/styles.xml"));
    EXPECT_STREQ(styles.select_node("//w:docDefaults//w:sz").node().attribute("w:val").value(), "28");
    const pugi::xml_node defaultSpacing = styles.select_node("//w:docDefaults//w:spacing").node();
    EXPECT_STREQ(defaultSpacing.attribute("w:line").value(), "480");
    EXPECT_STREQ(defaultSpacing.attribute("w:lineRule").value(), "exact");
    for (const pugi::xpath_node& size : achievements.body().select_nodes("//w:sz | //w:szCs"))
        EXPECT_STREQ(size.node().attribute("w:val").value(), "28");
    for (const pugi::xpath_node& spacing : achievements.body().select_nodes("//w:spacing[@w:line]")) {
        EXPECT_STREQ(spacing.node().attribute("w:line").value(), "480");
        EXPECT_STREQ(spacing.node().attribute("w:lineRule").value(), "exact");
    }
    // The heading scheme the achievements tab describes.
    const QString text = achievements.plainText();
    for (const char* heading : {"一、", "(一)", "1.", "（1）"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading;
}

// --- lists ----------------------------------------------------------------------------------

struct ListTemplateCase
{
    QString name;
    QString lastHeading;
};

class ListTemplateTest : public ::testing::TestWithParam<ListTemplateCase>
{
};

TEST_P(ListTemplateTest, HasTitlesAndHeadingsAboveTheDataRowStyleInRowFive)
{
    const OoxmlPackage package = OoxmlPackage::fromBytes(packDirectory(templateFolder(GetParam().name + QStringLiteral(".xlsx"))));
    pugi::xml_document sheet;
    printing_fixtures::loadPart(sheet, package, QStringLiteral("xl/worksheets/sheet1.xml"));
    const XlsxWorkbook workbook = XlsxWorkbook::fromBytes(package.toBytes());

    EXPECT_FALSE(workbook.cellValue(1, 1).toString().isEmpty()); // title
    const QStringList headings{"姓名", "性别", "专业专长", "技术职称", "拟提名学部", GetParam().lastHeading};
    for (int column = 1; column <= 6; ++column)
        EXPECT_EQ(workbook.cellValue(4, column).toString(), headings[column - 1]);

    for (int column = 1; column <= 6; ++column) {
        EXPECT_NE(workbook.cellStyle(5, column), 0) << column;
        EXPECT_FALSE(workbook.cellValue(5, column).isValid()) << column;
    }
    EXPECT_EQ(workbook.lastRow(), 5);
    EXPECT_FALSE(sheet.select_node("//row[@r > 5]"));
}

INSTANTIATE_TEST_SUITE_P(Templates, ListTemplateTest,
                         ::testing::Values(ListTemplateCase{QStringLiteral("提名名单院士"), QStringLiteral("提名院士")},
                                           ListTemplateCase{QStringLiteral("提名名单特别"), QStringLiteral("推荐部门（单位）")},
                                           ListTemplateCase{QStringLiteral("提名名单苍岳"), QStringLiteral("推荐学术团体")}),
                         [](const ::testing::TestParamInfo<ListTemplateCase>& info) { return "t" + std::to_string(info.index); });

TEST(TemplateCatalogue, HoldsTheFourteenTemplatesAndNothingElse)
{
    QStringList expected;
    for (const WordTemplateCase& c : wordTemplates())
        expected << c.name + QStringLiteral(".docx");
    expected << QStringLiteral("提名名单院士.xlsx") << QStringLiteral("提名名单特别.xlsx") << QStringLiteral("提名名单苍岳.xlsx");
    expected.sort();
    QStringList folders = QDir(templateFolder(QString())).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    folders.sort();
    EXPECT_EQ(folders, expected);
}
