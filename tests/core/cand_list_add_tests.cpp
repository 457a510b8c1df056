#include "candidates/cand_add_logic.h"
#include "candidates/cand_list_logic.h"
#include "data/global_data.h"
#include "db/db_error.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

class CandidateTest : public ::testing::Test
{
protected:
    int count(const QString& sql, const db::Params& params = {})
    {
        return m_data.connection().scalar(sql, params).toInt();
    }
    void setSettings(const QList<QPair<QString, QString>>& values)
    {
        for (const auto& [key, value] : values)
            m_data.SetSetting(key, value);
    }
    candidates::NewCandidate person(const QString& number) const
    {
        return {QStringLiteral("张三"), QStringLiteral("男"), QDate(1960, 5, 4), candidates::kIdCard, number, 1};
    }
    qint64 create(const QString& number) { return candidates::CandidateCreator(m_data).create(person(number)); }

    testing_support::WorkingDatabase m_database;
    data::TGlobalData m_data{m_database.path(), nullptr};
};

TEST_F(CandidateTest, ANewCandidateGetsItsKeysAndExactlyOneRowInEachOneToOneTable)
{
    setSettings({{"遴选部门类别ID", "1"}, {"遴选部门ID", "-1"}});
    const qint64 id = create(QStringLiteral(" 11010519600504123X "));
    db::Query row(&m_data.connection());
    row.setSql(QStringLiteral("SELECT * FROM 候选人 WHERE ID=:ID"));
    row.setParam(QStringLiteral("ID"), id);
    row.open();
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row.field(QStringLiteral("证件号码")).asString(), QStringLiteral("11010519600504123X"));
    EXPECT_EQ(row.field(QStringLiteral("是否删除")).asString(), QStringLiteral("否"));
    EXPECT_EQ(row.field(QStringLiteral("增选年度")).asString(), QStringLiteral("2017"));
    EXPECT_EQ(row.field(QStringLiteral("提名渠道ID")).asInteger(), 1);
    EXPECT_TRUE(row.field(QStringLiteral("遴选部门ID")).isNull());
    EXPECT_TRUE(row.field(QStringLiteral("推荐单位名称")).isNull());
    const QString uuid = row.field(QStringLiteral("候选人UUID")).asString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"))
                    .match(uuid)
                    .hasMatch())
        << qPrintable(uuid);
    for (const char* table : {"候选人补充信息", "候选人工作单位", "候选人联系信息"}) {
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1 WHERE 候选人ID=:id AND 候选人UUID=:uuid AND 增选年度='2017'")
                            .arg(QString::fromUtf8(table)),
                        {{QStringLiteral("id"), id}, {QStringLiteral("uuid"), uuid}}),
                  1)
            << table;
    }
}

