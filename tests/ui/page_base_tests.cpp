#include "shell_fixture.h"

#include "app/app_error.h"
#include "app/application.h"
#include "app/fonts.h"
#include "app/image_lists.h"
#include "db/db_error.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QSet>

#include <functional>
#include <stdexcept>

using namespace app;

namespace {

// A page with one button per case of the sizing rule and one action with a picture.
class ButtonsPage : public TBasePage
{
public:
    ButtonsPage(QWidget* owner, int tag)
        : TBasePage(owner, tag)
    {
        addButton("Plain", "保存", 0);
        addButton("Mnemonic", "打印(&P)", 0);
        addButton("Tagged", "保存", 1);
        addButton("Empty", "", 0);
        CreateAction("ActionPicture", "取消", 1);
        CreateAction("ActionNoPicture", "关闭", -1);
    }

private:
    void addButton(const char* name, const QString& caption, int tag)
    {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->resize(kDesigned);
        SetTag(button, tag);
    }

public:
    static constexpr QSize kDesigned{200, 50};
};

TEST(PageBaseTest, ButtonsAreSizedToTheirCaptionUnlessTaggedOrEmpty)
{
    std::unique_ptr<TBasePage> page(PageClassOf<ButtonsPage>()->Create(nullptr));
    const QFontMetrics metrics(WindowFont());
    const QSize captionSize(metrics.horizontalAdvance("保存") + 40, metrics.height() + 16);

    struct Case
    {
        const char* button;
        QSize expected;
    };
    const Case cases[] = {
        {"Plain", captionSize},
        {"Mnemonic", QSize(metrics.horizontalAdvance("打印(P)") + 40, metrics.height() + 16)},
        {"Tagged", ButtonsPage::kDesigned},
        {"Empty", ButtonsPage::kDesigned},
    };
    for (const Case& c : cases) {
        auto* button = page->findChild<QPushButton*>(c.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->size(), c.expected) << c.button;
    }
}

TEST(PageBaseTest, ActionsTakeTheirPicturesFromTheSharedSmallImages)
{
    std::unique_ptr<TBasePage> page(PageClassOf<ButtonsPage>()->Create(nullptr, 5));
    EXPECT_EQ(page->Tag(), 5);
    const QIcon icon = page->findChild<QAction*>("ActionPicture")->icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(16, 16).toImage(), SmallImages().icon(1).pixmap(16, 16).toImage());
    EXPECT_TRUE(page->findChild<QAction*>("ActionNoPicture")->icon().isNull());
}

