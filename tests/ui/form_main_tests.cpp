#include "shell_fixture.h"

#include "app/app_error.h"
#include "app/nav_bar.h"
#include "app/page_placeholder.h"
#include "data/page_setup.h"

#include <QLabel>
#include <QPointer>
#include <QTabBar>

#include <stdexcept>

using namespace app;

namespace {

// A page that may or may not be closed, as the test decides.
class RefusingPage : public TBasePage
{
public:
    RefusingPage(QWidget* owner, int tag)
        : TBasePage(owner, tag)
    {
    }
    bool CloseQuery() override
    {
        ++asked;
        return mayClose;
    }
    static inline bool mayClose = false;
    static inline int asked = 0;
};

// Remembers the tag it saw while it was being constructed.
class TagProbePage : public TBasePage
{
public:
    TagProbePage(QWidget* owner, int tag)
        : TBasePage(owner, tag)
    {
        tagInConstructor = Tag();
    }
    static inline int tagInConstructor = -99;
};

// Replaces itself from one of its own handlers, then goes on using itself.
class SelfReplacingPage : public TBasePage
{
public:
    using TBasePage::TBasePage;
    int ReplaceFromHandler()
    {
        FormMain()->NewPage("候选人列表", 0, false);
        return Tag() + isVisible(); // still a live object here
    }
};

class FailingPage : public TBasePage
{
public:
    FailingPage(QWidget* owner, int tag)
        : TBasePage(owner, tag)
    {
        throw std::runtime_error("页面无法建立");
    }
};

const QString kTitle = QStringLiteral("玄圃学苑院士候选人提名系统");

class FormMainTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // Outside every group, so the navigation bar is the program's own.
        RegisterPage("拒绝", "", "拒绝页", PageClassOf<RefusingPage>(), -1, {TPageUsage::puAny}, 0);
        RegisterPage("探针", "", "探针页", PageClassOf<TagProbePage>(), -1, {TPageUsage::puAny}, 7);
        RegisterPage("失败", "", "失败页", PageClassOf<FailingPage>(), -1, {TPageUsage::puAny}, 0);
        RegisterPage("自替换", "", "自替换页", PageClassOf<SelfReplacingPage>(), -1, {TPageUsage::puAny}, 0);
        RefusingPage::mayClose = false;
        RefusingPage::asked = 0;
        main = new TFormMain;
        main->SetTerminateHandler([this] { ++terminated; });
    }

    QStringList tabCaptions() const
    {
        QStringList captions;
        for (int index = 0; index < main->TabControlMain->count(); ++index)
            captions << main->TabControlMain->tabText(index);
        return captions;
    }

    TNavBarItem* item(const QString& id) const { return main->dxNavBarMain->findChild<TNavBarItem*>(id); }

    TFormMain* main = nullptr;
    int terminated = 0;
};

TEST_F(FormMainTest, NavigationBarFollowsTheRegistrationTable)
{
    QStringList groups;
    QList<QStringList> itemsPerGroup;
    for (TNavBarGroup* group : main->dxNavBarMain->Groups()) {
        groups << group->Caption();
        QStringList items;
        for (TNavBarItem* item : group->Items())
            items << item->text();
        itemsPerGroup << items;
        EXPECT_EQ(PageAt(group->Tag())->Name, group->Caption());
    }
    EXPECT_EQ(groups, QStringList({"候选人提名", "提名管理", "打印功能", "数据交互"}));
    EXPECT_EQ(itemsPerGroup[0], QStringList({"新增候选人", "候选人列表", "提名设置"})); // no editor item
    EXPECT_EQ(itemsPerGroup[1], QStringList({"学术团体列表", "苍岳联合会信息", "提名委员会", "委员会分组", "提名意见"}));
    EXPECT_EQ(itemsPerGroup[2], QStringList({"打印候选人名单", "打印提名书"}));
    EXPECT_EQ(itemsPerGroup[3], QStringList({"数据存盘", "数据读取", "数据校验"}));

    for (TNavBarItem* navItem : main->dxNavBarMain->Items()) {
        const TPageInfo* info = PageAt(navItem->Tag());
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->Name, navItem->text());
        EXPECT_EQ(navItem->icon().isNull(), info->IconIndex < 0) << navItem->text().toStdString();
    }
}

TEST_F(FormMainTest, RegistryEntriesKeepTheirFields)
{
    const TPageInfo* editor = FindPage("编辑候选人");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Name, "候选人信息");
    EXPECT_EQ(editor->Tag, -1);
    EXPECT_EQ(PageHandle(editor), 7);
    EXPECT_TRUE(FindPage("系统设置")->ModalDialog);
    EXPECT_EQ(FindPage("系统功能")->Name, "数据交互");
    EXPECT_EQ(FindPage("学术团体列表")->Usage.toByte(), 12);
    EXPECT_EQ(FindPage("数据校验")->Usage.toByte(), 1);
    EXPECT_EQ(FindPage("数据校验")->IconIndex, FindPage("数据存盘")->IconIndex);
    EXPECT_EQ(FindPage("TOP")->Parent, "");
    EXPECT_EQ(FindPage("toP"), nullptr); // compared exactly

    RegisterPage("TOP", "", "第二个首页", nullptr, -1, {}, 0);
    EXPECT_EQ(FindPage("TOP")->Name, "首页");
}

