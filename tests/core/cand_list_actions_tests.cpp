#include "candidates/list_actions.h"
#include "db/connection.h"
#include "db/table_copy.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// A saved list of rows A..E numbered as given.
class ListActionsTest : public ::testing::Test
{
protected:
    void fill(const QList<int>& numbers)
    {
        const db::ConnectionInfo info{m_dir.filePath(QStringLiteral("l.mdb")), QStringLiteral("pw")};
        db::Connection::createDatabase(info);
        m_connection = std::make_unique<db::Connection>(info);
        m_connection->execute(QStringLiteral("CREATE TABLE 列表 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 序号 INTEGER, 名称 TEXT, 国家ID INTEGER)"));
        for (int i = 0; i < numbers.size(); ++i)
            m_connection->execute(QStringLiteral("INSERT INTO 列表 (序号, 名称) VALUES (:n, :name)"),
                                  {{QStringLiteral("n"), numbers[i]}, {QStringLiteral("name"), QString(QChar(u'A' + i))}});
        m_table = std::make_unique<db::TableCopy>(m_connection.get(), QStringLiteral("列表"));
        m_table->setLoadSql({"SELECT * FROM 列表", "ORDER BY 序号"});
        m_table->setOrderColumn(QStringLiteral("序号"));
        m_table->open();
        m_actions = std::make_unique<candidates::ListActions>(*m_table, 5);
    }
    QString order() const
    {
        QString names;
        for (int row = 0; row < m_table->recordCount(); ++row)
            names += m_table->rowValue(row, QStringLiteral("名称")).toString()
                + m_table->rowValue(row, QStringLiteral("序号")).toString();
        return names;
    }
    void save()
    {
        m_table->applyUpdates();
        m_table->refresh();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<db::Connection> m_connection;
    std::unique_ptr<db::TableCopy> m_table;
    std::unique_ptr<candidates::ListActions> m_actions;
};

TEST_F(ListActionsTest, DeletingRenumbersTheRestInOrder)
{
    fill({1, 2, 3, 4});
    m_table->moveTo(1);
    m_actions->deleteCurrent();
    EXPECT_EQ(order(), QStringLiteral("A1C2D3"));
    save();
    EXPECT_EQ(order(), QStringLiteral("A1C2D3"));
    EXPECT_EQ(m_connection->scalar(QStringLiteral("SELECT count(*) FROM 列表")).toInt(), 3);
}

TEST_F(ListActionsTest, MovingSwapsWithTheNeighbourAndKeepsTheMovedRowCurrent)
{
    fill({1, 2, 3, 4, 5});
    m_table->moveTo(2);
    m_actions->moveUp();
    EXPECT_EQ(order(), QStringLiteral("A1C2B3D4E5"));
    EXPECT_EQ(m_table->value(QStringLiteral("名称")).toString(), QStringLiteral("C"));
    save();
    m_table->moveTo(0);
    m_actions->moveDown();
    EXPECT_EQ(order(), QStringLiteral("C1A2B3D4E5"));
    EXPECT_EQ(m_table->value(QStringLiteral("名称")).toString(), QStringLiteral("A"));
}

TEST_F(ListActionsTest, NumbersWithGapsBecomeContiguous)
{
    fill({2, 5, 9});
    m_table->moveTo(2);
    m_actions->moveUp();
    EXPECT_EQ(order(), QStringLiteral("A1C2B3"));
}

TEST_F(ListActionsTest, ActionsWaitForTheLimitAndForPendingChanges)
{
    fill({1, 2, 3, 4});
    m_table->first();
    EXPECT_TRUE(m_actions->canAppend());
    EXPECT_FALSE(m_actions->canMoveUp()) << "first row";
    EXPECT_TRUE(m_actions->canMoveDown());
    m_table->last();
    EXPECT_FALSE(m_actions->canMoveDown()) << "last row";

    m_actions->append();
    EXPECT_EQ(m_table->value(QStringLiteral("国家ID")).toInt(), 1) << "new rows start at the home country";
    for (bool enabled : {m_actions->canAppend(), m_actions->canDelete(), m_actions->canMoveUp(), m_actions->canMoveDown()})
        EXPECT_FALSE(enabled) << "disabled while a row is inserted";
    m_table->setValue(QStringLiteral("名称"), QStringLiteral("E"));
    m_table->post();
    EXPECT_FALSE(m_actions->canAppend()) << "and while the change is pending";
    save();
    EXPECT_EQ(m_table->recordCount(), 5);
    EXPECT_FALSE(m_actions->canAppend()) << "at the limit";
    EXPECT_TRUE(m_actions->canDelete());
}

TEST(MonthValues, PickerYearYearListsAndFormat)
{
    const struct
    {
        const char* value;
        int year;
    } cases[] = {{"2015.7", 2015}, {"至今", 2000}, {"", 2000}, {"2015", 2000}, {"abcd.3", 2000}, {"1949.10", 1949}};
    for (const auto& c : cases)
        EXPECT_EQ(candidates::monthPickerYear(QString::fromUtf8(c.value)), c.year) << c.value;
    EXPECT_EQ(candidates::formatMonth(2016, 3), QStringLiteral("2016.3"));
    EXPECT_EQ(candidates::formatMonth(2016, 12), QStringLiteral("2016.12"));
    const QStringList years = candidates::yearList(2016);
    EXPECT_EQ(years.size(), 68);
    EXPECT_EQ(years.first(), QStringLiteral("2016"));
    EXPECT_EQ(years.last(), QStringLiteral("1949"));
    EXPECT_TRUE(candidates::yearList(1948).isEmpty());
}

} // namespace
