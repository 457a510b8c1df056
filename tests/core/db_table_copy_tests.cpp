#include "db/connection.h"
#include "db/db_error.h"
#include "db/table_copy.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// A list table of one owner, as the editor holds them.
class TableCopyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const db::ConnectionInfo info{m_dir.filePath(QStringLiteral("c.mdb")), QStringLiteral("pw")};
        db::Connection::createDatabase(info);
        m_connection = std::make_unique<db::Connection>(info);
        m_connection->executeScript(QStringLiteral(
            "CREATE TABLE 经历 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 候选人ID INTEGER, 序号 INTEGER, "
            "  开始年月 TEXT(10) CONSTRAINT 开始年月 CHECK (length(开始年月) <= 10), 单位 TEXT(50), 照片 BLOB, 只读 TEXT);"
            "INSERT INTO 经历 (候选人ID, 序号, 开始年月, 单位, 照片, 只读) VALUES "
            "  (7, 2, '2001.9', '乙', x'0102', 'r'), (7, 1, '1990.9', '甲', NULL, 'r'), (8, 1, '1980.1', '别人', NULL, 'r');"));
        m_copy = std::make_unique<db::TableCopy>(m_connection.get(), QStringLiteral("经历"));
        m_copy->setLoadSql({"SELECT * FROM 经历", "WHERE 候选人ID=:ID", "ORDER BY 序号"});
        m_copy->setParam(QStringLiteral("ID"), 7);
        m_copy->setOrderColumn(QStringLiteral("序号"));
        m_copy->setReadOnlyColumns({QStringLiteral("只读")});
        m_copy->open();
    }

    QString stored(const QString& sql) { return m_connection->scalar(sql).toString(); }

    QTemporaryDir m_dir;
    std::unique_ptr<db::Connection> m_connection;
    std::unique_ptr<db::TableCopy> m_copy;
};

TEST_F(TableCopyTest, LoadsTheOwnersRowsInOrderAndKeepsChangesUntilApplied)
{
    ASSERT_EQ(m_copy->recordCount(), 2);
    EXPECT_EQ(m_copy->text(QStringLiteral("单位")), QStringLiteral("甲"));
    EXPECT_EQ(m_copy->maxLength(QStringLiteral("开始年月")), 10);

    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("甲所"));
    m_copy->post();
    m_copy->append();
    m_copy->setValue(QStringLiteral("候选人ID"), 7);
    m_copy->setValue(QStringLiteral("序号"), 3);
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("丙"));
    m_copy->post();
    m_copy->moveTo(1);
    m_copy->deleteRow();
    EXPECT_EQ(m_copy->changeCount(), 3);
    EXPECT_EQ(stored(QStringLiteral("SELECT group_concat(单位) FROM 经历 WHERE 候选人ID=7")), QStringLiteral("乙,甲"))
        << "nothing is written before apply";

    m_copy->applyUpdates();
    EXPECT_EQ(m_copy->changeCount(), 0);
    EXPECT_EQ(stored(QStringLiteral("SELECT group_concat(单位) FROM (SELECT 单位 FROM 经历 WHERE 候选人ID=7 ORDER BY 序号)")),
              QStringLiteral("甲所,丙"));
    m_copy->refresh();
    m_copy->last();
    EXPECT_EQ(m_copy->value(QStringLiteral("ID")).toInt(), 4) << "a new row shows its key";
    EXPECT_EQ(stored(QStringLiteral("SELECT 只读 FROM 经历 WHERE ID=2")), QStringLiteral("r"));
}

TEST_F(TableCopyTest, AFailingApplyRollsTheTableBackAndKeepsTheChanges)
{
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("新甲"));
    m_copy->post();
    m_copy->next();
    m_copy->setValue(QStringLiteral("开始年月"), QStringLiteral("这是一个过长的年月文本"));
    m_copy->post();
    EXPECT_THROW(m_copy->applyUpdates(), db::DbError);
    EXPECT_EQ(stored(QStringLiteral("SELECT 单位 FROM 经历 WHERE ID=2")), QStringLiteral("甲"))
        << "the first row's update was rolled back";
    EXPECT_EQ(m_copy->changeCount(), 2);
    EXPECT_THROW(m_copy->refresh(), db::DbError) << "no refresh over pending changes";
    EXPECT_EQ(m_copy->text(QStringLiteral("开始年月")), QStringLiteral("这是一个过长的年月文本"));

    m_copy->setValue(QStringLiteral("开始年月"), QStringLiteral("2001.10"));
    m_copy->post();
    m_copy->applyUpdates();
    EXPECT_EQ(stored(QStringLiteral("SELECT 单位 FROM 经历 WHERE ID=2")), QStringLiteral("新甲"));
}

