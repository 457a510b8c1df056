#include "shell_fixture.h"

#include "app/nav_bar.h"
#include "data/page_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using data::TPageSetup;

namespace {

// The settings page in its dialog, as the main window builds it (the dialog is not run).
class PageSetupTest : public ShellTest
{
protected:
    TPageSetup* open()
    {
        dialog = std::make_unique<QDialog>();
        page = static_cast<TPageSetup*>(app::PageClassOf<TPageSetup>()->Create(dialog.get()));
        return page;
    }

    void chooseChannel(qint64 channel) { page->CBSelectChannel->setCurrentIndex(page->CBSelectChannel->findData(channel)); }

    bool shows(QWidget* widget) const { return widget->isVisibleTo(dialog.get()); }

    std::unique_ptr<QDialog> dialog;
    TPageSetup* page = nullptr;
};

TEST_F(PageSetupTest, FirstStartShowsAcademicianChannelAndSavesIt)
{
    open();
    QStringList channels;
    for (int index = 0; index < page->CBSelectChannel->count(); ++index)
        channels << page->CBSelectChannel->itemText(index);
    EXPECT_EQ(channels, QStringList({"院士提名", "部门（单位）推荐", "学术团体经苍岳联合会推荐"}));
    EXPECT_EQ(page->CBSelectChannel->currentData().toInt(), 1);
    EXPECT_EQ(page->LabelYear->text(), "2017");
    EXPECT_FALSE(shows(page->CBSelectDept));
    EXPECT_FALSE(shows(page->chkNamedUnit));
    EXPECT_FALSE(shows(page->GroupUnit));
    EXPECT_EQ(page->BtnSave->text(), "保存");
    EXPECT_EQ(page->BtnCancel->text(), "取消");

    page->BtnSave->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(setting("遴选部门类别ID"), "1");
    EXPECT_EQ(setting("遴选部门ID"), "-1");
    EXPECT_EQ(setting("是否提名单位"), "0");
    EXPECT_TRUE(app::MessageBox::shown().isEmpty());
}

TEST_F(PageSetupTest, ChannelDecidesCaptionsAndVisibleRows)
{
    struct Case
    {
        qint64 channel;
        const char* checkBox;
        const char* unitName;
    };
    const Case cases[] = {{5, "推荐部门（单位）", "推荐部门（单位）名称"}, {2, "学术团体", "学术团体名称"}};
    open();
    for (const Case& c : cases) {
        chooseChannel(c.channel);
        EXPECT_EQ(page->chkNamedUnit->text(), c.checkBox);
        EXPECT_EQ(page->LabelDepName->text(), c.unitName);
        EXPECT_EQ(page->LabelDepName->buddy(), page->TEDepName);
        EXPECT_TRUE(shows(page->CBSelectDept));
        EXPECT_TRUE(shows(page->chkNamedUnit));
        EXPECT_TRUE(shows(page->GroupUnit));
        EXPECT_TRUE(page->chkNamedUnit->isEnabled());
        EXPECT_FALSE(page->CBSelectDept->isEnabled());
        EXPECT_GT(page->CBSelectDept->count(), 0);
        EXPECT_FALSE(page->TEDepName->isEnabled());
        page->chkNamedUnit->click();
        EXPECT_TRUE(page->TEDepName->isEnabled());
        EXPECT_TRUE(page->TEDepInCharge->isEnabled());
        page->chkNamedUnit->click();
    }
    chooseChannel(1);
    EXPECT_FALSE(shows(page->GroupUnit));
    EXPECT_FALSE(page->chkNamedUnit->isEnabled());
}

TEST_F(PageSetupTest, UnknownStoredDepartmentShowsAndSavesTheFirst)
{
    setSetting("遴选部门类别ID", "5");
    setSetting("遴选部门ID", "99999");
    open();
    ASSERT_EQ(page->CBSelectDept->currentIndex(), 0);
    const QString first = page->CBSelectDept->currentData().toString();
    page->ActionSave->trigger();
    EXPECT_EQ(setting("遴选部门ID"), first);
}

TEST_F(PageSetupTest, IncompleteUnitDataKeepsTheDialogOpen)
{
    open();
    chooseChannel(5);
    page->chkNamedUnit->click();
    page->TEDepName->setText("青崖研究所");
    page->TEDepInCharge->setText("   ");
    page->ActionSave->trigger();

    ASSERT_EQ(app::MessageBox::shown().size(), 1);
    EXPECT_EQ(app::MessageBox::shown()[0].text, "请填写完整各项信息");
    EXPECT_EQ(app::MessageBox::shown()[0].icon, app::MessageBox::Icon::Error);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(page->TEDepName->text(), "青崖研究所");
    EXPECT_EQ(setting("遴选部门类别ID"), "0");
    EXPECT_EQ(setting("推荐单位名称"), "");
}

TEST_F(PageSetupTest, QuoteInTheUnitNameReachesSettingsAndCandidates)
{
    execute("INSERT INTO 候选人 (姓名, 是否删除) VALUES ('甲', '否')");
    open();
    chooseChannel(2);
    page->chkNamedUnit->click();
    page->TEDepName->setText("O'Neil 学会");
    page->TEDepInCharge->setText("李'四");
    app::MessageBox::setNextAnswer(true);
    app::MessageBox::setNextAnswer(true);
    page->ActionSave->trigger();

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(app::MessageBox::shown().size(), 2);
    EXPECT_EQ(setting("推荐单位名称"), "O'Neil 学会");
    EXPECT_EQ(scalar("SELECT 推荐单位名称 FROM 候选人").toString(), "O'Neil 学会");
    EXPECT_EQ(scalar("SELECT 推荐单位负责人 FROM 候选人").toString(), "李'四");
    EXPECT_EQ(scalar("SELECT 提名渠道ID FROM 候选人").toInt(), 2);
}

TEST_F(PageSetupTest, SavingUpdatesTheMainWindowItems)
{
    auto* main = new app::TFormMain;
    setSetting("遴选部门类别ID", "1");
    main->UpdateInterfaceForUserChange();
    open();
    chooseChannel(5);
    page->ActionSave->trigger();
    for (app::TNavBarItem* item : main->dxNavBarMain->Items())
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(PageSetupTest, ConversionErrorInStoredSettingsPreventsTheDialog)
{
    setSetting("是否提名单位", "是");
    EXPECT_ANY_THROW(open());
}

} // namespace
