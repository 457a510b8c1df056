#include "data/global_data.h"
#include "db/db_error.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <QFile>
#include <QTemporaryDir>

namespace {

class GlobalDataTest : public ::testing::Test
{
protected:
    testing_support::WorkingDatabase m_database;
    data::TGlobalData m_data{m_database.path(), nullptr};
};

TEST_F(GlobalDataTest, OpensEveryLookupInOrderAndLeavesTheScratchQueryClosed)
{
    QStringList order;
    for (db::Query* query : m_data.startupQueries()) {
        order << query->objectName();
        EXPECT_TRUE(query->isOpen()) << qPrintable(query->objectName());
        EXPECT_GT(query->recordCount(), 0) << qPrintable(query->objectName()) << " is empty";
    }
    EXPECT_EQ(order.first(), QStringLiteral("QueryElectionYear"));
    EXPECT_EQ(order.indexOf("QuerySubject"), order.indexOf("QueryDictParty") + 1);
    EXPECT_EQ(order.indexOf("QueryChannel"), order.indexOf("QuerySubject") + 1);
    EXPECT_EQ(order.indexOf("QueryYearSetting"), order.indexOf("QueryAcad") + 1);
    EXPECT_EQ(order.last(), QStringLiteral("QuerySetup"));
    EXPECT_FALSE(m_data.QueryTemp->isOpen());
    EXPECT_EQ(m_data.QueryElectionYear->value(QStringLiteral("增选年度")).toString(), QStringLiteral("2017"));
}

TEST_F(GlobalDataTest, LookupDisplayColumnsJoinCodeAndName)
{
    m_data.QueryNation->first();
    const QString nation = m_data.QueryNation->value(QStringLiteral("Name")).toString();
    EXPECT_EQ(nation, m_data.QueryNation->value(QStringLiteral("编码")).toString() + QLatin1Char('-')
                  + m_data.QueryNation->value(QStringLiteral("名称")).toString());
    m_data.QueryProvince->first();
    EXPECT_EQ(m_data.QueryProvince->value(QStringLiteral("Name")).toString(),
              m_data.QueryProvince->value(QStringLiteral("编码")).toString() + QStringLiteral(" - ")
                  + m_data.QueryProvince->value(QStringLiteral("名称")).toString());
}

TEST_F(GlobalDataTest, MinistriesLookupNeverListsTheSpecialNominationGroup)
{
    EXPECT_EQ(m_data.connection()
                  .scalar(QStringLiteral("SELECT count(*) FROM 字典单位部门 WHERE 名称='（特别提名小组）'"))
                  .toInt(),
              1);
    EXPECT_FALSE(m_data.QueryMinistriesType->locate(QStringLiteral("名称"), QStringLiteral("（特别提名小组）")));
    EXPECT_GT(m_data.QueryMinistriesType->recordCount(), 0);
}

TEST_F(GlobalDataTest, SettingsReadExactlyAndWriteIgnoringCase)
{
    QString value;
    m_data.GetSetting(QStringLiteral("提名年份"), value);
    EXPECT_EQ(value, QStringLiteral("2017"));

    QString absent = QStringLiteral("unchanged");
    m_data.GetSetting(QStringLiteral("没有这个设置"), absent);
    EXPECT_EQ(absent, QStringLiteral("unchanged"));
    QString empty;
    m_data.GetSetting(QStringLiteral("没有这个设置"), empty);
    EXPECT_EQ(empty, QString());

    m_data.SetSetting(QStringLiteral("没有这个设置"), QStringLiteral("1"));
    EXPECT_EQ(m_data.connection().scalar(QStringLiteral("SELECT count(*) FROM 下发系统设置")).toInt(), 8)
        << "an absent key adds no row";

    // A key that differs in letter case only: written, but not found by an exact read.
    m_data.connection().execute(QStringLiteral("INSERT INTO 下发系统设置 (字段, 值) VALUES ('Version', 'a')"));
    data::TGlobalData reopened(m_database.path(), nullptr);
    reopened.SetSetting(QStringLiteral("VERSION"), QStringLiteral("b'c"));
    QString version;
    reopened.GetSetting(QStringLiteral("Version"), version);
    EXPECT_EQ(version, QStringLiteral("b'c"));
    QString upper;
    reopened.GetSetting(QStringLiteral("VERSION"), upper);
    EXPECT_EQ(upper, QString());

    reopened.SetSetting(QStringLiteral("遴选部门类别ID"), QStringLiteral("5"));
    QString channel;
    reopened.GetSetting(QStringLiteral("遴选部门类别ID"), channel);
    EXPECT_EQ(channel, QStringLiteral("5")) << "a write is read back at once";
    EXPECT_EQ(reopened.connection()
                  .scalar(QStringLiteral("SELECT 值 FROM 下发系统设置 WHERE 字段='遴选部门类别ID'"))
                  .toString(),
              QStringLiteral("5"))
        << "and is in the database at once";
    EXPECT_EQ(reopened.settingAsInteger(QStringLiteral("遴选部门类别ID")), 5);
    reopened.SetSetting(QStringLiteral("遴选部门类别ID"), QStringLiteral("x"));
    EXPECT_THROW(reopened.settingAsInteger(QStringLiteral("遴选部门类别ID")), db::DbError);
}

TEST_F(GlobalDataTest, AcademiciansSortInChineseOrder)
{
    QStringList names;
    for (m_data.QueryAcad->first(); !m_data.QueryAcad->eof(); m_data.QueryAcad->next())
        names << m_data.QueryAcad->value(QStringLiteral("姓名")).toString();
    QStringList sorted = names;
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::sort(sorted.begin(), sorted.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    EXPECT_EQ(names, sorted);
}

TEST(GlobalDataOpening, MissingOrBrokenDatabaseFailsWithoutCreatingAFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("qzv2017.mdb"));
    EXPECT_THROW(data::TGlobalData(missing, nullptr), db::DbError);
    EXPECT_FALSE(QFile::exists(missing));

    QFile broken(missing);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(4096, 'x'));
    broken.close();
    EXPECT_THROW(data::TGlobalData(missing, nullptr), db::DbError);
    EXPECT_EQ(QFile(missing).size(), 4096) << "a broken file is left as it was";
}

} // namespace
