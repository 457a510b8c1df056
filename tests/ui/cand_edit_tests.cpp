#include "candidates/base_tab.h"
#include "candidates/cand_add_logic.h"
#include "candidates/cand_dossier.h"
#include "candidates/page_candedit.h"
#include "candidates/popup_monthedit.h"
#include "db/field_bindings.h"
#include "db/table_copy.h"
#include "shell_fixture.h"
#include "support/ui_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

using testing_support::typeText;

// A candidate opened in the editor inside the shown main window.
class CandidateEditorTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        setSetting(QStringLiteral("遴选部门类别ID"), QStringLiteral("1"));
        id = createCandidate(QStringLiteral("张三"), QStringLiteral("110105196005041234"));
        main = new app::TFormMain;
        main->show();
        main->NewPage(QStringLiteral("编辑候选人"), static_cast<int>(id), false);
        releaseDeferred();
        editor = qobject_cast<candidates::TPageCandEdit*>(main->CurrentPage());
        ASSERT_NE(editor, nullptr);
    }

    qint64 createCandidate(const QString& name, const QString& number)
    {
        return candidates::CandidateCreator(*globalData).create(
            {name, QStringLiteral("男"), QDate(1960, 5, 4), candidates::kIdCard, number, 1});
    }
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const auto& shown : app::MessageBox::shown())
            texts << shown.text;
        return texts;
    }

    qint64 id = 0;
    app::TFormMain* main = nullptr;
    candidates::TPageCandEdit* editor = nullptr;
};

TEST_F(CandidateEditorTest, SixteenTabsInOrderWithTheChannelsOpinionCaption)
{
    QStringList captions;
    for (int i = 0; i < editor->PCCand->count(); ++i)
        captions << editor->PCCand->tabText(i);
    EXPECT_EQ(captions, QStringList({"基本资料", "联系方式", "工作单位", "所属党派", "主要学历", "主要经历", "主要兼职", "社会职务",
                                     "主要成就", "科技奖项", "发明专利", "论文专著", "重要成果", "个人声明", "单位意见", "院士意见"}));
    EXPECT_EQ(editor->Tag(), id);
    EXPECT_EQ(editor->TEName->text(), QStringLiteral("张三"));
    EXPECT_FALSE(editor->LCBPretendDep->currentText().isEmpty());
}

TEST_F(CandidateEditorTest, TypingEnablesSaveAndSaveWritesTheDossier)
{
    editor->UpdateActions();
    EXPECT_FALSE(editor->ActionSave->isEnabled());
    EXPECT_FALSE(editor->ActionCancel->isEnabled());

    editor->TEName->setCursorPosition(2);
    typeText(editor->TEName, QStringLiteral(" 丰"));
    EXPECT_EQ(editor->TEName->text(), QStringLiteral("张三丰"));
    editor->UpdateActions();
    EXPECT_TRUE(editor->ActionSave->isEnabled()) << "a typed value not yet written counts";

    editor->ActionSave->trigger();
    EXPECT_EQ(scalar(QStringLiteral("SELECT 姓名 FROM 候选人 WHERE ID=%1").arg(id)).toString(), QStringLiteral("张三丰"));
    editor->UpdateActions();
    EXPECT_FALSE(editor->ActionSave->isEnabled());
    EXPECT_TRUE(shownTexts().isEmpty());
}

TEST_F(CandidateEditorTest, SaveReportsDuplicatesAndEmptyRequiredFields)
{
    createCandidate(QStringLiteral("李四"), QStringLiteral("220105196005041234"));
    db::TableCopy& candidate = editor->Dossier().candidate();
    candidate.setValue(QStringLiteral("证件号码"), QStringLiteral("220105196005041234"));
    editor->UpdateActions();
    editor->ActionSave->trigger();
    candidate.setValue(QStringLiteral("证件号码"), QStringLiteral("110105196005041234"));
    editor->TEName->clear();
    Q_EMIT editor->TEName->textEdited(QString());
    editor->UpdateActions();
    editor->ActionSave->trigger();
    EXPECT_EQ(shownTexts(), QStringList({"身份证件号 220105196005041234 已存在，无法保存信息！", "请检查字段 '姓名' 是否填写完整"}));
    EXPECT_EQ(app::MessageBox::shown().first().icon, app::MessageBox::Icon::Error);
}

