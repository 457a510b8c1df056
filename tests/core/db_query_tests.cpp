#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/value.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// A small database with a master table and a detail table.
class QueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const db::ConnectionInfo info{m_dir.filePath(QStringLiteral("q.mdb")), QStringLiteral("pw")};
        db::Connection::createDatabase(info);
        m_connection = std::make_unique<db::Connection>(info);
        m_connection->executeScript(QStringLiteral(
            "CREATE TABLE 部门 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 名称 TEXT(20) COLLATE NOCASE);"
            "CREATE TABLE 人员 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 部门ID INTEGER, 姓名 TEXT(20) COLLATE NOCASE, "
            "  出生日期 DATETEXT, 是否删除 TEXT(1) DEFAULT '否');"
            "INSERT INTO 部门 (名称) VALUES ('Alpha'), ('Beta');"
            "INSERT INTO 人员 (部门ID, 姓名) VALUES (1, 'Smith'), (1, '张三'), (2, 'smith'), (2, '李四');"));
    }

    db::Query* query(const QString& sql, db::Query::CursorKind kind = db::Query::CursorKind::Static)
    {
        auto* q = new db::Query(m_connection.get(), &m_owner);
        q->setSql(sql);
        q->setCursorKind(kind);
        return q;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<db::Connection> m_connection;
    QObject m_owner;
};

TEST_F(QueryTest, NavigatesWithEofAndBofLikeACursor)
{
    db::Query* q = query(QStringLiteral("SELECT 姓名 FROM 人员 ORDER BY ID"));
    q->open();
    ASSERT_EQ(q->recordCount(), 4);
    QStringList seen;
    for (q->first(); !q->eof(); q->next())
        seen << q->field(QStringLiteral("姓名")).asString();
    EXPECT_EQ(seen, QStringList({"Smith", "张三", "smith", "李四"}));
    q->last();
    EXPECT_EQ(q->value(QStringLiteral("姓名")).toString(), QStringLiteral("李四"));
    q->prior();
    q->prior();
    q->prior();
    EXPECT_FALSE(q->bof());
    q->prior();
    EXPECT_TRUE(q->bof());
    EXPECT_EQ(q->recNo(), 0);

    db::Query* empty = query(QStringLiteral("SELECT 姓名 FROM 人员 WHERE ID < 0"));
    empty->open();
    EXPECT_TRUE(empty->eof());
    EXPECT_TRUE(empty->bof());
    EXPECT_TRUE(empty->field(QStringLiteral("姓名")).isNull());
}

TEST_F(QueryTest, LocateMatchesExactlyOrIgnoringCase)
{
    db::Query* q = query(QStringLiteral("SELECT ID, 姓名 FROM 人员 ORDER BY ID"));
    q->open();
    q->last();
    EXPECT_TRUE(q->locate(QStringLiteral("姓名"), QStringLiteral("smith"), db::Query::Match::Exact));
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 3);
    EXPECT_TRUE(q->locate(QStringLiteral("姓名"), QStringLiteral("SMITH"), db::Query::Match::CaseInsensitive));
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 1);
    EXPECT_FALSE(q->locate(QStringLiteral("姓名"), QStringLiteral("SMITH"), db::Query::Match::Exact));
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 1) << "a failed locate keeps the position";
}

TEST_F(QueryTest, TextComparisonInStatementsIgnoresCase)
{
    db::Query* q = query(QStringLiteral("SELECT count(*) AS n FROM 人员 WHERE 姓名=:name"));
    q->setParam(QStringLiteral("name"), QStringLiteral("SMITH"));
    q->open();
    EXPECT_EQ(q->field(QStringLiteral("n")).asInteger(), 2);
}

TEST_F(QueryTest, EditableCursorShowsAutonumberAndDefaultsAfterPost)
{
    db::Query* q = query(QStringLiteral("SELECT * FROM 人员 ORDER BY ID"), db::Query::CursorKind::Editable);
    q->open();
    q->append();
    q->setValue(QStringLiteral("姓名"), QStringLiteral("王五'"));
    q->setValue(QStringLiteral("出生日期"), QDateTime(QDate(1950, 1, 1), QTime(0, 0)));
    q->post();
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 5);
    EXPECT_EQ(q->field(QStringLiteral("是否删除")).asString(), QStringLiteral("否"));
    EXPECT_EQ(q->field(QStringLiteral("出生日期")).asDateTime().date(), QDate(1950, 1, 1));
    EXPECT_EQ(q->recordCount(), 5);
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT 出生日期 FROM 人员 WHERE ID=5")).toString(),
              QStringLiteral("1950-01-01 00:00:00.000"));

    ASSERT_TRUE(q->locate(QStringLiteral("ID"), 2));
    q->edit();
    q->setValue(QStringLiteral("姓名"), QStringLiteral("张三丰"));
    q->cancel();
    EXPECT_EQ(q->field(QStringLiteral("姓名")).asString(), QStringLiteral("张三"));
    q->edit();
    q->setValue(QStringLiteral("姓名"), QStringLiteral("张三丰"));
    q->next(); // moving posts the edit
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT 姓名 FROM 人员 WHERE ID=2")).toString(),
              QStringLiteral("张三丰"));

    ASSERT_TRUE(q->locate(QStringLiteral("ID"), 1));
    q->deleteRow();
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT count(*) FROM 人员 WHERE ID=1")).toInt(), 0);
    EXPECT_EQ(q->recordCount(), 4);
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 2);
}

