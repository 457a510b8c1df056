#include "candidates/cand_add_logic.h"
#include "candidates/cand_dossier.h"
#include "data/global_data.h"
#include "db/db_error.h"
#include "db/table_copy.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

class DossierTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_data.SetSetting(QStringLiteral("遴选部门类别ID"), QStringLiteral("1"));
        m_id = createCandidate(QStringLiteral("110105196005041234"));
        m_dossier = std::make_unique<candidates::CandidateDossier>(m_data, m_id);
        m_dossier->load();
    }

    qint64 createCandidate(const QString& number)
    {
        return candidates::CandidateCreator(m_data).create(
            {QStringLiteral("张三"), QStringLiteral("男"), QDate(1960, 5, 4), candidates::kIdCard, number, 1});
    }
    db::TableCopy& copy(const char* name) { return *m_dossier->copy(QString::fromLatin1(name)); }
    QVariant stored(const QString& sql) { return m_data.connection().scalar(sql, {{QStringLiteral("id"), m_id}}); }

    testing_support::WorkingDatabase m_database;
    data::TGlobalData m_data{m_database.path(), nullptr};
    qint64 m_id = 0;
    std::unique_ptr<candidates::CandidateDossier> m_dossier;
};

TEST_F(DossierTest, LoadsFifteenCopiesInTheSavingOrder)
{
    QStringList names;
    for (db::TableCopy* table : m_dossier->copies())
        names << table->objectName();
    EXPECT_EQ(names, QStringList({"CDSParty", "CDSSchoolRecord", "CDSExperience", "CDSPartTimeJob", "CDSPrize",
                                  "CDSPatent", "CDSPaper", "CDSFruit", "CDSCandidate", "CDSExtraInfo", "CDSCompany",
                                  "CDSContact", "CDSSocietyJob", "CDSAcadList", "CDSAbroad"}));
    EXPECT_EQ(copy("CDSCandidate").recordCount(), 1);
    EXPECT_EQ(copy("CDSExtraInfo").recordCount(), 1);
    EXPECT_FALSE(m_dossier->hasPendingChanges());
}

TEST_F(DossierTest, ADuplicateLiveIdentityBlocksTheWholeSave)
{
    const qint64 other = createCandidate(QStringLiteral("220105196005041234"));
    copy("CDSCandidate").setValue(QStringLiteral("姓名"), QStringLiteral("张三丰"));
    copy("CDSCandidate").setValue(QStringLiteral("证件号码"), QStringLiteral("220105196005041234"));
    EXPECT_EQ(m_dossier->save(), QStringList({"身份证件号 220105196005041234 已存在，无法保存信息！"}));
    EXPECT_EQ(stored(QStringLiteral("SELECT 姓名 FROM 候选人 WHERE ID=:id")).toString(), QStringLiteral("张三"));

    m_data.connection().execute(QStringLiteral("UPDATE 候选人 SET 是否删除='是' WHERE ID=:o"), {{QStringLiteral("o"), other}});
    EXPECT_EQ(m_dossier->save(), QStringList());
    EXPECT_EQ(stored(QStringLiteral("SELECT 姓名 FROM 候选人 WHERE ID=:id")).toString(), QStringLiteral("张三丰"));
    EXPECT_FALSE(m_dossier->hasPendingChanges());
}

TEST_F(DossierTest, EmptyRequiredColumnsAreReportedInTheUsersWords)
{
    const struct
    {
        const char* column;
        const char* message;
    } cases[] = {
        {"姓名", "请检查字段 '姓名' 是否填写完整"},
        {"拟提名学部ID", "请检查字段 '拟提名学部' 是否填写完整"},
    };
    for (const auto& c : cases) {
        copy("CDSCandidate").setValue(QString::fromUtf8(c.column), QVariant());
        EXPECT_EQ(m_dossier->save(), QStringList({QString::fromUtf8(c.message)})) << c.column;
        EXPECT_TRUE(m_dossier->hasPendingChanges());
        m_dossier->cancel();
    }

    db::TableCopy& career = copy("CDSExperience");
    career.append();
    career.setValue(QStringLiteral("单位"), QStringLiteral("玄圃研究所"));
    EXPECT_EQ(m_dossier->save(), QStringList({"请将字段填写完整"}));
    EXPECT_EQ(career.state(), db::TableCopy::State::Insert) << "the row stays unposted";
}

TEST_F(DossierTest, TheMostSpecificDisciplineIsStored)
{
    const struct
    {
        QVariant first, second, third, expected;
    } cases[] = {
        {1, 2, 3, 3},
        {1, 2, QVariant(), 2},
        {1, QVariant(), QVariant(), 1},
        {QVariant(), QVariant(), QVariant(), QVariant()},
    };
    db::TableCopy& candidate = copy("CDSCandidate");
    for (const auto& c : cases) {
        candidate.setValue(QStringLiteral("一级学科ID"), c.first);
        candidate.setValue(QStringLiteral("二级学科ID"), c.second);
        candidate.setValue(QStringLiteral("三级学科ID"), c.third);
        candidate.post();
        EXPECT_EQ(candidate.value(QStringLiteral("学科ID")).toString(), c.expected.toString());
        EXPECT_EQ(candidate.value(QStringLiteral("学科ID")).isNull(), c.expected.isNull());
    }
}