TEST_F(TableCopyTest, RequiredColumnsAreReportedByNameOrAnonymously)
{
    m_copy->setRequiredColumns({QStringLiteral("单位")});
    m_copy->setStoreRequiredColumns({QStringLiteral("开始年月")});
    m_copy->setValue(QStringLiteral("单位"), QString());
    try {
        m_copy->post();
        FAIL() << "posted an empty required column";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Field '单位' must have a value"));
    }
    EXPECT_EQ(m_copy->state(), db::TableCopy::State::Edit) << "the row stays in edit";
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("甲"));
    m_copy->setValue(QStringLiteral("开始年月"), QVariant());
    try {
        m_copy->post();
        FAIL() << "posted an empty store-required column";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Field value required."));
    }
}

TEST_F(TableCopyTest, CancelUpdatesRestoresEveryRow)
{
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("改"));
    m_copy->post();
    m_copy->append();
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("新"));
    m_copy->post();
    m_copy->first();
    m_copy->deleteRow();
    m_copy->cancelUpdates();
    EXPECT_EQ(m_copy->changeCount(), 0);
    ASSERT_EQ(m_copy->recordCount(), 2);
    m_copy->first();
    EXPECT_EQ(m_copy->text(QStringLiteral("单位")), QStringLiteral("甲"));
}

TEST_F(TableCopyTest, HooksRunOnUserChangesOnly)
{
    QStringList changed;
    QObject::connect(m_copy.get(), &db::TableCopy::fieldChanged, [&](const QString& column) { changed << column; });
    int inserted = 0;
    m_copy->setAfterInsert([&](db::TableCopy& copy) {
        ++inserted;
        copy.setValue(QStringLiteral("候选人ID"), 7);
    });
    m_copy->setBeforePost([](db::TableCopy& copy) {
        if (copy.isNull(QStringLiteral("单位")))
            throw db::DbError(QStringLiteral("请选择单位！"));
    });
    m_copy->refresh();
    EXPECT_TRUE(changed.isEmpty()) << "loading changes no field";
    m_copy->append();
    EXPECT_EQ(inserted, 1);
    EXPECT_THROW(m_copy->post(), db::DbError);
    EXPECT_EQ(m_copy->state(), db::TableCopy::State::Insert);
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("丁"));
    m_copy->post();
    EXPECT_EQ(changed, QStringList({"候选人ID", "单位"}));
}

TEST_F(TableCopyTest, LongBinariesAreFetchedWhenReadAndNeverWrittenUnread)
{
    m_copy->last();
    m_connection->execute(QStringLiteral("UPDATE 经历 SET 照片=x'0A0B' WHERE ID=1"));
    EXPECT_EQ(m_copy->value(QStringLiteral("照片")).toByteArray(), QByteArray("\x0A\x0B", 2))
        << "fetched at first read, not at load";
    m_copy->first();
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("甲2"));
    m_copy->post();
    m_connection->execute(QStringLiteral("UPDATE 经历 SET 照片=x'FF' WHERE ID=2"));
    m_copy->applyUpdates();
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT hex(照片) FROM 经历 WHERE ID=2")).toString(),
              QStringLiteral("FF"))
        << "an unread binary is not written back";
}

TEST_F(TableCopyTest, UpdatesOfVanishedRowsFail)
{
    m_copy->setValue(QStringLiteral("单位"), QStringLiteral("改"));
    m_copy->post();
    m_connection->execute(QStringLiteral("DELETE FROM 经历 WHERE ID=2"));
    EXPECT_THROW(m_copy->applyUpdates(), db::DbError);
    EXPECT_EQ(m_copy->changeCount(), 1);
}

} // namespace
