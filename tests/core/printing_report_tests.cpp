#include "printing_fixtures.h"

#include "app/app_error.h"
#include "app/lib.h"
#include "data/global_data.h"
#include "printing/document_presenter.h"
#include "printing/report_lib.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <memory>

using namespace printing;
using namespace printing_fixtures;

namespace {

// A working database with the data module on it, a private temporary folder, and base names of
// output documents that no other test uses (their files are removed afterwards).
class PrintingDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTemp = qEnvironmentVariable("Temp");
        qputenv("Temp", m_temp.path().toLocal8Bit());
        m_data = std::make_unique<data::TGlobalData>(m_database.path(), nullptr);
        data::setGlobalData(m_data.get());
        connection().execute(QStringLiteral("CREATE TABLE 测试学历 (序号 INTEGER, 学校 TEXT, 学位 TEXT, 学位其他 TEXT)"));
    }
    void TearDown() override
    {
        data::setGlobalData(nullptr);
        m_data.reset();
        for (const QString& path : QDir(app::GetWorkFolder()).entryList({m_unique + QLatin1Char('*')}, QDir::Files))
            QFile::remove(QDir(app::GetWorkFolder()).filePath(path));
        qputenv("Temp", m_oldTemp.toLocal8Bit());
    }

    db::Connection& connection() { return m_data->connection(); }

    // Puts a test template in place of the delivered one of that name.
    void addTemplate(const QString& name, const QByteArray& content)
    {
        connection().execute(QStringLiteral("DELETE FROM 打印模板 WHERE 名称=:name"), {{QStringLiteral("name"), name}});
        connection().execute(QStringLiteral("INSERT INTO 打印模板 (名称, 内容) VALUES (:name, :content)"),
                             {{QStringLiteral("name"), name}, {QStringLiteral("content"), content}});
    }
    void addEducation(int order, const QVariant& school, const QVariant& degree, const QVariant& other = {})
    {
        connection().execute(QStringLiteral("INSERT INTO 测试学历 VALUES (:o, :s, :d, :x)"),
                             {{QStringLiteral("o"), order}, {QStringLiteral("s"), school}, {QStringLiteral("d"), degree},
                              {QStringLiteral("x"), other}});
    }
    QStringList temporaryFiles() const { return QDir(m_temp.path()).entryList(QDir::Files); }
    // A candidate name of this test only.
    QString candidate() const { return m_unique; }

    testing_support::WorkingDatabase m_database;
    QTemporaryDir m_temp;
    QString m_oldTemp;
    std::unique_ptr<data::TGlobalData> m_data;
    QString m_unique = QStringLiteral("测试") + QUuid::createUuid().toString(QUuid::Id128).left(8);
};

const QString kEducationSql = QStringLiteral("SELECT * FROM 测试学历 ORDER BY 序号");
const QStringList kEducationFields{QStringLiteral("序号"), QStringLiteral("学校"), QStringLiteral("学位")};

QString educationRows(int count)
{
    QString rows;
    for (int i = 0; i < count; ++i)
        rows += tableRow(paragraph(QStringLiteral("$学$序号%1$|$学$学校%1$|$学$学位%1$").arg(i)));
    return QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl><w:p/>").arg(rows);
}

QStringList lines(const DocxDocument& document)
{
    return DocxDocument::fromBytes(document.toBytes()).plainText().split(QLatin1Char('\n'));
}

} // namespace

// --- template store -------------------------------------------------------------------------

TEST_F(PrintingDatabaseTest, LoadPrintTemplateWritesTheContentToANewTemporaryFile)
{
    const QByteArray content = makeDocx(paragraph(QStringLiteral("模板")));
    addTemplate(QStringLiteral("提名书个人信息"), content);
    addTemplate(QStringLiteral("it's"), QByteArray("quoted"));

    const QString first = LoadPrintTemplate(QStringLiteral("提名书个人信息"), kWordTemplateExt);
    const QString second = LoadPrintTemplate(QStringLiteral("提名书个人信息"), kWordTemplateExt);
    EXPECT_TRUE(first.endsWith(QStringLiteral(".tmp.docx")));
    EXPECT_NE(first, second);
    QFile file(first);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);
    EXPECT_EQ(QFileInfo(first).absolutePath(), QFileInfo(m_temp.path()).absoluteFilePath());

    // The name is a bound value: a quote in it is just a character.
    const QString quoted = LoadPrintTemplate(QStringLiteral("it's"), kExcelTemplateExt);
    EXPECT_TRUE(quoted.endsWith(QStringLiteral(".tmp.xlsx")));
    EXPECT_TRUE(LoadPrintTemplate(QStringLiteral("不存在"), kWordTemplateExt).isEmpty());
}