TEST_F(DossierTest, NewListRowsAreNumberedAndCarryTheCandidatesKeys)
{
    db::TableCopy& prizes = copy("CDSPrize");
    for (const char* name : {"甲奖", "乙奖"}) {
        prizes.append();
        prizes.setValue(QStringLiteral("获奖年份"), QStringLiteral("2010"));
        prizes.setValue(QStringLiteral("奖项名称"), QString::fromUtf8(name));
        prizes.post();
    }
    EXPECT_EQ(prizes.rowValue(0, QStringLiteral("序号")).toInt(), 1);
    EXPECT_EQ(prizes.rowValue(1, QStringLiteral("序号")).toInt(), 2);
    EXPECT_EQ(m_dossier->save(), QStringList());
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM 候选人科技奖项 p JOIN 候选人 c ON c.ID=p.候选人ID "
                                    "WHERE c.ID=:id AND p.候选人UUID=c.候选人UUID AND p.增选年度='2017' AND p.创建时间 IS NOT NULL"))
                  .toInt(),
              2);
    EXPECT_GT(prizes.rowValue(1, QStringLiteral("ID")).toInt(), 0) << "the saved rows show their keys";
}

TEST_F(DossierTest, StampsUseTheirPrefixesAndTheEducationStampIsSavedInTheSameSave)
{
    const QRegularExpression stamp(QStringLiteral("^(\\d)@\\d{17}$"));
    db::TableCopy& extra = copy("CDSExtraInfo");
    const struct
    {
        const char* opinion;
        const char* stampColumn;
        const char* prefix;
    } cases[] = {
        {"单位审核意见", "单位审核意见条形码", "2"},
        {"提名院士意见", "提名院士意见条形码", "3"},
        {"推荐单位意见", "推荐单位意见条形码", "3"},
        {"遴选部门意见", "遴选意见条形码", "4"},
    };
    for (const auto& c : cases) {
        extra.setValue(QString::fromUtf8(c.opinion), QStringLiteral("同意推荐。"));
        const QRegularExpressionMatch match = stamp.match(extra.text(QString::fromUtf8(c.stampColumn)));
        ASSERT_TRUE(match.hasMatch()) << c.stampColumn;
        EXPECT_EQ(match.captured(1), QString::fromLatin1(c.prefix)) << c.opinion;
    }
    extra.setValue(QStringLiteral("成就贡献简介"), QStringLiteral("简介"));
    EXPECT_TRUE(copy("CDSCandidate").text(QStringLiteral("候选人信息条形码")).startsWith(QStringLiteral("1@")));
    m_dossier->save();
    m_data.connection().execute(QStringLiteral("UPDATE 候选人 SET 候选人信息条形码=NULL WHERE ID=:id"), {{QStringLiteral("id"), m_id}});
    copy("CDSCandidate").refresh();

    db::TableCopy& school = copy("CDSSchoolRecord");
    school.append();
    school.setValue(QStringLiteral("学校"), QStringLiteral("玄圃大学"));
    EXPECT_EQ(m_dossier->save(), QStringList());
    EXPECT_TRUE(stamp.match(stored(QStringLiteral("SELECT 候选人信息条形码 FROM 候选人 WHERE ID=:id")).toString()).hasMatch());
    EXPECT_FALSE(m_dossier->hasPendingChanges());
}

TEST_F(DossierTest, CancelRestoresEveryCopy)
{
    copy("CDSCandidate").setValue(QStringLiteral("姓名"), QStringLiteral("李四"));
    copy("CDSCandidate").post();
    copy("CDSContact").setValue(QStringLiteral("移动电话"), QStringLiteral("13800000000"));
    copy("CDSParty").append();
    ASSERT_TRUE(m_dossier->hasPendingChanges());
    m_dossier->cancel();
    EXPECT_FALSE(m_dossier->hasPendingChanges());
    EXPECT_EQ(copy("CDSCandidate").text(QStringLiteral("姓名")), QStringLiteral("张三"));
    EXPECT_TRUE(copy("CDSContact").isNull(QStringLiteral("移动电话")));
    EXPECT_EQ(copy("CDSParty").recordCount(), 0);
}

TEST_F(DossierTest, AcademicianRowsNeedAnAcademicianAndGetARandomKey)
{
    db::TableCopy& academicians = copy("CDSAcadList");
    academicians.append();
    try {
        academicians.post();
        FAIL() << "posted without an academician";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("请选择提名院士！"));
    }
    academicians.setValue(QStringLiteral("提名院士ID"), 1);
    academicians.post();
    const qint64 key = academicians.value(QStringLiteral("ID")).toLongLong();
    EXPECT_GE(key, 1);
    EXPECT_LE(key, 10000000);
    EXPECT_EQ(m_dossier->save(), QStringList());
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM 候选人提名院士 WHERE ID=%1").arg(key)).toInt(), 1);
}

TEST_F(DossierTest, PlacesClearTheirDistrictAndAFailingTableKeepsItsChanges)
{
    db::TableCopy& candidate = copy("CDSCandidate");
    candidate.setValue(QStringLiteral("籍贯地区"), QStringLiteral("海淀区"));
    candidate.setValue(QStringLiteral("出生地地区"), QStringLiteral("朝阳区"));
    candidate.setValue(QStringLiteral("籍贯省市ID"), 2);
    EXPECT_TRUE(candidate.isNull(QStringLiteral("籍贯地区")));
    EXPECT_EQ(candidate.text(QStringLiteral("出生地地区")), QStringLiteral("朝阳区"));
    candidate.post();

    m_data.connection().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON 候选人所属党派 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    db::TableCopy& party = copy("CDSParty");
    party.append();
    party.setValue(QStringLiteral("党派ID"), 1);
    party.post();
    EXPECT_EQ(m_dossier->save(), QStringList({"请填写完整各项信息"}));
    EXPECT_EQ(party.changeCount(), 1) << "the failed table stays unsaved";
    EXPECT_EQ(stored(QStringLiteral("SELECT 籍贯省市ID FROM 候选人 WHERE ID=:id")).toInt(), 2) << "later tables are saved";
}

} // namespace
