#include "candidates/cand_add_logic.h"
#include "candidates/page_candadd.h"
#include "candidates/page_candlist.h"
#include "db/date_edit.h"
#include "db/query.h"
#include "shell_fixture.h"
#include "support/ui_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

using testing_support::typeText;

// The main window shown, with the candidate pages opened through it as a user would.
class CandidatePagesTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        setSetting(QStringLiteral("遴选部门类别ID"), QStringLiteral("1"));
        main = new app::TFormMain;
        main->show();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    }

    qint64 addCandidate(const QString& name, const QString& number)
    {
        return candidates::CandidateCreator(*globalData).create(
            {name, QStringLiteral("女"), QDate(1962, 3, 8), candidates::kIdCard, number, 1});
    }

    template <class TPage>
    TPage* open(const QString& id)
    {
        main->NewPage(id, 0, false);
        releaseDeferred();
        auto* page = qobject_cast<TPage*>(main->CurrentPage());
        EXPECT_NE(page, nullptr);
        return page;
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const auto& shown : app::MessageBox::shown())
            texts << shown.text;
        return texts;
    }

    app::TFormMain* main = nullptr;
};

TEST_F(CandidatePagesTest, EditAndDeleteNeedRowsAndTheFocusOnTheGrid)
{
    auto* list = open<candidates::TPageCandList>(QStringLiteral("候选人列表"));
    list->DBGrid1->setFocus();
    list->UpdateActions();
    EXPECT_FALSE(list->ActionEdit->isEnabled()) << "empty list";
    Q_EMIT list->DBGrid1->doubleClicked(QModelIndex());
    releaseDeferred();
    EXPECT_EQ(main->CurrentPage(), list) << "double-clicking an empty list does nothing";

    addCandidate(QStringLiteral("甲"), QStringLiteral("1"));
    list = open<candidates::TPageCandList>(QStringLiteral("候选人列表"));
    list->cxButton1->setFocus();
    list->UpdateActions();
    EXPECT_FALSE(list->ActionEdit->isEnabled());
    EXPECT_FALSE(list->ActionDelete->isEnabled());
    list->DBGrid1->setFocus();
    list->UpdateActions();
    EXPECT_TRUE(list->ActionEdit->isEnabled());
    EXPECT_TRUE(list->ActionDelete->isEnabled());
}

TEST_F(CandidatePagesTest, SoftDeleteAndWipeAskFirstAndReturnTheFocusToTheGrid)
{
    const qint64 first = addCandidate(QStringLiteral("甲"), QStringLiteral("1"));
    addCandidate(QStringLiteral("乙"), QStringLiteral("2"));
    auto* list = open<candidates::TPageCandList>(QStringLiteral("候选人列表"));
    ASSERT_EQ(list->QueryCandList->recordCount(), 2);
    EXPECT_FALSE(list->QueryCandList->value(QStringLiteral("拟提名学部")).toString().isEmpty());

    list->DBGrid1->setFocus(); // a click into the grid, then on the button
    list->UpdateActions();
    list->BtnDelete->setFocus();
    list->UpdateActions();
    ASSERT_TRUE(list->ActionDelete->isEnabled()) << "the focus on the delete button keeps it enabled";
    app::MessageBox::setNextAnswer(false);
    list->ActionDelete->trigger();
    EXPECT_EQ(list->QueryCandList->recordCount(), 2);
    EXPECT_TRUE(list->DBGrid1->hasFocus());

    ASSERT_TRUE(list->QueryCandList->locate(QStringLiteral("ID"), first));
    list->UpdateActions();
    app::MessageBox::setNextAnswer(true);
    list->ActionDelete->trigger();
    EXPECT_EQ(list->QueryCandList->recordCount(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT 是否删除 FROM 候选人 WHERE ID=%1").arg(first)).toString(), QStringLiteral("是"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM 候选人工作单位 WHERE 候选人ID=%1").arg(first)).toInt(), 1);

    app::MessageBox::setNextAnswer(false);
    list->cxButtonClear->click();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM 候选人")).toInt(), 2);
    app::MessageBox::setNextAnswer(true);
    list->cxButtonClear->click();
    EXPECT_EQ(list->QueryCandList->recordCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM 候选人")).toInt(), 0);
    EXPECT_EQ(setting(QStringLiteral("遴选部门类别ID")), QStringLiteral("1"));
    EXPECT_TRUE(list->DBGrid1->hasFocus());
    EXPECT_EQ(shownTexts(), QStringList({"是否确认删除此候选人？", "是否确认删除此候选人？", "是否确认清空所有候选人数据？",
                                         "是否确认清空所有候选人数据？"}));
}

