#include "shell_fixture.h"

#include "app/form_splash.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>

using namespace app;

namespace {

class FormSplashTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        splash = std::make_unique<TFormSplash>();
        splash->show();
    }
    void TearDown() override
    {
        splash.reset();
        ShellTest::TearDown();
    }
    std::unique_ptr<TFormSplash> splash;
};

TEST_F(FormSplashTest, IsABorderlessPictureOnTop)
{
    EXPECT_EQ(splash->size(), QSize(573, 365));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash->windowTitle(), "玄圃学苑院士候选人提名系统");
    EXPECT_FALSE(splash->Image1->pixmap().isNull());
    EXPECT_TRUE(splash->TimerSplash->isActive());
    EXPECT_EQ(splash->TimerSplash->interval(), 5000);
    EXPECT_FALSE(splash->TimerClose->isActive());
}

TEST_F(FormSplashTest, ShowsTheMainWindowAndSweepsItAwayOnceClosed)
{
    setSetting("遴选部门类别ID", "1"); // no forced settings dialog
    QPointer<TFormMain> main = new TFormMain;
    splash->Image1Click();
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(splash->TimerSplash->isActive());
    EXPECT_TRUE(splash->TimerClose->isActive());

    splash->TimerCloseTimer(); // the main window is open: nothing happens
    EXPECT_FALSE(main.isNull());

    main->close();
    splash->TimerCloseTimer();
    EXPECT_TRUE(main.isNull());
    EXPECT_TRUE(MainWindowList().isEmpty());
    EXPECT_FALSE(splash->TimerClose->isActive());
}

TEST_F(FormSplashTest, DoubleClickOnAnInfoLabelShowsTheSplashAgain)
{
    setSetting("遴选部门类别ID", "1");
    auto* main = new TFormMain;
    splash->TimerSplashTimer();
    ASSERT_FALSE(splash->isVisible());
    Q_EMIT main->LabelInfo2->DoubleClicked();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(splash->TimerSplash->isActive()); // it stays until clicked
}

} // namespace