TEST_F(PrintingDatabaseTest, OpeningATemplateCopyRemovesIt)
{
    addTemplate(QStringLiteral("t"), makeDocx(paragraph(QStringLiteral("x"))));
    const QString path = LoadPrintTemplate(QStringLiteral("t"), kWordTemplateExt);
    const DocxDocument document = OpenTemplateDocument(path, QStringLiteral("t"));
    EXPECT_EQ(document.plainText(), QStringLiteral("x"));
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(u' ').toStdString();
    EXPECT_THROW(OpenTemplateDocument(QString(), QStringLiteral("t")), app::AppError);
}

// --- output names ---------------------------------------------------------------------------

TEST_F(PrintingDatabaseTest, OutputNamesAreNumberedAndReusedAfterDeletion)
{
    const QString base = candidate() + QStringLiteral("的提名书");
    const QString folder = app::GetWorkFolder();
    const DocxDocument document = DocxDocument::fromBytes(makeDocx(paragraph(QStringLiteral("x"))));

    const QString first = SaveNewOutputDocument(document, base);
    const QString second = SaveNewOutputDocument(document, base);
    const QString third = SaveNewOutputDocument(document, base);
    EXPECT_EQ(first, folder + base + QStringLiteral(".docx"));
    EXPECT_EQ(second, folder + base + QStringLiteral("2.docx"));
    EXPECT_EQ(third, folder + base + QStringLiteral("3.docx"));

    ASSERT_TRUE(QFile::remove(first));
    EXPECT_EQ(MakeOutputDocName(base), first);
    EXPECT_EQ(SaveNewOutputDocument(document, base), first);
    EXPECT_EQ(MakeOutputDocName(base), folder + base + QStringLiteral("4.docx"));
}