TEST_F(CandidatePagesTest, ANewCandidateIsCheckedCreatedAndOpenedInTheEditor)
{
    auto* add = open<candidates::TPageCandAdd>(QStringLiteral("新增候选人"));
    EXPECT_EQ(add->CBIDType->currentText(), QStringLiteral("身份证"));
    typeText(add->TEName, QStringLiteral("王\u3000小 明"));
    EXPECT_EQ(add->TEName->text(), QStringLiteral("王小明"));
    add->CBGender->setCurrentIndex(0);
    add->DEBirthday->setDate(QDate(1958, 7, 1));
    typeText(add->TEIDNumber, QStringLiteral("11010 519580701123"));
    EXPECT_EQ(add->TEIDNumber->text(), QStringLiteral("11010519580701123"));
    add->UpdateActions();
    EXPECT_FALSE(add->ActionSave->isEnabled()) << "no division yet";
    add->LCBDep->setCurrentIndex(0);
    add->UpdateActions();
    ASSERT_TRUE(add->ActionSave->isEnabled());

    add->ActionSave->trigger();
    releaseDeferred();
    EXPECT_EQ(shownTexts(), QStringList({"提示:身份证号码长度非18位，请核实"}));
    EXPECT_EQ(app::MessageBox::shown().first().icon, app::MessageBox::Icon::None);
    const qint64 id = scalar(QStringLiteral("SELECT ID FROM 候选人 WHERE 证件号码='11010519580701123'")).toLongLong();
    ASSERT_GT(id, 0);
    ASSERT_NE(main->CurrentPage(), nullptr);
    EXPECT_EQ(main->CurrentPage()->Tag(), id) << "the editor receives the new key";
    EXPECT_EQ(main->windowTitle(), QStringLiteral("玄圃学苑院士候选人提名系统 - 候选人信息"));
}

TEST_F(CandidatePagesTest, ADuplicateNumberIsRefusedAndTheNewRowStays)
{
    addCandidate(QStringLiteral("甲"), QStringLiteral("E12345"));
    auto* add = open<candidates::TPageCandAdd>(QStringLiteral("新增候选人"));
    add->TEName->setText(QStringLiteral("乙"));
    add->CBGender->setCurrentIndex(1);
    add->DEBirthday->setDate(QDate(1958, 7, 1));
    add->CBIDType->setCurrentText(QStringLiteral("护照"));
    add->CBIDType->hidePopup();
    add->TEIDNumber->setText(QStringLiteral(" e12345 "));
    add->LCBDep->setCurrentIndex(1);
    add->UpdateActions();
    add->ActionSave->trigger();
    releaseDeferred();
    EXPECT_EQ(shownTexts(), QStringList({"如有身份证，请首选身份证", "身份证件号 e12345 已存在，请勿重复添加候选人！"}))
        << "no length warning for a passport";
    EXPECT_EQ(app::MessageBox::shown().last().icon, app::MessageBox::Icon::Error);
    EXPECT_EQ(main->CurrentPage(), add);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM 候选人")).toInt(), 1);

    add->ActionCancel->trigger();
    releaseDeferred();
    EXPECT_NE(qobject_cast<candidates::TPageCandList*>(main->CurrentPage()), nullptr);
}

} // namespace
