#include "db/connection.h"
#include "db/db_error.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class ConnectionTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    db::ConnectionInfo info(const QString& name, const QString& password = QStringLiteral("384952")) const
    {
        return {path(name), password};
    }
    QTemporaryDir m_dir;
};

TEST_F(ConnectionTest, OpeningAMissingFileFailsAndCreatesNothing)
{
    EXPECT_THROW(db::Connection(info(QStringLiteral("missing.mdb"))), db::DbError);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing.mdb"))));
}

TEST_F(ConnectionTest, WrongPasswordAndForeignFilesAreRefusedWithAClearError)
{
    db::Connection::createDatabase(info(QStringLiteral("a.mdb")));
    QFile text(path(QStringLiteral("notes.mdb")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a database, just some words in a file that happens to end in mdb\n");
    text.close();
    QFile empty(path(QStringLiteral("empty.mdb")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    for (const db::ConnectionInfo& bad : {info(QStringLiteral("a.mdb"), QStringLiteral("wrong")),
                                          info(QStringLiteral("a.mdb"), QString()), info(QStringLiteral("notes.mdb")),
                                          info(QStringLiteral("empty.mdb"))}) {
        try {
            db::Connection connection(bad);
            ADD_FAILURE() << "opened " << qPrintable(bad.filePath) << " with " << qPrintable(bad.password);
        } catch (const db::DbError& error) {
            EXPECT_TRUE(error.message().contains(bad.filePath)) << qPrintable(error.message());
        }
    }
}

TEST_F(ConnectionTest, ConnectionInfoReadsBackSoASecondConnectionSeesTheData)
{
    const db::ConnectionInfo original = info(QStringLiteral("odd;name]x.mdb"));
    db::Connection::createDatabase(original);
    db::Connection first(original);
    first.execute(QStringLiteral("CREATE TABLE t (a TEXT)"));
    first.execute(QStringLiteral("INSERT INTO t VALUES (:a)"), {{QStringLiteral("a"), QStringLiteral("x")}});

    db::Connection second(first.info());
    EXPECT_EQ(second.scalar(QStringLiteral("SELECT a FROM t")).toString(), QStringLiteral("x"));
}

TEST_F(ConnectionTest, CreatingOverAnExistingFileIsRefused)
{
    db::Connection::createDatabase(info(QStringLiteral("a.mdb")));
    EXPECT_THROW(db::Connection::createDatabase(info(QStringLiteral("a.mdb"))), db::DbError);
}

TEST_F(ConnectionTest, ParametersCarryQuotesAndChineseTextLiterally)
{
    db::Connection::createDatabase(info(QStringLiteral("a.mdb")));
    db::Connection connection(info(QStringLiteral("a.mdb")));
    connection.execute(QStringLiteral("CREATE TABLE t (姓名 TEXT COLLATE NOCASE)"));
    const QStringList names = {QStringLiteral("O'Brien"), QStringLiteral("张\"三\"'); DROP TABLE t; --"),
                               QStringLiteral("（手工填写）")};
    for (const QString& name : names)
        connection.execute(QStringLiteral("INSERT INTO t (姓名) VALUES (:姓名)"), {{QStringLiteral("姓名"), name}});
    for (const QString& name : names) {
        EXPECT_EQ(connection.scalar(QStringLiteral("SELECT count(*) FROM t WHERE 姓名=:n"), {{QStringLiteral("n"), name}})
                      .toInt(),
                  1)
            << qPrintable(name);
    }
}

TEST_F(ConnectionTest, AStatementWithAnUnboundParameterIsRefused)
{
    db::Connection::createDatabase(info(QStringLiteral("a.mdb")));
    db::Connection connection(info(QStringLiteral("a.mdb")));
    connection.execute(QStringLiteral("CREATE TABLE t (a TEXT)"));
    try {
        connection.execute(QStringLiteral("INSERT INTO t VALUES (:missing)"));
        FAIL() << "ran with an unbound parameter";
    } catch (const db::DbError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral(":missing")));
    }
    EXPECT_EQ(connection.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);
}

TEST_F(ConnectionTest, TransactionRollsBackWhenLeftByAnError)
{
    db::Connection::createDatabase(info(QStringLiteral("a.mdb")));
    db::Connection connection(info(QStringLiteral("a.mdb")));
    connection.execute(QStringLiteral("CREATE TABLE t (a INTEGER NOT NULL)"));
    try {
        db::Transaction transaction(connection);
        connection.execute(QStringLiteral("INSERT INTO t VALUES (1)"));
        connection.execute(QStringLiteral("INSERT INTO t VALUES (NULL)"));
        transaction.commit();
    } catch (const db::DbError&) {
    }
    EXPECT_EQ(connection.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);
    EXPECT_FALSE(connection.inTransaction());
}

TEST(SqlFunctions, JetFunctionsAndTextJoinsGiveJetResults)
{
    QTemporaryDir dir;
    const db::ConnectionInfo info{dir.filePath(QStringLiteral("f.mdb")), QStringLiteral("pw")};
    db::Connection::createDatabase(info);
    db::Connection connection(info);
    struct Case
    {
        const char* expression;
        QVariant expected;
    };
    const Case cases[] = {
        {"IIf(1=1,'a','b')", QStringLiteral("a")},
        {"IIf(1=2,'a','b')", QStringLiteral("b")},
        {"IIf(NULL,'a','b')", QStringLiteral("b")},
        {"IIf(1=2,'a')", QVariant()},
        {"IIf(Len(Trim('  '))>0,'，'||'x')", QVariant()},
        {"IIf(Len(Trim(' 一等 '))>0,'，'||'一等')", QStringLiteral("，一等")},
        {"Len('院士候选人')", 5},
        {"Len(NULL)", QVariant()},
        {"CStr(2017)", QStringLiteral("2017")},
        {"'a' || NULL", QVariant()},                                   // Jet's +
        {"coalesce('a','') || coalesce(NULL,'')", QStringLiteral("a")}, // Jet's &
    };
    for (const Case& c : cases) {
        const QVariant actual = connection.scalar(QStringLiteral("SELECT ") + QString::fromUtf8(c.expression));
        if (c.expected.isNull())
            EXPECT_TRUE(actual.isNull()) << c.expression << " gave " << qPrintable(actual.toString());
        else
            EXPECT_EQ(actual.toString(), c.expected.toString()) << c.expression;
    }
}

TEST(SqlFunctions, NamesSortInChineseOrder)
{
    QTemporaryDir dir;
    const db::ConnectionInfo info{dir.filePath(QStringLiteral("f.mdb")), QStringLiteral("pw")};
    db::Connection::createDatabase(info);
    db::Connection connection(info);
    connection.execute(QStringLiteral("CREATE TABLE t (姓名 TEXT)"));
    // Pinyin order: an (安), bai (白), chen (陈), zhang (张), zhao (赵); code point order differs.
    for (const QString& name : {QStringLiteral("赵"), QStringLiteral("白"), QStringLiteral("张"), QStringLiteral("安"),
                                QStringLiteral("陈")})
        connection.execute(QStringLiteral("INSERT INTO t VALUES (:n)"), {{QStringLiteral("n"), name}});
    db::Statement statement(connection.handle(), QStringLiteral("SELECT 姓名 FROM t ORDER BY 姓名 COLLATE PINYIN"));
    QStringList order;
    while (statement.step())
        order << statement.columnValue(0).toString();
    EXPECT_EQ(order.join(QString()), QStringLiteral("安白陈张赵"));
}

} // namespace