TEST(PrintingNames, CandidateNamesAreMadeSafeForFileNames)
{
    struct Case
    {
        QString name;
        QString safe;
    };
    for (const Case& c : {Case{QStringLiteral("张三"), QStringLiteral("张三")},
                          Case{QStringLiteral("A/B"), QStringLiteral("A_B")},
                          Case{QStringLiteral(".hidden"), QStringLiteral("_hidden")},
                          Case{QStringLiteral("..上级"), QStringLiteral("_.上级")},
                          Case{QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"), QStringLiteral("ab")},
                          Case{QStringLiteral("a.b"), QStringLiteral("a.b")}})
        EXPECT_EQ(SafeFileBaseName(c.name), c.safe) << c.name.toStdString();
}

// --- row sets -------------------------------------------------------------------------------

TEST_F(PrintingDatabaseTest, RowSetFillsRecordsInOrderAndBlanksTheRestOfTheRows)
{
    // Order keys that differ from the positions: the serial number counts rows, not keys.
    addEducation(20, QStringLiteral("乙大学"), QStringLiteral("硕士"));
    addEducation(10, QStringLiteral("甲大学"), QStringLiteral("（手工填写）"), QStringLiteral("自填学位"));
    addEducation(35, QStringLiteral("丙大学"), QStringLiteral("博士（手工填写）"), QStringLiteral("不用"));
    addEducation(47, QVariant(), QVariant());
    DocxDocument document = DocxDocument::fromBytes(makeDocx(educationRows(6)));

    EXPECT_EQ(FillPlaceholderRows(document, kEducationSql, {}, QStringLiteral("学"), 6, kEducationFields), 4);
    EXPECT_EQ(lines(document), (QStringList{QStringLiteral("1|甲大学|自填学位"), QStringLiteral("2|乙大学|硕士"),
                                            QStringLiteral("3|丙大学|博士（手工填写）"), QStringLiteral("4||"),
                                            QStringLiteral("||"), QStringLiteral("||"), QString()}));
}

TEST_F(PrintingDatabaseTest, RowSetWithoutRecordsComesOutEmpty)
{
    DocxDocument document = DocxDocument::fromBytes(makeDocx(educationRows(6)));
    EXPECT_EQ(FillPlaceholderRows(document, kEducationSql, {}, QStringLiteral("学"), 6, kEducationFields), 0);
    EXPECT_FALSE(document.plainText().contains(u'$'));
    EXPECT_EQ(lines(document).count(QStringLiteral("||")), 6);
}

TEST_F(PrintingDatabaseTest, RecordsBeyondTheRowCountDoNotAppear)
{
    for (int i = 1; i <= 8; ++i)
        addEducation(i, QStringLiteral("学校%1").arg(i), QStringLiteral("学士"));
    DocxDocument document = DocxDocument::fromBytes(makeDocx(educationRows(6)));
    EXPECT_EQ(FillPlaceholderRows(document, kEducationSql, {}, QStringLiteral("学"), 6, kEducationFields), 8);
    const QString text = document.plainText();
    EXPECT_TRUE(text.contains(QStringLiteral("6|学校6|学士")));
    EXPECT_FALSE(text.contains(QStringLiteral("学校7")));
    EXPECT_FALSE(text.contains(u'$'));
}

TEST_F(PrintingDatabaseTest, RowSetQueryTakesBoundParameters)
{
    addEducation(1, QStringLiteral("O'Hara 学院"), QStringLiteral("学士"));
    addEducation(2, QStringLiteral("别的"), QStringLiteral("学士"));
    DocxDocument document = DocxDocument::fromBytes(makeDocx(educationRows(2)));
    FillPlaceholderRows(document, QStringLiteral("SELECT * FROM 测试学历 WHERE 学校=:school"),
                        {{QStringLiteral("school"), QStringLiteral("O'Hara 学院")}}, QStringLiteral("学"), 2, kEducationFields);
    EXPECT_EQ(lines(document).mid(0, 2), (QStringList{QStringLiteral("1|O'Hara 学院|学士"), QStringLiteral("||")}));
}

TEST_F(PrintingDatabaseTest, BookmarkRowsReceiveWholeValuesAndAMissingSlotFails)
{
    connection().execute(QStringLiteral("CREATE TABLE 测试意见 (序号 INTEGER, 意见 TEXT)"));
    const QString longOpinion = QString(300, QChar(u'赞'));
    connection().execute(QStringLiteral("INSERT INTO 测试意见 VALUES (1, :v), (2, '第二'), (3, NULL)"),
                         {{QStringLiteral("v"), longOpinion}});
    QString rows;
    for (int slot = 0; slot < 3; ++slot)
        rows += tableRow(bookmarkParagraph(QStringLiteral("院士意见%1").arg(slot), slot)) + tableRow(paragraph(QStringLiteral("签名")));
    DocxDocument document = DocxDocument::fromBytes(
        makeDocx(QStringLiteral("<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>%1</w:tbl><w:p/>").arg(rows)));

    EXPECT_EQ(FillBookmarkRows(document, QStringLiteral("SELECT 意见 FROM 测试意见 ORDER BY 序号"), {}, QStringLiteral("院士"),
                               {QStringLiteral("意见")}),
              3);
    EXPECT_EQ(lines(document).mid(0, 6), (QStringList{longOpinion, QStringLiteral("签名"), QStringLiteral("第二"),
                                                      QStringLiteral("签名"), QString(), QStringLiteral("签名")}));

    connection().execute(QStringLiteral("INSERT INTO 测试意见 VALUES (4, 'x')"));
    try {
        FillBookmarkRows(document, QStringLiteral("SELECT 意见 FROM 测试意见 ORDER BY 序号"), {}, QStringLiteral("院士"),
                         {QStringLiteral("意见")});
        FAIL() << "no error for the missing slot";
    } catch (const app::AppError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("院士意见3")));
    }
    EXPECT_FALSE(data::GlobalData()->QueryTemp->isOpen());
}

// --- the print sequence ---------------------------------------------------------------------

TEST_F(PrintingDatabaseTest, PrintSavesFilledDocumentUnderTheCandidatesNameAndPresentsIt)
{
    addTemplate(QStringLiteral("提名书个人信息"),
                makeDocx(paragraph(QStringLiteral("$候$姓名$/$候$学风道德$")) + bookmarkParagraph(QStringLiteral("主要成就"), 1)));
    ScriptedPresenter presenter;
    const QString statement = QString(300, QChar(u'德'));
    DocumentPrintJob job{QStringLiteral("提名书个人信息"), QStringLiteral("的提名书"), QStringLiteral("打印提名书过程中发生错误"),
                         [&](DocxDocument& document) {
                             document.replaceAll({{QStringLiteral("$候$姓名$"), candidate()},
                                                  {QStringLiteral("$候$学风道德$"), statement}});
                             document.insertDocumentAtBookmark(QStringLiteral("主要成就"),
                                                               makeDocx(paragraph(QStringLiteral("成就正文"))));
                         }};

    const PrintOutcome outcome = RunDocumentPrint(job, candidate(), presenter);
    ASSERT_TRUE(outcome.succeeded()) << outcome.errorText.toStdString();
    EXPECT_EQ(outcome.outputPath, app::GetWorkFolder() + candidate() + QStringLiteral("的提名书.docx"));
    EXPECT_EQ(presenter.presented, QStringList{outcome.outputPath});
    EXPECT_EQ(DocxDocument::open(outcome.outputPath).plainText(),
              candidate() + QLatin1Char('/') + statement + QStringLiteral("\n成就正文\n"));
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(u' ').toStdString();

    EXPECT_EQ(RunDocumentPrint(job, candidate(), presenter).outputPath,
              app::GetWorkFolder() + candidate() + QStringLiteral("的提名书2.docx"));
}

