#include "app/message_box.h"
#include "db/connection.h"
#include "db/date_edit.h"
#include "db/db_error.h"
#include "db/field_bindings.h"
#include "db/row_source_model.h"
#include "db/table_copy.h"

#include "support/ui_support.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

using testing_support::typeText;

class BindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const db::ConnectionInfo info{m_dir.filePath(QStringLiteral("b.mdb")), QStringLiteral("pw")};
        db::Connection::createDatabase(info);
        m_connection = std::make_unique<db::Connection>(info);
        m_connection->executeScript(QStringLiteral(
            "CREATE TABLE 人 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 序号 INTEGER, 姓名 TEXT(8), 民族ID INTEGER);"
            "INSERT INTO 人 (序号, 姓名, 民族ID) VALUES (1, '张三', 1), (2, '李四', 2);"));
        m_copy = std::make_unique<db::TableCopy>(m_connection.get(), QStringLiteral("人"));
        m_copy->setLoadSql({"SELECT * FROM 人", "ORDER BY 序号"});
        m_copy->setOrderColumn(QStringLiteral("序号"));
        m_copy->open();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<db::Connection> m_connection;
    std::unique_ptr<db::TableCopy> m_copy;
};

TEST_F(BindingTest, TypedTextIsWrittenWhenTheEditorFinishesAndFilteredKeepingTheCursor)
{
    QLineEdit edit;
    db::LineEditBinding binding(m_copy.get(), QStringLiteral("姓名"), &edit, [](const QString& text) {
        QString result = text;
        return result.remove(QLatin1Char(' '));
    });
    EXPECT_EQ(edit.text(), QStringLiteral("张三"));
    EXPECT_EQ(edit.maxLength(), 8);

    edit.setCursorPosition(1);
    typeText(&edit, QStringLiteral(" 小"));
    EXPECT_EQ(edit.text(), QStringLiteral("张小三"));
    EXPECT_EQ(edit.cursorPosition(), 2);
    EXPECT_TRUE(binding.isUserModified());
    EXPECT_EQ(m_copy->text(QStringLiteral("姓名")), QStringLiteral("张三")) << "not written while typing";

    Q_EMIT edit.editingFinished();
    EXPECT_FALSE(binding.isUserModified());
    EXPECT_EQ(m_copy->text(QStringLiteral("姓名")), QStringLiteral("张小三"));

    m_copy->post();
    m_copy->next();
    EXPECT_EQ(edit.text(), QStringLiteral("李四")) << "follows the current row";
}

TEST_F(BindingTest, UnwrittenInputSurvivesOtherColumnsChangingButNotARevert)
{
    QLineEdit edit;
    db::LineEditBinding binding(m_copy.get(), QStringLiteral("姓名"), &edit);
    edit.setCursorPosition(2);
    typeText(&edit, QStringLiteral("丰"));
    m_copy->setValue(QStringLiteral("民族ID"), 3);
    EXPECT_EQ(edit.text(), QStringLiteral("张三丰"));
    binding.load();
    EXPECT_EQ(edit.text(), QStringLiteral("张三"));
    EXPECT_FALSE(binding.isUserModified());
}

TEST_F(BindingTest, ALookupWritesTheChosenKey)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("汉族"), 1);
    combo.addItem(QStringLiteral("蒙古族"), 2);
    combo.addItem(QStringLiteral("回族"), 3);
    db::LookupBinding binding(m_copy.get(), QStringLiteral("民族ID"), &combo);
    EXPECT_EQ(combo.currentText(), QStringLiteral("汉族"));
    combo.setCurrentIndex(2);
    Q_EMIT combo.activated(2);
    EXPECT_EQ(m_copy->value(QStringLiteral("民族ID")).toInt(), 3);
}

TEST_F(BindingTest, TheGridFollowsTheCopyAndARefusedMoveKeepsTheRow)
{
    QTableView view;
    db::RowSourceModel model(m_copy.get(), {{QStringLiteral("序号")}, {QStringLiteral("姓名"), QStringLiteral("名字")}});
    QStringList errors;
    db::GridBinding binding(&view, &model, [&](const QString& message) { errors << message; });
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("名字"));
    EXPECT_EQ(view.currentIndex().row(), 0);

    view.setCurrentIndex(model.index(1, 0));
    EXPECT_EQ(m_copy->recNo(), 1);

    m_copy->setRequiredColumns({QStringLiteral("姓名")});
    m_copy->setValue(QStringLiteral("姓名"), QVariant());
    view.setCurrentIndex(model.index(0, 0));
    EXPECT_EQ(errors, QStringList({"Field '姓名' must have a value"}));
    EXPECT_EQ(m_copy->recNo(), 1);
    EXPECT_EQ(view.currentIndex().row(), 1);

    m_copy->cancel();
    m_copy->append();
    EXPECT_EQ(model.rowCount(), 3) << "a new row shows at once";
}

} // namespace

namespace {

TEST(DateEdit, TypedDatesAreCheckedAndTheCalendarNeverOverwrites)
{
    db::NullableDateEdit edit;
    QList<QDate> edited;
    QStringList invalid;
    QObject::connect(&edit, &db::NullableDateEdit::dateEdited, [&](const QDate& date) { edited << date; });
    QObject::connect(&edit, &db::NullableDateEdit::invalidInput, [&](const QString& text) { invalid << text; });

    for (const char* text : {"1960-05-04", "1960/5/4", "1960.5.4", "19600504"})
        EXPECT_EQ(db::NullableDateEdit::parse(QString::fromLatin1(text)), QDate(1960, 5, 4)) << text;
    EXPECT_FALSE(db::NullableDateEdit::parse(QStringLiteral("1960-02-30")).isValid());

    edit.lineEdit()->setText(QStringLiteral("1960/5/4"));
    Q_EMIT edit.lineEdit()->editingFinished();
    EXPECT_EQ(edit.date(), QDate(1960, 5, 4));
    EXPECT_EQ(edit.lineEdit()->text(), QStringLiteral("1960-05-04"));

    edit.setEmptyPopupDate(QDate(1950, 1, 1));
    edit.showPopup();
    EXPECT_EQ(edit.date(), QDate(1960, 5, 4)) << "opening the calendar keeps the entered date";
    EXPECT_EQ(edit.calendar()->monthShown(), 5);
    edit.hidePopup();

    app::MessageBox::ScriptScope script;
    edit.lineEdit()->setText(QStringLiteral("昨天"));
    Q_EMIT edit.lineEdit()->editingFinished();
    EXPECT_FALSE(edit.date().isValid()) << "an invalid typed date becomes empty";
    EXPECT_EQ(invalid, QStringList({"昨天"}));
    ASSERT_EQ(app::MessageBox::shown().size(), 1);
    EXPECT_EQ(app::MessageBox::shown().first().text, QStringLiteral("您输入日期不正确"));
    edit.showPopup();
    EXPECT_EQ(edit.calendar()->yearShown(), 1950);
    EXPECT_EQ(edit.calendar()->monthShown(), 1);
    EXPECT_EQ(edited, QList<QDate>({QDate(1960, 5, 4), QDate()}));
}

} // namespace
