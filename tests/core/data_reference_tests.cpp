// Checks on the delivered reference data that the pages rely on.
#include "data/database_builder.h"
#include "data/global_data.h"
#include "db/db_error.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

class ReferenceDataTest : public ::testing::Test
{
protected:
    int count(const QString& sql) { return m_data.connection().scalar(sql).toInt(); }

    testing_support::WorkingDatabase m_database;
    data::TGlobalData m_data{m_database.path(), nullptr};
};

TEST_F(ReferenceDataTest, EveryReferenceResolves)
{
    const char* const dangling[] = {
        "SELECT count(*) FROM 字典省市地区 a WHERE 属地ID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM 字典省市地区 p WHERE p.ID=a.属地ID AND p.属地ID IS NULL)",
        "SELECT count(*) FROM 字典省市部委 a WHERE NOT EXISTS (SELECT 1 FROM 字典提名渠道 c WHERE c.ID=a.提名渠道ID)",
        "SELECT count(*) FROM 字典省市部委 a WHERE NOT EXISTS (SELECT 1 FROM 字典单位部门 c WHERE c.ID=a.单位部门ID)",
        "SELECT count(*) FROM 院士 a WHERE NOT EXISTS (SELECT 1 FROM 视图有效学部 d WHERE d.ID=a.学部ID)",
        "SELECT count(*) FROM 学部小组 a WHERE NOT EXISTS (SELECT 1 FROM 字典学部 d WHERE d.ID=a.学部ID)",
        "SELECT count(*) FROM 字典年度学部 a WHERE NOT EXISTS (SELECT 1 FROM 字典学部 d WHERE d.ID=a.学部ID)",
        "SELECT count(*) FROM 视图一级学科 a WHERE NOT EXISTS (SELECT 1 FROM 视图有效学部 d WHERE d.ID=a.学部ID)",
        // every lower level hangs under the level above it, in the same division
        "SELECT count(*) FROM 视图二级学科 a WHERE NOT EXISTS (SELECT 1 FROM 视图一级学科 p WHERE p.ID=a.父学科ID AND p.学部ID=a.学部ID)",
        "SELECT count(*) FROM 视图三级学科 a WHERE NOT EXISTS (SELECT 1 FROM 视图二级学科 p WHERE p.ID=a.父学科ID AND p.学部ID=a.学部ID)",
    };
    for (const char* sql : dangling)
        EXPECT_EQ(count(QString::fromUtf8(sql)), 0) << sql;
}

TEST_F(ReferenceDataTest, KeysAndCodesFollowTheRulesThePagesAssume)
{
    const QStringList dictionaries = {"增选年度", "字典学部", "字典民族", "字典国家", "字典省市地区", "字典省市部委",
                                      "字典职称", "字典学历", "字典学位", "字典党派", "字典学科", "字典提名渠道",
                                      "字典单位性质", "字典产业性质", "字典单位部门", "字典玄苑提名年份", "字典紫垣提名年份"};
    for (const QString& table : dictionaries) {
        EXPECT_GT(count(QStringLiteral("SELECT count(*) FROM %1").arg(table)), 0) << qPrintable(table);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1 WHERE ID <= 0 OR 编码 IS NULL").arg(table)), 0)
            << qPrintable(table);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 字典省市地区 WHERE ID=9999")), 0);
    EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT 名称 FROM 字典国家 WHERE ID=1")).toString(),
              QStringLiteral("中国"));
    EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT group_concat(ID) FROM (SELECT ID FROM 字典提名渠道 ORDER BY ID)")).toString(),
              QStringLiteral("1,2,5"));
    EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT max(增选年度) FROM 增选年度")).toString(), QStringLiteral("2017"));
}

TEST_F(ReferenceDataTest, ListsOfferWhatTheEditorsNeed)
{
    for (const char* table : {"字典职称", "视图高级职称", "字典学历", "字典学位"})
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1 WHERE 名称='（手工填写）'").arg(QString::fromUtf8(table))), 1)
            << table;
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 视图省市 p WHERE NOT EXISTS (SELECT 1 FROM 字典省市地区 c WHERE c.属地ID=p.ID)")),
              0)
        << "each province has its prefecture rows";
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 视图省市")), 34);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 字典民族")), 58);
    EXPECT_GE(count(QStringLiteral("SELECT min(n) FROM (SELECT count(*) AS n FROM 视图一级学科 GROUP BY 学部ID)")), 2);
    EXPECT_GE(count(QStringLiteral("SELECT min(n) FROM (SELECT count(*) AS n FROM 院士 GROUP BY 学部ID)")), 10);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 视图有效学部 d WHERE NOT EXISTS (SELECT 1 FROM 院士 a WHERE a.学部ID=d.ID)")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 视图省市部委 WHERE 提名渠道ID=2 AND 名称='苍岳联合会'")), 1);
    EXPECT_GT(count(QStringLiteral("SELECT count(*) FROM 视图省市部委 WHERE 提名渠道ID=5")), 31);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 学部小组 WHERE 增选年度='2017'")) > 0, true);
    for (const char* table : {"字典玄苑提名年份", "字典紫垣提名年份"})
        EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT group_concat(年) FROM (SELECT 年 FROM %1 ORDER BY 年)").arg(QString::fromUtf8(table))).toString(),
                  QStringLiteral("1991,1993,1995,1997,1999,2001,2003,2005,2007,2009,2011,2013,2015"))
            << table;
}

} // namespace

namespace {

TEST(IssuedDatabase, CanBePreparedForOneSelectingBody)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qzv2017.mdb"));
    data::BuildOptions options;
    options.referenceDir = testing_support::referenceDir();
    options.channel = 5;
    options.department = 2;
    data::buildDatabase(path, options);
    data::TGlobalData data(path, nullptr);
    EXPECT_EQ(data.settingAsInteger(QStringLiteral("遴选部门类别ID")), 5);
    EXPECT_EQ(data.settingAsInteger(QStringLiteral("遴选部门ID")), 2);
    QString version;
    data.GetSetting(QStringLiteral("软件版本"), version);
    EXPECT_FALSE(version.isEmpty());

    EXPECT_THROW(data::buildDatabase(path, options), db::DbError) << "an existing database is never replaced";
}

} // namespace

namespace {

TEST(DeliveredTemplates, EveryTemplateIsStoredPackedUnderItsName)
{
    testing_support::WorkingDatabase database;
    data::TGlobalData data(database.path(), nullptr);
    db::Query templates(&data.connection());
    templates.setSql(QStringLiteral("SELECT 名称, 内容 FROM 打印模板 ORDER BY 名称"));
    templates.open();
    QStringList names;
    for (templates.first(); !templates.eof(); templates.next()) {
        names << templates.field(0).asString();
        EXPECT_TRUE(templates.field(1).value().toByteArray().startsWith("PK\x03\x04")) << qPrintable(names.last());
    }
    EXPECT_EQ(names.size(), 14);
    for (const char* name : {"提名书个人信息", "提名书主要成就", "提名名单院士", "提名名单特别", "提名名单苍岳"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
}

} // namespace