TEST_F(FormMainTest, UserKindEnablesNavigationItems)
{
    struct Case
    {
        const char* channel;
        const char* namedUnit;
        bool managementEnabled;
    };
    const Case cases[] = {
        {"1", "0", false}, {"1", "1", false}, {"5", "0", true}, {"5", "1", false},
        {"2", "0", true},  {"2", "1", false}, {"01", "0", true}, {"5", "01", true},
    };
    for (const Case& c : cases) {
        setSetting("遴选部门类别ID", c.channel);
        setSetting("是否提名单位", c.namedUnit);
        main->UpdateInterfaceForUserChange();
        for (TNavBarGroup* group : main->dxNavBarMain->Groups()) {
            EXPECT_TRUE(group->isEnabled());
            const bool management = group->Caption() == "提名管理";
            for (TNavBarItem* navItem : group->Items())
                EXPECT_EQ(navItem->isEnabled(), management ? c.managementEnabled : true)
                    << c.channel << "/" << c.namedUnit << " " << navItem->text().toStdString();
        }
    }
}

TEST_F(FormMainTest, StartsWithTheHomePageInOneTabWithoutCloseButton)
{
    EXPECT_EQ(tabCaptions(), QStringList({"首页"}));
    EXPECT_EQ(main->windowTitle(), kTitle + " - 首页");
    EXPECT_FALSE(main->TabControlMain->tabsClosable());
    EXPECT_EQ(main->size(), QSize(933, 700));
    ASSERT_NE(main->CurrentPage(), nullptr);
    EXPECT_EQ(main->CurrentPage()->parentWidget(), main->PanelContent);
}

TEST_F(FormMainTest, ReplacingPagesKeepsTheCaptionRuleAndOnePagePerTab)
{
    for (int round = 0; round < 3; ++round) {
        main->ShowPage("候选人列表", false);
        EXPECT_EQ(main->windowTitle(), kTitle + " - 候选人列表");
        main->NewPage("编辑候选人", 42 + round, false);
        EXPECT_EQ(main->windowTitle(), kTitle + " - 候选人信息");
        releaseDeferred();
        EXPECT_EQ(TBasePage::LivePages().size(), 1);
    }
    EXPECT_EQ(tabCaptions(), QStringList({"候选人信息"}));
    TBasePage* editor = main->CurrentPage();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Tag(), 44);
    EXPECT_STREQ(editor->metaObject()->className(), "candidates::TPageCandEdit");

    main->ShowPage("TOP", true);
    main->NewPage("候选人列表", 0, false);
    releaseDeferred();
    EXPECT_EQ(tabCaptions(), QStringList({"候选人信息", "候选人列表"}));
    EXPECT_EQ(TBasePage::LivePages().size(), 2);
    EXPECT_EQ(main->windowTitle(), kTitle + " - 候选人列表");
}

TEST_F(FormMainTest, PageSeesItsTagWhileItIsBuilt)
{
    main->NewPage("探针", 42, false);
    EXPECT_EQ(TagProbePage::tagInConstructor, 42);
    main->ShowPage("探针", false);
    EXPECT_EQ(TagProbePage::tagInConstructor, 7); // the registry entry's tag
}

TEST_F(FormMainTest, RefusingPageStaysUnlessReplacedByNewPage)
{
    main->NewPage("拒绝", 0, false);
    QPointer<TBasePage> refusing = main->CurrentPage();

    main->ShowPage("候选人列表", false);
    EXPECT_EQ(RefusingPage::asked, 1);
    EXPECT_EQ(main->CurrentPage(), refusing.data());
    EXPECT_EQ(main->windowTitle(), kTitle + " - 拒绝页");

    main->ShowPage("TOP", true); // a second tab, so tabs can be closed
    main->TabControlMain->setCurrentIndex(0);
    Q_EMIT main->TabControlMain->tabCloseRequested(0);
    EXPECT_EQ(tabCaptions(), QStringList({"拒绝页", "首页"}));
    EXPECT_EQ(main->CurrentPage(), refusing.data());

    main->NewPage("候选人列表", 0, false); // not asked
    EXPECT_EQ(RefusingPage::asked, 2);
    releaseDeferred();
    EXPECT_TRUE(refusing.isNull());
}

TEST_F(FormMainTest, PageReplacedFromItsOwnHandlerLivesUntilTheHandlerEnds)
{
    main->NewPage("自替换", 3, false);
    QPointer<TBasePage> replacing = main->CurrentPage();
    EXPECT_EQ(static_cast<SelfReplacingPage*>(replacing.data())->ReplaceFromHandler(), 3);
    EXPECT_FALSE(replacing.isNull());
    EXPECT_EQ(replacing->parentWidget(), nullptr); // already out of the panel
    EXPECT_EQ(main->windowTitle(), kTitle + " - 候选人列表");
    releaseDeferred();
    EXPECT_TRUE(replacing.isNull());
}