TEST_F(CandidateEditorTest, CancelRestoresAndClosingAsksOnlyWithUnsavedChanges)
{
    EXPECT_TRUE(editor->CloseQuery());
    EXPECT_TRUE(shownTexts().isEmpty()) << "no changes, no question";

    typeText(editor->TEName, QStringLiteral("乙"));
    editor->Dossier().copy(QStringLiteral("CDSContact"))->setValue(QStringLiteral("移动电话"), QStringLiteral("13800000000"));
    app::MessageBox::setNextAnswer(false);
    EXPECT_FALSE(editor->CloseQuery());
    EXPECT_EQ(shownTexts(), QStringList({"候选人信息尚未保存，要继续吗？"}));
    EXPECT_EQ(app::MessageBox::shown().first().icon, app::MessageBox::Icon::Warning);

    editor->UpdateActions();
    editor->ActionCancel->trigger();
    EXPECT_EQ(editor->TEName->text(), QStringLiteral("张三"));
    EXPECT_TRUE(editor->Dossier().copy(QStringLiteral("CDSContact"))->isNull(QStringLiteral("移动电话")));
    editor->UpdateActions();
    EXPECT_FALSE(editor->ActionSave->isEnabled());
    EXPECT_FALSE(editor->ActionCancel->isEnabled());
}

// A tab over the party list with one month field, as the list tabs are built.
class TTestListTab : public candidates::TBaseTab
{
public:
    TTestListTab(QWidget* owner, const QVector<db::TableCopy*>& dataSets)
        : TBaseTab(owner, dataSets)
    {
        SetTabCaption(QStringLiteral("所属党派"));
        SetTabDataSet(DataSet(QStringLiteral("DSParty")), 2);
        EndMonth = new candidates::TMonthEdit(this, 1);
        Bind<db::LineEditBinding>(TabDataSet(), QStringLiteral("截止日期"), EndMonth);
    }
    candidates::TMonthEdit* EndMonth;
};

TEST_F(CandidateEditorTest, ListTabsBindByNameAndTheMonthPickerWritesAsTheUser)
{
    QVector<db::TableCopy*> dataSets(editor->Dossier().copies().begin(), editor->Dossier().copies().end());
    TTestListTab tab(nullptr, dataSets);
    ASSERT_EQ(tab.TabDataSet(), editor->Dossier().copy(QStringLiteral("CDSParty")));
    tab.UpdateActions();
    EXPECT_TRUE(tab.BaseActionAppend->isEnabled());
    EXPECT_FALSE(tab.BaseActionDelete->isEnabled()) << "no row";

    tab.BaseActionAppend->trigger();
    tab.UpdateActions();
    EXPECT_FALSE(tab.BaseActionAppend->isEnabled()) << "one step at a time";

    candidates::TPopUpMonthEdit* picker = candidates::PopUpMonthEdit();
    EXPECT_EQ(picker->SEYear->minimum(), 1900);
    EXPECT_EQ(picker->SEYear->maximum(), QDate::currentDate().year());
    for (const auto& [value, year] : {std::pair{"2015.7", 2015}, {"至今", 2000}, {"", 2000}, {"2015", 2000}}) {
        tab.EndMonth->setText(QString::fromUtf8(value));
        picker->MonthPopupEditPropertiesPopup(tab.EndMonth);
        EXPECT_EQ(picker->SEYear->value(), year) << value;
        EXPECT_FALSE(picker->BtnUntilNow->isHidden()) << "end months offer 至今";
        picker->hide();
    }
    picker->MonthPopupEditPropertiesPopup(tab.EndMonth);
    picker->SEYear->setValue(2016);
    picker->MonthButton(3)->click();
    EXPECT_EQ(tab.EndMonth->text(), QStringLiteral("2016.3"));
    EXPECT_EQ(tab.TabDataSet()->text(QStringLiteral("截止日期")), QStringLiteral("2016.3")) << "written into the column";
    EXPECT_FALSE(picker->isVisible());

    candidates::TMonthEdit startMonth(nullptr, 0);
    picker->MonthPopupEditPropertiesPopup(&startMonth);
    EXPECT_TRUE(picker->BtnUntilNow->isHidden()) << "start months do not";
    picker->hide();
}

} // namespace
