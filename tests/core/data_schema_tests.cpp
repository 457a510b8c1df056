#include "data/schema.h"
#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

class SchemaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db::Connection::createDatabase(m_info);
        m_connection = std::make_unique<db::Connection>(m_info);
        data::createSchema(*m_connection);
    }

    QTemporaryDir m_dir;
    db::ConnectionInfo m_info{m_dir.filePath(QStringLiteral("s.mdb")), QStringLiteral("384952")};
    std::unique_ptr<db::Connection> m_connection;
};

TEST_F(SchemaTest, EveryTableHasItsColumnsInTheDescribedOrder)
{
    for (const data::TableDef& table : data::tables())
        EXPECT_EQ(m_connection->columnNames(table.name), table.columnNames()) << qPrintable(table.name);
    const QStringList candidate = m_connection->columnNames(QStringLiteral("候选人"));
    ASSERT_GE(candidate.size(), 7);
    EXPECT_EQ(candidate.mid(0, 7), QStringList({"姓名", "性别", "出生日期", "证件类型", "证件号码", "拟提名学部ID", "ID"}));
    EXPECT_EQ(candidate.last(), QStringLiteral("提名单位材料审查负责人"));
}

TEST_F(SchemaTest, EveryViewOpensWithTheColumnsThePagesRead)
{
    const QList<QPair<QString, QStringList>> expected = {
        {"视图有效学部", {"ID", "编码", "名称", "列表名"}},
        {"视图年度学部", {"ID", "编码", "名称", "增选年度", "列表名"}},
        {"视图省市", {"ID", "编码", "名称"}},
        {"视图省市部委", {"ID", "编码", "名称", "提名渠道ID", "单位部门ID"}},
        {"视图高级职称", {"ID", "编码", "名称"}},
        {"视图一级学科", {"ID", "编码", "名称", "学部ID"}},
        {"视图二级学科", {"ID", "编码", "名称", "父学科ID", "学部ID"}},
        {"视图三级学科", {"ID", "编码", "名称", "父学科ID", "学部ID"}},
    };
    for (const auto& [view, columns] : expected) {
        db::Query query(m_connection.get());
        query.setSql(QStringLiteral("SELECT * FROM ") + view);
        query.open();
        EXPECT_EQ(query.fieldNames(), columns) << qPrintable(view);
    }
}

TEST_F(SchemaTest, OverLongTextIsRefusedNamingTheColumn)
{
    const QString name31 = QString(31, QChar(0x5F20)); // 31 × 张, one more than 姓名 takes
    try {
        m_connection->execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES (:v)"), {{QStringLiteral("v"), name31}});
        FAIL() << "over-long name stored";
    } catch (const db::DbError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("姓名"))) << qPrintable(error.message());
    }
    m_connection->execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES (:v)"), {{QStringLiteral("v"), name31.left(30)}});
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT count(*) FROM 候选人")).toInt(), 1);
}

TEST_F(SchemaTest, NewRowsGetTheirDefaultsAndKeysAreNeverReused)
{
    m_connection->execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES ('甲')"));
    m_connection->execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES ('乙')"));
    db::Query query(m_connection.get());
    query.setSql(QStringLiteral("SELECT ID, 是否删除, 创建时间, 修改时间 FROM 候选人 WHERE 姓名='乙'"));
    query.open();
    EXPECT_EQ(query.field(QStringLiteral("是否删除")).asString(), QStringLiteral("否"));
    const QDateTime created = query.field(QStringLiteral("创建时间")).asDateTime();
    EXPECT_TRUE(created.isValid());
    EXPECT_LT(qAbs(created.secsTo(QDateTime::currentDateTime())), 120) << "local time, not UTC";
    EXPECT_TRUE(query.field(QStringLiteral("修改时间")).asDateTime().isValid());

    m_connection->execute(QStringLiteral("DELETE FROM 候选人 WHERE 姓名='乙'"));
    m_connection->execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES ('丙')"));
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT ID FROM 候选人 WHERE 姓名='丙'")).toInt(), 3);
}

TEST_F(SchemaTest, CopyingATableMakesAProtectedFileWithTheSameDefinitionAndTheChosenRows)
{
    for (const char* name : {"甲", "乙", "丙"})
        m_connection->execute(QStringLiteral("INSERT INTO 候选人 (姓名, 证件号码) VALUES (:n, :n)"),
                              {{QStringLiteral("n"), QString::fromUtf8(name)}});
    const db::ConnectionInfo target{m_dir.filePath(QStringLiteral("exchange;copy].mdb")), QStringLiteral("384952")};
    db::Connection::createDatabase(target);
    m_connection->copyTableTo(QStringLiteral("候选人"), target, QStringLiteral("姓名 <> :skip"),
                              {{QStringLiteral("skip"), QStringLiteral("乙")}});

    EXPECT_THROW(db::Connection({target.filePath, QString()}), db::DbError) << "opens without the password";
    db::Connection exchange(target);
    EXPECT_EQ(exchange.columnNames(QStringLiteral("候选人")), m_connection->columnNames(QStringLiteral("候选人")));
    EXPECT_EQ(exchange.tableDefinition(QStringLiteral("候选人")).section(QLatin1Char('('), 1),
              m_connection->tableDefinition(QStringLiteral("候选人")).section(QLatin1Char('('), 1));
    EXPECT_EQ(exchange.scalar(QStringLiteral("SELECT group_concat(姓名) FROM 候选人")).toString(),
              QStringLiteral("甲,丙"));
    EXPECT_THROW(exchange.execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES (:v)"),
                                  {{QStringLiteral("v"), QString(31, QLatin1Char('x'))}}),
                 db::DbError)
        << "length checks travel with the table";
    exchange.execute(QStringLiteral("INSERT INTO 候选人 (姓名) VALUES ('丁')"));
    EXPECT_EQ(exchange.scalar(QStringLiteral("SELECT ID FROM 候选人 WHERE 姓名='丁'")).toInt(), 4);

    EXPECT_THROW(m_connection->copyTableTo(QStringLiteral("候选人"), {target.filePath, QStringLiteral("wrong")}),
                 db::DbError);
    EXPECT_FALSE(m_connection->inTransaction());
}

} // namespace