TEST_F(FormMainTest, ClosingTabsReleasesPagesAndHidesCloseButtons)
{
    main->ShowPage("TOP", true);
    EXPECT_TRUE(main->TabControlMain->tabsClosable());
    main->NewPage("候选人列表", 0, false);
    QPointer<TBasePage> list = main->CurrentPage();

    Q_EMIT main->TabControlMain->tabCloseRequested(1);
    releaseDeferred();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(tabCaptions(), QStringList({"首页"}));
    EXPECT_FALSE(main->TabControlMain->tabsClosable());
    EXPECT_EQ(main->windowTitle(), kTitle + " - 首页");
    EXPECT_EQ(main->CurrentPage()->parentWidget(), main->PanelContent);
}

TEST_F(FormMainTest, SwitchingTabsMovesPagesInAndOutOfTheContentPanel)
{
    TBasePage* home = main->CurrentPage();
    main->ShowPage("TOP", true);
    main->NewPage("候选人列表", 0, false);
    TBasePage* list = main->CurrentPage();

    main->TabControlMain->setCurrentIndex(0);
    EXPECT_EQ(home->parentWidget(), main->PanelContent);
    EXPECT_EQ(list->parentWidget(), nullptr);
    EXPECT_EQ(main->windowTitle(), kTitle + " - 首页");
}

TEST_F(FormMainTest, FailuresLeaveTheTabsAsTheyWere)
{
    TBasePage* home = main->CurrentPage();
    try {
        main->NewPage("不存在", 1, false);
        FAIL() << "expected an error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), "未找到页面: 不存在");
    }
    EXPECT_THROW(main->ShowPage("失败", false), std::runtime_error);
    EXPECT_THROW(main->NewPage("失败", 0, true), std::runtime_error);
    releaseDeferred();
    EXPECT_EQ(tabCaptions(), QStringList({"首页"}));
    EXPECT_EQ(main->CurrentPage(), home);
    EXPECT_EQ(TBasePage::LivePages().size(), 1);
}

TEST_F(FormMainTest, ClosingTheWindowAsksEveryTab)
{
    setSetting("遴选部门类别ID", "5");
    main->NewPage("拒绝", 0, false);
    main->ShowPage("TOP", true);
    main->show();

    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(RefusingPage::asked, 1);

    RefusingPage::mayClose = true;
    EXPECT_TRUE(main->close());
    EXPECT_FALSE(main->isVisible());
}

TEST_F(FormMainTest, SetupItemOpensAModalDialogAndKeepsTheTab)
{
    setSetting("遴选部门类别ID", "1");
    main->UpdateInterfaceForUserChange();
    QString caption;
    bool hasSetupPage = false;
    whenDialogShows([&](QDialog* dialog) {
        caption = dialog->windowTitle();
        auto* page = dialog->findChild<data::TPageSetup*>();
        hasSetupPage = page != nullptr;
        if (page)
            page->ActionCancel->trigger();
    });
    item("系统设置")->click();
    EXPECT_EQ(caption, "提名设置");
    EXPECT_TRUE(hasSetupPage);
    EXPECT_EQ(tabCaptions(), QStringList({"首页"}));
    releaseDeferred();
    EXPECT_EQ(TBasePage::LivePages().size(), 1); // the dialog's page is gone
}

TEST_F(FormMainTest, FirstStartForcesTheSettingsDialog)
{
    struct Case
    {
        const char* stored;
        bool save;
        int terminations;
        const char* channelAfter;
    };
    const Case cases[] = {{"0", false, 1, "0"}, {"0", true, 0, "1"}, {"abc", true, 0, "1"}};
    for (const Case& c : cases) {
        setSetting("遴选部门类别ID", c.stored);
        terminated = 0;
        whenDialogShows([&](QDialog* dialog) {
            auto* page = dialog->findChild<data::TPageSetup*>();
            ASSERT_NE(page, nullptr);
            (c.save ? page->ActionSave : page->ActionCancel)->trigger();
        });
        main->FormShow();
        EXPECT_EQ(terminated, c.terminations) << c.stored;
        EXPECT_EQ(setting("遴选部门类别ID"), c.channelAfter);
        if (c.save) {
            EXPECT_FALSE(item("提名委员会")->isEnabled());
        }
    }
}

TEST_F(FormMainTest, ShowingWithAChannelOnlyEnablesItems)
{
    setSetting("遴选部门类别ID", "5");
    setSetting("是否提名单位", "1");
    main->FormShow(); // no dialog: a modal dialog here would never be answered
    EXPECT_EQ(terminated, 0);
    EXPECT_FALSE(item("提名意见")->isEnabled());
    EXPECT_TRUE(item("数据校验")->isEnabled());
}

} // namespace