TEST_F(QueryTest, StaticCursorRefusesChanges)
{
    db::Query* q = query(QStringLiteral("SELECT * FROM 人员"));
    q->open();
    EXPECT_THROW(q->append(), db::DbError);
    EXPECT_THROW(q->edit(), db::DbError);
}

TEST_F(QueryTest, DetailQueryTakesItsParameterFromTheMasterRowAndFollowsIt)
{
    db::Query* master = query(QStringLiteral("SELECT ID AS 部门ID, 名称 FROM 部门 ORDER BY ID"));
    db::Query* detail = query(QStringLiteral("SELECT 姓名 FROM 人员 WHERE 部门ID=:部门ID ORDER BY ID"));
    detail->setMaster(master);
    master->open();
    detail->open();
    EXPECT_EQ(detail->recordCount(), 2);
    EXPECT_EQ(detail->value(QStringLiteral("姓名")).toString(), QStringLiteral("Smith"));
    master->next();
    EXPECT_EQ(detail->value(QStringLiteral("姓名")).toString(), QStringLiteral("smith"));
}

TEST_F(QueryTest, UnboundParameterIsAnErrorNotNull)
{
    db::Query* q = query(QStringLiteral("SELECT * FROM 人员 WHERE 部门ID=:部门ID"));
    EXPECT_THROW(q->open(), db::DbError);
    EXPECT_FALSE(q->isOpen());
}

TEST_F(QueryTest, BookmarksSurviveMovesAndRefreshOfEditableRows)
{
    db::Query* q = query(QStringLiteral("SELECT * FROM 人员 ORDER BY ID"), db::Query::CursorKind::Editable);
    q->open();
    q->moveTo(2);
    const db::Bookmark mark = q->bookmark();
    q->first();
    m_connection->execute(QStringLiteral("INSERT INTO 人员 (部门ID, 姓名) VALUES (1, '赵六')"));
    q->moveTo(2);
    q->refresh();
    EXPECT_EQ(q->recordCount(), 5);
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 3) << "refresh keeps the current row";
    q->first();
    ASSERT_TRUE(q->gotoBookmark(mark));
    EXPECT_EQ(q->field(QStringLiteral("ID")).asInteger(), 3);
}

TEST_F(QueryTest, FiltersHideRowsAndLookupFieldsResolveDisplayTexts)
{
    db::Query* q = query(QStringLiteral("SELECT ID, 部门ID, 姓名 FROM 人员 ORDER BY ID"));
    const QHash<qint64, QString> departments = {{1, QStringLiteral("Alpha")}, {2, QStringLiteral("Beta")}};
    q->addLookupField(QStringLiteral("部门"), QStringLiteral("部门ID"),
                      [&](const QVariant& key) -> QVariant { return departments.value(key.toLongLong()); });
    q->open();
    EXPECT_EQ(q->value(QStringLiteral("部门")).toString(), QStringLiteral("Alpha"));
    q->setFilter([](const db::Record& row) { return row.value(QStringLiteral("部门")).toString() == "Beta"; });
    EXPECT_EQ(q->recordCount(), 2);
    EXPECT_EQ(q->value(QStringLiteral("姓名")).toString(), QStringLiteral("smith"));
    q->clearFilter();
    EXPECT_EQ(q->recordCount(), 4);
}

TEST_F(QueryTest, FieldsReadAsTextIntegerAndDateWithCheckedConversion)
{
    m_connection->execute(QStringLiteral("UPDATE 人员 SET 出生日期='1949-10-01 00:00:00.000' WHERE ID=1"));
    db::Query* q = query(QStringLiteral("SELECT ID, 姓名, 出生日期 FROM 人员 ORDER BY ID"));
    q->open();
    EXPECT_EQ(q->field(0).asInteger(), 1);
    EXPECT_EQ(q->field(QStringLiteral("出生日期")).asDateTime(), QDateTime(QDate(1949, 10, 1), QTime(0, 0)));
    EXPECT_THROW(q->field(QStringLiteral("姓名")).asInteger(), db::DbError);
    q->next();
    EXPECT_TRUE(q->field(QStringLiteral("出生日期")).isNull());
    EXPECT_EQ(q->field(QStringLiteral("出生日期")).asString(), QString());
    EXPECT_THROW(q->field(QStringLiteral("没有")), db::DbError);
}

} // namespace

namespace {

TEST(StoredDates, ReadBackOnlyFromTheStoredForms)
{
    const struct
    {
        const char* text;
        QDateTime expected;
    } cases[] = {
        {"2017-03-05 14:07:09.123", QDateTime(QDate(2017, 3, 5), QTime(14, 7, 9, 123))},
        {"2017-03-05 14:07:09", QDateTime(QDate(2017, 3, 5), QTime(14, 7, 9))},
        {"2017-03-05 14:07", QDateTime(QDate(2017, 3, 5), QTime(14, 7))},
        {" 1950-01-01 ", QDateTime(QDate(1950, 1, 1), QTime(0, 0))},
        {"2017-02-30", QDateTime()},
        {"2017-3-5", QDateTime()},
        {"2017-03-05 25:00", QDateTime()},
        {"2017-03-05 14:07:09.12", QDateTime()},
        {"2016.3", QDateTime()},
        {"", QDateTime()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(db::dateTimeFromText(QString::fromUtf8(c.text)), c.expected) << c.text;
    const QDateTime now(QDate(2020, 2, 29), QTime(23, 59, 59, 999));
    EXPECT_EQ(db::dateTimeFromText(db::dateTimeToText(now)), now);
}

} // namespace