TEST(PageBaseTest, SharedImageListsHoldDistinctPictures)
{
    struct Case
    {
        const TImageList& list;
        int count;
        QSize size;
    };
    const Case cases[] = {{LargeImages(), 23, QSize(48, 48)}, {SmallImages(), 11, QSize(16, 16)}};
    for (const Case& c : cases) {
        ASSERT_EQ(c.list.count(), c.count);
        QSet<QByteArray> pictures;
        for (int index = 0; index < c.count; ++index) {
            const QImage image = c.list.icon(index).pixmap(c.size).toImage();
            EXPECT_EQ(image.size(), c.size);
            pictures.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
        EXPECT_EQ(pictures.size(), c.count);
        EXPECT_TRUE(c.list.icon(-1).isNull());
    }
}

class FillComboBoxTest : public ShellTest
{
protected:
    QList<std::pair<QString, int>> items() const
    {
        QList<std::pair<QString, int>> result;
        for (int index = 0; index < combo.count(); ++index)
            result.push_back({combo.itemText(index), combo.itemData(index).toInt()});
        return result;
    }
    QComboBox combo;
};

TEST_F(FillComboBoxTest, FollowsTheDefaultAndRowRules)
{
    using Items = QList<std::pair<QString, int>>;
    const QString noRows = "SELECT ID, 名称 as Name FROM 字典提名渠道 WHERE ID < 0";
    const QString channels = "SELECT ID, 名称 as Name FROM 字典提名渠道 ORDER BY 编码 DESC";
    struct Case
    {
        QString sql;
        QString defaultText;
        Items expected;
    };
    const Case cases[] = {
        {noRows, "", Items{}},
        {noRows, "（全部）", Items{{"（全部）", 0}}},
        {channels, "", Items{{"部门（单位）推荐", 5}, {"学术团体经苍岳联合会推荐", 2}, {"院士提名", 1}}},
        {channels, "无", Items{{"无", 0}, {"部门（单位）推荐", 5}, {"学术团体经苍岳联合会推荐", 2}, {"院士提名", 1}}},
    };
    for (const Case& c : cases) {
        combo.addItem("旧项目", 99); // always replaced
        TBasePage::FillComboBox(&combo, c.sql, c.defaultText);
        EXPECT_EQ(items(), c.expected) << c.sql.toStdString() << " / " << c.defaultText.toStdString();
    }
}

TEST_F(FillComboBoxTest, ErrorPropagatesAndKeepsWhatWasAdded)
{
    combo.addItem("旧项目", 99);
    EXPECT_THROW(TBasePage::FillComboBox(&combo, "SELECT ID, Name FROM 不存在的表", "（全部）"), db::DbError);
    EXPECT_EQ(items(), (QList<std::pair<QString, int>>{{"（全部）", 0}}));
    EXPECT_FALSE(globalData->QueryTemp->isOpen()); // the shared scratch query was not used
}

// An object whose event handler fails with the error the test gives it.
class ThrowingObject : public QObject
{
public:
    std::function<void()> fail;
    int handled = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        if (fail)
            fail();
        return true;
    }
};

TEST(GeneralErrorHandlerTest, ShowsTheErrorTextAndGoesOn)
{
    MessageBox::ScriptScope script;
    struct Case
    {
        std::function<void()> fail;
        QString text;
    };
    const Case cases[] = {
        {[] { throw db::DbError("无法打开数据库: file is not a database"); }, "无法打开数据库: file is not a database"},
        {[] { throw AppError("无法创建文件夹"); }, "无法创建文件夹"},
        {[] { throw std::runtime_error("未找到页面: 某页"); }, "未找到页面: 某页"},
    };
    ThrowingObject receiver;
    for (const Case& c : cases) {
        MessageBox::clearShown();
        receiver.fail = c.fail;
        QEvent event(QEvent::User);
        EXPECT_FALSE(TApplication::NotifyGuarded(qApp, &receiver, &event));
        ASSERT_EQ(MessageBox::shown().size(), 1);
        const MessageBox::Shown& shown = MessageBox::shown().front();
        EXPECT_EQ(shown.icon, MessageBox::Icon::Error);
        EXPECT_EQ(shown.caption, "玄圃学苑院士候选人提名系统");
        EXPECT_EQ(shown.text, c.text);
        EXPECT_FALSE(shown.yesNo);
    }

    receiver.fail = nullptr;
    QEvent next(QEvent::User);
    EXPECT_TRUE(TApplication::NotifyGuarded(qApp, &receiver, &next));
    EXPECT_EQ(receiver.handled, 4);
    EXPECT_EQ(MessageBox::shown().size(), 1);
}

TEST(MessageBoxScriptTest, AnswersQuestionsInOrderAndRecordsEveryBox)
{
    MessageBox::ScriptScope script;
    MessageBox::setNextAnswer(true);
    EXPECT_TRUE(MessageBox::warning("继续吗？"));
    EXPECT_FALSE(MessageBox::question("再继续吗？")); // nothing queued: No
    MessageBox::information("完成");
    ASSERT_EQ(MessageBox::shown().size(), 3);
    EXPECT_EQ(MessageBox::shown()[0].icon, MessageBox::Icon::Warning);
    EXPECT_TRUE(MessageBox::shown()[0].yesNo);
    EXPECT_EQ(MessageBox::shown()[1].icon, MessageBox::Icon::Question);
    EXPECT_EQ(MessageBox::shown()[2].icon, MessageBox::Icon::Information);
    EXPECT_FALSE(MessageBox::shown()[2].yesNo);
}

} // namespace