TEST_F(CandidateTest, SettingsStampTheRecommendingUnitOrTheUngroupedCommittee)
{
    setSettings({{"遴选部门类别ID", "5"}, {"遴选部门ID", "12"}, {"是否提名单位", "1"}, {"推荐单位名称", "玄圃大学'物理系"},
                 {"推荐单位负责人", "李四"}});
    const qint64 unit = create(QStringLiteral("A1"));
    EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT 推荐单位名称 || '/' || 推荐单位负责人 || '/' || 遴选部门ID || '/' || 提名渠道ID FROM 候选人 WHERE ID=:id"),
                                         {{QStringLiteral("id"), unit}})
                  .toString(),
              QStringLiteral("玄圃大学'物理系/李四/12/5"));

    m_data.connection().execute(QStringLiteral("INSERT INTO 遴选委员会 (增选年度, 遴选部门ID, 序号, 名称, 遴选委员会UUID) VALUES ('2017', 30, 1, '不分组', '{C}')"));
    setSettings({{"遴选部门类别ID", "2"}, {"遴选部门ID", "30"}, {"是否提名单位", "0"}, {"是否分组", "0"}});
    const qint64 federation = create(QStringLiteral("A2"));
    EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT coalesce(推荐单位名称,'') || 遴选委员会UUID FROM 候选人 WHERE ID=:id"),
                                         {{QStringLiteral("id"), federation}})
                  .toString(),
              QStringLiteral("{C}"));

    setSettings({{"是否分组", "1"}});
    const qint64 grouped = create(QStringLiteral("A3"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 候选人 WHERE ID=:id AND 遴选委员会UUID IS NULL"), {{QStringLiteral("id"), grouped}}), 1);
}

TEST_F(CandidateTest, DuplicatesCountOnlyLiveCandidatesIgnoringLetterCase)
{
    setSettings({{"遴选部门类别ID", "1"}});
    const qint64 first = create(QStringLiteral("11010519600504123X"));
    candidates::CandidateCreator creator(m_data);
    EXPECT_TRUE(creator.isDuplicate(QStringLiteral("11010519600504123x")));
    EXPECT_TRUE(creator.isDuplicate(QStringLiteral(" 11010519600504123X ")));
    candidates::softDeleteCandidate(m_data.connection(), first);
    EXPECT_FALSE(creator.isDuplicate(QStringLiteral("11010519600504123X")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 候选人补充信息 WHERE 候选人ID=:id"), {{QStringLiteral("id"), first}}), 1)
        << "a soft delete keeps the detail rows";
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 候选人 WHERE ID=:id AND 是否删除='是'"), {{QStringLiteral("id"), first}}), 1);
}

TEST_F(CandidateTest, NothingIsWrittenWhenASettingOrADetailInsertFails)
{
    setSettings({{"遴选部门类别ID", "x"}});
    EXPECT_THROW(create(QStringLiteral("B1")), db::DbError);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 候选人")), 0);

    setSettings({{"遴选部门类别ID", "1"}});
    m_data.connection().execute(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON 候选人联系信息 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_THROW(create(QStringLiteral("B2")), db::DbError);
    for (const char* table : {"候选人", "候选人补充信息", "候选人工作单位", "候选人联系信息"})
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromUtf8(table))), 0) << table;
}

TEST_F(CandidateTest, ClearingEmptiesCandidateAndCommitteeTablesOnly)
{
    setSettings({{"遴选部门类别ID", "1"}});
    const qint64 id = create(QStringLiteral("C1"));
    for (const QString& table : candidates::clearedTables()) {
        if (table != QStringLiteral("候选人") && table != QStringLiteral("候选人补充信息"))
            m_data.connection().execute(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
    }
    const int templates = count(QStringLiteral("SELECT count(*) FROM 打印模板"));
    const int academicians = count(QStringLiteral("SELECT count(*) FROM 院士"));
    const int countries = count(QStringLiteral("SELECT count(*) FROM 字典国家"));
    Q_UNUSED(id);

    // A failing statement leaves every table as it was.
    m_data.connection().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON 候选人 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_THROW(candidates::clearAllCandidateData(m_data.connection()), db::DbError);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 遴选委员会成员")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 候选人海外经历")), 1);
    m_data.connection().execute(QStringLiteral("DROP TRIGGER refuse"));

    candidates::clearAllCandidateData(m_data.connection());
    for (const QString& table : candidates::clearedTables())
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1").arg(table)), 0) << qPrintable(table);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 下发系统设置")), 8);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 打印模板")), templates);
    EXPECT_GT(templates, 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 院士")), academicians);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 字典国家")), countries);
}

TEST(NewCandidateRules, SpacesCompletenessAndTheIdLengthWarning)
{
    EXPECT_EQ(candidates::removeSpaces(QStringLiteral(" 张 三\u3000丰 ")), QStringLiteral("张三丰"));

    const candidates::NewCandidate complete{QStringLiteral("张三"), QStringLiteral("男"), QDate(1960, 1, 1),
                                            candidates::kIdCard, QStringLiteral("1"), 3};
    EXPECT_TRUE(complete.isComplete());
    auto without = [&](auto change) {
        candidates::NewCandidate c = complete;
        change(c);
        return c.isComplete();
    };
    EXPECT_FALSE(without([](auto& c) { c.name = QStringLiteral("  "); }));
    EXPECT_FALSE(without([](auto& c) { c.gender.clear(); }));
    EXPECT_FALSE(without([](auto& c) { c.birthday = QDate(); }));
    EXPECT_FALSE(without([](auto& c) { c.idType = QStringLiteral(" "); }));
    EXPECT_FALSE(without([](auto& c) { c.idNumber = QStringLiteral(" "); }));
    EXPECT_FALSE(without([](auto& c) { c.departmentId = 0; }));

    const struct
    {
        QString type;
        QString number;
        bool warns;
    } cases[] = {
        {candidates::kIdCard, QString(17, QLatin1Char('1')), true},
        {candidates::kIdCard, QString(18, QLatin1Char('1')), false},
        {candidates::kIdCard, QString(17, QLatin1Char('1')) + QLatin1Char(' '), false},
        {QStringLiteral("护照"), QStringLiteral("E123"), false},
    };
    for (const auto& c : cases) {
        candidates::NewCandidate candidate = complete;
        candidate.idType = c.type;
        candidate.idNumber = c.number;
        EXPECT_EQ(candidate.needsIdLengthWarning(), c.warns) << qPrintable(c.type) << " " << qPrintable(c.number);
    }
}

} // namespace