TEST_F(PrintingDatabaseTest, FailedPrintsReportTheirCaptionAndLeaveNoOutputFile)
{
    addTemplate(QStringLiteral("提名书单位审核意见"), makeDocx(paragraph(QStringLiteral("无书签"))));
    struct Case
    {
        QString templateName;
        std::function<void(DocxDocument&)> fill;
        QString errorNames;
    };
    const std::vector<Case> cases{
        {QStringLiteral("没有这个模板"), {}, QStringLiteral("没有这个模板")},
        {QStringLiteral("提名书单位审核意见"),
         [](DocxDocument& document) { document.insertTextAfterBookmark(QStringLiteral("意见"), QStringLiteral("x")); },
         QStringLiteral("意见")},
    };
    for (const Case& c : cases) {
        ScriptedPresenter presenter;
        const PrintOutcome outcome = RunDocumentPrint({c.templateName, QStringLiteral("的提名意见"), QStringLiteral("打印院士意见过程中发生错误"), c.fill},
                                                      candidate(), presenter);
        EXPECT_FALSE(outcome.succeeded());
        EXPECT_EQ(outcome.errorCaption, QStringLiteral("打印院士意见过程中发生错误"));
        EXPECT_TRUE(outcome.errorText.contains(c.errorNames)) << outcome.errorText.toStdString();
        EXPECT_TRUE(outcome.outputPath.isEmpty());
        EXPECT_TRUE(presenter.presented.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(app::GetWorkFolder() + candidate() + QStringLiteral("的提名意见.docx")));
        EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(u' ').toStdString();
    }
}

// --- the candidate list ---------------------------------------------------------------------

TEST_F(PrintingDatabaseTest, ListReportWritesTheStatementFromA5AndSavesOverTheOldFile)
{
    connection().execute(QStringLiteral("CREATE TABLE 测试名单 (姓名 TEXT, 性别 TEXT, 专业专长 TEXT, 技术职称 TEXT, 拟提名学部 TEXT, 推荐单位名称 TEXT)"));
    connection().execute(QStringLiteral("INSERT INTO 测试名单 VALUES ('乙', '女', NULL, '研究员', '数理', '某学会'), ('甲', '男', '化学(催化)', '教授', '化学', '某部')"));
    db::Query records(&connection());
    records.setSql(QStringLiteral("SELECT * FROM 测试名单 ORDER BY 姓名"));
    records.open();

    ExcelReport report{QString()};
    const int count = report.FillSheet(records, 5, 1);
    FormatCandidateListRows(report.workbook(), count);
    QTemporaryDir dir;
    const QString path = dir.filePath(CandidateListFileName(2));
    report.SaveAs(path);
    report.SaveAs(path);
    ScriptedPresenter presenter;
    report.Show(presenter);

    EXPECT_EQ(count, 2);
    EXPECT_EQ(presenter.presented, QStringList{path});
    const XlsxWorkbook saved = XlsxWorkbook::fromTemplate(path);
    EXPECT_EQ(saved.cellValue(5, 1).toString(), QStringLiteral("乙"));
    EXPECT_FALSE(saved.cellValue(5, 3).isValid());
    EXPECT_EQ(saved.cellValue(6, 3).toString(), QStringLiteral("化学(催化)"));
    EXPECT_EQ(saved.cellValue(6, 6).toString(), QStringLiteral("某部"));
    EXPECT_EQ(saved.lastRow(), 6);
}

TEST(PrintingNames, ListTemplatesAndFilesFollowTheDepartmentKind)
{
    struct Case
    {
        qint64 kind;
        const char* templateName;
        const char* fileName;
    };
    for (const Case& c : {Case{1, "提名名单院士", "提名名单院士.xlsx"}, Case{5, "提名名单特别", "提名名单特别提名小组.xlsx"},
                          Case{2, "提名名单苍岳", "提名名单苍岳联合会.xlsx"}, Case{0, "提名名单苍岳", "提名名单苍岳联合会.xlsx"}}) {
        EXPECT_EQ(CandidateListTemplateName(c.kind), QString::fromUtf8(c.templateName));
        EXPECT_EQ(CandidateListFileName(c.kind), QString::fromUtf8(c.fileName));
    }
}
